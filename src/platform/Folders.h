#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Folder operations for the destination of a copy, which must never reach outside it: a symbolic
// link found below the destination is an entry of its own, never the place it points to.
namespace velmo::platform {

// A file being copied is written under this prefix plus the rest of its own name in the folder it
// belongs to, and renamed to its name only once it is complete ("a.mp3" is written as
// ".velmo-partial-a.mp3"). So a file under a song's name is always a whole copy, and the
// leftovers of an interrupted copy are recognised and removed by the next clean-up.
inline constexpr std::string_view kPartialCopyPrefix = ".velmo-partial-";
// The name of the temporary file that becomes `name` when complete.
std::string partialCopyName(std::string_view name);
bool isPartialCopyName(std::string_view name);

enum class EntryKind : uint8_t { File, Folder, Link, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
};

// Every entry of a folder, "." and ".." left out, links reported as links whatever they point
// to, in the order the file system gives them. With `followLink` false a folder that is itself a
// link is refused. nullopt when the folder cannot be listed.
std::optional<std::vector<FolderEntry>> listFolderEntries(const std::string& path, bool followLink);

// Removes a folder when it is empty; a link is neither removed nor followed. True when removed.
bool removeEmptyFolder(const std::string& path);
// Creates one folder; true when it exists as a folder afterwards (an existing one is no error).
bool createFolder(const std::string& path);

} // namespace velmo::platform
