#pragma once
// The check that every status change keeps counters, lists and icons in step.
#include <array>

#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// Which counters a stored status belongs to, written down from the meaning of the counters:
// n unheard, u heard, p in the playlist, b Black List, f Favorites, _gn/_gu/_gp the three
// Just Good states, g any Just Good state. Columns: n, u, p, b, f, _gn, _gu, _gp, g.
inline constexpr std::array<std::array<int, 9>, 9> kMembership = {{
    {1, 0, 0, 0, 0, 0, 0, 0, 0}, // ssUnused
    {0, 1, 0, 0, 0, 0, 0, 0, 0}, // ssUsed
    {0, 0, 1, 0, 0, 0, 0, 0, 0}, // ssPlayList
    {0, 1, 0, 1, 0, 0, 0, 0, 0}, // ssBlack: heard, never drawn
    {1, 0, 1, 0, 1, 0, 0, 0, 0}, // ssFavorites: in the playlist and still unheard
    {1, 0, 0, 0, 0, 1, 0, 0, 1}, // ssGoodUnused
    {0, 1, 0, 0, 0, 0, 1, 0, 1}, // ssGoodUsed
    {0, 0, 1, 0, 0, 0, 0, 1, 1}, // ssGoodPlayList
    {0, 0, 0, 0, 0, 0, 0, 0, 0}, // ssJustGood is a command and moves nothing
}};

// Checks, as GoogleTest failures, everything SetStatus must keep in step: the counters
// recomputed from the songs' statuses, each list holding exactly the songs of its counter,
// and every node and item of a song showing its status.
void expectDatabaseConsistent(MusicDatabase& db);

} // namespace velmo::test
