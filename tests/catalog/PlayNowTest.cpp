// The built-in player: which file a song plays from, the buttons of each mode, Next and Prev in
// the trees and the lists, and the slider against the song's position.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "CatalogTestUtil.h"
#include "app/PlayNow.h"
#include "musicdb/ItemList.h"
#include "platform/Drives.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;
using Mode = MediaPlayer::Mode;

// A media player whose files last `length` ms and whose position the test moves.
struct ScriptedPlayer : MediaPlayer {
    std::vector<std::string> opened;
    Mode current = Mode::NotReady;
    int64_t length = 61000, position = 0;
    bool failOpen = false;
    bool open(const std::string& path) override {
        opened.push_back(path);
        if (failOpen) return false;
        current = Mode::Stopped;
        position = 0;
        return true;
    }
    void close() override { current = Mode::NotReady; }
    void play() override { current = Mode::Playing; }
    void pause() override { current = Mode::Paused; }
    void stop() override { current = Mode::Stopped; }
    void rewind() override { position = 0; }
    Mode mode() const override { return current; }
    int64_t lengthMs() const override { return length; }
    int64_t positionMs() const override { return position; }
    void setPositionMs(int64_t p) override { position = p; }
    std::string lastError() const override { return "The device cannot play this file."; }
};

// The window: a tab, the visible tree, one selected node per tree and one selected row per list.
struct ScriptedView : PlayerView {
    MusicDatabase* db = nullptr;
    int tab = 1;
    bool musicTree = true;
    std::map<bool, const TreeNode*> treeSelection;
    std::map<int, size_t> listSelection;
    Panel last;
    bool playNowEnabled = true;

    ItemList* list(int t) const {
        switch (t) {
        case 1: return &db->musicList();
        case 2: return &db->playList();
        case 4: return &db->favorites();
        default: return nullptr;
        }
    }
    int activeTab() const override { return tab; }
    bool musicTreeVisible() const override { return musicTree; }
    std::vector<TDataRec*> selection() const override {
        if (tab == 0) {
            auto it = treeSelection.find(musicTree);
            if (it == treeSelection.end() || !it->second || !it->second->data()) return {};
            return {it->second->data()};
        }
        const ListItem* item = selectedListItem(tab);
        return item ? std::vector<TDataRec*>{item->data()} : std::vector<TDataRec*>{};
    }
    const TreeNode* selectedTreeNode(bool m) const override {
        auto it = treeSelection.find(m);
        return it == treeSelection.end() ? nullptr : it->second;
    }
    void selectTreeNode(bool m, const TreeNode* node) override { treeSelection[m] = node; }
    const ListItem* selectedListItem(int t) const override {
        auto it = listSelection.find(t);
        return it == listSelection.end() || !list(t) ? nullptr : list(t)->at(it->second);
    }
    void selectListItem(int t, size_t index) override { listSelection[t] = index; }
    void focusActiveView() override {}
    void showPanel(const Panel& panel) override { last = panel; }
    void setPlayNowEnabled(bool enabled) override { playNowEnabled = enabled; }
};

// The local drive C: with Music\a.mp3, b.mp3, c.mp3 and the CD POP01 (Pop\p.mp3), in no drive.
struct PlayerFixture : CatalogFixture {
    ScriptedPlayer media;
    ScriptedView view;
    std::unique_ptr<BuiltInPlayer> player;
    PlayerFixture() {
        services.drives = platform::DriveTable({{'C', platform::DriveKind::Fixed, dir.file("hd"), "DATA"},
                                                {'E', platform::DriveKind::CdRom, dir.file("cd"), std::nullopt}},
                                               dir.path());
        file("cd/Pop/p.mp3");
        add({{"E:\\", false}}, "Pop CD", "POP01");
        for (const char* name : {"a", "b", "c"}) file("hd/Music/" + std::string(name) + ".mp3");
        add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
        fs::remove_all(dir.file("cd"));
        session->DetectCDDrives();
        session->settings.ConfirmOpts[ConfirmSkip] = false;
        session->settings.ConfirmOpts[AutoSkipDisk] = true;
        view.db = &db();
        player = std::make_unique<BuiltInPlayer>(*session, media, view);
    }
    TDataRec* song(const std::string& caption) { return db().findSong(caption); }
    size_t musicIndex(const std::string& caption) { return db().musicList().indexOf(song(caption)->MusicListItem); }
    void playMusicListRow(size_t row) {
        view.tab = 1;
        view.listSelection[1] = row;
        player->ButtonPlayNowClick();
    }
};

