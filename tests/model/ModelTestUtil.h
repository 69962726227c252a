#pragma once
// Helpers shared by the model tests: a database with a fixed collation and scripted random
// numbers, and songs, folders and disks entered the way a scan or a load enters them.
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A database whose collation follows `locale` (a POSIX locale name), whatever the machine's
// environment says, and whose random numbers come from `random`.
inline std::unique_ptr<MusicDatabase> makeModelDatabase(std::unique_ptr<RandomSource> random =
                                                            std::make_unique<ScriptedRandom>(),
                                                        const char* locale = "en_US.UTF-8") {
    ScopedEnv all("LC_ALL", locale);
    return std::make_unique<MusicDatabase>(std::move(random));
}

// A disk or folder node, found or created at its sorted place, with its record.
inline TreeNode* addContainer(MusicDatabase& db, TreeNode* parent, const std::string& text, uint8_t image) {
    return db.addContainer(parent, text, image);
}

inline TreeNode* addCD(MusicDatabase& db, const std::string& description, const std::string& label,
                       uint8_t image = iiCDDisk) {
    return addContainer(db, nullptr, description + " /" + label + "/", image);
}

inline TreeNode* addFolder(MusicDatabase& db, TreeNode* parent, const std::string& name, uint8_t image = iiFolder) {
    return addContainer(db, parent, name, image);
}

// A song entering the database as unused, as a folder scan adds it, then moved to `status`.
inline TDataRec* addSong(MusicDatabase& db, TreeNode* folder, const std::string& name, int32_t size,
                         int status = ssUnused) {
    const size_t before = db.musicList().size();
    TDataRec* rec = db.addSong(folder, name, size);
    // A song already there keeps its status.
    if (db.musicList().size() > before && status != ssUnused) db.SetStatus(rec, status);
    return rec;
}

inline std::vector<TDataRec*> recordsOf(const ItemList& list) {
    std::vector<TDataRec*> out;
    for (ListItem* item = list.first(); item; item = list.next(item)) out.push_back(item->data());
    return out;
}

inline std::vector<std::string> childTexts(const Tree& tree, const TreeNode* parent) {
    std::vector<std::string> out;
    for (size_t i = 0; i < tree.childCount(parent); ++i) out.push_back(tree.child(parent, i)->text());
    return out;
}

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

// Checks everything SetStatus must keep in step: the counters recomputed from the songs'
// statuses, each list holding exactly the songs of its counter, and every node and item of
// a song showing its status.
inline void expectDatabaseConsistent(MusicDatabase& db) {
    std::array<int32_t, 9> counts{};
    std::array<double, 9> sums{};
    double total = 0;
    size_t songs = 0;
    struct ListCheck {
        ItemList& list;
        Counter counter;
        ListItem* TDataRec::*field;
    };
    const ListCheck lists[] = {{db.playList(), cP, &TDataRec::PlayListItem},
                               {db.blackList(), cB, &TDataRec::BlackListItem},
                               {db.favorites(), cF, &TDataRec::FavoritesItem},
                               {db.justGood(), cG, &TDataRec::JustGoodItem}};
    for (ListItem* item = db.musicList().first(); item; item = db.musicList().next(item)) {
        TDataRec* rec = item->data();
        ASSERT_NE(rec, nullptr);
        ASSERT_EQ(rec->MusicListItem, item);
        const int status = MusicDatabase::statusOf(rec);
        ASSERT_GE(status, 0);
        ASSERT_LT(status, ssStoredCount);
        const uint8_t image = imageOfStatus(status);
        ++songs;
        total += rec->Size / 1048576.0;
        for (int k = 0; k < 9; ++k) {
            counts[k] += kMembership[status][k];
            sums[k] += kMembership[status][k] * (rec->Size / 1048576.0);
        }
        EXPECT_EQ(rec->MusicNode->imageIndex(), image) << item->caption();
        EXPECT_EQ(rec->MusicNode->data(), rec);
        if (rec->FolderNode) {
            EXPECT_EQ(rec->FolderNode->imageIndex(), image) << item->caption();
        }
        for (const ListCheck& l : lists) {
            ListItem* li = rec->*l.field;
            EXPECT_EQ(li != nullptr, kMembership[status][l.counter] == 1)
                << item->caption() << " status " << status << " counter " << int(l.counter);
            if (li) {
                EXPECT_EQ(li->data(), rec);
                EXPECT_EQ(li->imageIndex(), image);
                EXPECT_EQ(l.list.at(l.list.indexOf(li)), li);
            }
        }
    }
    const StatCounters& c = db.counters();
    EXPECT_EQ(c.a.count, static_cast<int32_t>(songs));
    EXPECT_NEAR(c.a.sizeMB, total, 1e-6);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(c.keys[k].count, counts[k]) << "counter " << k;
        EXPECT_NEAR(c.keys[k].sizeMB, sums[k], 1e-6) << "counter " << k;
    }
    for (const ListCheck& l : lists) {
        EXPECT_EQ(static_cast<int32_t>(l.list.size()), c[l.counter].count) << "counter " << int(l.counter);
        for (ListItem* li = l.list.first(); li; li = l.list.next(li)) EXPECT_EQ(li->data()->*l.field, li);
    }
}

} // namespace velmo::test
