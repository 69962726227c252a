// The candidate set of a generation, checked against a plain vector that does the same job
// by linear scans.
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "playlist/DrawList.h"

namespace velmo {
namespace {

// The obvious implementation: a presence flag per entry, scanned from the start.
struct NaiveDrawList {
    std::vector<DrawList::Kind> kinds;
    std::vector<bool> present;

    size_t size() const {
        size_t n = 0;
        for (bool p : present) n += p;
        return n;
    }
    size_t remaining(DrawList::Kind k) const {
        size_t n = 0;
        for (size_t i = 0; i < kinds.size(); ++i) n += present[i] && kinds[i] == k;
        return n;
    }
    size_t positionOf(size_t i) const {
        for (size_t pos = 0; pos < present.size(); ++pos)
            if (present[pos] && i-- == 0) return pos;
        return SIZE_MAX;
    }
    size_t nextOfKind(size_t position, DrawList::Kind k) const {
        for (size_t pos = position + 1; pos < kinds.size(); ++pos)
            if (present[pos] && kinds[pos] == k) return pos;
        for (size_t pos = 0; pos < kinds.size(); ++pos)
            if (present[pos] && kinds[pos] == k) return pos;
        return SIZE_MAX;
    }
};

// Fake record addresses: the list only stores and returns them.
std::vector<TDataRec*> fakeRecords(size_t n) {
    std::vector<TDataRec*> out;
    for (size_t i = 0; i < n; ++i) out.push_back(reinterpret_cast<TDataRec*>(static_cast<uintptr_t>(16 * (i + 1))));
    return out;
}

void expectSame(const DrawList& draw, const NaiveDrawList& naive, const char* when) {
    SCOPED_TRACE(when);
    ASSERT_EQ(draw.size(), naive.size());
    ASSERT_EQ(draw.empty(), naive.size() == 0);
    EXPECT_EQ(draw.remaining(DrawList::Ordinary), naive.remaining(DrawList::Ordinary));
    EXPECT_EQ(draw.remaining(DrawList::JustGood), naive.remaining(DrawList::JustGood));
    for (size_t i = 0; i < naive.size(); ++i) ASSERT_EQ(draw.positionOf(i), naive.positionOf(i)) << "i=" << i;
    // From every place, taken or not, for both kinds: the search must wrap to the start.
    for (size_t pos = 0; pos < naive.kinds.size(); ++pos)
        for (auto k : {DrawList::Ordinary, DrawList::JustGood})
            ASSERT_EQ(draw.nextOfKind(pos, k), naive.nextOfKind(pos, k)) << "pos=" << pos << " kind=" << int(k);
}

// Sizes around the powers of two, where a Fenwick tree's descent changes shape.
class DrawListAgainstNaive : public ::testing::TestWithParam<size_t> {};

TEST_P(DrawListAgainstNaive, AgreesUnderRandomRemovalsUntilEmpty) {
    const size_t n = GetParam();
    std::mt19937 rng(static_cast<uint32_t>(n) * 7919u + 1u);
    NaiveDrawList naive;
    for (size_t i = 0; i < n; ++i) naive.kinds.push_back(rng() % 3 == 0 ? DrawList::JustGood : DrawList::Ordinary);
    naive.present.assign(n, true);

    DrawList draw;
    const auto records = fakeRecords(n);
    draw.assign(records, naive.kinds);
    for (size_t pos = 0; pos < n; ++pos) {
        EXPECT_EQ(draw.record(pos), records[pos]);
        EXPECT_EQ(draw.kind(pos), naive.kinds[pos]);
    }
    expectSame(draw, naive, "after assign");

    // Remove the i-th remaining entry, as a generation does, until none is left.
    while (naive.size() > 0) {
        const size_t i = rng() % naive.size();
        const size_t pos = draw.positionOf(i);
        ASSERT_EQ(pos, naive.positionOf(i));
        draw.remove(pos);
        naive.present[pos] = false;
        if (n <= 70 || naive.size() % 37 == 0) expectSame(draw, naive, "after a removal");
    }
    expectSame(draw, naive, "when empty");
    EXPECT_TRUE(draw.empty());
}

INSTANTIATE_TEST_SUITE_P(DrawListSizes, DrawListAgainstNaive, ::testing::Values(1, 2, 3, 7, 8, 9, 16, 17, 63, 64, 65, 500));

TEST(DrawList, RemovingAnEntryTwiceCountsOnce) {
    DrawList draw;
    draw.assign(fakeRecords(4), {DrawList::Ordinary, DrawList::JustGood, DrawList::Ordinary, DrawList::JustGood});
    draw.remove(1);
    draw.remove(1);
    EXPECT_EQ(draw.size(), 3u);
    EXPECT_EQ(draw.remaining(DrawList::JustGood), 1u);
    EXPECT_EQ(draw.positionOf(1), 2u);
    EXPECT_EQ(draw.nextOfKind(0, DrawList::JustGood), 3u);
}

TEST(DrawList, NextOfKindWrapsToTheStartAndReportsAnExhaustedKind) {
    using K = DrawList::Kind;
    DrawList draw;
    draw.assign(fakeRecords(6), {K::JustGood, K::Ordinary, K::Ordinary, K::JustGood, K::Ordinary, K::Ordinary});
    EXPECT_EQ(draw.nextOfKind(1, K::JustGood), 3u);
    EXPECT_EQ(draw.nextOfKind(3, K::JustGood), 0u); // none after the place: the first from the start
    EXPECT_EQ(draw.nextOfKind(5, K::Ordinary), 1u);
    draw.remove(0);
    EXPECT_EQ(draw.nextOfKind(4, K::JustGood), 3u); // the only one left, found by wrapping
    EXPECT_EQ(draw.nextOfKind(3, K::JustGood), 3u);
    draw.remove(3);
    EXPECT_EQ(draw.nextOfKind(2, K::JustGood), SIZE_MAX);
    EXPECT_EQ(draw.remaining(K::JustGood), 0u);
    EXPECT_EQ(draw.nextOfKind(2, K::Ordinary), 4u);
}

TEST(DrawList, AssignStartsOverAndClearEmpties) {
    DrawList draw;
    draw.assign(fakeRecords(5), std::vector<DrawList::Kind>(5, DrawList::Ordinary));
    draw.remove(0);
    draw.remove(4);
    draw.assign(fakeRecords(3), std::vector<DrawList::Kind>(3, DrawList::JustGood));
    EXPECT_EQ(draw.size(), 3u);
    EXPECT_EQ(draw.remaining(DrawList::Ordinary), 0u);
    EXPECT_EQ(draw.positionOf(0), 0u);
    EXPECT_EQ(draw.positionOf(2), 2u);
    draw.clear();
    EXPECT_TRUE(draw.empty());
    EXPECT_EQ(draw.nextOfKind(0, DrawList::JustGood), SIZE_MAX);
}

} // namespace
} // namespace velmo
