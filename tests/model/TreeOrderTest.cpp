#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include "ModelTestUtil.h"

namespace velmo {
namespace {

using namespace velmo::test;

const std::string kEAcuteNFC = "\xC3\xA9";   // é as one code point
const std::string kEAcuteNFD = "e\xCC\x81";  // e + combining acute accent

// ---------------------------------------------------------------------------------------
// Text comparison

class NodeCollatorLocales : public ::testing::TestWithParam<const char*> {};

TEST_P(NodeCollatorLocales, OrdersLettersAsADictionaryDoesNotAsBytes) {
    NodeCollator c(GetParam());
    EXPECT_EQ(c.compare("apple", "Banana"), -1);
    EXPECT_EQ(c.compare("Banana", "cherry"), -1);
    EXPECT_EQ(c.compare("cherry", "apple"), 1);
    // Case decides only between otherwise equal texts, small letters first.
    EXPECT_EQ(c.compare("a", "A"), -1);
    EXPECT_EQ(c.compare("abc", "ABC"), -1);
    EXPECT_EQ(c.compare("ABC", "abd"), -1);
    // Accents come after the letters: bytes would put "é" after every ASCII letter.
    EXPECT_EQ(c.compare("resume", "r" + kEAcuteNFC + "sum" + kEAcuteNFC), -1);
    EXPECT_EQ(c.compare("r" + kEAcuteNFC + "sum" + kEAcuteNFC, "resumes"), -1);
    EXPECT_EQ(c.compare("\xC3\x84pfel", "Birne"), -1); // Äpfel
    EXPECT_EQ(c.compare("Zebra", "\xC3\x84pfel"), 1);
    EXPECT_EQ(c.compare("same", "same"), 0);
}

TEST_P(NodeCollatorLocales, DifferentTextsNeverCompareEqual) {
    NodeCollator c(GetParam());
    const std::vector<std::pair<std::string, std::string>> lookAlikes = {
        {kEAcuteNFC, kEAcuteNFD},
        {"caf" + kEAcuteNFC + ".mp3", "caf" + kEAcuteNFD + ".mp3"},
        {"a\x01" "b", "ab"},          // a control character the collation ignores
        {"a\xC2\xAD" "b", "ab"},      // soft hyphen
    };
    for (const auto& [x, y] : lookAlikes) {
        int xy = c.compare(x, y);
        EXPECT_NE(xy, 0) << x << " / " << y;
        EXPECT_EQ(c.compare(y, x), -xy) << x << " / " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, NodeCollatorLocales, ::testing::Values("", "en_US", "de_DE"));

TEST(NodeCollator, TheLookAlikesAreEqualToTheCollationItself) {
    // Makes sure the case above tests the tie-break and not two texts ICU already tells apart.
    UErrorCode status = U_ZERO_ERROR;
    UCollator* raw = ucol_open("", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    EXPECT_EQ(ucol_strcollUTF8(raw, kEAcuteNFC.data(), -1, kEAcuteNFD.data(), -1, &status), UCOL_EQUAL);
    ucol_close(raw);
}

TEST(NodeCollator, LocaleIsTakenFromTheEnvironmentInPosixPrecedence) {
    {
        ScopedEnv all("LC_ALL", "de_DE.UTF-8@euro"), coll("LC_COLLATE", "en_US.UTF-8"), lang("LANG", "fr_FR");
        EXPECT_EQ(NodeCollator::localeFromEnvironment(), "de_DE");
    }
    {
        ScopedEnv all("LC_ALL", ""), coll("LC_COLLATE", "en_GB.UTF-8"), lang("LANG", "fr_FR");
        EXPECT_EQ(NodeCollator::localeFromEnvironment(), "en_GB");
    }
    {
        ScopedEnv all("LC_ALL", nullptr), coll("LC_COLLATE", nullptr), lang("LANG", "fr_FR.UTF-8");
        EXPECT_EQ(NodeCollator::localeFromEnvironment(), "fr_FR");
    }
    for (const char* posix : {"C", "C.UTF-8", "POSIX"}) {
        ScopedEnv all("LC_ALL", posix);
        EXPECT_EQ(NodeCollator::localeFromEnvironment(), "") << posix;
        // The root collation does not sort every capital before every small letter.
        EXPECT_EQ(NodeCollator().compare("b", "C"), -1) << posix;
    }
    {
        ScopedEnv all("LC_ALL", nullptr), coll("LC_COLLATE", nullptr), lang("LANG", nullptr);
        EXPECT_EQ(NodeCollator::localeFromEnvironment(), "");
    }
}

// ---------------------------------------------------------------------------------------
// CompareTreeNodes and the compare handlers

class CompareTreeNodesTest : public ::testing::Test {
protected:
    void SetUp() override { db = makeModelDatabase(); }
    // A node in a scratch tree, with a record when it has a size.
    const TreeNode* node(const std::string& text, uint8_t image, int32_t size = 0) {
        TreeNode* n = scratch.append(nullptr, text, image);
        if (size) {
            recs.push_back(std::make_unique<TDataRec>());
            recs.back()->Size = size;
            n->setData(recs.back().get());
        }
        return n;
    }
    int cmp(const TreeNode* n, const std::string& text, uint8_t image, bool compareSize = false, int32_t size = 0) {
        return db->CompareTreeNodes(n, text, compareSize, size, image);
    }

    std::unique_ptr<MusicDatabase> db;
    Tree scratch;
    std::vector<std::unique_ptr<TDataRec>> recs;
};

TEST_F(CompareTreeNodesTest, KindsOrderHardDisksBeforeCDsAndFoldersBeforeSongs) {
    const TreeNode* cd = node("Zz /L/", iiCDDisk);
    const TreeNode* hd = node("Drive <Z> /L/", iiHardDisk);
    const TreeNode* folder = node("zz", iiFolder);
    const TreeNode* song = node("aa.mp3", imageOfStatus(ssUsed));

    for (uint8_t image : {iiHardDiskRoot, iiHardDisk}) EXPECT_EQ(cmp(cd, "Drive <A> /L/", image), 1);
    for (uint8_t image : {iiCDDiskRoot, iiCDDisk}) EXPECT_EQ(cmp(hd, "Aa /L/", image), -1);
    for (int image = 6; image <= 13; ++image) EXPECT_EQ(cmp(folder, "aa.mp3", static_cast<uint8_t>(image)), -1);
    for (uint8_t image : {iiFolderRoot, iiFolder}) EXPECT_EQ(cmp(song, "zz", image), 1);
    // Same kind: text order, whatever the root mark or the status.
    EXPECT_EQ(cmp(cd, "Aa /L/", iiCDDiskRoot), 1);
    EXPECT_EQ(cmp(folder, "zzz", iiFolderRoot), -1);
    EXPECT_EQ(cmp(folder, "zz", iiFolderRoot), 0);
    EXPECT_EQ(cmp(song, "AB.mp3", imageOfStatus(ssBlack)), -1);
    EXPECT_EQ(cmp(song, "aa.mp3", imageOfStatus(ssGoodPlayList)), 0);
}

TEST_F(CompareTreeNodesTest, HardDisksAreOrderedAndMatchedByTheirDriveLetter) {
    const TreeNode* d = node("Drive <D> /DATA/", iiHardDisk);
    EXPECT_EQ(cmp(d, "Drive <C> /ZZZ/", iiHardDisk), 1);
    EXPECT_EQ(cmp(d, "Drive <E> /AAA/", iiHardDiskRoot), -1);
    EXPECT_EQ(cmp(d, "Drive <D> /OTHER/", iiHardDisk), 0);
    // The letter decides even against what the rest of the text says.
    const TreeNode* z = node("A <Z> /L/", iiHardDisk);
    EXPECT_EQ(cmp(z, "B <A> /L/", iiHardDisk), 1);
}

TEST_F(CompareTreeNodesTest, LessThanInFileAndFolderNamesIsPlainText) {
    const TreeNode* song = node("<A> live.mp3", imageOfStatus(ssUnused));
    EXPECT_EQ(cmp(song, "<A> studio.mp3", imageOfStatus(ssUnused)), -1);
    const TreeNode* folder = node("B <Z>", iiFolder);
    EXPECT_EQ(cmp(folder, "B <A>", iiFolder), 1);
    EXPECT_EQ(cmp(folder, "B <Zed>", iiFolder), -1);
}

TEST_F(CompareTreeNodesTest, LessThanInACdLabelIsPlainText) {
    // Two CDs whose labels hold "<" are two disks, ordered by their whole text.
    const TreeNode* rock = node("Rock /<DISC1>/", iiCDDisk);
    EXPECT_EQ(cmp(rock, "Jazz /<DISC2>/", iiCDDisk), 1);
    EXPECT_EQ(cmp(rock, "Rock /<DISC2>/", iiCDDisk), -1);
    EXPECT_EQ(cmp(rock, "Rock /<DISC1>/", iiCDDiskRoot), 0);
}

TEST_F(CompareTreeNodesTest, SameNamedSongsAreTiedBySizeLargerFirst) {
    const TreeNode* song = node("a.mp3", imageOfStatus(ssUnused), 5000);
    EXPECT_EQ(cmp(song, "a.mp3", imageOfStatus(ssUnused), true, 4000), -1);
    EXPECT_EQ(cmp(song, "a.mp3", imageOfStatus(ssUnused), true, 6000), 1);
    EXPECT_EQ(cmp(song, "a.mp3", imageOfStatus(ssUnused), true, 5000), 0);
    EXPECT_EQ(cmp(song, "a.mp3", imageOfStatus(ssUnused), false, 6000), 0);
    // The size only breaks a tie of the text.
    EXPECT_EQ(cmp(song, "b.mp3", imageOfStatus(ssUnused), true, 1), -1);
    // Disks ignore sizes.
    const TreeNode* cd = node("Mix /L/", iiCDDisk, 5000);
    EXPECT_EQ(cmp(cd, "Mix /L/", iiCDDisk, true, 1), 0);
}

TEST_F(CompareTreeNodesTest, MusicTreeHandlerSortsLikeInsertionWithoutSizes) {
    const TreeNode* songBig = node("a.mp3", 6, 2000);
    const TreeNode* songSmall = node("a.mp3", 7, 1000);
    const TreeNode* folder = node("b", iiFolder);
    const TreeNode* hdD = node("A <D> /x/", iiHardDisk);
    const TreeNode* hdC = node("B <C> /y/", iiHardDisk);
    const TreeNode* cd = node("A /x/", iiCDDisk);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(songBig, songSmall), 0);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(folder, songBig), -1);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(songBig, folder), 1);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(hdD, hdC), 1);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(cd, hdD), 1);
    EXPECT_EQ(db->TreeViewMusicTreeCompare(hdD, cd), -1);
}

