// "Make playlist": the size limit, which songs may be drawn, the Just Good share and what a
// second press does.
#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "PlaylistTestUtil.h"
#include "app/PlaylistCommands.h"

namespace velmo::test {
namespace {

std::unique_ptr<PlaylistSession> seededSession(uint64_t seed) {
    auto t = std::make_unique<PlaylistSession>(std::make_unique<Mt19937Random>(seed));
    t->session.fixedSeed = seed;
    return t;
}

// The bounds of the draws of a generation: a generation asks for one number per draw and
// one more for the place of every song it puts into the playlist, in turn.
std::vector<uint32_t> drawBounds(const std::vector<uint32_t>& bounds) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < bounds.size(); i += 2) out.push_back(bounds[i]);
    return out;
}

// ---- The size limit -------------------------------------------------------------------

TEST(PlaylistLimit, NeverExceededAndTheOvershootingSongGoesBack) {
    for (uint64_t seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto t = seededSession(seed);
        std::mt19937 rng(static_cast<uint32_t>(seed));
        std::map<TDataRec*, int> before;
        for (int i = 0; i < 60; ++i) {
            const int status = i % 7 == 0 ? ssUsed : i % 3 == 0 ? ssGoodUnused : ssUnused;
            TDataRec* rec = t->addSong(static_cast<int32_t>(kMB + rng() % (14 * kMB)), status);
            before[rec] = status;
        }
        t->settings().SizeOfDB = 97;
        t->settings().GoodFixed = seed % 2 == 0;

        MakeNextPlayList(t->session);

        const StatCounters& c = t->counters();
        EXPECT_LE(c[cP].sizeMB, 97.0);
        EXPECT_GT(c[cP].count, 0);
        // Every song either kept its status or went from candidate to the matching playlist
        // status; the one that did not fit is back where it was.
        double largestLeft = 0;
        for (auto [rec, status] : before) {
            const int now = t->statusOf(rec);
            if (now == status) {
                if (status == ssUnused || status == ssGoodUnused) largestLeft = std::max(largestLeft, rec->Size / 1048576.0);
                continue;
            }
            EXPECT_EQ(now, status == ssGoodUnused ? ssGoodPlayList : ssPlayList);
            EXPECT_TRUE(status == ssUnused || status == ssGoodUnused);
        }
        // The generation stopped because a song did not fit (it is among those left), not earlier.
        EXPECT_GT(c[cP].sizeMB + largestLeft, 97.0);
        expectDatabaseConsistent(t->session.db);
    }
}

TEST(PlaylistLimit, StopsAtTheFirstSongThatDoesNotFitAndPutsItBack) {
    PlaylistSession t; // every draw takes the first remaining candidate
    TDataRec* a = t.addSongMB(30);
    TDataRec* b = t.addSongMB(30, ssGoodUnused);
    TDataRec* c = t.addSongMB(10);
    t.settings().SizeOfDB = 50;
    t.settings().GoodFixed = false;

    MakeNextPlayList(t.session);

    EXPECT_EQ(t.statusOf(a), ssPlayList);
    EXPECT_EQ(t.statusOf(b), ssGoodUnused); // back to its own unused status
    EXPECT_EQ(t.statusOf(c), ssUnused);     // would have fitted, but the generation ended
    EXPECT_EQ(recordsOf(t.session.db.playList()), std::vector<TDataRec*>{a});
    EXPECT_DOUBLE_EQ(t.counters()[cP].sizeMB, 30.0);
    EXPECT_EQ(b->PlayListItem, nullptr);
    EXPECT_NE(b->JustGoodItem, nullptr);
    expectDatabaseConsistent(t.session.db);
}

