#pragma once
#include <cstddef>

namespace velmo {

struct Session;
class CopyView;

// How "Press to start" ended, for the front to act on.
struct CopyRunResult {
    bool started = false;           // false: refused (too large, answered No) or no playlist yet
    bool focusMakePlaylist = false; // no playlist yet: "Make playlist" is what to press
    bool aborted = false;
    size_t notCopied = 0;        // files that failed to copy (the user has been told)
    bool playlistWritten = false;
    bool closeProgram = false;   // Exit was pressed during the copy
};

// "Press to start": the size question when the playlist is larger than the size set for the
// destination (ConfirmLargePL), the notice when there is no playlist yet; then StartCopy.
CopyRunResult ButtonPressToStartClick(Session& s, CopyView& view);

// The whole copy: the destination is cleaned up and planned, the plan carried out with the copy
// dialog shown, the result playlist written, and the user told about files that could not be
// copied. While it runs s.copyRunning() is true and the session's listeners have heard so.
CopyRunResult StartCopy(Session& s, CopyView& view);

// Exit pressed while a copy runs: the abort question, and the program closes once the copy has
// ended, whatever the answer.
void ExitDuringCopy(Session& s);

} // namespace velmo