TEST_F(CompareTreeNodesTest, FolderTreeHandlerPutsFoldersFirstAndIgnoresDriveLetters) {
    const TreeNode* a = node("A <Z>", iiFolderRoot);
    const TreeNode* b = node("B <A>", iiFolder);
    const TreeNode* s1 = node("x.mp3", 9);
    const TreeNode* s2 = node("y.mp3", 6);
    EXPECT_EQ(db->TreeViewFoldersCompare(a, b), -1);
    EXPECT_EQ(db->TreeViewFoldersCompare(b, a), 1);
    EXPECT_EQ(db->TreeViewFoldersCompare(b, s1), -1);
    EXPECT_EQ(db->TreeViewFoldersCompare(s1, a), 1);
    EXPECT_EQ(db->TreeViewFoldersCompare(s1, s2), -1);
    EXPECT_EQ(db->TreeViewFoldersCompare(s2, s2), 0);
}

// ---------------------------------------------------------------------------------------
// TryToFindNode

TEST(TryToFindNode, SameNamedSongsOfDifferentSizesBecomeTwoNodesLargerFirst) {
    for (bool smallerFirst : {true, false}) {
        auto db = makeModelDatabase();
        TreeNode* folder = addFolder(*db, addCD(*db, "Mix", "L"), "Album");
        TDataRec* one = addSong(*db, folder, "song.mp3", smallerFirst ? 1000 : 2000);
        TDataRec* two = addSong(*db, folder, "song.mp3", smallerFirst ? 2000 : 1000);
        ASSERT_NE(one, two);
        ASSERT_EQ(folder->childCount(), 2u);
        EXPECT_EQ(folder->child(0)->data()->Size, 2000);
        EXPECT_EQ(folder->child(1)->data()->Size, 1000);

        // A third file of the same name and one of those sizes is the same song.
        for (int32_t size : {1000, 2000}) {
            TreeNode* found = db->TryToFindNode(folder, db->musicTree(), true, size, 6, "song.mp3");
            EXPECT_EQ(found->data()->Size, size);
            EXPECT_EQ(folder->childCount(), 2u);
        }
        // Another size is a third song, placed by size.
        TreeNode* middle = db->TryToFindNode(folder, db->musicTree(), true, 1500, 6, "song.mp3");
        EXPECT_EQ(middle->data(), nullptr);
        EXPECT_EQ(middle->row(), 1u);
    }
}

