#pragma once
#include <optional>
#include <string>
#include <vector>

namespace velmo {

// How an external player wants to be called.
struct TPlayerConfig {
    std::string Name;
    std::string ApplicationPath;
    std::string ParameterBefore;
    std::string ParameterAfter;
    std::string FileListExt;
    std::string FirstLine;
    bool PassFirstSeparately = false;
    bool PassLastSeparately = false;
    bool PassLastBeforeFile = false;

    bool operator==(const TPlayerConfig&) const = default;
};

constexpr size_t kPlayerConfigBlockLines = 9;
// The count of configurations is a byte in the file's world; further blocks are ignored.
constexpr size_t kMaxPlayerConfigs = 255;

// The players a new profile offers: Audacious, VLC, mpv and a blank one for the user.
const std::vector<TPlayerConfig>& defaultPlayerConfigs();

// The 9 lines of each configuration, in order.
std::vector<std::string> playerConfigLines(const std::vector<TPlayerConfig>& configs);

// The configurations of a file's lines; nullopt when the count of lines is 0 or not a
// multiple of 9 (such a file is replaced by the defaults).
std::optional<std::vector<TPlayerConfig>> parsePlayerConfigLines(const std::vector<std::string>& lines);

} // namespace velmo
