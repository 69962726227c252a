#pragma once
#include <map>
#include <string>

namespace velmo::gui {

// Captions and hints of the main window's controls, by control name. Texts the program has
// always shown are kept as they are (typos included: users and language files know them).
struct ControlText {
    const char* caption;
    const char* hint;
};

inline const std::map<std::string, ControlText>& mainFormTexts() {
    static const std::map<std::string, ControlText> texts = {
        {"TabSheetMusicDB", {"Music Data Base", ""}},
        {"ButtonMakePlayList", {"Make playlist", "Make random playlist from available songs"}},
        {"ButtonOptions", {"Options", "Change the settings of the current profile"}},
        {"ButtonExit", {"Exit", "Quit the program (Esc)"}},
        {"ButtonPressToStart", {"Press to start", "Start copying files from disks"}},
        {"ButtonManageDB", {"Manage DB >>", "Music data base menu"}},
        {"BitBtnUsed", {"", "Mark selected file(s) as used"}},
        {"BitBtnUnUsed", {"", "Mark selected file(s) as unused"}},
        {"BitBtnFav", {"", "Add selected file(s) to Favorites"}},
        {"BitBtnBlack", {"", "Add selected file(s) to Black List"}},
        {"BitBtnPlayList", {"", "Add selected file(s) to the current playlist (random position)"}},
        {"BitBtnJustGood", {"", "Mark selected file(s) as Just Good"}},
        {"ButtonSwitchView", {"Switch view", "Switch to another three (Ctrl+~)"}},
        {"ButtonDelete", {"Delete", "Delete the selected files (Delete)"}},
        {"ButtonSelectAll1", {"Select All", "Select every item of the list (Ctrl+A)"}},
        {"BitBtnJustGood5", {"", "Open extended Just Good menu"}},
        {"ComboBoxProfiles", {"", "Choose a profile"}},
        {"ButtonProfile", {"Profile >>", "Profile management menu"}},
        {"EditNewProfile", {"", "Enter the profile name"}},
        {"ButtonRootControl",
         {"Switch to root control mode",
          "Activates root control mode, which allows you to change root folders/disks for the folder tree (F5)"}},
        {"ButtonRoot", {"Root", "Mark the selected folder(s)/disk(s) as root one(s) (Ctrl+R)"}},
        {"ButtonSimple", {"Simple", "Clear root mark from the selected folder/disk (Ctrl+S)"}},
        {"ButtonFinish", {"Finish", "Quit from root-control mode and apply changes (if any) (F5 or Esc)"}},
        {"ButtonPlayNow", {"Play now !", "Plays the selected items (Enter)"}},
        {"ButtonSearchPrev", {"<<", "Previous search result (Alt+F3)"}},
        {"ButtonSearchNext", {">>", "Next search result (F3)"}},
        {"ButtonSearch", {"Search", "Tries to to find the entered text in file names (Enter)"}},
        {"EditSearch", {"", "Enter a substring to find"}},
        {"BitBtnShowCopyProgress", {"", "Show the copying progress window"}},
        {"MenuItemAddDisk", {"Add disk...", "Add another disk/folder to your database (Ctrl+Alt+A)"}},
        {"MenuItemLoadBase", {"Load base...", "Replace the music data base by another file"}},
        {"MenuItemSaveBase", {"Save base", "Save the music data base (Ctrl+Alt+S)"}},
        {"MenuItemSaveDBAs", {"Save DB as...", "Save the music data base under another name"}},
        {"MenuItemAddtoDB", {"Add to DB...", "Add an existing music data base to the current one"}},
        {"MenuItemResetIcons", {"Reset icons", "Mark heard songs as unused again"}},
        {"MenuItemClearDB", {"Clear DB", "Empty the music data base in memory"}},
        {"NewProfileMenuItem", {"New", "Create a new profile"}},
        {"RenameProfileMenuItem", {"Rename", "Rename the current profile"}},
        {"DeleteProfileMenuItem",
         {"Delete",
          "Delete the current profile (won't delete the folder, but the current profile will disappear from the list)"}},
        {"MenuItemUnUsed", {"Unused", "Mark selected file(s) as Just Good unused"}},
        {"MenuItemUsed", {"Used", "Mark selected file(s) as Just Good used"}},
        {"MenuItemPlayList", {"PlayList", "Add selected file(s) to the current playlist (random position)"}},
        {"ContextMenuItemShellOpen", {"Explorer", "Opens the selected item by the specified command (Shift+Enter)"}},
        {"ContextMenuItemReloadTag", {"Reload tag", "Reloads tags of the selected item(s)"}},
        {"ContextMenuItemPlayNow", {"Play now !", "Plays the selected items (Enter)"}},
        {"ContextMenuItemDelete", {"Delete", "Delete the selected files (Delete)"}},
        {"ContextMenuItemUsed", {"Used", "Mark selected file(s) as used"}},
        {"ContextMenuItemUnUsed", {"Unused", "Mark selected file(s) as unused"}},
        {"ContextMenuItemBlack", {"BlackList", "Add selected file(s) to Black List"}},
        {"ContextMenuItemFavorites", {"Favorites", "Add selected file(s) to Favorites"}},
        {"ContextMenuItemPlayList", {"PlayList", "Add selected file(s) to the current playlist (random position)"}},
        {"ContextMenuItemJustGood", {"Just Good", "Mark selected file(s) as Just Good"}},
        {"ContextMenuRootItemJustGood", {"Just Good", ""}},
        {"ContextMenuItemGoodUnUsed", {"Unused", "Mark selected file(s) as Just Good unused"}},
        {"ContextMenuItemGoodUsed", {"Used", "Mark selected file(s) as Just Good used"}},
        {"ContextMenuItemGoodPlayList", {"PlayList", "Add selected file(s) to the current playlist (random position)"}},
    };
    return texts;
}

} // namespace velmo::gui
