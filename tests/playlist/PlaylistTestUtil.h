#pragma once
// Helpers shared by the playlist tests: a session with a scripted user, songs entered the way
// the loader enters them, and readers of the resulting statuses and lists.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/FakeServices.h"
#include "support/DatabaseBuilders.h"
#include "support/StatusConsistency.h"
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

} // namespace velmo::test
