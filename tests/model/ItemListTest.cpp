#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "musicdb/ItemList.h"
#include "musicdb/TDataRec.h"
#include "util/RandomSource.h"

namespace velmo {
namespace {

// Follows a list through its notifications only, as a view's model does, and records them.
class MirrorObserver : public ItemListObserver {
public:
    explicit MirrorObserver(const ItemList& list) : list_(list), rows_(list.items()) {}

    void beginInsert(size_t first, size_t last) override {
        log.push_back("insert " + range(first, last));
        EXPECT_LE(first, rows_.size());
        pendingFirst_ = first;
        pendingLast_ = last;
    }
    void endInsert() override {
        ASSERT_LE(pendingFirst_, rows_.size());
        for (size_t row = pendingFirst_; row <= pendingLast_; ++row)
            rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), list_.at(row));
    }
    void beginRemove(size_t first, size_t last) override {
        log.push_back("remove " + range(first, last));
        ASSERT_LE(first, last);
        ASSERT_LT(last, rows_.size());
        pendingFirst_ = first;
        pendingLast_ = last;
    }
    void endRemove() override {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(pendingFirst_),
                    rows_.begin() + static_cast<std::ptrdiff_t>(pendingLast_ + 1));
    }
    void itemChanged(size_t first, size_t last, ChangedRoles roles) override {
        log.push_back(std::string(roles == TextChanged ? "caption " : "changed ") + range(first, last));
        ASSERT_LT(last, rows_.size());
        for (size_t row = first; row <= last; ++row) EXPECT_EQ(rows_[row], list_.at(row));
    }
    static std::string range(size_t first, size_t last) {
        return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
    }
    void beginReset() override { log.push_back("begin reset"); }
    void endReset() override {
        log.push_back("end reset");
        rows_ = list_.items();
    }

    const std::vector<ListItem*>& rows() const { return rows_; }
    std::vector<std::string> log;

private:
    const ItemList& list_;
    std::vector<ListItem*> rows_;
    size_t pendingFirst_ = 0;
    size_t pendingLast_ = 0;
};

// Checks every way of reading the list against the reference order.
void expectSameOrder(const ItemList& list, const std::vector<ListItem*>& expected) {
    ASSERT_EQ(list.size(), expected.size());
    EXPECT_EQ(list.empty(), expected.empty());
    EXPECT_EQ(list.items(), expected);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.at(i), expected[i]) << i;
        EXPECT_EQ(list.indexOf(expected[i]), i);
    }
    EXPECT_EQ(list.at(expected.size()), nullptr);
    EXPECT_EQ(list.first(), expected.empty() ? nullptr : expected.front());
}

TEST(ItemList, RandomInsertsAndRemovesKeepTheOrderOfAPlainVector) {
    ItemList list;
    std::vector<ListItem*> reference;
    std::vector<TDataRec> recs(64);
    Mt19937Random random(12345);
    for (int step = 0; step < 4000; ++step) {
        const uint32_t op = random.below(10);
        if (op < 6 || reference.empty()) {
            // Positions up to a few past the end: those append.
            size_t pos = random.below(static_cast<uint32_t>(reference.size()) + 3);
            TDataRec* rec = &recs[random.below(64)];
            auto img = static_cast<uint8_t>(6 + random.below(8));
            ListItem* item = list.insert(pos, rec, img);
            ASSERT_EQ(item->data(), rec);
            ASSERT_EQ(item->imageIndex(), img);
            reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(std::min(pos, reference.size())), item);
        } else if (op < 9) {
            size_t pos = random.below(static_cast<uint32_t>(reference.size()));
            list.remove(reference[pos]);
            reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(pos));
        } else {
            ListItem* item = reference[random.below(static_cast<uint32_t>(reference.size()))];
            list.setImageIndex(item, static_cast<uint8_t>(6 + random.below(8)));
        }
        if (step % 97 == 0) {
            SCOPED_TRACE("step " + std::to_string(step));
            expectSameOrder(list, reference);
            if (HasFatalFailure()) return;
        }
    }
    expectSameOrder(list, reference);
    // Draining from the front leaves an empty, reusable list.
    while (!reference.empty()) {
        list.remove(reference.front());
        reference.erase(reference.begin());
    }
    expectSameOrder(list, reference);
    reference.push_back(list.append(&recs[0], 6));
    expectSameOrder(list, reference);
}