TEST(PlaylistLimit, ASongThatReachesTheLimitExactlyStaysAndEndsTheGeneration) {
    auto random = std::make_unique<ScriptedRandom>();
    ScriptedRandom* scripted = random.get();
    PlaylistSession t(std::move(random));
    TDataRec* a = t.addSongMB(10);
    TDataRec* b = t.addSongMB(20, ssGoodUnused);
    TDataRec* c = t.addSongMB(5);
    t.settings().SizeOfDB = 30;
    t.settings().GoodFixed = false;

    MakeNextPlayList(t.session);

    EXPECT_EQ(t.statusOf(a), ssPlayList);
    EXPECT_EQ(t.statusOf(b), ssGoodPlayList);
    EXPECT_EQ(t.statusOf(c), ssUnused);
    EXPECT_DOUBLE_EQ(t.counters()[cP].sizeMB, 30.0);
    EXPECT_EQ(drawBounds(scripted->bounds), (std::vector<uint32_t>{3, 2})); // no third draw
}

TEST(PlaylistLimit, ALimitBelowEverySongLeavesThePlaylistAsItWas) {
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        auto t = seededSession(seed);
        TDataRec* favorite = t->addSongMB(1, ssFavorites);
        std::vector<TDataRec*> candidates = {t->addSongMB(5), t->addSongMB(6, ssGoodUnused), t->addSongMB(7),
                                             t->addSongMB(8, ssGoodUnused)};
        t->settings().SizeOfDB = 4;
        t->settings().GoodFixed = seed % 2 == 1;

        MakeNextPlayList(t->session);

        EXPECT_EQ(recordsOf(t->session.db.playList()), std::vector<TDataRec*>{favorite});
        EXPECT_EQ(statusesOf(candidates), (std::vector<int>{ssUnused, ssGoodUnused, ssUnused, ssGoodUnused}));
        EXPECT_DOUBLE_EQ(t->counters()[cP].sizeMB, 1.0);
        expectDatabaseConsistent(t->session.db);
    }
}

TEST(PlaylistLimit, FavoritesAlreadyOverTheLimitGetNothingAdded) {
    auto random = std::make_unique<ScriptedRandom>();
    ScriptedRandom* scripted = random.get();
    PlaylistSession t(std::move(random));
    TDataRec* favorite = t.addSongMB(40, ssFavorites);
    TDataRec* song = t.addSongMB(1);
    t.settings().SizeOfDB = 30;
    scripted->bounds.clear();

    MakeNextPlayList(t.session);

    EXPECT_EQ(recordsOf(t.session.db.playList()), std::vector<TDataRec*>{favorite});
    EXPECT_EQ(t.statusOf(song), ssUnused);
    EXPECT_TRUE(scripted->bounds.empty());
}

// ---- Which songs are drawn ------------------------------------------------------------

class PlaylistCandidates : public ::testing::TestWithParam<bool> {};

TEST_P(PlaylistCandidates, OnlyUnheardSongsAreDrawnEachOnceAndTheRestStays) {
    auto random = std::make_unique<RecordingRandom>(77);
    RecordingRandom* recording = random.get();
    PlaylistSession t(std::move(random));
    t.session.fixedSeed = 77;
    std::vector<std::pair<TDataRec*, int>> songs;
    const int pattern[] = {ssUnused, ssUsed,     ssPlayList, ssBlack,        ssFavorites,
                           ssUnused, ssGoodUsed, ssUnused,   ssGoodPlayList, ssGoodUnused};
    for (int i = 0; i < 60; ++i) {
        const int status = pattern[i % 10] == ssUnused && i % 4 == 1 ? ssGoodUnused : pattern[i % 10];
        songs.push_back({t.addSong(kMB + i * 4096, status), status});
    }
    const int32_t candidates = t.counters()[cN].count - t.counters()[cF].count;
    const auto previousPlaylist = recordsOf(t.session.db.playList());
    t.settings().SizeOfDB = 1000000;
    t.settings().GoodFixed = GetParam();
    recording->bounds.clear();

    MakeNextPlayList(t.session);

    for (auto [rec, status] : songs) {
        const int now = t.statusOf(rec);
        if (status == ssUnused) EXPECT_EQ(now, ssPlayList);
        else if (status == ssGoodUnused) EXPECT_EQ(now, ssGoodPlayList);
        else EXPECT_EQ(now, status); // heard, Black List, Favorites and earlier playlist songs stay
    }
    // One draw per candidate, each from a list one shorter: no song was drawn twice.
    std::vector<uint32_t> expected;
    for (int32_t k = candidates; k > 0; --k) expected.push_back(static_cast<uint32_t>(k));
    EXPECT_EQ(drawBounds(recording->bounds), expected);

    const auto playlist = recordsOf(t.session.db.playList());
    EXPECT_EQ(std::set<TDataRec*>(playlist.begin(), playlist.end()).size(), playlist.size());
    EXPECT_EQ(playlist.size(), previousPlaylist.size() + static_cast<size_t>(candidates));
    for (TDataRec* rec : previousPlaylist) EXPECT_NE(std::find(playlist.begin(), playlist.end(), rec), playlist.end());
    EXPECT_EQ(t.counters()[cN].count, t.counters()[cF].count);
    expectDatabaseConsistent(t.session.db);
}