TEST(BuiltInPlayerTest, PlaysTheCopyFirstThenWhereTheSongLiesAndACdGivenUpPlaysNothing) {
    PlayerFixture f;
    // The CD song's copy in the destination plays without asking for the CD.
    f.session->settings.PathToDB = "Out";
    writeFile(f.dir.file("Out/Pop CD -POP01-/Pop/p.mp3"), "copy");
    f.playMusicListRow(f.musicIndex("Pop CD /POP01/\\Pop\\p.mp3"));
    ASSERT_EQ(f.media.opened.size(), 1u);
    EXPECT_EQ(f.media.opened[0], f.dir.file("Out/Pop CD -POP01-/Pop/p.mp3"));
    EXPECT_TRUE(f.ui.shown.empty());
    EXPECT_EQ(f.player->panel().sliderMaximum, 123); // 61 s
    EXPECT_NE(f.player->panel().hint.find("\n\n"), std::string::npos);

    // A local song plays from its drive.
    f.playMusicListRow(f.musicIndex("Drive <C> /DATA/\\Music\\b.mp3"));
    EXPECT_EQ(f.media.opened.back(), f.dir.file("hd/Music/b.mp3"));
    EXPECT_FALSE(f.view.playNowEnabled);

    // Without its copy the CD is asked for; given up, nothing plays and Play now comes back.
    fs::remove_all(f.dir.file("Out"));
    f.playMusicListRow(f.musicIndex("Pop CD /POP01/\\Pop\\p.mp3"));
    EXPECT_EQ(f.media.opened.size(), 2u);
    EXPECT_TRUE(f.view.playNowEnabled);
    EXPECT_EQ(f.ui.shown.back().kind, "insert");

    // A file that has gone, and one the device refuses.
    fs::remove(f.dir.file("hd/Music/c.mp3"));
    f.playMusicListRow(f.musicIndex("Drive <C> /DATA/\\Music\\c.mp3"));
    EXPECT_EQ(f.ui.shown.back().kind, "errorbox");
    EXPECT_EQ(f.ui.shown.back().text, f.dir.file("hd/Music/c.mp3") + "\nFile not found. It must has been replaced.");
    f.media.failOpen = true;
    f.playMusicListRow(f.musicIndex("Drive <C> /DATA/\\Music\\a.mp3"));
    EXPECT_EQ(f.ui.shown.back().text, "The device cannot play this file.");
    EXPECT_FALSE(f.player->panel().playerEnabled);
}

