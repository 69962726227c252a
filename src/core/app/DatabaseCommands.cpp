#include "app/DatabaseCommands.h"

#include <cerrno>
#include <cstring>
#include <exception>

#include "app/Lifecycle.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/NativePaths.h"
#include "app/Profiles.h"

namespace velmo {

namespace {

UserInterface::FileDialog databaseDialog(const Session& s, Msg titleMessage, bool proposeName) {
    UserInterface::FileDialog dialog;
    dialog.title = s.messages[titleMessage];
    dialog.filter = s.messages[msgDBFilter];
    dialog.defaultExtension = "vmdb";
    const std::string& name = s.settings.DBName;
    dialog.initialFolder = platform::storedToNative(s.AppDir, platform::storedFolder(name));
    if (proposeName && !name.empty()) dialog.proposedName = platform::storedToNative(s.AppDir, name);
    return dialog;
}

// The last part of a native path.
std::string fileNameOf(const std::string& nativePath) {
    const size_t slash = nativePath.rfind('/');
    return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

// A load or merge that stopped at a bad line: what the reader said, which file, and what it
// means for the user's data.
std::string partialLoadMessage(const std::string& readerError, const std::string& nativePath, bool mergeMode) {
    std::string text = readerError + "\nFile: \"" + nativePath + "\"\n";
    if (mergeMode) return text + "The lines from there on were not added.";
    return text + "The lines from there on were not loaded. When the database is next saved, the whole original "
                  "file is kept as \"" + fileNameOf(nativePath) + ".bak\".";
}

// Reads a file into a load tree and merges it. Errors are shown; what was merged before the
// failing line stays.
bool readAndAnalyze(Session& s, const std::string& nativePath, bool mergeMode) {
    auto bytes = platform::readWholeFile(nativePath);
    if (!bytes) {
        const std::string reason = std::strerror(errno);
        if (!mergeMode) s.partiallyLoadedFile = nativePath;
        s.ui.showError("Cannot open file \"" + nativePath + "\". " + reason);
        return false;
    }
    try {
        s.ui.processMessages();
        LoadTree tree = LoadTree::parse(std::move(*bytes));
        s.ui.processMessages();
        DatabaseLoader::Options options;
        options.mergeMode = mergeMode;
        options.goodCycle = s.settings.GoodCycle;
        // The loader offers a pump after every disk and first-level folder, tens of thousands of
        // times in a large collection; each round of window events costs a system call, and the
        // window needs a few rounds a second.
        constexpr int64_t kPumpIntervalMs = 40;
        int64_t lastPump = s.clock.nowMs() - kPumpIntervalMs;
        options.processMessages = [&s, &lastPump] {
            const int64_t now = s.clock.nowMs();
            if (now - lastPump < kPumpIntervalMs) return;
            lastPump = now;
            s.ui.processMessages();
        };
        DatabaseLoader(s.db, options).AnalyzeTree(tree);
        return true;
    } catch (const std::exception& e) {
        if (!mergeMode) s.partiallyLoadedFile = nativePath;
        s.ui.showError(partialLoadMessage(e.what(), nativePath, mergeMode));
        return false;
    }
}

} // namespace

bool LoadData(Session& s) {
    const std::string path = s.databasePath();
    // Only a name nothing carries is a new, empty database; a FIFO or a device there is an
    // error, so that no save replaces it unasked.
    if (!platform::pathExists(path)) return true;
    return readAndAnalyze(s, path, false);
}

bool MenuItemLoadBaseClick(Session& s) {
    auto chosen = s.ui.chooseFileToOpen(databaseDialog(s, msgLoadDBTitle, true));
    bool ok = true;
    if (chosen) {
        // The database about to be replaced may hold work not saved yet.
        AskForSaving(s);
        s.db.ClearDB();
        s.settings.DBName = platform::nativeToStored(s.AppDir, *chosen);
        ok = LoadData(s);
        SaveProfile(s);
        s.db.setDBModified(false);
    }
    s.db.notifyStatisticsChanged();
    return ok;
}

bool MenuItemAddtoDBClick(Session& s) {
    auto chosen = s.ui.chooseFileToOpen(databaseDialog(s, msgAddToDBTitle, false));
    if (!chosen) return true;
    s.ui.processMessages();
    const StatCounters before = s.db.counters();
    const size_t disksBefore = s.db.musicTree().topLevelCount();
    bool ok = readAndAnalyze(s, *chosen, true);
    // A refused file that added nothing leaves the database as it was.
    const StatCounters& after = s.db.counters();
    if (ok || after.a.count != before.a.count || s.db.musicTree().topLevelCount() != disksBefore)
        s.db.setDBModified(true);
    s.db.notifyStatisticsChanged();
    SaveProfile(s);
    return ok;
}

bool SaveDBAs(Session& s, const std::string& fileName) {
    std::string target = fileName;
    if (target.empty()) {
        UserInterface::FileDialog dialog = databaseDialog(s, msgSaveDBAsTitle, true);
        if (s.settings.DBName.empty()) {
            const std::string folder = "Profiles\\" + s.CurrentProfile;
            dialog.initialFolder = platform::storedToNative(s.AppDir, folder);
            dialog.proposedName = platform::storedToNative(s.AppDir, folder + "\\" + s.CurrentProfile + ".vmdb");
        }
        auto chosen = s.ui.chooseFileToSave(dialog);
        if (!chosen) return false;
        target = platform::nativeToStored(s.AppDir, *chosen);
    }
    const std::string path = platform::storedToNative(s.AppDir, target);
    if (!s.partiallyLoadedFile.empty() && path == s.partiallyLoadedFile) {
        if (auto failed = platform::copyFile(path, path + ".bak")) {
            s.ui.showError("Cannot create file \"" + path + ".bak\". " + *failed);
            return false;
        }
        s.partiallyLoadedFile.clear();
    }
    auto failure = platform::writeFileAtomically(
        path, [&](const auto& sink) { writeDatabase(s.db.musicTree(), sink); });
    if (failure) {
        s.ui.showError("Cannot create file \"" + path + "\". " + *failure);
        return false;
    }
    // The profile (and with it the caption) names the new file only once it was written.
    s.settings.DBName = target;
    SaveProfile(s);
    s.db.setDBModified(false);
    s.db.notifyStatisticsChanged();
    return true;
}

bool MenuItemSaveBaseClick(Session& s) { return SaveDBAs(s, s.settings.DBName); }
bool MenuItemSaveDBAsClick(Session& s) { return SaveDBAs(s, {}); }

void MenuItemClearDBClick(Session& s) {
    s.db.ClearDB();
    s.db.notifyStatisticsChanged();
}

void MenuItemResetIconsClick(Session& s) { s.db.ResetIcons(); }

bool SaveOrDeleteDatabase(Session& s) {
    if (!s.db.musicTree().empty()) return MenuItemSaveBaseClick(s);
    const std::string path = s.databasePath();
    if (auto failure = platform::removeFile(path)) {
        s.ui.showError("Cannot delete file \"" + path + "\". " + *failure);
        return false;
    }
    return true;
}

} // namespace velmo