INSTANTIATE_TEST_SUITE_P(PlaylistShare, PlaylistCandidates, ::testing::Bool(),
                         [](const auto& testParam) { return testParam.param ? "ShareFixed" : "ShareFree"; });

TEST(PlaylistCandidatesNone, NoUnheardSongDrawsNothingAndKeepsTheFavorites) {
    auto random = std::make_unique<RecordingRandom>(5);
    RecordingRandom* recording = random.get();
    PlaylistSession t(std::move(random));
    TDataRec* favorite = t.addSongMB(2, ssFavorites);
    t.addSongMB(3, ssUsed);
    t.addSongMB(3, ssBlack);
    t.addSongMB(3, ssGoodUsed);
    recording->bounds.clear();

    MakeNextPlayList(t.session);

    EXPECT_EQ(recordsOf(t.session.db.playList()), std::vector<TDataRec*>{favorite});
    EXPECT_TRUE(recording->bounds.empty());
    EXPECT_EQ(recording->reseeds, 0);
}

TEST(PlaylistSeed, AGivenSeedIsKeptAndGivesTheSamePlaylist) {
    auto build = [](std::optional<uint64_t> fixedSeed, RecordingRandom*& recording) {
        auto random = std::make_unique<RecordingRandom>(1234);
        recording = random.get();
        auto t = std::make_unique<PlaylistSession>(std::move(random));
        t->session.fixedSeed = fixedSeed;
        for (int i = 0; i < 40; ++i) t->addSongMB(1 + i % 5, i % 4 == 0 ? ssGoodUnused : ssUnused);
        t->settings().SizeOfDB = 30;
        return t;
    };
    RecordingRandom* r1 = nullptr;
    RecordingRandom* r2 = nullptr;
    RecordingRandom* r3 = nullptr;
    auto first = build(1234, r1);
    auto second = build(1234, r2);
    auto clocked = build(std::nullopt, r3);
    MakeNextPlayList(first->session);
    MakeNextPlayList(second->session);
    MakeNextPlayList(clocked->session);

    EXPECT_EQ(r1->reseeds, 0);
    EXPECT_EQ(r3->reseeds, 1); // without a given seed every generation starts from the clock
    // Same songs in the same places.
    auto captions = [](PlaylistSession& t) {
        std::vector<std::string> out;
        for (ListItem* i = t.session.db.playList().first(); i; i = t.session.db.playList().next(i))
            out.push_back(i->caption());
        return out;
    };
    EXPECT_FALSE(captions(*first).empty());
    EXPECT_EQ(captions(*first), captions(*second));
}

// ---- Pressing again without a copy ----------------------------------------------------

