#include "base/TextTable.h"

#include <stdexcept>

namespace velmo {

namespace {

constexpr TextRole C = TextRole::Caption;
constexpr TextRole H = TextRole::Hint;

// Message numbers the window captions and two group boxes follow.
constexpr size_t kMsgAddDiskCaption = 5;
constexpr size_t kMsgChooseFolderCaption = 8;
constexpr size_t kMsgOptionsCaption = 9;
constexpr size_t kMsgCopyingCaption = 14;
constexpr size_t kMsgExPlayerConfig = 61;
constexpr size_t kMsgShellExConfig = 77;

} // namespace

// Writes the table window by window. The translatable texts come in the order of the windows'
// layouts (a component before the components inside it; a caption before its hint): that order
// is the language file's and must not change.
class TextTableBuilder {
public:
    explicit TextTableBuilder(TextTable& table) : table_(table) {}

    void window(const char* name) { window_ = name; }
    void caption(const char* component, const char* text) { line(component, C, text); }
    void hint(const char* component, const char* text) { line(component, H, text); }
    void both(const char* component, const char* captionText, const char* hintText) {
        caption(component, captionText);
        hint(component, hintText);
    }
    // A text of a component the language file does not name.
    void fixed(const char* component, TextRole role, const char* text) {
        TextEntry e = entry(component, role);
        e.text = text;
        put(std::move(e));
    }
    void message(const char* component, size_t number, const char* english) {
        TextEntry e = entry(component, C);
        e.text = english;
        e.fromMessage = number;
        put(std::move(e));
    }
    // `component`'s text is that of `source` (same window), followed to the text that is held.
    void twin(const std::string& component, TextRole role, const std::string& source, TextRole sourceRole) {
        size_t from = table_.find(window_, source, sourceRole);
        if (from == TextEntry::npos) throw std::logic_error("text twin of an unknown entry: " + source);
        if (table_.entries_[from].twinOf != TextEntry::npos) from = table_.entries_[from].twinOf;
        TextEntry e = entry(component, role);
        e.twinOf = from;
        put(std::move(e));
    }
    void twins(const std::string& component, const std::string& source) {
        twin(component, C, source, C);
        twin(component, H, source, H);
    }

private:
    TextEntry entry(const std::string& component, TextRole role) const {
        TextEntry e;
        e.window = window_;
        e.component = component;
        e.role = role;
        return e;
    }
    void line(const char* component, TextRole role, const char* text) {
        TextEntry e = entry(component, role);
        e.translatable = true;
        e.text = text;
        table_.lines_.push_back(put(std::move(e)));
    }
    size_t put(TextEntry e) {
        const size_t at = table_.entries_.size();
        if (!table_.index_.emplace(TextTable::key(e.window, e.component, e.role), at).second)
            throw std::logic_error("text entered twice: " + e.window + "." + e.component);
        table_.entries_.push_back(std::move(e));
        return at;
    }

