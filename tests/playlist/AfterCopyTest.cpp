// What happens after a playlist was copied: its songs become heard, the reset question, and
// the two bulk changes of Just Good songs.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlaylistTestUtil.h"
#include "app/DatabaseCommands.h"
#include "app/PlaylistCommands.h"

namespace velmo::test {
namespace {

const std::string kCaption = "You have heard all songs";
const std::string kNoMoreSongs = "You have no more songs to create a new playlist. Reset music data base ?";
const std::string kOnlyFavorites = "Only your Favorites are going to be in the next playlist. Reset music data base ?";
const std::string kOnlyJustGoods = "Only Just Goods are going to be in the next playlist. Reset music data base ?";
const std::string kFavoritesAndJustGoods =
    "The next playlist is going to consist only of your Favorites and Just Goods. Reset music data base ?";
const std::string kRefreshing = " [Refreshing Just Good files, please, wait...]";

// A session that appends every new playlist item at the end, so the playlist keeps the order
// in which the test put songs into it.
std::unique_ptr<PlaylistSession> appendingSession() {
    return std::make_unique<PlaylistSession>(std::make_unique<HighestRandom>());
}

// ---- Marking a copied playlist as heard ------------------------------------------------

class AfterCopy : public ::testing::TestWithParam<bool> {};

TEST_P(AfterCopy, EverySongOfTheCopiedPlaylistIsHeardAndFavoritesStay) {
    const bool cycle = GetParam();
    auto t = appendingSession();
    // Favorites first, neighbours that all leave, Just Good songs side by side.
    TDataRec* f1 = t->addSongMB(1, ssFavorites);
    TDataRec* p1 = t->addSongMB(1, ssPlayList);
    TDataRec* p2 = t->addSongMB(1, ssPlayList);
    TDataRec* g1 = t->addSongMB(1, ssGoodPlayList);
    TDataRec* g2 = t->addSongMB(1, ssGoodPlayList);
    TDataRec* f2 = t->addSongMB(1, ssFavorites);
    TDataRec* p3 = t->addSongMB(1, ssPlayList);
    TDataRec* g3 = t->addSongMB(1, ssGoodPlayList);
    TDataRec* f3 = t->addSongMB(1, ssFavorites);
    // Unheard songs of both kinds, so no reset question and no new Just Good cycle.
    TDataRec* unused = t->addSongMB(1);
    TDataRec* goodUnused = t->addSongMB(1, ssGoodUnused);
    ASSERT_EQ(recordsOf(t->session.db.playList()), (std::vector<TDataRec*>{f1, p1, p2, g1, g2, f2, p3, g3, f3}));
    t->settings().GoodCycle = cycle;
    t->settings().SizeOfDB = 0; // the Favorites alone exceed it: no new songs
    t->session.PlaylistCopied = true;

    MakeNextPlayList(t->session);

    EXPECT_EQ(statusesOf({p1, p2, p3}), (std::vector<int>(3, ssUsed)));
    EXPECT_EQ(statusesOf({g1, g2, g3}), (std::vector<int>(3, cycle ? ssGoodUsed : ssGoodUnused)));
    EXPECT_EQ(statusesOf({f1, f2, f3}), (std::vector<int>(3, ssFavorites)));
    EXPECT_EQ(statusesOf({unused, goodUnused}), (std::vector<int>{ssUnused, ssGoodUnused}));
    EXPECT_EQ(recordsOf(t->session.db.playList()), (std::vector<TDataRec*>{f1, f2, f3}));
    EXPECT_FALSE(t->session.PlaylistCopied);
    EXPECT_TRUE(t->ui.shown.empty());
    expectDatabaseConsistent(t->session.db);
}

INSTANTIATE_TEST_SUITE_P(JustGoodStyle, AfterCopy, ::testing::Bool(),
                         [](const auto& testParam) { return testParam.param ? "Cycle" : "RemainUnused"; });

TEST(AfterCopyThenGenerate, HeardSongsAreNotDrawnAgainButRemainUnusedJustGoodsAre) {
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "reset" : "no reset");
        PlaylistSession t(std::make_unique<Mt19937Random>(3));
        t.session.fixedSeed = 3;
        std::vector<TDataRec*> ordinary = {t.addSongMB(2), t.addSongMB(2), t.addSongMB(2), t.addSongMB(2)};
        std::vector<TDataRec*> good = {t.addSongMB(2, ssGoodUnused), t.addSongMB(2, ssGoodUnused)};
        t.settings().SizeOfDB = 1000;
        t.settings().GoodCycle = false;
        MakeNextPlayList(t.session);
        ASSERT_EQ(t.counters()[cP].count, 6);

        // After the copy only the two Just Good songs are unheard again: the question comes
        // before the next generation.
        t.session.PlaylistCopied = true;
        t.ui.answers = {answer};
        MakeNextPlayList(t.session);