TEST(PlaylistAgain, ASecondPressAddsNothingOnceTheLimitIsReached) {
    auto t = seededSession(42);
    for (int i = 0; i < 10; ++i) t->addSongMB(10, i % 3 == 0 ? ssGoodUnused : ssUnused);
    t->settings().SizeOfDB = 30;

    MakeNextPlayList(t->session);
    const auto first = recordsOf(t->session.db.playList());
    ASSERT_EQ(first.size(), 3u);
    ASSERT_DOUBLE_EQ(t->counters()[cP].sizeMB, 30.0);

    MakeNextPlayList(t->session);
    EXPECT_EQ(recordsOf(t->session.db.playList()), first);
    EXPECT_DOUBLE_EQ(t->counters()[cP].sizeMB, 30.0);

    // A larger limit keeps the first songs, in their order, and only adds.
    t->settings().SizeOfDB = 50;
    MakeNextPlayList(t->session);
    auto now = recordsOf(t->session.db.playList());
    EXPECT_EQ(now.size(), 5u);
    std::vector<TDataRec*> kept;
    for (TDataRec* rec : now)
        if (std::find(first.begin(), first.end(), rec) != first.end()) kept.push_back(rec);
    EXPECT_EQ(kept, first);
    expectDatabaseConsistent(t->session.db);
}

// ---- The Just Good share --------------------------------------------------------------

// Fills the playlist to the given sizes in megabytes and leaves one unheard song of each kind.
struct ShareSetup {
    explicit ShareSetup(bool ofPlaylist, int percent) {
        t.settings().GoodOfPlayList = ofPlaylist;
        t.settings().GoodPercent = percent;
    }
    PlaylistSession t;
};

TEST(JustGoodAcceptance, TheWorkedExampleOfThePlaylistBase) {
    ShareSetup s(true, 20);
    s.t.addSongMB(70, ssPlayList);
    s.t.addSongMB(30, ssGoodPlayList); // P = 100, GP = 30
    s.t.addSongMB(5);
    s.t.addSongMB(5, ssGoodUnused);
    EXPECT_FALSE(passesAcceptanceTest(s.t.session.playlistContext(), true)); // 0.2 > 30/101 is false
    EXPECT_TRUE(passesAcceptanceTest(s.t.session.playlistContext(), false)); // 0.8 > 70/101
}

TEST(JustGoodAcceptance, BothComparisonsAreStrict) {
    ShareSetup s(true, 30);
    s.t.addSongMB(69, ssPlayList);
    s.t.addSongMB(30, ssGoodPlayList); // P + 1 = 100
    s.t.addSongMB(5);
    s.t.addSongMB(5, ssGoodUnused);
    EXPECT_FALSE(passesAcceptanceTest(s.t.session.playlistContext(), true)); // 0.3 > 30/100
    s.t.settings().GoodPercent = 31;
    EXPECT_TRUE(passesAcceptanceTest(s.t.session.playlistContext(), true));

    ShareSetup o(true, 30);
    o.t.addSongMB(70, ssPlayList);
    o.t.addSongMB(29, ssGoodPlayList);
    o.t.addSongMB(5);
    o.t.addSongMB(5, ssGoodUnused);
    EXPECT_FALSE(passesAcceptanceTest(o.t.session.playlistContext(), false)); // 0.7 > 70/100
    EXPECT_TRUE(passesAcceptanceTest(o.t.session.playlistContext(), true));   // the other kind passes
}

TEST(JustGoodAcceptance, TheBaseOfAllJustGoodSongsIgnoresThePlaylistSize) {
    ShareSetup s(false, 30);
    s.t.addSongMB(500, ssPlayList);
    s.t.addSongMB(30, ssGoodPlayList);
    s.t.addSongMB(64, ssGoodUsed);
    s.t.addSongMB(5, ssGoodUnused); // G = 99, GP = 30
    s.t.addSongMB(5);
    EXPECT_FALSE(passesAcceptanceTest(s.t.session.playlistContext(), true)); // 0.3 > 30/100
    EXPECT_TRUE(passesAcceptanceTest(s.t.session.playlistContext(), false)); // 0.7 > 69/100
    s.t.settings().GoodOfPlayList = true;                  // against P = 530 the share is small
    EXPECT_TRUE(passesAcceptanceTest(s.t.session.playlistContext(), true));
}

