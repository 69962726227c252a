// The database's index of unheard songs, checked against a walk of the Music List after songs
// enter at the end and inside the list, change status and leave.
#include <cstdio>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestUtil.h"

namespace velmo {
namespace {

using namespace velmo::test;
using Kind = UnheardSongs::Kind;

struct Unheard {
    TDataRec* rec;
    Kind kind;
};

std::vector<Unheard> walkMusicList(MusicDatabase& db) {
    std::vector<Unheard> out;
    db.musicList().forEach([&](const ListItem* item) {
        const Kind kind = UnheardSongs::kindOfImage(item->imageIndex());
        if (kind != UnheardSongs::None) out.push_back({item->data(), kind});
    });
    return out;
}

// Every query a generation makes, from every unheard song, against the walk.
void expectMatchesTheMusicList(MusicDatabase& db) {
    const std::vector<Unheard> expected = walkMusicList(db);
    UnheardSongs& index = db.unheardSongs();
    ASSERT_EQ(index.size(), expected.size());
    size_t good = 0;
    for (const Unheard& u : expected) good += u.kind == UnheardSongs::JustGood;
    EXPECT_EQ(index.remaining(UnheardSongs::JustGood), good);
    EXPECT_EQ(index.remaining(UnheardSongs::Ordinary), expected.size() - good);

    std::vector<size_t> slots;
    for (size_t i = 0; i < expected.size(); ++i) {
        slots.push_back(index.slotOf(i));
        ASSERT_EQ(index.record(slots[i]), expected[i].rec) << "i=" << i;
        ASSERT_EQ(index.kind(slots[i]), expected[i].kind) << "i=" << i;
        if (i > 0) {
            ASSERT_LT(slots[i - 1], slots[i]);
        }
    }
    for (Kind kind : {UnheardSongs::Ordinary, UnheardSongs::JustGood}) {
        // The next of the kind after each place, wrapping to the first: scanned backwards twice.
        std::vector<size_t> next(expected.size(), SIZE_MAX);
        size_t following = SIZE_MAX;
        for (size_t pass = 0; pass < 2; ++pass)
            for (size_t i = expected.size(); i-- > 0;) {
                next[i] = following;
                if (expected[i].kind == kind) following = i;
            }
        for (size_t i = 0; i < expected.size(); ++i) {
            const size_t found = index.nextOfKind(slots[i], kind);
            if (next[i] == SIZE_MAX) ASSERT_EQ(found, SIZE_MAX) << "i=" << i;
            else ASSERT_EQ(found, slots[next[i]]) << "i=" << i << " kind=" << int(kind);
        }
    }
}

TEST(UnheardSongs, FollowsSongsEnteringChangingAndLeavingTheMusicList) {
    auto db = makeModelDatabase(std::make_unique<Mt19937Random>(5));
    TreeNode* folder = addFolder(*db, addCD(*db, "Mix", "MIX01"), "Album");
    std::mt19937 rng(2024);
    std::vector<TDataRec*> songs;
    int named = 0;
    auto addOne = [&](bool inside) {
        char name[32];
        std::snprintf(name, sizeof name, "s%05d.mp3", named++);
        const size_t at = inside && !db->musicList().empty() ? rng() % db->musicList().size() : SIZE_MAX;
        songs.push_back(db->addSong(folder, name, 1 + static_cast<int32_t>(rng() % 5000000), at));
    };
    const int statuses[] = {ssUnused, ssUsed, ssPlayList, ssBlack, ssFavorites, ssGoodUnused, ssGoodUsed,
                            ssGoodPlayList, ssJustGood};

    // Sizes pass many powers of two on the way up and down, where the trees' descent changes.
    for (int step = 0; step < 1500; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const uint32_t what = rng() % 16;
        if (step < 600 ? what < 6 : what < 2) {
            addOne(what == 0); // now and then inside the list: every slot is handed out anew
        } else if (what < 12 && !songs.empty()) {
            db->SetStatus(songs[rng() % songs.size()], statuses[rng() % 9]);
        } else if (songs.size() > 1) {
            // A song leaves; so, from time to time, does a run of them. The first one stays, and
            // with it the folder.
            const size_t count = what == 15 ? std::min<size_t>(songs.size() - 1, 1 + rng() % 40) : 1;
            std::vector<TDataRec*> leaving;
            for (size_t k = 0; k < count; ++k) {
                const size_t i = 1 + rng() % (songs.size() - 1);
                leaving.push_back(songs[i]);
                songs.erase(songs.begin() + static_cast<std::ptrdiff_t>(i));
            }
            db->removeSongs(leaving);
        }
        if (step % 7 == 0 || songs.size() < 20) expectMatchesTheMusicList(*db);
        if (HasFatalFailure()) return;
    }
    expectMatchesTheMusicList(*db);

    db->ClearDB();
    EXPECT_TRUE(db->unheardSongs().empty());
    folder = addFolder(*db, addCD(*db, "Mix", "MIX01"), "Album");
    addOne(false);
    expectMatchesTheMusicList(*db);
}

TEST(UnheardSongs, FollowsAResetOfEveryStatusAndTheLeavingOfMostSongs) {
    auto db = makeModelDatabase(std::make_unique<Mt19937Random>(9));
    TreeNode* folder = addFolder(*db, addCD(*db, "Mix", "MIX01"), "Album");
    std::vector<TDataRec*> songs;
    for (int i = 0; i < 3000; ++i)
        songs.push_back(addSong(*db, folder, "t" + std::to_string(100000 + i) + ".mp3", 1000,
                                i % 5 == 0 ? ssGoodUsed : ssUsed));
    expectMatchesTheMusicList(*db);
    db->ResetIcons(); // more changes than the trees follow one by one
    EXPECT_EQ(db->unheardSongs().size(), 3000u);
    expectMatchesTheMusicList(*db);
    // Once most slots are empty, they are handed out anew.
    std::vector<TDataRec*> leaving;
    for (size_t i = 0; i < songs.size(); ++i)
        if (i % 6 != 0) leaving.push_back(songs[i]);
    db->removeSongs(leaving);
    expectMatchesTheMusicList(*db);
}

} // namespace
} // namespace velmo