        ASSERT_EQ(t.ui.questions().size(), 1u);
        EXPECT_EQ(t.ui.questions()[0].text, kOnlyJustGoods);
        EXPECT_EQ(statusesOf(good), (std::vector<int>(2, ssGoodPlayList)));
        EXPECT_EQ(statusesOf(ordinary), (std::vector<int>(4, answer ? ssPlayList : ssUsed)));
        expectDatabaseConsistent(t.session.db);
    }
}

TEST(AfterCopyThenGenerate, OnlyFavoritesLeftAsksAndYesResetsTheIcons) {
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "Yes" : "No");
        auto t = appendingSession();
        TDataRec* favorite = t->addSongMB(1, ssFavorites);
        TDataRec* played = t->addSongMB(1, ssPlayList);
        TDataRec* heard = t->addSongMB(1, ssUsed);
        TDataRec* goodHeard = t->addSongMB(1, ssGoodUsed);
        TDataRec* black = t->addSongMB(1, ssBlack);
        t->settings().SizeOfDB = 0;
        t->session.PlaylistCopied = true;
        t->ui.answers = {answer};

        MakeNextPlayList(t->session);

        ASSERT_EQ(t->ui.questions().size(), 1u);
        EXPECT_EQ(t->ui.questions()[0].caption, kCaption);
        EXPECT_EQ(t->ui.questions()[0].text, kOnlyFavorites);
        const int heardNow = answer ? ssUnused : ssUsed;
        EXPECT_EQ(statusesOf({favorite, played, heard, goodHeard, black}),
                  (std::vector<int>{ssFavorites, heardNow, heardNow, answer ? ssGoodUnused : ssGoodUsed, ssBlack}));
    }
}

// ---- The reset question ---------------------------------------------------------------

struct ResetCase {
    const char* name;
    std::vector<int> statuses;
    bool cycle;
    const std::string* text; // nullptr: no question
};

void PrintTo(const ResetCase& rc, std::ostream* os) { *os << rc.name; }

class ResetQuestion : public ::testing::TestWithParam<ResetCase> {};

TEST_P(ResetQuestion, AsksTheFirstCaseThatAppliesAndReturnsTheAnswer) {
    const ResetCase& rc = GetParam();
    for (bool answer : {true, false}) {
        auto t = appendingSession();
        std::vector<TDataRec*> songs;
        for (int status : rc.statuses) songs.push_back(t->addSongMB(1, status));
        t->settings().GoodCycle = rc.cycle;
        t->ui.answers = {answer};

        const bool result = CheckIfResetNeeded(t->session);

        const auto questions = t->ui.questions();
        if (!rc.text) {
            EXPECT_FALSE(result);
            EXPECT_TRUE(questions.empty());
            continue;
        }
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].caption, kCaption);
        EXPECT_EQ(questions[0].text, *rc.text);
        EXPECT_EQ(result, answer);
        EXPECT_EQ(statusesOf(songs), rc.statuses); // asking changes nothing
    }
}

INSTANTIATE_TEST_SUITE_P(
    ResetCases, ResetQuestion,
    ::testing::Values(
        ResetCase{"NothingUnheard", {ssUsed, ssBlack, ssPlayList}, false, &kNoMoreSongs},
        ResetCase{"OnlyFavorites", {ssUsed, ssFavorites, ssFavorites}, false, &kOnlyFavorites},
        ResetCase{"OnlyJustGoods", {ssUsed, ssGoodUnused, ssGoodPlayList}, false, &kOnlyJustGoods},
        ResetCase{"OnlyJustGoodsAllUnheardInCycle", {ssUsed, ssGoodUnused, ssGoodUnused}, true, &kOnlyJustGoods},
        ResetCase{"OnlyJustGoodsSomeHeardInCycle", {ssUsed, ssGoodUnused, ssGoodUsed}, true, nullptr},
        ResetCase{"FavoritesAndJustGoods", {ssUsed, ssFavorites, ssGoodUnused, ssGoodUsed}, false,
                  &kFavoritesAndJustGoods},
        ResetCase{"FavoritesAndJustGoodsInCycle", {ssUsed, ssFavorites, ssGoodUnused}, true, &kFavoritesAndJustGoods},
        ResetCase{"FavoritesAndJustGoodsSomeHeardInCycle", {ssFavorites, ssGoodUnused, ssGoodPlayList}, true,
                  nullptr},
        ResetCase{"OrdinarySongsLeft", {ssUnused, ssFavorites, ssGoodUnused, ssUsed}, false, nullptr},
        ResetCase{"OrdinarySongsLeftInCycle", {ssUnused, ssUsed}, true, nullptr}),
    [](const auto& testParam) { return std::string(testParam.param.name); });