TEST(JustGoodAcceptance, AKindPassesOverItsShareWhenTheOtherKindIsUsedUp) {
    ShareSetup s(true, 0);
    s.t.addSongMB(10, ssGoodPlayList);
    s.t.addSongMB(3, ssFavorites); // Favorites are no ordinary candidates
    s.t.addSongMB(5, ssGoodUnused);
    s.t.addSongMB(5, ssUsed);
    EXPECT_TRUE(passesAcceptanceTest(s.t.session.playlistContext(), true));

    ShareSetup o(true, 100);
    o.t.addSongMB(10, ssPlayList);
    o.t.addSongMB(5);
    o.t.addSongMB(5, ssGoodUsed);
    EXPECT_TRUE(passesAcceptanceTest(o.t.session.playlistContext(), false));
}

// A refused draw takes the next candidate of the other kind after it, else the first one from
// the start. The draws are scripted (1, then 2, then the first remaining) and every new
// playlist item goes to the top, so the playlist lists the songs in reverse order of taking.
TEST(JustGoodAcceptance, ARefusedDrawTakesTheNextOfTheOtherKindWrappingAround) {
    struct Case {
        bool fixed;
        int percent;
        bool firstIsGood; // kinds alternate in Music List order, starting with this one
        std::vector<int> takeOrder; // indexes in Music List order
    };
    const Case cases[] = {
        {true, 0, false, {2, 0, 1, 3}},   // draws 1 (good) -> 2; draws 2 of [0,1,3] (good, last) -> wraps to 0
        {true, 100, true, {2, 0, 1, 3}},  // the mirror: ordinary refused
        {false, 0, false, {1, 3, 0, 2}},  // nothing refused: the draws are taken as they are
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("percent " + std::to_string(c.percent) + (c.fixed ? " fixed" : " free"));
        PlaylistSession t(std::make_unique<ScriptedRandom>(std::vector<uint32_t>{1, 0, 2, 0}));
        std::vector<TDataRec*> songs;
        for (int i = 0; i < 4; ++i) {
            const bool good = (i % 2 == 0) == c.firstIsGood;
            songs.push_back(t.addSongMB(1, good ? ssGoodUnused : ssUnused));
        }
        t.settings().GoodFixed = c.fixed;
        t.settings().GoodPercent = c.percent;
        t.settings().SizeOfDB = 100;

        MakeNextPlayList(t.session);

        std::vector<TDataRec*> expected;
        for (auto it = c.takeOrder.rbegin(); it != c.takeOrder.rend(); ++it) expected.push_back(songs[*it]);
        EXPECT_EQ(recordsOf(t.session.db.playList()), expected);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(t.statusOf(songs[i]), (i % 2 == 0) == c.firstIsGood ? ssGoodPlayList : ssPlayList);
    }
}

// 0 % and 100 %: one kind only until the other is used up, whatever the base.
class JustGoodExtremes : public ::testing::TestWithParam<bool> {};

