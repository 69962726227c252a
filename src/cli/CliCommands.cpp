#include "CliCommands.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>

#include "CliCommand.h"
#include "CopyProgressLine.h"
#include "InterruptGuard.h"
#include "LaunchCounter.h"
#include "ListOutput.h"
#include "TerminalUi.h"
#include "app/AddDiskDialog.h"
#include "app/CopyCommands.h"
#include "app/DatabaseCommands.h"
#include "app/Lifecycle.h"
#include "app/StatusCommands.h"
#include "app/Session.h"
#include "musicdb/Statistics.h"
#include "catalog/Disks.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/NativePaths.h"
#include "app/PlaylistCommands.h"
#include "app/Profiles.h"
#include "platform/ProcessLauncher.h"
#include "playlist/CopyEngine.h"
#include "util/IntConversion.h"
#include "util/ProcessExit.h"

namespace velmo::cli {

namespace {

constexpr const char* kUsage =
    "usage: velmo-cli [--appdir DIR] [--profile NAME] [--yes|--no] [--seed N] [--insert PROGRAM]\n"
    "                 COMMAND [ARGS] [+ COMMAND [ARGS]]...\n"
    "       velmo-cli --help | --version\n"
    "  --insert PROGRAM   run at each insert prompt as PROGRAM LABEL DESCRIPTION; exit 0 = OK\n"
    "  +                  runs the next command on the same database; the first failure stops\n"
    "commands:\n"
    "  stats [TAB]                        caption, statistics line of TAB (0-5), tab captions\n"
    "  list [music|playlist|black|favorites|justgood]\n"
    "  tree [music|folders]\n"
    "  load FILE | merge FILE | save [FILE]\n"
    "  set-status STATUS CAPTION...       STATUS: unused used playlist black favorites\n"
    "                                     justgood goodunused goodused goodplaylist\n"
    "  reset-icons | clear | make-playlist\n"
    "  copy                               copy the playlist to its folder and write the M3U\n"
    "  add PATH... [--description TEXT] [--rooted] [--debug]   PATH native (/srv/music/Pop) or E:\\Pop\n"
    "  reload-tags CAPTION...\n"
    "  profile list | profile new NAME | profile rename NAME | profile delete | profile switch NAME\n"
    "  search TEXT [--folders]            hits of TEXT (words separated by *) in the music or folder\n"
    "                                     tree in tree order: path TAB icon\n"
    "  rename CAPTION NEWNAME             a disk, folder or song (on a local drive also on disk)\n"
    "  delete [--physical] CAPTION...     songs, and every song below disks and folders; --physical\n"
    "                                     deletes the files of local drives too\n"
    "  play CAPTION...                    external player of PlayerConfigIndex, songs in argument order\n"
    "  open CAPTION                       ShellCommand on a song, folder or disk\n"
    "  options                            every setting as NAME=VALUE; the three-way groups as\n"
    "                                     SaveOnExit=AutoSave|AutoSaveAs|AutoDontSave,\n"
    "                                     CopyFromHDD=AutoCopy|AutoDontCopy|AskForEach,\n"
    "                                     Skip=AutoSkipDisk|AutoSkipFile|AutoSkipDiskAndFile\n"
    "  set NAME=VALUE...                  change settings as the options dialog's OK (all or none)\n"
    "  languages                          the language files, the current one marked TAB *\n";

ItemList& listByName(MusicDatabase& db, const std::string& name) {
    if (name == "music") return db.musicList();
    if (name == "playlist") return db.playList();
    if (name == "black") return db.blackList();
    if (name == "favorites") return db.favorites();
    if (name == "justgood") return db.justGood();
    throw UsageError("unknown list \"" + name + "\"");
}

void checkList(const Arguments& args) {
    static const char* const names[] = {"music", "playlist", "black", "favorites", "justgood"};
    if (!args.empty() && std::find(std::begin(names), std::end(names), args[0]) == std::end(names))
        throw UsageError("unknown list \"" + args[0] + "\"");
}

int statsTab(const Arguments& args) {
    if (args.empty()) return 0;
    if (args[0].size() != 1 || args[0][0] < '0' || args[0][0] > '5') throw UsageError("TAB must be 0 to 5");
    return args[0][0] - '0';
}

void checkTree(const Arguments& args) {
    if (!args.empty() && args[0] != "music" && args[0] != "folders")
        throw UsageError("unknown tree \"" + args[0] + "\"");
}

void checkSetStatus(const Arguments& args) {
    if (!statusFromName(args[0])) throw UsageError("unknown status \"" + args[0] + "\"");
}

void checkProfile(const Arguments& args) {
    const std::string& sub = args[0];
    if (sub != "list" && sub != "delete" && sub != "new" && sub != "rename" && sub != "switch")
        throw UsageError("unknown profile command \"" + sub + "\"");
    const size_t wanted = sub == "list" || sub == "delete" ? 1 : 2;
    if (args.size() != wanted) throw UsageError("wrong number of arguments for profile " + sub);
}

struct AddArguments {
    std::vector<std::string> paths;
    std::optional<std::string> description;
    bool rooted = false;
    bool debug = false;
};

AddArguments addArguments(const Arguments& args) {
    AddArguments a;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--rooted") a.rooted = true;
        else if (args[i] == "--debug") a.debug = true;
        else if (args[i] == "--description") {
            if (++i == args.size()) throw UsageError("--description needs a text");
            a.description = args[i];
        } else a.paths.push_back(args[i]);
    }
    if (a.paths.empty()) throw UsageError("add needs a folder");
    return a;
}

bool cmdStats(Context& c, const std::vector<std::string>& args) {
    const int tab = statsTab(args);
    Session& s = c.session;
    c.out << windowCaption(s.settings.DBName, s.db.DBModified(), s.messages) << '\n';
    c.out << statisticsLine(s.db.counters(), s.messages, tab) << '\n';
    for (int t = 1; t <= 5; ++t) c.out << tabCaption(t, s.db.counters(), s.messages) << '\n';
    return true;
}

bool cmdList(Context& c, const std::vector<std::string>& args) {
    writeListLines(c.out, listByName(c.session.db, args.empty() ? "music" : args[0]));
    return true;
}

bool cmdTree(Context& c, const std::vector<std::string>& args) {
    checkTree(args);
    std::string which = args.empty() ? "music" : args[0];
    writeTreeLines(c.out, which == "music" ? c.session.db.musicTree() : c.session.db.folderTree());
    return true;
}

// An open dialog only offers files that exist; a path typed on the command line may not.
bool answerOpenDialog(Context& c, const std::string& path) {
    if (!platform::fileExists(path)) {
        c.ui.showError("Cannot open file \"" + path + "\". No such file");
        return false;
    }
    c.ui.setFileAnswer(path);
    return true;
}

bool cmdLoad(Context& c, const std::vector<std::string>& args) {
    if (!answerOpenDialog(c, args[0])) return false;
    Session& s = c.session;
    const std::string previous = s.settings.DBName;
    if (MenuItemLoadBaseClick(s)) return true;
    // Nobody can look at what did load: a profile left pointing at the broken file would fail
    // every later command, so it keeps the database it had. The chain stops here, unsaved.
    s.settings.DBName = previous;
    s.partiallyLoadedFile.clear();
    SaveProfile(s);
    c.err << "The profile keeps its database \"" << previous << "\".\n";
    return false;
}

bool cmdMerge(Context& c, const std::vector<std::string>& args) {
    if (!answerOpenDialog(c, args[0])) return false;
    return MenuItemAddtoDBClick(c.session);
}

bool cmdSave(Context& c, const std::vector<std::string>& args) {
    if (args.empty()) return MenuItemSaveBaseClick(c.session);
    c.ui.setFileAnswer(args[0]);
    return MenuItemSaveDBAsClick(c.session);
}

bool cmdSetStatus(Context& c, const std::vector<std::string>& args) {
    auto status = statusFromName(args[0]);
    if (!status) throw UsageError("unknown status \"" + args[0] + "\"");
    MusicDatabase& db = c.session.db;
    auto found = songsOfCaptions(c, Arguments(args.begin() + 1, args.end()));
    if (!found) return false;
    std::vector<TDataRec*> songs = std::move(*found);
    // In Music List order, each song once, whatever the order and repeats of the arguments.
    std::sort(songs.begin(), songs.end(), [&db](const TDataRec* a, const TDataRec* b) {
        return db.musicList().indexOf(a->MusicListItem) < db.musicList().indexOf(b->MusicListItem);
    });
    songs.erase(std::unique(songs.begin(), songs.end()), songs.end());
    SetSelStatus(c.session, songs, *status);
    return true;
}

bool cmdResetIcons(Context& c, const std::vector<std::string>&) {
    MenuItemResetIconsClick(c.session);
    return true;
}

bool cmdMakePlaylist(Context& c, const std::vector<std::string>&) {
    MakeNextPlayList(c.session);
    return true;
}

bool cmdClear(Context& c, const std::vector<std::string>&) {
    MenuItemClearDBClick(c.session);
    return true;
}

bool cmdProfile(Context& c, const std::vector<std::string>& args) {
    Session& s = c.session;
    checkProfile(args);
    const std::string& sub = args[0];
    if (sub == "list") {
        for (size_t i = 0; i < s.Profiles.size(); ++i)
            c.out << s.Profiles[i] << (static_cast<int>(i) == s.SelectedProfile ? "\t*" : "") << '\n';
        return true;
    }
    // An explicit profile command decides the current profile, also under --profile.
    s.optionsCurrentProfile.reset();
    if (sub == "delete") return s.Profiles.size() <= 1 || DeleteProfile(s);
    const std::string& name = args[1];
    if (sub == "switch") {
        if (std::find(s.Profiles.begin(), s.Profiles.end(), name) == s.Profiles.end()) {
            c.ui.showError("The profile \"" + name + "\" does not exist.");
            return false;
        }
        SwitchProfile(s, name);
        return true;
    }
    return sub == "new" ? NewProfile(s, name) : RenameProfile(s, name);
}

// What the music tree holds, to say what an add brought.
struct Catalogued {
    long disks = 0;
    long folders = 0;
    long songs = 0;
    double megabytes = 0;
};

Catalogued catalogued(MusicDatabase& db) {
    Catalogued c;
    c.disks = static_cast<long>(db.musicTree().topLevelCount());
    db.musicTree().forEach([&c](TreeNode* node, int) {
        if (isFolderImage(node->imageIndex())) ++c.folders;
    });
    c.songs = db.counters().a.count;
    c.megabytes = db.counters().a.sizeMB;
    return c;
}

std::string counted(long n, const std::string& what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

std::string megabytes(double mb) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", mb < 0.05 && mb > -0.05 ? 0.0 : mb);
    return text;
}

bool cmdAdd(Context& c, const std::vector<std::string>& args) {
    Session& s = c.session;
    auto [paths, description, rooted, debug] = addArguments(args);
    // A relative path means the folder as seen from where the command runs.
    for (std::string& path : paths) {
        const bool catalogPath = path.size() >= 2 && path[1] == ':';
        std::error_code ec;
        if (!catalogPath) path = std::filesystem::absolute(path, ec).lexically_normal().string();
    }
    if (debug) s.setDebugMode(true);
    AddDiskDialog dialog(s);
    if (auto refused = dialog.prepareAdd(paths, rooted, description)) {
        c.ui.showError(*refused);
        return false;
    }
    const Catalogued before = catalogued(s.db);
    const bool added = dialog.runAdd();
    const Catalogued after = catalogued(s.db);
    c.out << "Added " << counted(after.disks - before.disks, "disk") << ", "
          << counted(after.folders - before.folders, "folder") << " and " << counted(after.songs - before.songs, "song")
          << " (" << megabytes(after.megabytes - before.megabytes) << " MB).\n";
    return added;
}

bool cmdReloadTags(Context& c, const std::vector<std::string>& args) {
    const auto songs = songsOfCaptions(c, args);
    if (!songs) return false;
    std::vector<const TDataRec*> unread;
    ReloadTags(c.session.db, c.session.ui, c.session.messages, c.session.diskPrompt(), *songs, &unread);
    // A song whose file is gone or whose disk was not inserted kept its old tag: say which.
    for (const TDataRec* song : unread) c.err << "Cannot read the tag of \"" << musicTreePath(song->MusicNode) << "\".\n";
    if (!unread.empty()) {
        c.ui.showError(std::to_string(unread.size()) + " of " + std::to_string(songs->size()) +
                       " songs could not be read; they keep their tags.");
    }
    return unread.empty();
}

// "Press to start". Ctrl-C or SIGTERM during the copy stops it as Abort answered Yes does: the
// playlist file is still written and the database saved.
bool cmdCopy(Context& c, const std::vector<std::string>&) {
    Session& s = c.session;
    CopyProgressLine view(c.ui, s.messages, s.clock, c.progressShown);
    CopyRunResult result;
    {
        InterruptGuard guard;
        c.ui.setInterruptHandling(InterruptGuard::interrupted, [&s] {
            if (s.activeCopy) s.activeCopy->abortNow();
        });
        result = ButtonPressToStartClick(s, view);
        c.ui.setInterruptHandling({}, {});
        c.interrupted = InterruptGuard::interrupted();
    }
    return !result.started || (result.playlistWritten && result.notCopied == 0);
}

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"stats", 0, 1, false, cmdStats, [](const Arguments& a) { statsTab(a); }},
        {"list", 0, 1, false, cmdList, checkList},
        {"tree", 0, 1, false, cmdTree, checkTree},
        {"load", 1, 1, false, cmdLoad},
        {"merge", 1, 1, true, cmdMerge},
        {"save", 0, 1, false, cmdSave},
        {"set-status", 2, SIZE_MAX, true, cmdSetStatus, checkSetStatus},
        {"reset-icons", 0, 0, true, cmdResetIcons},
        {"clear", 0, 0, true, cmdClear},
        {"make-playlist", 0, 0, true, cmdMakePlaylist},
        {"copy", 0, 0, false, cmdCopy},
        {"profile", 1, 2, false, cmdProfile, checkProfile},
        {"add", 1, SIZE_MAX, true, cmdAdd, [](const Arguments& a) { addArguments(a); }},
        {"reload-tags", 1, SIZE_MAX, true, cmdReloadTags},
    };
    static const std::vector<Command> all = [] {
        std::vector<Command> commands = table;
        for (auto area : {treeEditCommands, externalPlayCommands, optionsCommands})
            for (Command& c : area()) commands.push_back(std::move(c));
        return commands;
    }();
    return all;
}

