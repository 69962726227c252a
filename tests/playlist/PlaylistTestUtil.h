#pragma once
// Helpers shared by the playlist tests: a session with a scripted user, songs entered the way
// the loader enters them, and readers of the resulting statuses and lists.
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeServices.h"
#include "support/TestSupport.h"
#include "app/Session.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::test {

constexpr int32_t kMB = 1048576;

// Records what the status bar showed, besides what ScriptedUi records.
class StatusRecordingUi : public ScriptedUi {
public:
    std::vector<std::string> statusTexts;
    void showStatus(const std::string& text) override { statusTexts.push_back(text); }

    std::vector<Shown> questions() const {
        std::vector<Shown> out;
        for (const Shown& s : shown)
            if (s.kind == "question") out.push_back(s);
        return out;
    }
};

// A session over an empty database with one disk and one folder to put songs in. Random
// numbers come from `random`; a Mt19937Random with a fixed seed set also as the session's
// seed gives reproducible generations.
class PlaylistSession {
public:
    explicit PlaylistSession(std::unique_ptr<RandomSource> random = std::make_unique<ScriptedRandom>())
        : session("/nonexistent-velmo-appdir", services.forUser(ui), std::move(random)) {
        MusicDatabase& db = session.db;
        disk = db.addContainer(nullptr, "Drive <C> /Music/", iiHardDisk);
        folder = db.addContainer(disk, "Album", iiFolder);
    }

    // A song of `sizeBytes` entering the database as unused, then given `status`.
    TDataRec* addSong(int32_t sizeBytes, int status = ssUnused) {
        MusicDatabase& db = session.db;
        char name[32];
        std::snprintf(name, sizeof name, "song%07d.mp3", nextSong_++);
        TDataRec* rec = db.addSong(folder, name, sizeBytes);
        if (status != ssUnused) db.SetStatus(rec, status);
        return rec;
    }
    TDataRec* addSongMB(int megabytes, int status = ssUnused) { return addSong(megabytes * kMB, status); }

    ProfileSettings& settings() { return session.settings; }
    const StatCounters& counters() const { return session.db.counters(); }
    int statusOf(const TDataRec* rec) const { return MusicDatabase::statusOf(rec); }

    StatusRecordingUi ui;
    FakeServices services;
    Session session;
    TreeNode* disk = nullptr;
    TreeNode* folder = nullptr;

private:
    int nextSong_ = 0;
};

inline std::vector<TDataRec*> recordsOf(const ItemList& list) {
    std::vector<TDataRec*> out;
    for (ListItem* item = list.first(); item; item = list.next(item)) out.push_back(item->data());
    return out;
}

inline std::vector<int> statusesOf(const std::vector<TDataRec*>& recs) {
    std::vector<int> out;
    for (const TDataRec* r : recs) out.push_back(MusicDatabase::statusOf(r));
    return out;
}

// A random source that draws from a seeded engine and remembers every request, so a test can
// tell the draws of a generation from the placements of new Playlist items.
class RecordingRandom : public RandomSource {
public:
    explicit RecordingRandom(uint64_t seed) : inner_(seed) {}
    uint32_t below(uint32_t n) override {
        bounds.push_back(n);
        return inner_.below(n);
    }
    void reseed(uint64_t seed) override {
        ++reseeds;
        inner_.reseed(seed);
    }
    std::vector<uint32_t> bounds;
    int reseeds = 0;

private:
    Mt19937Random inner_;
};

// Always the highest number allowed: a new playlist item goes to the end of the playlist, and
// a generation draws the last remaining candidate.
class HighestRandom : public RandomSource {
public:
    uint32_t below(uint32_t n) override { return n ? n - 1 : 0; }
    void reseed(uint64_t) override {}
};

// Recomputes every counter from the songs' statuses and checks the lists against them.
inline void expectCountersMatchStatuses(MusicDatabase& db) {
    // Membership per stored status, columns n, u, p, b, f, _gn, _gu, _gp, g.
    static constexpr std::array<std::array<int, 9>, 8> member = {{
        {1, 0, 0, 0, 0, 0, 0, 0, 0}, // unused
        {0, 1, 0, 0, 0, 0, 0, 0, 0}, // used
        {0, 0, 1, 0, 0, 0, 0, 0, 0}, // playlist
        {0, 1, 0, 1, 0, 0, 0, 0, 0}, // black
        {1, 0, 1, 0, 1, 0, 0, 0, 0}, // favorites
        {1, 0, 0, 0, 0, 1, 0, 0, 1}, // good unused
        {0, 1, 0, 0, 0, 0, 1, 0, 1}, // good used
        {0, 0, 1, 0, 0, 0, 0, 1, 1}, // good playlist
    }};
    std::array<int32_t, 9> counts{};
    std::array<double, 9> sums{};
    for (ListItem* item = db.musicList().first(); item; item = db.musicList().next(item)) {
        const int status = MusicDatabase::statusOf(item->data());
        ASSERT_GE(status, 0);
        ASSERT_LT(status, 8);
        for (int k = 0; k < 9; ++k) {
            counts[k] += member[status][k];
            sums[k] += member[status][k] * (item->data()->Size / 1048576.0);
        }
        EXPECT_EQ(item->data()->PlayListItem != nullptr, member[status][cP] == 1);
    }
    const StatCounters& c = db.counters();
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(c.keys[k].count, counts[k]) << "counter " << k;
        EXPECT_NEAR(c.keys[k].sizeMB, sums[k], 1e-6) << "counter " << k;
    }
    EXPECT_EQ(static_cast<int32_t>(db.playList().size()), c[cP].count);
    EXPECT_EQ(static_cast<int32_t>(db.justGood().size()), c[cG].count);
    EXPECT_EQ(static_cast<int32_t>(db.favorites().size()), c[cF].count);
}

} // namespace velmo::test