TEST(ResetQuestionCycle, AllJustGoodsHeardStartOverBeforeTheQuestion) {
    for (bool cycle : {true, false}) {
        SCOPED_TRACE(cycle ? "Cycle" : "Remain unused");
        auto t = appendingSession();
        TDataRec* heard = t->addSongMB(1, ssUsed);
        std::vector<TDataRec*> good = {t->addSongMB(1, ssGoodUsed), t->addSongMB(1, ssGoodUsed)};
        t->settings().GoodCycle = cycle;
        t->ui.answers = {false};

        EXPECT_FALSE(CheckIfResetNeeded(t->session));

        ASSERT_EQ(t->ui.questions().size(), 1u);
        // With "Cycle" the question sees the Just Good songs already unheard again.
        EXPECT_EQ(t->ui.questions()[0].text, cycle ? kOnlyJustGoods : kNoMoreSongs);
        EXPECT_EQ(statusesOf(good), (std::vector<int>(2, cycle ? ssGoodUnused : ssGoodUsed)));
        EXPECT_EQ(t->statusOf(heard), ssUsed);
        EXPECT_EQ(t->ui.statusTexts, cycle ? (std::vector<std::string>{kRefreshing, ""}) : std::vector<std::string>{});
    }
}

TEST(ResetQuestionCycle, TheLastJustGoodOfACopiedPlaylistStartsTheCycleAgain) {
    auto t = appendingSession();
    TDataRec* ordinary = t->addSongMB(1);
    TDataRec* goodPlayed = t->addSongMB(1, ssGoodPlayList);
    TDataRec* goodHeard = t->addSongMB(1, ssGoodUsed);
    t->settings().GoodCycle = true;
    t->settings().SizeOfDB = 0;
    t->session.PlaylistCopied = true;

    MakeNextPlayList(t->session);

    EXPECT_EQ(statusesOf({ordinary, goodPlayed, goodHeard}),
              (std::vector<int>{ssUnused, ssGoodUnused, ssGoodUnused}));
    EXPECT_TRUE(t->ui.questions().empty());
}

TEST(ResetQuestionCycle, AnEmptyDatabaseAsksNothing) {
    for (bool cycle : {true, false}) {
        auto t = appendingSession();
        t->settings().GoodCycle = cycle;
        t->ui.answers = {true};
        EXPECT_FALSE(CheckIfResetNeeded(t->session));
        EXPECT_TRUE(t->ui.questions().empty());

        t->session.PlaylistCopied = true;
        MakeNextPlayList(t->session);
        EXPECT_TRUE(t->ui.questions().empty());
        EXPECT_EQ(t->counters().a.count, 0);
    }
}

// ---- Bulk changes of Just Good songs --------------------------------------------------

TEST(JustGoodBulk, ResetGoodMakesEveryJustGoodUnheardAndSaysSo) {
    auto t = appendingSession();
    std::vector<TDataRec*> good = {t->addSongMB(1, ssGoodUsed), t->addSongMB(1, ssGoodPlayList),
                                   t->addSongMB(1, ssGoodUnused), t->addSongMB(1, ssGoodPlayList),
                                   t->addSongMB(1, ssGoodUsed)};
    std::vector<TDataRec*> others = {t->addSongMB(1, ssUsed), t->addSongMB(1, ssPlayList),
                                     t->addSongMB(1, ssFavorites), t->addSongMB(1, ssBlack)};
    const auto justGoodOrder = recordsOf(t->session.db.justGood());

    ResetGood(t->session.playlistContext());

    EXPECT_EQ(statusesOf(good), (std::vector<int>(5, ssGoodUnused)));
    EXPECT_EQ(statusesOf(others), (std::vector<int>{ssUsed, ssPlayList, ssFavorites, ssBlack}));
    EXPECT_EQ(recordsOf(t->session.db.justGood()), justGoodOrder);
    EXPECT_EQ(recordsOf(t->session.db.playList()), (std::vector<TDataRec*>{others[1], others[2]}));
    EXPECT_EQ(t->ui.statusTexts, (std::vector<std::string>{kRefreshing, ""}));
    EXPECT_GE(t->ui.messagesProcessed, 1);
    expectDatabaseConsistent(t->session.db);
}

TEST(JustGoodBulk, UnUseGoodOnlyReturnsHeardJustGoods) {
    auto t = appendingSession();
    std::vector<TDataRec*> songs;
    for (int status = ssUnused; status <= ssGoodPlayList; ++status) {
        songs.push_back(t->addSongMB(1, status));
        songs.push_back(t->addSongMB(2, status));
    }

    UnUseGood(t->session.playlistContext());

    std::vector<int> expected;
    for (int status = ssUnused; status <= ssGoodPlayList; ++status) {
        const int now = status == ssGoodUsed ? ssGoodUnused : status;
        expected.push_back(now);
        expected.push_back(now);
    }
    EXPECT_EQ(statusesOf(songs), expected);
    EXPECT_TRUE(t->ui.shown.empty());
    EXPECT_TRUE(t->ui.statusTexts.empty());
    expectDatabaseConsistent(t->session.db);
}

} // namespace
} // namespace velmo::test