int usage(std::ostream& err, const std::string& problem) {
    err << "velmo-cli: " << problem << '\n' << kUsage;
    return 2;
}

// One command of a chain with its arguments.
struct Invocation {
    const Command* command;
    Arguments args;
};

// The commands between lone "+" arguments, each checked for usage errors.
std::vector<Invocation> parseChain(const Arguments& words) {
    std::vector<Invocation> chain;
    size_t begin = 0;
    while (true) {
        size_t end = begin;
        while (end < words.size() && words[end] != "+") ++end;
        if (end == begin) throw UsageError(words.empty() ? "no command given" : "a command is missing around \"+\"");
        const std::string& name = words[begin];
        const Command* command = nullptr;
        for (const Command& c : commands())
            if (name == c.name) command = &c;
        if (!command) throw UsageError("unknown command " + name);
        Arguments args(words.begin() + static_cast<std::ptrdiff_t>(begin) + 1,
                       words.begin() + static_cast<std::ptrdiff_t>(end));
        if (args.size() < command->minArgs || args.size() > command->maxArgs)
            throw UsageError("wrong number of arguments for " + name);
        if (command->check) command->check(args);
        chain.push_back({command, std::move(args)});
        if (end == words.size()) return chain;
        begin = end + 1;
    }
}

// The commands that only show what is there.
bool onlyReads(const Invocation& step) {
    static const char* const names[] = {"stats", "list", "tree", "search", "options", "languages"};
    const std::string name = step.command->name;
    if (name == "profile") return step.args[0] == "list";
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runCli(args, out, err, Terminal{});
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal) {
    std::string appDir;
    auto answers = TerminalUi::Answers::Default;
    std::optional<uint64_t> seed;
    std::optional<std::string> profile;
    std::string insertProgram;
    size_t i = 0;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        const std::string& opt = args[i];
        if (opt == "--yes") answers = TerminalUi::Answers::Yes;
        else if (opt == "--no") answers = TerminalUi::Answers::No;
        else if (opt == "--appdir" || opt == "--seed" || opt == "--profile" || opt == "--insert") {
            if (i + 1 >= args.size()) return usage(err, opt + " needs a value");
            const std::string& value = args[++i];
            if (opt == "--appdir") {
                appDir = value;
            } else if (opt == "--profile") {
                profile = value;
            } else if (opt == "--insert") {
                if (value.empty()) return usage(err, "--insert needs a program");
                insertProgram = value;
            } else {
                try {
                    size_t used = 0;
                    seed = std::stoull(value, &used);
                    if (used != value.size()) throw std::invalid_argument(value);
                } catch (const std::exception&) {
                    return usage(err, "--seed needs a number");
                }
            }
        } else if (opt == "--help") {
            out << kUsage;
            return 0;
        } else if (opt == "--version") {
            out << "velmo-cli (" << kProgramTitle << ")\n";
            return 0;
        } else {
            return usage(err, "unknown option " + opt);
        }
    }
    std::vector<Invocation> chain;
    try {
        chain = parseChain(Arguments(args.begin() + static_cast<std::ptrdiff_t>(i), args.end()));
    } catch (const UsageError& e) {
        return usage(err, e.what());
    }

    // A person answers only where nothing else was asked to.
    const bool person = terminal.in && terminal.stdinIsTerminal && terminal.stderrIsTerminal &&
                        answers == TerminalUi::Answers::Default && insertProgram.empty();
    TerminalUi ui(err, {answers, person ? terminal.in : nullptr, insertProgram, terminal.columns});
    platform::DetachedProcessLauncher detached;
    LaunchCounter launcher(detached);
    platform::SteadyClock clock;
    Session session(platform::resolveAppDir(appDir), {ui, launcher, clock, {}},
                    seed ? std::make_unique<Mt19937Random>(*seed) : makeClockSeededRandom());
    StartupOptions startup;
    startup.profile = profile;
    // Reading never changes the database: the reset question comes only before a command that
    // may change it, and asked of nobody it takes No.
    const bool readsOnly = std::all_of(chain.begin(), chain.end(), [](const Invocation& step) { return onlyReads(step); });
    if (!readsOnly) startup.askForReset = [&ui, person, answers](Session& started) {
        ui.setUnansweredTakesNo(!person && answers == TerminalUi::Answers::Default);
        const bool reset = CheckIfResetNeeded(started);
        ui.setUnansweredTakesNo(false);
        return reset;
    };
    startup.seed = seed;
    // A database that did not load whole must not be saved over its file.
    if (!Startup(session, startup)) return 1;

    Context context{session, ui, launcher, out, err, terminal.stderrIsTerminal};
    bool ok = true;
    bool modified = false;
    for (const Invocation& step : chain) {
        try {
            ok = step.command->run(context, step.args) && !ui.errorShown();
        } catch (const UsageError& e) {
            return usage(err, e.what());
        }
        // What a failed command left half done is not saved; what the commands before it did is.
        if (ok && (step.command->modifies || context.databaseChanged)) modified = true;
        // make-playlist shows the playlist it made, as "list playlist" does.
        if (ok && std::string(step.command->name) == "make-playlist") cmdList(context, {"playlist"});
        if (!ok || context.interrupted) break;
    }
    const bool saved = !modified || SaveOrDeleteDatabase(session);
    if (!saved) ok = false;
    Shutdown(session, saved);
    const int status = context.interrupted ? 130 : ok && !ui.errorShown() ? 0 : 1;
    if (terminal.exitWithoutTeardown) exitWithoutTeardown(status);
    return status;
}

} // namespace velmo::cli