TEST(TryToFindNode, CollationEqualNamesStayTwoNodes) {
    for (const char* locale : {"C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"}) {
        SCOPED_TRACE(locale);
        auto db = makeModelDatabase(std::make_unique<ScriptedRandom>(), locale);
        TreeNode* folder = addFolder(*db, addCD(*db, "Mix", "L"), "Album");
        TDataRec* nfc = addSong(*db, folder, "caf" + kEAcuteNFC + ".mp3", 1000);
        TDataRec* nfd = addSong(*db, folder, "caf" + kEAcuteNFD + ".mp3", 1000);
        EXPECT_NE(nfc, nfd);
        EXPECT_EQ(folder->childCount(), 2u);
        // Each name finds its own node again, in either search.
        EXPECT_EQ(db->TryToFindNode(folder, db->musicTree(), true, 1000, 6, "caf" + kEAcuteNFC + ".mp3"),
                  nfc->MusicNode);
        EXPECT_EQ(db->TryToFindNode(folder, db->musicTree(), true, 1000, 6, "caf" + kEAcuteNFD + ".mp3"),
                  nfd->MusicNode);
        EXPECT_EQ(folder->childCount(), 2u);
        // Folders too.
        TreeNode* f1 = addFolder(*db, folder, kEAcuteNFC);
        TreeNode* f2 = addFolder(*db, folder, kEAcuteNFD);
        EXPECT_NE(f1, f2);
    }
}

