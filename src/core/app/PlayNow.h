#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/MediaPlayer.h"
#include "musicdb/MusicDatabase.h"

namespace velmo {

struct Session;
struct TDataRec;
class ListItem;
class TreeNode;

// The window as the built-in player sees it: which tab and tree are showing, what is selected,
// and the player panel to set. Tabs: 0 the trees, 1 Music List, 2 Playlist, 3 Black List,
// 4 Favorites, 5 Just Good.
class PlayerView {
public:
    virtual ~PlayerView() = default;
    virtual int activeTab() const = 0;
    virtual bool musicTreeVisible() const = 0;
    // The songs "Play now !" acts on: the selected songs and the songs below selected disks and
    // folders, in display order.
    virtual std::vector<TDataRec*> selection() const = 0;
    // The selected node of a tree (the first, in display order), or nullptr.
    virtual const TreeNode* selectedTreeNode(bool musicTree) const = 0;
    // Makes a node the only selection of its tree (nullptr: nothing selected).
    virtual void selectTreeNode(bool musicTree, const TreeNode* node) = 0;
    // The first selected item of a tab's list, or nullptr; makes `index` the only selection.
    virtual const ListItem* selectedListItem(int tab) const = 0;
    virtual void selectListItem(int tab, size_t index) = 0;
    // Gives the focus to what the tab shows (the visible tree, or the list).
    virtual void focusActiveView() = 0;

    // The player panel.
    struct Panel {
        bool playEnabled = false, pauseEnabled = false, stopEnabled = false, nextEnabled = false,
             prevEnabled = false;
        bool playerEnabled = false; // off until a song is opened, and after a failed open
        bool timerOn = false;
        bool sliderEnabled = false;
        int sliderPosition = 0;
        int sliderMaximum = 300;
        std::string hint; // the shortened path, two line breaks, the song's tag hint
    };
    virtual void showPanel(const Panel& panel) = 0;
    virtual void setPlayNowEnabled(bool enabled) = 0;
};

// "Play now !" with the built-in player, its buttons, and the timer that moves the slider.
// One step of the slider is one timer interval.
class BuiltInPlayer : private DatabaseListener {
public:
    static constexpr int kTimerMs = 500;
    enum class Button { Play, Pause, Stop, Next, Prev };

    BuiltInPlayer(Session& s, MediaPlayer& player, PlayerView& view);
    ~BuiltInPlayer() override;
    BuiltInPlayer(const BuiltInPlayer&) = delete;
    BuiltInPlayer& operator=(const BuiltInPlayer&) = delete;

    // "Play now !": the built-in player when BuiltInPlayer is on, else the external player.
    void ButtonPlayNowClick();
    // Plays the first song of the selection: its copy in the destination, else where it lies,
    // asking for its CD.
    void PlayNow();
    // After a player button did its own action: buttons and timer from the mode; Next and Prev
    // move the selection to the neighbouring song and play it.
    void MPlayerPostClick(Button button);
    // Every timer interval: the slider follows the song; a drag of more than three steps seeks,
    // a drag to the end stops the song at once.
    void Timer1Timer();
    // The user moved the slider.
    void setSliderPosition(int position) { panel_.sliderPosition = position; }

    // The song started last, the tab it was started from and its index in that tab's list.
    const TDataRec* PlayingRec() const { return PlayingRec_; }
    int PlayStartTab() const { return PlayStartTab_; }
    size_t PlayStartIndex() const { return PlayStartIndex_; }
    const PlayerView::Panel& panel() const { return panel_; }

    // "E:\Music\Rock\Old\a.mp3" as "E:\...\Rock\Old\a.mp3"; a path of at most three parts
    // below its drive as it is. Native paths ("/media/cd/Music/...") likewise with "/".
    static std::string shortenedPath(const std::string& path);
    // Length / 500 rounded (halves to even), plus one.
    static int sliderMaximum(int64_t lengthMs);

private:
    void setButtonsForMode();
    std::string fileToPlay(const TDataRec* song, bool& declined);
    void show() { view_.showPanel(panel_); }
    void stopTimerAndRewind();
    // A song that leaves the database is no longer the one to go on from.
    void songsRemoving(const std::vector<const TDataRec*>& songs) override;
    void databaseCleared() override { PlayingRec_ = nullptr; }

    Session& s_;
    MediaPlayer& player_;
    PlayerView& view_;
    PlayerView::Panel panel_;
    const TDataRec* PlayingRec_ = nullptr;
    int PlayStartTab_ = 0;
    size_t PlayStartIndex_ = 0;
    bool fileOpen_ = false;
    // Set while Next or Prev moves the selection: then the trees' selection follows the song.
    bool TreeSelectAllowed_ = false;
};

} // namespace velmo
