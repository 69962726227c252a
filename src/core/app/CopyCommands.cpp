#include "app/CopyCommands.h"

#include <chrono>
#include <future>

#include "app/Session.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "playlist/CopyEngine.h"
#include "playlist/CopyPlan.h"
#include "playlist/CopyView.h"
#include "playlist/DestinationCleanUp.h"
#include "playlist/ResultPlaylist.h"

namespace velmo {

namespace {

// Told after the copy, in the program's own words (a language file keeps its lines): failures
// are never passed over as if the copy had succeeded.
std::string notCopiedText(const CopyEngine& engine) {
    const std::vector<CopyFailure>& failures = engine.failures();
    const size_t n = failures.size();
    return std::to_string(n) + (n == 1 ? " file was" : " files were") +
           " not copied and left out of the playlist. The first: " + failures.front().source + " (" +
           failures.front().reason + ").";
}

// The copies reach the disk before the playlist file names them, so a power cut after the
// copy cannot leave the playlist pointing at files that never got there. The wait may be long
// after a large copy: the window keeps painting meanwhile.
void flushCopies(Session& s, const std::string& folder) {
    auto flushed = std::async(std::launch::async, [folder] { return platform::flushFileSystem(folder); });
    while (flushed.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        s.ui.processMessages(UserInterface::Pump::Repaint);
        s.clock.waitMs(20);
    }
    flushed.get(); // a failure to flush leaves the files as the system holds them; nothing to tell
}

// The session says a copy runs for exactly as long as the engine exists, whatever ends it.
class ActiveCopy {
public:
    ActiveCopy(Session& s, CopyEngine& engine) : s_(s) {
        s_.activeCopy = &engine;
        s_.notifyCopyStateChanged();
    }
    ~ActiveCopy() {
        s_.activeCopy = nullptr;
        s_.notifyCopyStateChanged();
    }
    ActiveCopy(const ActiveCopy&) = delete;
    ActiveCopy& operator=(const ActiveCopy&) = delete;

private:
    Session& s_;
};

} // namespace

CopyRunResult ButtonPressToStartClick(Session& s, CopyView& view) {
    if (s.copyRunning()) return {};
    const double playlistMB = s.db.counters()[cP].sizeMB;
    if (s.settings.SizeOfDB < playlistMB) {
        if (s.settings.ConfirmOpts[ConfirmLargePL] &&
            !s.ui.askYesNo(s.messages[msgNotice], s.messages[msgPlaylistTooLarge], false))
            return {};
        return StartCopy(s, view);
    }
    if (playlistMB == 0) {
        s.ui.showNotice(s.messages[msgInformation], s.messages[msgNoPlaylistYet]);
        CopyRunResult result;
        result.focusMakePlaylist = true;
        return result;
    }
    return StartCopy(s, view);
}

CopyRunResult StartCopy(Session& s, CopyView& view) {
    CopyRunResult result;
    if (s.copyRunning()) return result;
    result.started = true;
    s.PlaylistCopied = true;
    s.ExitAfterCopy = false;
    std::string& path = s.settings.PathToDB;
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();

    const CopyContext context = s.copyContext();
    DestinationCleanUp cleanUp(context);
    cleanUp.DeleteOldSongs();
    cleanUp.MakeDirLists();
    cleanUp.DeleteOldDirs();
    cleanUp.CreateNewDirs();
    const CopyPlan plan = PrepareCopyData(context);

    if (cleanUp.destination()) {
        s.diskPrompt().forgetLastDrive();
        CopyEngine engine({s.ui, s.messages, s.settings, s.clock, s.diskPrompt(), view, s.CopyFromDrive}, plan,
                          *cleanUp.destination(), s.db.counters()[cP].count, s.db.counters()[cP].sizeMB);
        {
            ActiveCopy active(s, engine);
            view.showCopyDialog(s.messages[msgCopyingCaption]);
            view.setAbortEnabled(true);
            engine.CopyFiles();
            view.setAbortEnabled(false);
            flushCopies(s, cleanUp.destination()->folder);
            view.closeCopyDialog();
        }
        result.aborted = engine.aborted();
        result.notCopied = engine.failures().size();
        result.playlistWritten = FormPlayList(context, s.CopyFromDrive);
        if (result.notCopied > 0) s.ui.showError(notCopiedText(engine));
    } else {
        // Nowhere to copy to: the playlist file's own error says where it could not go.
        result.playlistWritten = FormPlayList(context, s.CopyFromDrive);
    }
    result.closeProgram = s.ExitAfterCopy;
    s.db.notifyStatisticsChanged();
    return result;
}

void ExitDuringCopy(Session& s) {
    if (!s.activeCopy) return;
    s.activeCopy->ButtonAbortClick();
    s.ui.processMessages(UserInterface::Pump::WithUserInput);
    s.ExitAfterCopy = true;
}

} // namespace velmo
