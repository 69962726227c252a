#include "StatusConsistency.h"

#include <gtest/gtest.h>

namespace velmo::test {

void expectDatabaseConsistent(MusicDatabase& db) {
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
