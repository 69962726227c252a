#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmo::platform {

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces `path` atomically: the content goes to a temporary file in the same folder, which
// is flushed to disk and then renamed over `path`. A failure leaves the old file whole and
// returns the system's reason ("Permission denied", "No space left on device"); success
// returns nullopt. Missing parent folders are created.
std::optional<std::string> writeFileAtomically(
    const std::string& path, const std::function<void(const std::function<void(std::string_view)>&)>& produce);

// Copies a file over `to` (atomically, as above); the system's reason on failure.
std::optional<std::string> copyFile(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);
// Removes a file; true when it is gone afterwards.
bool removeFile(const std::string& path);

} // namespace velmo::platform
