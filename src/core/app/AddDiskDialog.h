#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

namespace platform {
class DriveTable;
}
struct Session;

// One row of the add-disk dialog's folder list: a folder of the drive ("E:\Pop\", "E:\") and
// its check box, the root mark of that folder.
struct FolderRow {
    std::string caption;
    bool checked = false;

    bool operator==(const FolderRow&) const = default;
};

// The three looks of the "Add as root folder(s)" check box.
enum class RootedState { Unchecked, Checked, Partial };

// The add-disk dialog without its widgets: the folders to add (all of one drive), the disk's
// label and description, the root marks, and the rules that decide when Add may run, what the
// label field says and what a drop brings in. The window shows this state and forwards the
// user's actions; an add run goes through here so the dialog and the database stay in step.
class AddDiskDialog {
public:
    // Where the window should put the input focus after the disk was read.
    enum class Focus { None, AddButton, Description };

    explicit AddDiskDialog(Session& session);

    // Called when the shown state changed in the middle of an action, just before window
    // messages are pumped (while the label is read, when an add run starts), so the window
    // can show it.
    std::function<void()> onStateChanged;

    // The folders of the last choice or drop, each ending in a backslash.
    std::vector<std::string> PendingFolders;
    // The label of the list's drive was read.
    bool LabelRead = false;
    // The description is not empty (and holds no character a disk text cannot carry).
    bool DescriptionOK = false;
    // The folders came by drag and drop (cleared when the chooser is used).
    bool AddedByDragDrop = false;

    const std::vector<FolderRow>& rows() const { return rows_; }
    // The text of the label field: a status text or the volume label.
    const std::string& labelText() const { return labelText_; }
    const std::string& description() const { return description_; }
    bool descriptionEnabled() const { return descriptionEnabled_; }
    bool closeEnabled() const { return closeEnabled_; }
    bool refreshEnabled() const { return refreshEnabled_; }
    // Add is possible exactly when the label was read and the description is set (and no add
    // run or closing is under way).
    bool addEnabled() const { return LabelRead && DescriptionOK && !busy_; }
    // The dialog's caption.
    const std::string& caption() const { return caption_; }
    // The folder list's hint: every row caption, one per line.
    std::string hint() const;
    RootedState rootedState() const { return rooted_; }

    // Opening by the Add disk command: the caption, the drives detected again, a fresh
    // DiskAdded, an empty form.
    void ButtonAddCDClick();
    // Empties the form: no folders, "<choose disk/folder>", an empty editable description,
    // Add and Refresh disabled, Close enabled.
    void ResetForm();
    // Loads `paths` (they become the pending folders) into the list. All rows belong to one
    // drive, that of the first path: rows of another drive are replaced (the description goes
    // with them), paths of any other drive are left out, a listed folder is not listed twice.
    // Each loaded row's check box becomes `shiftHeld`.
    void LoadFolderList(std::vector<std::string> paths, bool shiftHeld);
    // The chooser gave one folder: it replaces the list and ends any drag-and-drop adding.
    void folderChosen(const std::string& path, bool shiftHeld);

    // A row's check box was clicked.
    void setRowChecked(size_t row, bool checked);
    // A click on "Add as root folder(s)": every row takes the box's new state.
    void setAllRooted(bool checked);
    // Delete in the list: removes these rows (indexes into rows(); unknown ones are ignored).
    void removeRows(std::vector<size_t> indexes);

    // Refresh (F5): reads the label of the rows' drive and decides the description: a hard
    // disk's is fixed ("Drive <C>"), a CD's is proposed from a disk of the same label already
    // in the database. Returns where the focus should go.
    Focus refresh();
    // The user edited the description.
    void descriptionChanged(const std::string& text);

    // The folders to list for dropped files and folders (paths on this machine): a folder
    // stands for itself, a file for the folder holding it; each folder once, in the order
    // met; what lies on no drive or does not exist is left out.
    static std::vector<std::string> collectDroppedFolders(const std::vector<std::string>& nativePaths,
                                                          const platform::DriveTable& drives);

    // Files and folders dropped onto the dialog: their folders join the list (those of the
    // list's drive) and the adding counts as drag and drop. False, with nothing changed, when
    // the drop holds no usable folder.
    bool dropOnDialog(const std::vector<std::string>& nativePaths, bool shiftHeld);
    // Dropped onto the main window: as above, but the form starts empty.
    bool dropOnMainWindow(const std::vector<std::string>& nativePaths, bool shiftHeld);

    // The silent adding mode applies to the pending folders: it is on and, with "Only for
    // hard drives", their drive is a hard disk.
    bool silentAddApplies() const;
    // Runs the add over the listed folders with the description and label, then empties the
    // form. A failure is reported to the user and keeps the list; returns whether it ran.
    bool runAdd();
    // Why Add cannot run now (no disk in the drive, no usable description); nothing when it can.
    std::optional<std::string> whyAddIsDisabled() const;

    // The add of the command line, through the same steps as the window: the paths (on this
    // machine, or catalogue paths such as "E:\Pop") are dropped onto the main window with
    // their root marks, the disk is read, and `description` replaces the proposed one when
    // the disk is a CD. Returns why the add cannot run, or nothing when runAdd may follow.
    std::optional<std::string> prepareAdd(const std::vector<std::string>& paths, bool rooted,
                                          const std::optional<std::string>& description);
    // Whether the dialog closes by itself after an add run.
    bool closesAfterAdd() const;
    // The dialog is closing: when the run added songs, Close and Add are disabled and the
    // caption says the changes are applied. Returns whether that was so.
    bool FormClose();

private:
    void UpDateRootedCheckBox();
    void setDescription(const std::string& text);
    void changed();

    Session& s_;
    std::vector<FolderRow> rows_;
    std::string labelText_;
    std::string description_;
    std::string caption_;
    bool descriptionEnabled_ = true;
    bool closeEnabled_ = true;
    bool refreshEnabled_ = false;
    bool busy_ = false;
    RootedState rooted_ = RootedState::Unchecked;
};

} // namespace velmo
