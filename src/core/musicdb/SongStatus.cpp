#include "musicdb/SongStatus.h"

#include <array>

namespace velmo {

std::optional<SongStatus> statusFromName(std::string_view name) {
    static constexpr std::array<std::string_view, 9> kNames = {
        "unused", "used", "playlist", "black", "favorites",
        "goodunused", "goodused", "goodplaylist", "justgood"};
    for (size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name) return static_cast<SongStatus>(i);
    return std::nullopt;
}

} // namespace velmo
