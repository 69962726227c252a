// Finding nodes by substrings: the split at "*", first occurrences in order, case with the
// locale's rules, and stepping through the hits from wherever the selection is.
#include <gtest/gtest.h>

#include "musicdb/TreeSearch.h"
#include "support/DatabaseBuilders.h"

namespace velmo::test {
namespace {

struct SearchFixture {
    MusicDatabase db;
    TreeSearch search;
    TreeNode* beatles = nullptr;
    SearchFixture() {
        TreeNode* cd = addCD(db, "Rock Hits", "ROCK01");
        beatles = addFolder(db, cd, "Beatles");
        addSong(db, beatles, "The Beatles - All You Need Is Love.mp3", 100);
        addSong(db, beatles, "Love Me Do - The Beatles.mp3", 100);
        TreeNode* other = addFolder(db, addCD(db, "Jazz", "JAZZ01"), "Über Ärger");
        addSong(db, other, "ärger im café.mp3", 100);
        addSong(db, other, "rockabilly.mp3", 100);
    }
    std::vector<std::string> find(const std::string& text) {
        search.SearchInTree(db.musicTree(), search.splitWords(TreeSearch::trimOuterStars(text)));
        std::vector<std::string> texts;
        for (const TreeNode* n : search.hits()) texts.push_back(n->text());
        return texts;
    }
};

TEST(TreeSearchTest, WordsInOrderFirstOccurrencesOnlyCaseIgnoredDisksAndFoldersFound) {
    SearchFixture f;
    EXPECT_EQ(f.find("beat*love"), (std::vector<std::string>{"The Beatles - All You Need Is Love.mp3"}));
    // The outer stars go: *rock* is the plain substring ROCK, found in disk, folder and song texts.
    // "Jazz" sorts before "Rock Hits".
    EXPECT_EQ(f.find("*rock*"), (std::vector<std::string>{"rockabilly.mp3", "Rock Hits /ROCK01/"}));
    EXPECT_EQ(f.find("ROCK"), f.find("rock"));
    EXPECT_EQ(f.find("beatles"), (std::vector<std::string>{"Beatles", "Love Me Do - The Beatles.mp3",
                                                           "The Beatles - All You Need Is Love.mp3"}));
    EXPECT_TRUE(f.find("a**b").empty()); // an empty word matches nothing
    EXPECT_TRUE(f.find("").empty());
    // Non-ASCII letters compare whatever their case.
    EXPECT_EQ(f.find("ÄRGER"), (std::vector<std::string>{"Über Ärger", "ärger im café.mp3"}));
    EXPECT_EQ(f.find("CAFÉ"), (std::vector<std::string>{"ärger im café.mp3"}));

    EXPECT_FALSE(TreeSearch::Satisfies("BAB", {"A", "B"})); // the first B stands before the first A
    EXPECT_TRUE(TreeSearch::Satisfies("ABAB", {"A", "B"}));
    EXPECT_FALSE(TreeSearch::Satisfies("AB", {"AB", "B"})); // words may not overlap
}

TEST(TreeSearchTest, NextAndPreviousFollowTheSelectionAndWrapAtBothEnds) {
    SearchFixture f;
    const auto hits = [&] { return f.search.hits(); };
    ASSERT_EQ(f.find("e").size(), 5u);
    const std::vector<const TreeNode*> h = hits();
    EXPECT_EQ(f.search.next(nullptr), h.front());
    EXPECT_EQ(f.search.previous(nullptr), h.back());
    EXPECT_EQ(f.search.next(h[2]), h[3]);
    EXPECT_EQ(f.search.previous(h[2]), h[1]);
    EXPECT_EQ(f.search.next(h.back()), h.front());
    EXPECT_EQ(f.search.previous(h.front()), h.back());

    // A selection moved elsewhere by the user: the next hit after it in tree order.
    f.find("mp3");
    const std::vector<const TreeNode*> songs = hits();
    ASSERT_EQ(songs.size(), 4u);
    TreeNode* jazzFolder = f.db.musicTree().topLevel(0)->child(0);
    EXPECT_EQ(jazzFolder->text(), "Über Ärger");
    EXPECT_EQ(f.search.next(jazzFolder), songs[0]);
    EXPECT_EQ(f.search.previous(jazzFolder), songs.back()); // nothing before it: wrap
    EXPECT_EQ(f.search.previous(f.beatles), songs[1]);
}

TEST(TreeSearchTest, HitsThatLeaveTheTreeAreNeverSteppedTo) {
    SearchFixture f;
    ASSERT_EQ(f.find("beatles").size(), 3u);
    f.db.musicTree().remove(f.beatles); // the folder and both songs go
    EXPECT_TRUE(f.search.hits().empty());
    EXPECT_EQ(f.search.next(nullptr), nullptr);
}

} // namespace
} // namespace velmo::test