TEST(ItemList, BatchedInsertsEndInTheOrderOfInsertsMadeOneByOne) {
    std::vector<TDataRec> recs(8);
    // Into an empty list, a short one and one long enough for its insertions to go one by one.
    for (uint32_t existing : {0u, 5u, 3000u}) {
        SCOPED_TRACE("existing " + std::to_string(existing));
        ItemList list;
        MirrorObserver mirror(list);
        list.addObserver(&mirror);
        std::vector<ListItem*> reference;
        for (uint32_t i = 0; i < existing; ++i) reference.push_back(list.append(&recs[i % 8], 6));
        Mt19937Random random(existing + 1);
        list.beginBulkUpdate();
        {
            InsertBatch batch(list);
            for (int step = 0; step < 400; ++step) {
                const size_t pos = random.below(static_cast<uint32_t>(reference.size()) + 2);
                ListItem* item = list.insert(pos, &recs[step % 8], 7);
                reference.insert(reference.begin() + static_cast<std::ptrdiff_t>(std::min(pos, reference.size())),
                                 item);
                ASSERT_EQ(list.size(), reference.size());
                if (step == 150) {
                    // A read in the middle places what came so far; the batch goes on.
                    expectSameOrder(list, reference);
                } else if (step % 60 == 59) {
                    list.remove(item);
                    reference.erase(std::find(reference.begin(), reference.end(), item));
                }
            }
        }
        list.endBulkUpdate();
        expectSameOrder(list, reference);
        EXPECT_EQ(mirror.rows(), reference);
        list.removeObserver(&mirror);
    }
}

TEST(ItemList, ObserverHearsEveryRowAndCanFollowTheList) {
    ItemList list;
    TDataRec rec;
    MirrorObserver mirror(list);
    list.addObserver(&mirror);
    Mt19937Random random(4242);
    std::vector<ListItem*> live;
    for (int step = 0; step < 1500; ++step) {
        const uint32_t op = random.below(10);
        if (op < 6 || live.empty()) {
            live.push_back(list.insert(random.below(static_cast<uint32_t>(list.size()) + 5), &rec, 6));
        } else if (op < 9) {
            size_t k = random.below(static_cast<uint32_t>(live.size()));
            list.remove(live[k]);
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(k));
        } else {
            list.setImageIndex(live[random.below(static_cast<uint32_t>(live.size()))],
                               static_cast<uint8_t>(6 + random.below(8)));
        }
        ASSERT_EQ(mirror.rows(), list.items()) << "step " << step;
    }
    list.removeObserver(&mirror);
}

TEST(ItemList, NotificationsNameTheRowsOfTheChange) {
    ItemList list;
    TDataRec rec;
    ListItem* a = list.append(&rec, 6);
    ListItem* b = list.append(&rec, 6);
    MirrorObserver mirror(list);
    list.addObserver(&mirror);

    list.insert(99, &rec, 6);        // past the end: announced at the end
    list.insert(1, &rec, 6);
    list.setImageIndex(b, 7);        // b is now row 2
    list.setImageIndex(b, 7);        // no change, no notification
    list.remove(a);
    EXPECT_EQ(mirror.log, (std::vector<std::string>{"insert 2", "insert 1", "changed 2", "remove 0"}));
    list.removeObserver(&mirror);
}

TEST(ItemList, BulkUpdateSendsOneResetInsteadOfTheSingleChanges) {
    ItemList list;
    TDataRec rec;
    ListItem* first = list.append(&rec, 6);
    MirrorObserver mirror(list);
    list.addObserver(&mirror);

    list.beginBulkUpdate();
    list.beginBulkUpdate(); // nested
    for (int i = 0; i < 10; ++i) list.insert(static_cast<size_t>(i % 3), &rec, 6);
    list.remove(first);
    list.setImageIndex(list.at(0), 9);
    list.endBulkUpdate();
    EXPECT_EQ(mirror.log, std::vector<std::string>{"begin reset"});
    list.endBulkUpdate();

    EXPECT_EQ(mirror.log, (std::vector<std::string>{"begin reset", "end reset"}));
    EXPECT_EQ(mirror.rows(), list.items());
    EXPECT_EQ(list.size(), 10u);

    mirror.log.clear();
    list.clear();
    EXPECT_EQ(mirror.log, (std::vector<std::string>{"begin reset", "end reset"}));
    EXPECT_TRUE(mirror.rows().empty());
    list.removeObserver(&mirror);
}

} // namespace
} // namespace velmo
