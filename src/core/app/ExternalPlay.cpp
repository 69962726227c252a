#include "app/ExternalPlay.h"

#include <cstdlib>

#include "app/Session.h"
#include "app/TreeEdits.h"
#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "catalog/DiskPrompt.h"
#include "catalog/Disks.h"
#include "external/PlayerConfig.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/ProcessLauncher.h"
#include "util/CommandWords.h"
#include "util/IntConversion.h"
#include "util/TextLines.h"

namespace velmo {

namespace {

// Stands for the list file while the parameters are split, so that the path, whatever it holds,
// lands inside the arguments instead of being split itself. It cannot occur in a parameter text,
// which is one line of a settings file.
constexpr const char* kListFileMark = "\x01";

std::vector<std::string> argumentsWith(const std::string& parameters, const std::string& mark,
                                       const std::string& value) {
    std::vector<std::string> arguments = splitCommandWords(parameters);
    for (std::string& a : arguments) a = replaceAll(std::move(a), mark, value);
    return arguments;
}

std::optional<char> localDriveLetter(const std::string& diskText) {
    const size_t lt = diskText.find('<');
    if (lt == std::string::npos || lt + 1 >= diskText.size()) return std::nullopt;
    return diskText[lt + 1];
}

// The folder part of a path on a drive: "\Pop\a.mp3" -> "\Pop", "\a.mp3" -> "\", "Pop\Old" ->
// "Pop", "Pop" -> "".
std::string folderPart(const std::string& path, bool keepRootSlash) {
    const size_t backslash = path.rfind('\\');
    if (backslash == std::string::npos) return {};
    if (backslash == 0 && keepRootSlash) return "\\";
    return path.substr(0, backslash);
}

// A catalogue path "C:\Pop" on this machine; a drive's root ("C:\") as its folder with a "/".
std::optional<std::string> nativeOf(Session& s, const std::string& catalogPath) {
    std::optional<std::string> native = s.drives().catalogToNative(catalogPath);
    if (native && (catalogPath.size() <= 3) && native->back() != '/') *native += '/';
    return native;
}

} // namespace

std::optional<char> driveOfCD(Session& s, const std::string& diskText) {
    if (s.copyRunning()) return s.diskPrompt().lookWithoutPrompt(splitDiskText(diskText).label);
    return LookOrInsertCD(s.diskPrompt(), diskText);
}

std::string GetVarValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

std::string expandVariable(const std::string& text) {
    const size_t open = text.find('%');
    if (open == std::string::npos) return text;
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) return text;
    const std::string name = text.substr(open + 1, close - open - 1);
    return replaceAll(text, "%" + name + "%", GetVarValue(name));
}

void ExternalPlay::AddToExecute(const TDataRec* song) {
    const std::string caption = musicTreePath(song->MusicNode);
    const size_t backslash = caption.find('\\');
    if (backslash == std::string::npos) return;
    const std::string rest = caption.substr(backslash);
    const std::string disk = caption.substr(0, backslash);
    std::optional<char> drive;
    if (disk.find('<') != std::string::npos) {
        drive = localDriveLetter(disk);
    } else if (!CurrentPlayDisk.empty() && disk == CurrentPlayDisk) {
        drive = currentPlayDrive_;
    } else if (CurrentPlayDisk.empty() && !DeclinedDisks.count(disk)) {
        drive = driveOfCD(s_, disk);
        if (drive) {
            CurrentPlayDisk = disk;
            currentPlayDrive_ = drive;
        } else {
            DeclinedDisks.insert(disk);
        }
    }
    if (!drive) return;
    if (auto native = s_.drives().catalogToNative(std::string(1, *drive) + ":" + rest))
        ExecuteList.push_back(std::move(*native));
}

std::string listFilePathFor(const Session& s, const std::string& fileListExt) {
    return s.profileFolder(s.CurrentProfile) + "/" + s.messages[msgPlayListName] + "." + fileListExt;
}

std::string ExternalPlay::listFilePath() const {
    const std::vector<TPlayerConfig>& configs = s_.PlayerConfigs;
    const int index = s_.settings.PlayerConfigIndex;
    const std::string ext = index >= 0 && static_cast<size_t>(index) < configs.size()
                                ? configs[static_cast<size_t>(index)].FileListExt
                                : std::string("m3u");
    return listFilePathFor(s_, ext);
}

void ExternalPlay::start(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder) {
    if (auto failure = s_.launcher.start(program, arguments, folder))
        s_.ui.showStatus(*failure); // names the program, the folder and the system's reason
}

void ExternalPlay::PassExecute() {
    const int index = s_.settings.PlayerConfigIndex;
    if (index < 0 || static_cast<size_t>(index) >= s_.PlayerConfigs.size()) return;
    const TPlayerConfig& c = s_.PlayerConfigs[static_cast<size_t>(index)];
    const std::string list = listFilePath();

    std::vector<std::string> lines;
    if (!c.FirstLine.empty()) lines.push_back(c.FirstLine);
    lines.insert(lines.end(), ExecuteList.begin(), ExecuteList.end());
    if (auto failure = platform::writeFileAtomically(list, [&](const auto& sink) { sink(joinLinesCrLf(lines)); }))
        s_.ui.showError("The list file " + list + " could not be written: " + *failure);

    const std::string app = expandVariable(c.ApplicationPath);
    if (app.empty()) return;
    const size_t slash = app.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : slash == 0 ? "/" : app.substr(0, slash);
    std::string before = c.ParameterBefore;
    if (c.PassFirstSeparately) {
        start(app, splitCommandWords(before), dir);
        s_.clock.waitMs(1000);
        before.clear();
    }
    const std::string quotedList = std::string(" \"") + kListFileMark + "\"";
    std::string parameters;
    if (c.PassLastSeparately)
        parameters = before + quotedList;
    else if (c.PassLastBeforeFile)
        parameters = before + c.ParameterAfter + quotedList;
    else
        parameters = before + quotedList + c.ParameterAfter;
    start(app, argumentsWith(parameters, kListFileMark, list), dir);
    if (c.PassLastSeparately) start(app, splitCommandWords(c.ParameterAfter), dir);
}

void ExternalPlayNow(Session& s, const std::vector<TDataRec*>& selection) {
    ExternalPlay play(s);
    for (const TDataRec* song : selection) play.AddToExecute(song);
    play.PassExecute();
}

void OpenInShell(Session& s, const TreeNode* node) {
    if (!node) return;
    const bool song = isSongImage(node->imageIndex());
    const TreePath place = GetTreePath(node);
    std::string path;
    if (song) {
        path = "\\" + place.path;
        if (s.settings.PassDir) path = folderPart(path, true);
    } else {
        path = place.path;
        if (s.settings.PassDir && !s.settings.OnlyIfFile) path = folderPart(path, false);
        path = "\\" + path;
    }
    std::optional<char> drive = localDriveLetter(place.ShellDisk);
    if (!drive) drive = driveOfCD(s, place.ShellDisk);
    if (!drive) return;
    if (auto native = nativeOf(s, std::string(1, *drive) + ":" + path)) ExecuteByShell(s, *native);
}

void ExecuteByShell(Session& s, const std::string& path) {
    const std::string& command = s.settings.ShellCommand;
    const size_t gt = command.find('>');
    if (gt == std::string::npos) return;
    const std::string program = expandVariable(command.substr(0, gt));
    if (program.empty()) return;
    if (auto failure = s.launcher.start(program, argumentsWith(command.substr(gt + 1), "%file%", path), ""))
        s.ui.showStatus(*failure);
}

} // namespace velmo