    TextTable& table_;
    std::string window_;
};

TextTable::TextTable() { buildEnglish(); }

const TextTable& TextTable::english() {
    static const TextTable table;
    return table;
}

std::string TextTable::key(std::string_view window, std::string_view component, TextRole role) {
    std::string k;
    k.reserve(window.size() + component.size() + 4);
    k.append(window).append(1, '\n').append(component).append(1, '\n').append(1, char('0' + int(role)));
    return k;
}

size_t TextTable::find(std::string_view window, std::string_view component, TextRole role) const {
    auto it = index_.find(key(window, component, role));
    return it == index_.end() ? TextEntry::npos : it->second;
}

const std::string& TextTable::text(size_t index) const {
    const TextEntry& e = entries_.at(index);
    return e.twinOf == TextEntry::npos ? e.text : entries_[e.twinOf].text;
}

const std::string* TextTable::textOf(std::string_view window, std::string_view component, TextRole role) const {
    const size_t at = find(window, component, role);
    return at == TextEntry::npos ? nullptr : &text(at);
}

bool TextTable::setText(std::string_view window, std::string_view component, TextRole role, std::string text) {
    const size_t at = find(window, component, role);
    if (at == TextEntry::npos) return false;
    TextEntry& e = entries_[at];
    if (e.twinOf != TextEntry::npos || e.fromMessage != TextEntry::npos) return false;
    e.text = std::move(text);
    return true;
}

std::vector<std::string> TextTable::languageLines() const {
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (size_t at : lines_) out.push_back(entries_[at].text);
    return out;
}

size_t TextTable::entryOfLine(size_t line) const {
    return line >= 1 && line <= lines_.size() ? lines_[line - 1] : TextEntry::npos;
}

bool TextTable::setLanguageLine(size_t line, std::string text) {
    const size_t at = entryOfLine(line);
    if (at == TextEntry::npos) return false;
    entries_[at].text = std::move(text);
    return true;
}

void TextTable::copyMessages(const std::vector<std::string>& messages) {
    for (TextEntry& e : entries_)
        if (e.fromMessage < messages.size()) e.text = messages[e.fromMessage];
}

void TextTable::buildEnglish() {
    TextTableBuilder b(*this);
    const char* const statusButtons[] = {"BitBtnUsed", "BitBtnUnUsed", "BitBtnBlack", "BitBtnFav", "BitBtnPlayList"};

    // Texts the program has always shown are kept as they are, typos included: users and
    // language files know them.
    b.window("TMainForm");
    b.caption("TabSheetMusicDB", "Music Data Base");
    b.both("ButtonMakePlayList", "Make playlist", "Make random playlist from available songs");
    b.both("ButtonOptions", "Options", "Change the settings of the current profile");
    b.both("ButtonExit", "Exit", "Quit the program (Esc)");
    b.both("ButtonPressToStart", "Press to start", "Start copying files from disks");
    b.both("ButtonManageDB", "Manage DB >>", "Music data base menu");
    b.hint("BitBtnUsed", "Mark selected file(s) as used");
    b.hint("BitBtnUnUsed", "Mark selected file(s) as unused");
    b.hint("BitBtnFav", "Add selected file(s) to Favorites");
    b.hint("BitBtnBlack", "Add selected file(s) to Black List");
    b.hint("BitBtnPlayList", "Add selected file(s) to the current playlist (random position)");
    b.hint("BitBtnJustGood", "Mark selected file(s) as Just Good");
    b.both("ButtonSwitchView", "Switch view", "Switch to another three (Ctrl+~)");
    b.both("ButtonDelete", "Delete", "Delete the selected files (Delete)");
    b.both("ButtonSelectAll1", "Select All", "Select every item of the list (Ctrl+A)");
    b.hint("BitBtnJustGood5", "Open extended Just Good menu");
    b.hint("ComboBoxProfiles", "Choose a profile");
    b.both("ButtonProfile", "Profile >>", "Profile management menu");
    b.hint("EditNewProfile", "Enter the profile name");
    b.both("ButtonRootControl", "Switch to root control mode",
           "Activates root control mode, which allows you to change root folders/disks for the folder tree (F5)");
    b.both("ButtonRoot", "Root", "Mark the selected folder(s)/disk(s) as root one(s) (Ctrl+R)");
    b.both("ButtonSimple", "Simple", "Clear root mark from the selected folder/disk (Ctrl+S)");
    b.both("ButtonFinish", "Finish", "Quit from root-control mode and apply changes (if any) (F5 or Esc)");
    b.both("ButtonPlayNow", "Play now !", "Plays the selected items (Enter)");
    b.both("ButtonSearchPrev", "<<", "Previous search result (Alt+F3)");
    b.both("ButtonSearchNext", ">>", "Next search result (F3)");
    b.both("ButtonSearch", "Search", "Tries to to find the entered text in file names (Enter)");
    b.hint("EditSearch", "Enter a substring to find");
    b.hint("BitBtnShowCopyProgress", "Show the copying progress window");
    b.both("MenuItemAddDisk", "Add disk...", "Add another disk/folder to your database (Ctrl+Alt+A)");
    b.both("MenuItemLoadBase", "Load base...", "Replace the music data base by another file");
    b.both("MenuItemSaveBase", "Save base", "Save the music data base (Ctrl+Alt+S)");
    b.both("MenuItemSaveDBAs", "Save DB as...", "Save the music data base under another name");
    b.both("MenuItemAddtoDB", "Add to DB...", "Add an existing music data base to the current one");
    b.both("MenuItemResetIcons", "Reset icons", "Mark heard songs as unused again");
    b.both("MenuItemClearDB", "Clear DB", "Empty the music data base in memory");
    b.both("NewProfileMenuItem", "New", "Create a new profile");
    b.both("RenameProfileMenuItem", "Rename", "Rename the current profile");
    b.both("DeleteProfileMenuItem", "Delete",
           "Delete the current profile (won't delete the folder, but the current profile will disappear from the list)");
    b.hint("MenuItemUnUsed", "Mark selected file(s) as Just Good unused");
    b.hint("MenuItemUsed", "Mark selected file(s) as Just Good used");
    b.both("ContextMenuItemShellOpen", "Explorer", "Opens the selected item by the specified command (Shift+Enter)");
    b.both("ContextMenuItemReloadTag", "Reload tag", "Reloads tags of the selected item(s)");
    b.caption("ContextMenuItemUsed", "Used");
    b.caption("ContextMenuItemUnUsed", "Unused");
    b.caption("ContextMenuItemBlack", "BlackList");
    b.caption("ContextMenuItemFavorites", "Favorites");
    b.caption("ContextMenuItemPlayList", "PlayList");
    b.caption("ContextMenuItemJustGood", "Just Good");
    // The status buttons and the list buttons of every tab share the texts of tab 0 (and
    // ButtonSelectAll1).
    for (int tab = 1; tab <= 5; ++tab) {
        const std::string n = std::to_string(tab);
        for (const char* button : statusButtons) b.twin(button + n, H, button, H);
        if (tab <= 4) b.twin("BitBtnJustGood" + n, H, "BitBtnJustGood", H);
        if (tab >= 2) b.twins("ButtonSelectAll" + n, "ButtonSelectAll1");
        b.twins("ButtonDelete" + n, "ButtonDelete");
    }
    b.twins("ContextMenuItemPlayNow", "ButtonPlayNow");
    b.twins("ContextMenuItemDelete", "ButtonDelete");
    b.twin("ContextMenuItemUsed", H, "BitBtnUsed", H);
    b.twin("ContextMenuItemUnUsed", H, "BitBtnUnUsed", H);
    b.twin("ContextMenuItemBlack", H, "BitBtnBlack", H);
    b.twin("ContextMenuItemFavorites", H, "BitBtnFav", H);
    b.twin("ContextMenuItemPlayList", H, "BitBtnPlayList", H);
    b.twin("ContextMenuItemJustGood", H, "BitBtnJustGood", H);
    b.twin("ContextMenuRootItemJustGood", C, "ContextMenuItemJustGood", C);
    b.twin("MenuItemUnUsed", C, "ContextMenuItemUnUsed", C);
    b.twin("MenuItemUsed", C, "ContextMenuItemUsed", C);
    b.twin("MenuItemPlayList", C, "ContextMenuItemPlayList", C);
    b.twin("MenuItemPlayList", H, "ContextMenuItemPlayList", H);
    b.twins("ContextMenuItemGoodUsed", "MenuItemUsed");
    b.twins("ContextMenuItemGoodUnUsed", "MenuItemUnUsed");
    b.twins("ContextMenuItemGoodPlayList", "MenuItemPlayList");

    b.window("TAddCDForm");
    b.caption("PanelCDLabel", "Disk label");
    b.caption("PanelCDDescr", "Disk description");
    b.hint("EditCDLabel", "Displays the label of the drive, if was detected");
    b.hint("EditCDDescription", "Describe your CD to find it easily when needed");
    b.both("ButtonClose", "Close", "Close this window (Esc)");
    b.both("ButtonRefresh", "Refresh", "Reload disk information (F5)");
    b.both("ButtonAddFolder", "Add", "Add a specified directory to the database");
    b.both("ButtonChooseFolder", "Choose  folder", "Choose a directory to add");
    b.both("CheckBoxRooted", "Add as root folder(s)",
           "If checked, the added  folder/disk will be marked as root one. Otherwise, all first-level child folders "
           "will.");
    b.message("TAddCDForm", kMsgAddDiskCaption, "Adding a disk/folder to your music data base");

    b.window("TCopyCDForm");
    b.caption("PanelNowCopyingCF", "Now copying:");
    b.caption("PanelCurDiskCF", "Current disk:");
    b.caption("PanelSongProgressCF", "Song progress:");
    b.caption("PanelGenProgressCF", "General progress:");
    b.both("ButtonSkipTrack", "Skip track", "Don't include this track to your playlist");
    b.both("ButtonSkipDisk", "Skip disk", "Stop copying files from the current disk (but save already copied files)");
    b.both("ButtonAbort", "Abort", "Stop copying process (but save already copied files)");
    b.caption("PanelDiskProgressCF", "Disk progress:");
    b.message("TCopyCDForm", kMsgCopyingCaption, "Copying files...");

    b.window("TOptionsForm");
    b.both("ButtonOK", "OK", "Apply options and save them");
    b.both("ButtonCancel", "Cancel", "Don't apply changes (Esc)");
    b.caption("TabSheetGeneralOpts", "General");
    b.caption("PanelUserExts", "User extensions:");
    b.caption("PanelPlayListSize", "Playlist size (MB):");
    b.caption("PanelDestinationPath", "Destination path:");
    b.caption("PanelLanguage", "Language:");
    b.caption("PanelGoodBehaviour", "Just Good style:");
    b.caption("PanelExtensions", "Extensions:");
    b.hint("EditWithExts", "Enter additional extensions here (e.g. aif or aif;mp2;)");
    b.hint("EditMDBSize", "Maximal size of each playlist (in megabytes)");
    b.hint("EditMDBPath", "The folder where files will be copied to");
    b.hint("EditFixGoodSize", "Enter how many percent should Just Good files occupy");
    b.hint("ComboBoxLanguages", "Choose a language of the application");
    b.hint("ComboBoxGoodBehavior", "Decide how Just Good files will be marked after they were in a playlist");
    b.hint("ComboBoxFixGoodSize",
           "Choose which size will be determinative for the size of Just Good files in each playlist");
    b.both("CheckBoxFixGoodSize", "Fix size of Just Good files in playlist by",
           "If checked, a size of Just Good files in the current playlist will be near the specified value (if "
           "possible). Otherwise, the size will be random.");
    b.both("ButtonChooseDBPath", "...", "Browse for a folder");
    b.both("CheckBoxShowHints", "Show hints when mouse is over a file item",
           "If checked, a hint will appear when the mouse pointer is over a file");
    b.both("CheckBoxDontShowTag", "Don't show file tag information",
           "If checked, you will only see a file size in a hint");
    b.caption("TabSheetConfirmOpts", "Confirmations");
    b.both("CheckBoxConfirmExit", "Close the application with confirmation",
           "If checked, you will be asked for confirmation to close VelmoMusicDB");
    b.both("CheckBoxConfirmSaving", "Confirm saving the database before exit",
           "If checked, you will be asked about saving the unsaved database. Otherwise the chosen action will be "
           "performed.");
    b.both("CheckBoxConfirmLargePlayList", "Confirm copying files, if the playlist is too large",
           "If checked, you will get a confirmation window if your playlist's size exceeds the size specified in "
           "options");
    b.both("CheckBoxCopyFromHDD", "Confirm copying files from local drives (i.e. hard disks)",
           "If checked, you will be asked about copying files from HDDs to the music DB directory. Otherwise the "
           "chosen setting will be applied.");
    b.both("CheckBoxSkip", "Confirm skipping",
           "If checked, you will get a confirmation window for skipping the selected item");
    b.both("CheckBoxShowPlayListFileName",
           "Show a window with a result playlist file name after completing all operations",
           "If checked, a window with a result playlist file name will appear after copying files");
    b.hint("ComboBoxSkip", "Choose items that require confirmation for skipping");
    b.hint("ComboBoxConfirmSaving", "Choose if the program will save the databse on exit");
    b.hint("ComboBoxCopyFromDHH", "Choose how the program will operate with hard drives");
    b.both("CheckBoxShowNoFilesFolderWarn",
           "Show an information window, if a folder being added contains no files of required types",
           "If checked, a window with a path to a folder, that doesn't contain needed files, will appear after an "
           "attempt to add it");
    b.both("CheckBoxConfirmDel", "Confirm deleting files from the database",
           "Check it, if you want to be asked before deleting files from your database");
    b.both("CheckBoxConfirmDelFromDisk", "Confirm deleting files from a disk",
           "Check it, if you want to be asked before deleting files from a disk");
    b.caption("TabSheetOtherOpts", "Other");
    b.both("CheckBoxFocusAfterDragNDrop", "Bring the program to the foreground after using drag'n'drop",
           "If checked, VelmoMusicDB will automatically bring the window to the front after you drag'n'drop "
           "something on it");
    b.both("CheckBoxLastVisitedTab", "Remember the last visited tab",
           "If checked, VelmoMusicDB will automatically switch to the last visited tab after loading");
    b.both("CheckBoxLastVisitedTree", "Remember the last visited tree",
           "If checked, VelmoMusicDB will automatically switch to the last visited tree after loading");
    b.both("CheckBoxAutoExpand", "Automatically expand a selected item and collapse all other ones",
           "If checked, only a selected tree item will be expanded, all others will be collapsed. This makes "
           "navigation easier.");
    b.both("CheckBoxAutoCloseAddCDForm", "Automatically close the \"Add disk\" window when I press \"Add\" button",
           "If checked, you won't have to press the \"Close\" button after adding a folder");
    b.both("CheckBoxOnlyAfterDnD", "Only after using drag'n'drop",
           "If checked, the previous option will work only after you have used drag'n'drop");
    b.both("CheckBoxSilentAddMode", "Used silent folder adding mode",
           "If checked, you won't have to press or fill anything while adding a folder: the default values will "
           "be used");
    b.both("CheckBoxOnlyForHDDs", "Only for hard drives",
           "If checked, the silent folder adding mode will work only for hard drives");
    b.caption("PanelShellCommand", "Shell command:");
    b.hint("EditShellCommand",
           "Enter a command to be executed (you can use global variables like %ProgramFiles%; use %file% to sign a "
           "passed object; separate an application executable from parameters by > symbol)");
    b.both("ButtonBrowseForShellApp", "...", "Browse for the application");
    b.both("CheckBoxPassDir", "Pass a selected item's parent directory instead of itself",
           "If checked, the parent directory will be passed by %file% parameter");
    b.both("CheckBoxOnlyIfFile", "Only if an item is a file",
           "If checked, the parent directory will be passed by %file% parameter only if an item is a file");
    b.caption("TabSheetPlayNow", "Play now !");
    b.caption("PanelApplicationPath", "Application path:");
    const char* const applicationHint =
        "Full path to the executable file of a player (you can use global variables like %ProgramFiles%)";
    b.hint("EditApplicationPath", applicationHint);
    b.both("ButtonBrowseForTheApp", "...", applicationHint);
    b.caption("PanelParameterBefore", "Parameter before:");
    b.hint("EditParameterBefore", "Enter the parameter to be passed to the player before anything else");
    b.caption("PanelParameterAfter", "Parameter after:");
    b.hint("EditParameterAfter", "Enter the parameter to be passed to the player after anything else");
    b.caption("PanelFileListExt", "File list extension:");
    b.hint("EditFileListExt", "Enter the playlist extension (must be supported by the player)");
    b.both("CheckBoxPassFirstSeparately", "Pass separately in the beginning",
           "If checked, the \"parameter before\" will be passed to the player in a separate command before passing "
           "the file");
    b.both("CheckBoxPassLastSeparately", "Pass separately at the end",
           "If checked, the \"parameter after\" will be passed to the player in a separate command after passing "
           "the file");
    b.both("CheckBoxPassLastBeforeFile", "Pass before the file",
           "If checked, the \"parameter after\" will be passed to the player before last file (i.e. /param "
           "\"List.m3u\", not \"List.m3u\" /param)");
    b.caption("PanelFirstLine", "First line of the list:");
    b.hint("EditFirstLine", "This string will appear in the playlist before files");
    b.hint("ComboBoxPlayNowConfig", "Select a configuration for an external player");
    b.message("TOptionsForm", kMsgOptionsCaption, "Options");
    b.message("GroupBoxExPlayerConfig", kMsgExPlayerConfig, "External player configuration");
    b.message("GroupBoxShellExConfig", kMsgShellExConfig, "Shell execute configuration");
    const char* const extensions[][2] = {{"CheckBoxMP3", "mp3"}, {"CheckBoxWMA", "wma"}, {"CheckBoxOGG", "ogg"},
                                         {"CheckBoxWAV", "wav"}, {"CheckBoxAPE", "ape"}, {"CheckBoxMID", "mid"}};
    for (const auto& [box, extension] : extensions) b.fixed(box, C, extension);
    b.fixed("LabelPercent", C, "%");
    b.fixed("RadioButtonBuiltIn", C, "Built-in player");
    b.fixed("RadioButtonBuiltIn", H,
            "If checked, the internal player of the program will be used to play files with \"Play now !\" function");
    b.fixed("RadioButtonExternal", C, "External player:");
    b.fixed("RadioButtonExternal", H,
            "If checked, an external player will be used to play files with \"Play now !\" function");

    b.window("TOpenFolderForm");
    b.both("ButtonChoose", "Choose", "Choose the selected folder");
    b.both("ButtonCancel", "Cancel", "Close the window without choosing a folder (Esc)");
    b.message("TOpenFolderForm", kMsgChooseFolderCaption, "Choose folder...");

    // The start-up logo is a picture; its lines are drawn from these.
    b.window("TLogoForm");
    b.fixed("ImageLogoTitle", C, "Velmo");
    b.fixed("ImageLogoSubtitle", C, "MusicDataBase");
    b.fixed("ImageLogoVersion", C, "v2.07  loading...");

    if (lines_.size() != kLanguageLines) throw std::logic_error("the language file layout lost a line");
}

} // namespace velmo