TEST_P(JustGoodExtremes, ZeroAndHundredPercentTakeOneKindFirst) {
    for (int percent : {0, 100}) {
        for (int32_t limit : {20, 30}) {
            SCOPED_TRACE("percent " + std::to_string(percent) + " limit " + std::to_string(limit));
            auto t = seededSession(static_cast<uint64_t>(percent + limit));
            std::vector<TDataRec*> ordinary, good;
            for (int i = 0; i < 20; ++i) {
                ordinary.push_back(t->addSongMB(1));
                good.push_back(t->addSongMB(1, ssGoodUnused));
            }
            t->settings().GoodOfPlayList = GetParam();
            t->settings().GoodPercent = percent;
            t->settings().SizeOfDB = limit;

            MakeNextPlayList(t->session);

            const auto& first = percent == 0 ? ordinary : good;
            const auto& second = percent == 0 ? good : ordinary;
            const int firstTaken = percent == 0 ? ssPlayList : ssGoodPlayList;
            const int secondTaken = percent == 0 ? ssGoodPlayList : ssPlayList;
            for (TDataRec* rec : first) EXPECT_EQ(t->statusOf(rec), firstTaken);
            const auto statuses = statusesOf(second);
            EXPECT_EQ(std::count(statuses.begin(), statuses.end(), secondTaken), limit - 20);
            EXPECT_EQ(t->counters()[cP].count, limit);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(JustGoodBase, JustGoodExtremes, ::testing::Bool(),
                         [](const auto& testParam) { return testParam.param ? "OfPlaylist" : "OfAllJustGood"; });

// A large collection: 3,000 ordinary and 1,500 Just Good songs of 1 to 15 MB, shuffled.
std::unique_ptr<PlaylistSession> largeCollection(uint64_t seed) {
    auto t = seededSession(seed);
    std::mt19937 rng(static_cast<uint32_t>(seed) ^ 0x5bd1e995u);
    for (int i = 0; i < 4500; ++i)
        t->addSong(static_cast<int32_t>(kMB + rng() % (14 * kMB)), rng() % 3 == 0 ? ssGoodUnused : ssUnused);
    return t;
}

TEST(JustGoodShare, OfThePlaylistStaysNearItsTarget) {
    for (uint64_t seed : {11u, 12u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto t = largeCollection(seed);
        t->settings().GoodOfPlayList = true;
        t->settings().GoodPercent = 20;
        t->settings().SizeOfDB = 8000;
        MakeNextPlayList(t->session);
        const double p = t->counters()[cP].sizeMB, gp = t->counters()[cGP].sizeMB;
        EXPECT_GT(p, 8000.0 - 15.0);
        EXPECT_NEAR(gp / p, 0.20, 0.01);
    }
}

TEST(JustGoodShare, OfAllJustGoodSongsIsFilledFirstThenOrdinarySongs) {
    for (uint64_t seed : {21u, 22u, 23u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        auto t = largeCollection(seed);
        const double g = t->counters()[cG].sizeMB; // about 12,000 MB
        t->settings().GoodOfPlayList = false;
        t->settings().GoodPercent = 20;
        t->settings().SizeOfDB = 8000;
        MakeNextPlayList(t->session);
        const double p = t->counters()[cP].sizeMB, gp = t->counters()[cGP].sizeMB;
        EXPECT_NEAR(gp / g, 0.20, 0.01);
        EXPECT_GT(p - gp, 3000.0); // the rest of the limit went to ordinary songs
    }
    // Below the Just Good target the playlist is all Just Good.
    auto t = largeCollection(24);
    t->settings().GoodOfPlayList = false;
    t->settings().GoodPercent = 20;
    t->settings().SizeOfDB = 1000;
    MakeNextPlayList(t->session);
    EXPECT_GT(t->counters()[cP].count, 0);
    EXPECT_EQ(t->counters()[cGP].count, t->counters()[cP].count);
}

TEST(JustGoodShare, WithoutTheFixedShareItFollowsTheCollection) {
    auto t = largeCollection(31);
    const double candidates = t->counters()[cN].sizeMB;
    const double goodCandidates = t->counters()[cGN].sizeMB;
    t->settings().GoodFixed = false;
    t->settings().GoodPercent = 0; // ignored
    t->settings().SizeOfDB = 8000;
    MakeNextPlayList(t->session);
    EXPECT_NEAR(t->counters()[cGP].sizeMB / t->counters()[cP].sizeMB, goodCandidates / candidates, 0.05);
}

} // namespace
} // namespace velmo::test
