#pragma once
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmo {
struct Session;
struct TDataRec;
class TreeNode;
} // namespace velmo

namespace velmo::cli {

class LaunchCounter;
class TerminalUi;

// What a command works with: the session, the terminal user and the two output streams.
struct Context {
    Session& session;
    TerminalUi& ui;
    LaunchCounter& launches;
    std::ostream& out;
    std::ostream& err;
    bool progressShown = false;   // stderr is a terminal
    bool interrupted = false;     // a copy was stopped by Ctrl-C or SIGTERM
    bool databaseChanged = false; // set by a command that changed the database only sometimes
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    // Commands that change the database save it at the end, as "Yes" at exit would. A command
    // that changes it only sometimes leaves this off and sets Context::databaseChanged.
    bool modifies;
    // False when the command failed; what it reported then is on stderr.
    std::function<bool(Context&, const Arguments&)> run;
    // Throws UsageError for arguments the command would refuse; checked before anything runs.
    std::function<void(const Arguments&)> check = {};
};

// The songs that captions stand for, in the order of the captions: a Music List caption gives
// its song (all songs of that caption), a disk or folder caption ("Jazz /JAZZ01/\Blue") or the
// native path of a catalogued file or folder ("/srv/music/Pop") every song below it in tree
// order; each song once. An unknown caption is shown as an error: nullopt then.
std::optional<std::vector<TDataRec*>> songsOfCaptions(Context& c, const Arguments& captions);

// The one node a caption names (the first, when several share it); nullptr after the error
// has been shown.
TreeNode* nodeOfCaption(Context& c, const std::string& caption);
// The commands of each area, for the command table.
std::vector<Command> treeEditCommands();    // search, rename, delete
std::vector<Command> externalPlayCommands(); // play, open
std::vector<Command> optionsCommands();      // options, set, languages

} // namespace velmo::cli