TEST(TryToFindNode, HardDisksComeBeforeCDsAndFoldersBeforeSongs) {
    auto db = makeModelDatabase();
    addCD(*db, "Alpha", "A1");
    addContainer(*db, nullptr, "Drive <E> /DATA/", iiHardDisk);
    addCD(*db, "beta", "B1", iiCDDiskRoot);
    addContainer(*db, nullptr, "Drive <C> /SYSTEM/", iiHardDiskRoot);
    TreeNode* cd = addCD(*db, "Alpha", "A1"); // found again
    EXPECT_EQ(childTexts(db->musicTree(), nullptr),
              (std::vector<std::string>{"Drive <C> /SYSTEM/", "Drive <E> /DATA/", "Alpha /A1/", "beta /B1/"}));
    // The same drive letter is the same disk, whatever the label.
    EXPECT_EQ(addContainer(*db, nullptr, "Drive <E> /NEW/", iiHardDisk), db->musicTree().topLevel(1));
    EXPECT_EQ(db->musicTree().topLevelCount(), 4u);

    addSong(*db, cd, "a.mp3", 10);
    addFolder(*db, cd, "Zed");
    addSong(*db, cd, "B.mp3", 10, ssBlack);
    addFolder(*db, cd, "able", iiFolderRoot);
    EXPECT_EQ(childTexts(db->musicTree(), cd), (std::vector<std::string>{"able", "Zed", "a.mp3", "B.mp3"}));
}

TEST(TryToFindNode, StartingAtASiblingScansOnFromThere) {
    auto db = makeModelDatabase();
    TreeNode* disk = addCD(*db, "Mix", "L");
    Tree& t = db->musicTree();
    TreeNode* a = addFolder(*db, disk, "a");
    TreeNode* c = addFolder(*db, disk, "c");
    addFolder(*db, disk, "e");

    EXPECT_EQ(db->TryToFindNode(c, t, false, 0, iiFolder, "c", true), c);
    TreeNode* d = db->TryToFindNode(c, t, false, 0, iiFolder, "d", true);
    EXPECT_EQ(d->parent(), disk);
    EXPECT_EQ(d->row(), 2u);
    TreeNode* z = db->TryToFindNode(c, t, false, 0, iiFolder, "z", true);
    EXPECT_EQ(z->parent(), disk);
    EXPECT_EQ(z, disk->lastChild());
    // Nodes before the start are not looked at: "a" is made again before "c".
    TreeNode* a2 = db->TryToFindNode(c, t, false, 0, iiFolder, "a", true);
    EXPECT_NE(a2, a);
    EXPECT_EQ(a2->row(), 1u);
    EXPECT_EQ(childTexts(t, disk), (std::vector<std::string>{"a", "a", "c", "d", "e", "z"}));
    // At the top level the parent is no node.
    TreeNode* top = db->TryToFindNode(disk, t, false, 0, iiCDDisk, "Zz /Q/", true);
    EXPECT_EQ(top->parent(), nullptr);
    EXPECT_EQ(t.topLevelCount(), 2u);
}

