#include <array>

#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "musicdb/SongStatus.h"
#include "musicdb/StatusTransitionTable.h"

namespace velmo {
namespace {

using test::kMembership;

TEST(StatusTransitionTable, EveryEntryIsNewMembershipMinusOldMembership) {
    int checked = 0;
    for (int from = 0; from < 9; ++from) {
        for (int to = 0; to < 9; ++to) {
            for (int k = 0; k < cCounterCount; ++k) {
                int expected = (from == 8 || to == 8) ? 0 : kMembership[to][k] - kMembership[from][k];
                EXPECT_EQ(StatusTransitionTable[from][to][k], expected)
                    << "old " << from << " new " << to << " counter " << k;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 729);
}

TEST(StatusTransitionTable, MembershipMatchesTheRulesOfTheCounters) {
    // Guards the reference above: every song is in exactly one of n, u, p, except
    // Favorites, which are in n and p; g is the sum of the three Just Good counters.
    for (int s = 0; s < ssStoredCount; ++s) {
        const auto& m = kMembership[s];
        EXPECT_EQ(m[cN] + m[cU] + m[cP], s == ssFavorites ? 2 : 1) << s;
        EXPECT_EQ(m[cG], m[cGN] + m[cGU] + m[cGP]) << s;
    }
}

TEST(StatusTransitionTable, SampleRowsHaveTheirDocumentedDeltas) {
    using Row = std::array<int8_t, 9>;
    auto row = [](int from, int to) {
        Row r{};
        for (int k = 0; k < 9; ++k) r[k] = StatusTransitionTable[from][to][k];
        return r;
    };
    EXPECT_EQ(row(ssUnused, ssFavorites), (Row{0, 0, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(row(ssGoodPlayList, ssBlack), (Row{0, 1, -1, 1, 0, 0, 0, -1, -1}));
    EXPECT_EQ(row(ssBlack, ssGoodUnused), (Row{1, -1, 0, -1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(row(ssFavorites, ssUsed), (Row{-1, 1, -1, 0, -1, 0, 0, 0, 0}));
    // Playlist <-> Just Good playlist keeps the song in p, so its Playlist item stays.
    EXPECT_EQ(row(ssPlayList, ssGoodPlayList), (Row{0, 0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(row(ssGoodPlayList, ssPlayList), (Row{0, 0, 0, 0, 0, 0, 0, -1, -1}));
}

TEST(SongStatusNames, EveryStatusHasItsCommandName) {
    const char* names[] = {"unused", "used", "playlist", "black", "favorites",
                           "goodunused", "goodused", "goodplaylist", "justgood"};
    for (int s = 0; s < 9; ++s) {
        auto status = statusFromName(names[s]);
        ASSERT_TRUE(status.has_value()) << names[s];
        EXPECT_EQ(*status, s);
    }
    EXPECT_FALSE(statusFromName("Unused").has_value());
    EXPECT_FALSE(statusFromName("").has_value());
    EXPECT_FALSE(statusFromName("good").has_value());
}

TEST(SongStatusImages, OnlyEvenDiskAndFolderImagesCarryTheRootMark) {
    for (int s = 0; s < ssStoredCount; ++s) EXPECT_FALSE(hasRootMark(imageOfStatus(s))) << s;
    EXPECT_TRUE(hasRootMark(iiCDDiskRoot));
    EXPECT_TRUE(hasRootMark(iiHardDiskRoot));
    EXPECT_TRUE(hasRootMark(iiFolderRoot));
    EXPECT_FALSE(hasRootMark(iiCDDisk));
    EXPECT_FALSE(hasRootMark(iiHardDisk));
    EXPECT_FALSE(hasRootMark(iiFolder));
}

} // namespace
} // namespace velmo