TEST(BuiltInPlayerTest, ButtonsOfEachModeAndNextAndPrevInListsAndTrees) {
    PlayerFixture f;
    const size_t a = f.musicIndex("Drive <C> /DATA/\\Music\\a.mp3");
    f.playMusicListRow(a);
    const auto& p = f.player->panel();
    EXPECT_TRUE(!p.playEnabled && p.pauseEnabled && p.stopEnabled && p.nextEnabled && p.prevEnabled && p.timerOn);
    f.media.pause();
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Pause);
    EXPECT_TRUE(p.playEnabled && p.pauseEnabled && p.stopEnabled && p.timerOn);
    f.media.stop();
    f.media.position = 5000;
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Stop);
    EXPECT_TRUE(p.playEnabled && !p.pauseEnabled && !p.stopEnabled && p.nextEnabled && !p.timerOn);
    EXPECT_EQ(f.media.position, 0); // rewound

    // Next and Prev in the list the song was started from; at the ends the same song again.
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next);
    EXPECT_EQ(f.media.opened.back(), f.dir.file("hd/Music/b.mp3"));
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Prev);
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Prev);
    EXPECT_EQ(f.player->PlayStartIndex(), 0u);
    const size_t last = f.db().musicList().size() - 1;
    f.playMusicListRow(last);
    const std::string lastFile = f.media.opened.back();
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next);
    EXPECT_EQ(f.media.opened.back(), lastFile);
    EXPECT_EQ(f.player->PlayStartIndex(), last);

    // Next in another tab than the start tab plays that tab's selection.
    f.db().SetStatus(f.song("Drive <C> /DATA/\\Music\\b.mp3"), ssFavorites);
    f.view.tab = 4;
    f.view.listSelection[4] = 0;
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next);
    EXPECT_EQ(f.media.opened.back(), f.dir.file("hd/Music/b.mp3"));

    // The music tree: the next song of the Music List; the tree selection follows.
    f.view.tab = 0;
    f.view.musicTree = true;
    f.view.treeSelection[true] = f.song("Drive <C> /DATA/\\Music\\a.mp3")->MusicNode;
    f.player->ButtonPlayNowClick();
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next);
    EXPECT_EQ(f.view.treeSelection[true], f.song("Drive <C> /DATA/\\Music\\b.mp3")->MusicNode);
    EXPECT_EQ(f.media.opened.back(), f.dir.file("hd/Music/b.mp3"));

    // The folder tree: the next song in depth-first order, and back.
    f.view.musicTree = false;
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next);
    EXPECT_EQ(f.view.treeSelection[false], f.song("Drive <C> /DATA/\\Music\\c.mp3")->FolderNode);
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Prev);
    EXPECT_EQ(f.view.treeSelection[false], f.song("Drive <C> /DATA/\\Music\\b.mp3")->FolderNode);
}

TEST(BuiltInPlayerTest, TheSliderFollowsSmallDragsAreUndoneLargeOnesSeekAndTheEndStops) {
    PlayerFixture f;
    f.playMusicListRow(f.musicIndex("Drive <C> /DATA/\\Music\\a.mp3"));
    for (int64_t position = 500; position <= 10000; position += 500) { // the song plays on to step 20
        f.media.position = position;
        f.player->Timer1Timer();
    }
    EXPECT_EQ(f.player->panel().sliderPosition, 20);
    for (int drag : {1, 2}) {
        f.player->setSliderPosition(20 + drag);
        f.player->Timer1Timer();
        EXPECT_EQ(f.player->panel().sliderPosition, 20) << drag;
        EXPECT_EQ(f.media.position, 10000);
    }
    f.player->setSliderPosition(24);
    f.player->Timer1Timer();
    EXPECT_EQ(f.media.position, 12000);
    EXPECT_EQ(f.media.current, Mode::Playing);

    f.player->setSliderPosition(f.player->panel().sliderMaximum);
    f.player->Timer1Timer();
    EXPECT_EQ(f.media.current, Mode::Stopped);
    EXPECT_EQ(f.media.position, 0);
    EXPECT_EQ(f.player->panel().sliderPosition, 0);
    EXPECT_FALSE(f.player->panel().timerOn);

    EXPECT_EQ(BuiltInPlayer::sliderMaximum(61000), 123);
    EXPECT_EQ(BuiltInPlayer::sliderMaximum(1250), 3); // 2.5 rounds to 2
    EXPECT_EQ(BuiltInPlayer::shortenedPath("E:\\Music\\Rock\\Old\\a.mp3"), "E:\\...\\Rock\\Old\\a.mp3");
    EXPECT_EQ(BuiltInPlayer::shortenedPath("E:\\Rock\\Old\\a.mp3"), "E:\\Rock\\Old\\a.mp3");
    EXPECT_EQ(BuiltInPlayer::shortenedPath("/media/cd/Rock/Old/a.mp3"), "/.../Rock/Old/a.mp3");
}

TEST(BuiltInPlayerTest, ASongThatLeavesTheDatabaseIsForgotten) {
    PlayerFixture f;
    f.playMusicListRow(f.musicIndex("Drive <C> /DATA/\\Music\\a.mp3"));
    ASSERT_NE(f.player->PlayingRec(), nullptr);
    f.db().removeSongs({f.song("Drive <C> /DATA/\\Music\\a.mp3")});
    EXPECT_EQ(f.player->PlayingRec(), nullptr);
    f.player->MPlayerPostClick(BuiltInPlayer::Button::Next); // nothing to go on from; no crash
}

} // namespace
} // namespace velmo::test
