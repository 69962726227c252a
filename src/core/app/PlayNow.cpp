#include "app/PlayNow.h"

#include <algorithm>

#include "app/ExternalPlay.h"
#include "app/Session.h"
#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "catalog/Disks.h"
#include "catalog/ID3v1.h"
#include "musicdb/ItemList.h"
#include "platform/FileIO.h"
#include "playlist/DestinationFolder.h"
#include "util/FloatText.h"

namespace velmo {

namespace {

ItemList* listOfTab(MusicDatabase& db, int tab) {
    switch (tab) {
    case 1: return &db.musicList();
    case 2: return &db.playList();
    case 3: return &db.blackList();
    case 4: return &db.favorites();
    case 5: return &db.justGood();
    default: return nullptr;
    }
}

// The node after `node` in depth-first order, or nullptr.
const TreeNode* nextInDepthFirst(const TreeNode* node) {
    if (node->hasChildren()) return node->firstChild();
    for (const TreeNode* n = node; n; n = n->parent())
        if (const TreeNode* sibling = n->nextSibling()) return sibling;
    return nullptr;
}

// The node before `node` in depth-first order, or nullptr.
const TreeNode* previousInDepthFirst(const TreeNode* node, const Tree& tree) {
    const TreeNode* parent = node->parent();
    const size_t row = node->row();
    if (row == 0) return parent;
    const TreeNode* n = tree.child(parent, row - 1);
    while (n->hasChildren()) n = n->lastChild();
    return n;
}

} // namespace

BuiltInPlayer::BuiltInPlayer(Session& s, MediaPlayer& player, PlayerView& view) : s_(s), player_(player), view_(view) {
    s_.db.addListener(this);
}

BuiltInPlayer::~BuiltInPlayer() { s_.db.removeListener(this); }

void BuiltInPlayer::songsRemoving(const std::vector<const TDataRec*>& songs) {
    if (PlayingRec_ && std::find(songs.begin(), songs.end(), PlayingRec_) != songs.end()) PlayingRec_ = nullptr;
}

std::string BuiltInPlayer::shortenedPath(const std::string& path) {
    const bool native = !path.empty() && path.front() == '/';
    const char separator = native ? '/' : '\\';
    const size_t rootEnd = native ? 1 : path.find('\\') + 1; // after "/" or after "E:\"
    if (!native && rootEnd == 0) return path;
    std::vector<size_t> separators;
    for (size_t i = rootEnd; i < path.size(); ++i)
        if (path[i] == separator) separators.push_back(i);
    if (separators.size() < 3) return path; // at most three parts below the drive
    return path.substr(0, rootEnd) + "..." + path.substr(separators[separators.size() - 3]);
}

int BuiltInPlayer::sliderMaximum(int64_t lengthMs) {
    return static_cast<int>(roundHalfEven(static_cast<double>(lengthMs) / kTimerMs, 0)) + 1;
}

void BuiltInPlayer::ButtonPlayNowClick() {
    if (s_.settings.BuiltInPlayer)
        PlayNow();
    else
        ExternalPlayNow(s_, view_.selection());
}

void BuiltInPlayer::stopTimerAndRewind() {
    panel_.timerOn = false;
    panel_.sliderPosition = 0;
    panel_.playEnabled = panel_.nextEnabled = panel_.prevEnabled = true;
    panel_.pauseEnabled = panel_.stopEnabled = false;
}

std::string BuiltInPlayer::fileToPlay(const TDataRec* song, bool& declined) {
    const std::string caption = musicTreePath(song->MusicNode);
    // A copy in the destination folder first. Only a CD song's copy is found this way: the
    // name keeps a local song's "<" and ">", which its copy's name does not.
    std::string copyName = caption;
    std::replace(copyName.begin(), copyName.end(), '/', '-');
    if (auto destination = DestinationFolder::resolve(s_.settings.PathToDB, s_.AppDir, s_.drives())) {
        const std::string copy = destination->nativePath(copyName);
        if (platform::fileExists(copy)) return copy;
    }
    const size_t backslash = caption.find('\\');
    const std::string rest = backslash == std::string::npos ? std::string() : caption.substr(backslash);
    std::optional<char> drive;
    const size_t lt = caption.find('<');
    if (lt != std::string::npos && lt + 1 < caption.size()) {
        drive = caption[lt + 1];
    } else {
        drive = driveOfCD(s_, caption.substr(0, backslash));
        if (!drive) {
            declined = true;
            return {};
        }
    }
    const std::string catalog = std::string(1, *drive) + ":" + rest;
    return s_.drives().catalogToNative(catalog).value_or(catalog);
}

void BuiltInPlayer::PlayNow() {
    const std::vector<TDataRec*> selection = view_.selection();
    if (selection.empty()) return;
    if (fileOpen_ && player_.mode() != MediaPlayer::Mode::Stopped) {
        player_.close();
        fileOpen_ = false;
        stopTimerAndRewind();
        show();
    }
    s_.DetectCDDrives();

    const TDataRec* song = selection.front();
    PlayStartTab_ = view_.activeTab();
    if (TreeSelectAllowed_) {
        view_.selectTreeNode(true, song->MusicNode);
        if (song->FolderNode) view_.selectTreeNode(false, song->FolderNode);
    }
    if (ItemList* list = listOfTab(s_.db, PlayStartTab_)) {
        if (!view_.selectedListItem(PlayStartTab_) && list->size() > 0) view_.selectListItem(PlayStartTab_, 0);
        if (const ListItem* item = view_.selectedListItem(PlayStartTab_)) PlayStartIndex_ = list->indexOf(item);
    }
    view_.focusActiveView();
    TreeSelectAllowed_ = false;

    view_.setPlayNowEnabled(false);
    PlayingRec_ = song;
    bool declined = false;
    const std::string path = fileToPlay(song, declined);
    if (declined) {
        view_.setPlayNowEnabled(true);
        return;
    }
    if (!platform::fileExists(path)) {
        s_.ui.showErrorBox(s_.messages[msgError], path + "\n" + s_.messages[msgFileNotFound]);
        return;
    }
    panel_.playerEnabled = true;
    if (!player_.open(path)) {
        s_.ui.showErrorBox("Error", player_.lastError());
        player_.close();
        fileOpen_ = false;
        panel_.playerEnabled = false;
        show();
        return;
    }
    fileOpen_ = true;
    panel_.hint = shortenedPath(path) + "\n\n" + BuildTagHint(*song, s_.messages, s_.settings.ShowTag);
    panel_.sliderEnabled = true;
    player_.play();
    panel_.sliderMaximum = sliderMaximum(player_.lengthMs());
    MPlayerPostClick(Button::Play);
}

void BuiltInPlayer::setButtonsForMode() {
    switch (player_.mode()) {
    case MediaPlayer::Mode::Stopped:
        stopTimerAndRewind();
        player_.rewind();
        break;
    case MediaPlayer::Mode::Playing:
    case MediaPlayer::Mode::Seeking:
        panel_.playEnabled = false;
        panel_.pauseEnabled = panel_.stopEnabled = panel_.nextEnabled = panel_.prevEnabled = true;
        panel_.timerOn = true;
        break;
    case MediaPlayer::Mode::Paused:
        panel_.playEnabled = panel_.pauseEnabled = panel_.stopEnabled = panel_.nextEnabled = panel_.prevEnabled = true;
        panel_.timerOn = true;
        break;
    default: break;
    }
}

void BuiltInPlayer::MPlayerPostClick(Button button) {
    TreeSelectAllowed_ = true;
    setButtonsForMode();
    show();
    if (PlayingRec_ && (button == Button::Next || button == Button::Prev)) {
        const bool next = button == Button::Next;
        const int tab = view_.activeTab();
        if (tab == 0 && view_.musicTreeVisible()) {
            // The Music List has the music tree's order: its neighbouring item is the
            // neighbouring song of the tree.
            const ItemList& music = s_.db.musicList();
            const ListItem* item = PlayingRec_->MusicListItem;
            const size_t index = music.indexOf(item);
            const ListItem* neighbour =
                next ? music.next(item) : index > 0 ? music.at(index - 1) : nullptr; // logarithmic, no walk
            if (neighbour) view_.selectTreeNode(true, neighbour->data()->MusicNode);
        } else if (tab == 0 && PlayingRec_->FolderNode) {
            const Tree& folders = s_.db.folderTree();
            const TreeNode* n = PlayingRec_->FolderNode;
            if (next) {
                while ((n = nextInDepthFirst(n)) && !isSongImage(n->imageIndex())) {
                }
                if (n) view_.selectTreeNode(false, n);
            } else {
                while ((n = previousInDepthFirst(n, folders)) && !isSongImage(n->imageIndex())) {
                }
                view_.selectTreeNode(false, n ? n : PlayingRec_->FolderNode);
            }
        } else if (ItemList* list = listOfTab(s_.db, tab); list && tab == PlayStartTab_ && list->size() > 0) {
            size_t index = PlayStartIndex_;
            if (next)
                index = std::min(index + 1, list->size() - 1);
            else
                index = index == 0 ? 0 : index - 1;
            view_.selectListItem(tab, index);
        }
        ButtonPlayNowClick();
    }
    TreeSelectAllowed_ = false;
}

void BuiltInPlayer::Timer1Timer() {
    if (!panel_.timerOn) return;
    const int64_t p = player_.positionMs();
    const int s = panel_.sliderPosition;
    const double steps = static_cast<double>(p) / kTimerMs;
    if (s == panel_.sliderMaximum) {
        player_.setPositionMs(player_.lengthMs());
    } else if (s > roundHalfEven(steps + 3, 0) || s < roundHalfEven(steps - 3, 0)) {
        player_.setPositionMs(static_cast<int64_t>(s) * kTimerMs);
        player_.play();
        MPlayerPostClick(Button::Play);
    } else {
        panel_.sliderPosition = static_cast<int>(roundHalfEven(steps, 0));
        show();
    }
    if (player_.positionMs() >= player_.lengthMs()) {
        player_.stop();
        MPlayerPostClick(Button::Stop);
    }
}

} // namespace velmo
