#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace velmo::platform {

enum class FileCopyOutcome {
    Copied,
    DestinationExists, // `to` was there already, whole, and stays as it is
    Cancelled,         // the progress callback asked to stop
    Failed
};

struct FileCopyResult {
    FileCopyOutcome outcome = FileCopyOutcome::Failed;
    std::string reason; // the system's reason when Failed ("No space left on device")
};

// Copies the regular file `from` to `to`, unless something already has the name `to`: a file of
// the source's size (or anything that is not a file) stays as it is, a file of another size is
// an incomplete copy and is replaced. The copy
// is written under the partial-copy name beside `to` (Folders.h) and renamed to `to` only when
// complete, never over anything, so a file under `to` is always a whole copy. `progress` is called
// with the bytes written so far after each block; when it returns false the copy stops and the
// partial file goes, as it does on any failure. The new file gets the usual mode (0666 less the
// umask), not the source's: copies from read-only disks are ordinary files.
FileCopyResult copyFileWithProgress(const std::string& from, const std::string& to,
                                    const std::function<bool(uint64_t bytesDone)>& progress);

} // namespace velmo::platform
