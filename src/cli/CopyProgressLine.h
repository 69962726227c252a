#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "playlist/CopyProgress.h"
#include "playlist/CopyView.h"

namespace velmo {
class MessageTable;
namespace platform {
class Clock;
}
} // namespace velmo

namespace velmo::cli {

class TerminalUi;

// The copy dialog of the command line: one line on a terminal, rewritten in place at most ten
// times a second, "Disk 1 of 2 | Song 3 of 12 | 12 of 45.67 MB | 26.3 % | /cd/Pop/a.mp3".
// Without a terminal it shows nothing.
class CopyProgressLine final : public CopyView {
public:
    CopyProgressLine(TerminalUi& ui, const MessageTable& messages, platform::Clock& clock, bool shown)
        : ui_(ui), messages_(messages), clock_(clock), shown_(shown) {}

    void showCopyDialog(const std::string& caption) override;
    void showCopyProgress(const CopyCounters& counters, uint64_t bytesDone) override;
    // The last state held back is drawn, then the line is ended.
    void closeCopyDialog() override;

    // The line's text: before a disk's first song it names the disk looked for, else the file.
    static std::string lineText(const CopyCounters& counters, uint64_t bytesDone, const MessageTable& messages);

private:
    void draw(const CopyCounters& counters, uint64_t bytesDone);

    TerminalUi& ui_;
    const MessageTable& messages_;
    platform::Clock& clock_;
    bool shown_;
    std::optional<int64_t> lastDrawnMs_;
    std::optional<CopyCounters> heldBack_;
    uint64_t heldBackBytes_ = 0;
};

} // namespace velmo::cli