// Random sibling sets in sorted order. A reference order written independently of the
// program: kind first (hard disks, CDs; folders, songs), then hard disks by drive letter and
// everything else by collated text, same-named songs by size, larger first.
struct Entry {
    std::string text;
    uint8_t image;
    int32_t size;
};

class RandomSiblings {
public:
    RandomSiblings(uint64_t seed, const std::string& locale) : rng_(seed), collator_(locale) {}

    std::string name() {
        static const std::vector<std::string> pieces = {"a", "A", "b", "B", "c", kEAcuteNFC, kEAcuteNFD, "E",
                                                        "1", "10", "2", " ", "-", "\xC3\xBC", "Z", "<"};
        std::string s;
        int n = 1 + pick(4);
        for (int i = 0; i < n; ++i) s += pieces[pick(static_cast<int>(pieces.size()))];
        return s;
    }
    Entry disk(bool hard) {
        if (hard)
            return {"Drive <" + std::string(1, static_cast<char>('A' + pick(26))) + "> /" + name() + "/",
                    static_cast<uint8_t>(2 + pick(2)), 0};
        // Kept free of "<", which in a disk text stands for a drive letter.
        auto plain = [this] {
            std::string t = name();
            std::erase(t, '<');
            return t.empty() ? std::string("x") : t;
        };
        return {plain() + " /" + plain() + "/", static_cast<uint8_t>(pick(2)), 0};
    }
    Entry child(bool song) {
        if (song) return {name() + ".mp3", static_cast<uint8_t>(6 + pick(8)), 1 + pick(4) * 1000};
        return {name(), static_cast<uint8_t>(4 + pick(2)), 0};
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    static std::string key(const Entry& e) {
        if (e.image <= 3 && e.image >= 2) return e.text.substr(e.text.find('<') + 1, 1);
        return e.text;
    }
    static int rank(const Entry& e) { return e.image <= 1 ? 1 : e.image <= 3 ? 0 : e.image <= 5 ? 0 : 1; }
    // -1, 0 (the same node) or 1.
    int order(const Entry& x, const Entry& y) const {
        if (rank(x) != rank(y)) return rank(x) < rank(y) ? -1 : 1;
        int t = collator_.compare(key(x), key(y));
        if (t != 0) return t;
        if (x.image >= 6 && x.size != y.size) return x.size > y.size ? -1 : 1;
        return 0;
    }
    // A sorted set without duplicates.
    std::vector<Entry> sortedSet(std::vector<Entry> v) {
        std::stable_sort(v.begin(), v.end(), [&](const Entry& x, const Entry& y) { return order(x, y) < 0; });
        v.erase(std::unique(v.begin(), v.end(), [&](const Entry& x, const Entry& y) { return order(x, y) == 0; }),
                v.end());
        return v;
    }

private:
    std::mt19937_64 rng_;
    NodeCollator collator_;
};

// Places a node made by TryToFindNode the way a load does: with its record and size.
TreeNode* place(MusicDatabase& db, TreeNode* parent, const Entry& e) {
    const bool top = parent == nullptr;
    TreeNode* n = db.TryToFindNode(parent, db.musicTree(), !top, e.size, e.image, e.text);
    if (!n->data()) db.AddToDataList(n)->Size = e.size;
    return n;
}

void expectSorted(MusicDatabase& db, const RandomSiblings& gen, const TreeNode* parent) {
    const Tree& t = db.musicTree();
    for (size_t i = 1; i < t.childCount(parent); ++i) {
        const TreeNode* x = t.child(parent, i - 1);
        const TreeNode* y = t.child(parent, i);
        Entry ex{x->text(), x->imageIndex(), x->data() ? x->data()->Size : 0};
        Entry ey{y->text(), y->imageIndex(), y->data() ? y->data()->Size : 0};
        EXPECT_EQ(gen.order(ex, ey), -1) << "'" << ex.text << "' before '" << ey.text << "'";
    }
}

class TryToFindNodeRandom : public ::testing::TestWithParam<const char*> {};

TEST_P(TryToFindNodeRandom, FindsWhatTheLinearScanFinds) {
    const std::string posix = GetParam();
    const std::string icu = posix.substr(0, posix.find('.'));
    for (uint64_t seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomSiblings gen(seed, icu == "C" ? "" : icu);
        auto db = makeModelDatabase(std::make_unique<ScriptedRandom>(), posix.c_str());
        ASSERT_EQ(db->collator().localeName(), icu == "C" ? "" : icu);
        const bool atTop = seed % 2 == 0;
        TreeNode* parent = atTop ? nullptr : addFolder(*db, addCD(*db, "P", "P"), "parent");
        auto make = [&] { return atTop ? gen.disk(gen.pick(2) == 0) : gen.child(gen.pick(3) > 0); };

        std::vector<Entry> set;
        for (int i = gen.pick(25); i > 0; --i) set.push_back(make());
        Tree& t = db->musicTree();
        for (const Entry& e : gen.sortedSet(set)) db->AddToDataList(t.append(parent, e.text, e.image))->Size = e.size;
        expectSorted(*db, gen, parent);

        for (int probe = 0; probe < 25; ++probe) {
            Entry e = make();
            const size_t count = t.childCount(parent);
            if (count > 0 && gen.pick(3) == 0) {
                const TreeNode* n = t.child(parent, static_cast<size_t>(gen.pick(static_cast<int>(count))));
                e = {n->text(), n->imageIndex(), n->data()->Size};
            }
            const bool compareSize = !atTop;
            size_t row = 0;
            int result = -1;
            for (; row < count; ++row) {
                result = db->CompareTreeNodes(t.child(parent, row), e.text, compareSize, e.size, e.image);
                if (result != -1) break;
            }
            const bool expectFound = row < count && result == 0;
            TreeNode* expectedNode = expectFound ? t.child(parent, row) : nullptr;

            TreeNode* got = place(*db, parent, e);
            if (expectFound) {
                EXPECT_EQ(got, expectedNode) << e.text;
                EXPECT_EQ(t.childCount(parent), count);
            } else {
                EXPECT_EQ(t.childCount(parent), count + 1) << e.text;
                EXPECT_EQ(got->row(), row) << e.text;
                EXPECT_EQ(got->text(), e.text);
                EXPECT_EQ(got->imageIndex(), e.image);
            }
        }
        expectSorted(*db, gen, parent);
        if (HasFailure()) return;
    }
}

TEST_P(TryToFindNodeRandom, OrderDoesNotDependOnTheOrderOfInsertion) {
    const std::string posix = GetParam();
    const std::string icu = posix.substr(0, posix.find('.'));
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomSiblings gen(seed * 7919, icu == "C" ? "" : icu);
        auto db = makeModelDatabase(std::make_unique<ScriptedRandom>(), posix.c_str());
        const bool atTop = seed % 2 == 0;
        TreeNode* parent = atTop ? nullptr : addFolder(*db, addCD(*db, "P", "P"), "parent");
        std::vector<Entry> entries;
        for (int i = 0; i < 40; ++i) entries.push_back(atTop ? gen.disk(gen.pick(2) == 0) : gen.child(gen.pick(3) > 0));

        for (const Entry& e : entries) place(*db, parent, e);
        const std::vector<Entry> expected = gen.sortedSet(entries);
        Tree& t = db->musicTree();
        ASSERT_EQ(t.childCount(parent), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(gen.order(expected[i], {t.child(parent, i)->text(), t.child(parent, i)->imageIndex(),
                                             t.child(parent, i)->data()->Size}),
                      0)
                << i;
        }
        // Everything is found again.
        for (const Entry& e : entries) place(*db, parent, e);
        EXPECT_EQ(t.childCount(parent), expected.size());
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, TryToFindNodeRandom, ::testing::Values("C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             std::string n = param.param;
                             return n.substr(0, n.find('.'));
                         });

// ---------------------------------------------------------------------------------------
// Tree bookkeeping the views rely on

class RecordingTreeObserver : public TreeObserver {
public:
    void beginInsert(TreeNode* parent, size_t first, size_t last) override {
        log.push_back("insert " + name(parent) + " " + range(first, last));
    }
    void beginRemove(TreeNode* parent, size_t first, size_t last) override {
        log.push_back("remove " + name(parent) + " " + range(first, last));
    }
    void beginMove(TreeNode* parent, size_t from, size_t to) override {
        log.push_back("move " + name(parent) + " " + std::to_string(from) + ">" + std::to_string(to));
    }
    void nodeChanged(TreeNode* node, ChangedRoles roles) override {
        log.push_back((roles == TextChanged ? "renamed " : "changed ") + node->text());
    }
    static std::string range(size_t first, size_t last) {
        return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
    }
    void beginReset() override { log.push_back("begin reset"); }
    void endReset() override { log.push_back("end reset"); }
    void expandRequested(TreeNode* node) override { log.push_back("expand " + node->text()); }
    void selectRequested(TreeNode* node) override { log.push_back("select " + node->text()); }
    static std::string name(const TreeNode* n) { return n ? n->text() : "(top)"; }
    std::vector<std::string> log;
};

TEST(Tree, BulkUpdateSendsOneResetAndReplaysViewRequestsForLiveNodes) {
    Tree t;
    TreeNode* d = t.append(nullptr, "disk", iiCDDisk);
    RecordingTreeObserver o;
    t.addObserver(&o);

    t.beginBulkUpdate();
    TreeNode* keep = t.append(d, "keep", iiFolder);
    TreeNode* gone = t.append(d, "gone", iiFolder);
    TreeNode* inner = t.append(gone, "inner", iiFolder);
    t.setImageIndex(keep, iiFolderRoot);
    t.requestExpand(gone);
    t.requestSelect(inner);
    t.requestExpand(keep);
    t.remove(gone); // its requests die with it
    t.endBulkUpdate();
    EXPECT_EQ(o.log, (std::vector<std::string>{"begin reset", "end reset", "expand keep"}));

    o.log.clear();
    t.append(keep, "x", 6);
    t.setImageIndex(keep, iiFolderRoot); // unchanged: silent
    t.setText(keep, "kept");
    t.remove(keep);
    EXPECT_EQ(o.log, (std::vector<std::string>{"insert keep 0", "renamed kept", "remove disk 0"}));
    t.removeObserver(&o);
}

// Rows are renumbered lazily; whatever mix of edits came before, every row and every
// sibling step must read as if they had been renumbered at once.
TEST(Tree, RowsAndSiblingStepsStayRightThroughRandomEdits) {
    Tree t;
    TreeNode* parent = t.append(nullptr, "p", iiFolder);
    std::vector<TreeNode*> mirror;
    std::mt19937 rng(3);
    for (int step = 0; step < 3000; ++step) {
        const size_t n = mirror.size();
        const auto op = rng() % 10;
        if (op < 5 || n < 2) {
            const size_t row = rng() % (n + 1);
            mirror.insert(mirror.begin() + static_cast<std::ptrdiff_t>(row),
                          t.insert(parent, row, std::to_string(step), iiFolder));
        } else if (op < 7) {
            const size_t row = rng() % n;
            t.remove(mirror[row]);
            mirror.erase(mirror.begin() + static_cast<std::ptrdiff_t>(row));
        } else if (op < 9) {
            const size_t from = rng() % n, to = rng() % n;
            TreeNode* node = mirror[from];
            t.move(node, to);
            mirror.erase(mirror.begin() + static_cast<std::ptrdiff_t>(from));
            mirror.insert(mirror.begin() + static_cast<std::ptrdiff_t>(to), node);
        } else {
            std::vector<size_t> rows;
            for (size_t r = rng() % 3; r < n; r += 2 + rng() % 5) rows.push_back(r);
            t.removeChildren(parent, rows);
            for (auto r = rows.rbegin(); r != rows.rend(); ++r)
                mirror.erase(mirror.begin() + static_cast<std::ptrdiff_t>(*r));
        }
        // Ask one node only most of the time, so stale marks pile up between full checks.
        if (!mirror.empty() && step % 50 != 0) {
            const size_t probe = rng() % mirror.size();
            ASSERT_EQ(mirror[probe]->row(), probe) << "step " << step;
            continue;
        }
        ASSERT_EQ(parent->childCount(), mirror.size());
        for (size_t i = 0; i < mirror.size(); ++i) {
            ASSERT_EQ(parent->child(i), mirror[i]);
            ASSERT_EQ(mirror[i]->nextSibling(), i + 1 < mirror.size() ? mirror[i + 1] : nullptr) << "step " << step;
        }
    }
}

} // namespace
} // namespace velmo
