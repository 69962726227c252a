#include "app/AddDiskDialog.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "app/Session.h"
#include "base/RefusedCharacters.h"
#include "base/UserInterface.h"
#include "catalog/Disks.h"
#include "catalog/FolderScan.h"
#include "platform/Drives.h"
#include "util/AsciiCase.h"

namespace velmo {

namespace {

bool contains(const std::vector<char>& letters, char letter) {
    return std::find(letters.begin(), letters.end(), asciiUpper(letter)) != letters.end();
}

} // namespace

AddDiskDialog::AddDiskDialog(Session& session) : s_(session) {
    caption_ = s_.messages[msgAddDiskCaption];
    ResetForm();
}

std::string AddDiskDialog::hint() const {
    std::string text;
    for (const FolderRow& row : rows_) {
        if (!text.empty()) text += '\n';
        text += row.caption;
    }
    return text;
}

void AddDiskDialog::changed() {
    if (onStateChanged) onStateChanged();
}

void AddDiskDialog::ButtonAddCDClick() {
    caption_ = s_.messages[msgAddDiskCaption];
    s_.DetectCDDrives();
    s_.db.DiskAdded = false;
    ResetForm();
    PendingFolders.clear();
}

void AddDiskDialog::ResetForm() {
    LabelRead = false;
    busy_ = false;
    closeEnabled_ = true;
    refreshEnabled_ = false;
    labelText_ = s_.messages[msgChooseDiskFolder];
    setDescription({});
    descriptionEnabled_ = true;
    rows_.clear();
    rooted_ = RootedState::Unchecked;
}

void AddDiskDialog::setDescription(const std::string& text) {
    description_ = text;
    // A pasted text can hold what typing refuses; such a description would make a disk text
    // whose label cannot be found again, so Add waits until it is corrected.
    DescriptionOK = !text.empty() && !holdsRefusedCharacter(text);
}

void AddDiskDialog::descriptionChanged(const std::string& text) { setDescription(text); }

void AddDiskDialog::LoadFolderList(std::vector<std::string> paths, bool shiftHeld) {
    PendingFolders = std::move(paths);
    const auto first = std::find_if(PendingFolders.begin(), PendingFolders.end(),
                                    [](const std::string& p) { return !p.empty(); });
    if (first != PendingFolders.end()) {
        const char drive = asciiUpper(first->front());
        // All rows always belong to one drive.
        if (!rows_.empty() && asciiUpper(rows_.front().caption.front()) != drive) {
            rows_.clear();
            setDescription({});
        }
        for (const std::string& path : PendingFolders) {
            if (path.empty() || asciiUpper(path.front()) != drive) continue;
            auto row = std::find_if(rows_.begin(), rows_.end(), [&](const FolderRow& r) { return r.caption == path; });
            if (row == rows_.end()) rows_.push_back({path, shiftHeld});
            else row->checked = shiftHeld;
        }
    }
    UpDateRootedCheckBox();
}

void AddDiskDialog::folderChosen(const std::string& path, bool shiftHeld) {
    AddedByDragDrop = false;
    rows_.clear();
    LoadFolderList({path}, shiftHeld);
}

void AddDiskDialog::UpDateRootedCheckBox() {
    const auto checked = std::count_if(rows_.begin(), rows_.end(), [](const FolderRow& r) { return r.checked; });
    if (checked == 0) rooted_ = RootedState::Unchecked;
    else if (static_cast<size_t>(checked) == rows_.size()) rooted_ = RootedState::Checked;
    else rooted_ = RootedState::Partial;
}

void AddDiskDialog::setRowChecked(size_t row, bool checked) {
    if (row >= rows_.size()) return;
    rows_[row].checked = checked;
    UpDateRootedCheckBox();
}

void AddDiskDialog::setAllRooted(bool checked) {
    for (FolderRow& row : rows_) row.checked = checked;
    rooted_ = checked ? RootedState::Checked : RootedState::Unchecked;
}

void AddDiskDialog::removeRows(std::vector<size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        if (*it < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
    UpDateRootedCheckBox();
}

AddDiskDialog::Focus AddDiskDialog::refresh() {
    platform::DriveTable& drives = s_.drives();
    refreshEnabled_ = false;
    LabelRead = false;
    labelText_ = s_.messages[msgDetectingLabel];
    changed();
    s_.ui.processMessages();
    if (rows_.empty()) {
        // Every row was deleted: there is no drive to read.
        labelText_ = s_.messages[msgChooseDiskFolder];
        closeEnabled_ = true;
        return Focus::None;
    }

    const char letter = asciiUpper(rows_.front().caption.front());
    const bool cd = contains(drives.cdDrives(), letter);
    std::string label = GetCDVolume(drives, letter);
    if (label == kNoDisk) {
        label = s_.messages[msgNoDisk];
        if (cd) descriptionEnabled_ = true;
        if (description_.find('<') != std::string::npos) setDescription({});
    } else {
        LabelRead = true;
        if (drives.rawVolumeLabel(letter) != label)
            s_.ui.showNotice(s_.messages[msgInformation],
                             std::string("The volume label of drive ") + letter +
                                 ": holds characters a disk name cannot carry; it is used as \"" + label + "\".");
        if (cd) {
            descriptionEnabled_ = true;
            // A hard disk's fixed description left from an earlier choice must not name a CD.
            if (description_.find('<') != std::string::npos) setDescription({});
        } else {
            descriptionEnabled_ = false;
            description_ = hardDiskDescription(s_.messages, letter);
            DescriptionOK = true;
        }
    }
    labelText_ = label;
    refreshEnabled_ = true;

    Focus focus = Focus::None;
    if (LabelRead) {
        if (DescriptionOK) {
            focus = Focus::AddButton;
        } else {
            setDescription(TryToFillDescr(s_.db, label));
            focus = Focus::Description;
        }
    }
    closeEnabled_ = true;
    return focus;
}

std::vector<std::string> AddDiskDialog::collectDroppedFolders(const std::vector<std::string>& nativePaths,
                                                              const platform::DriveTable& drives) {
    namespace fs = std::filesystem;
    std::vector<std::string> folders;
    for (const std::string& name : nativePaths) {
        if (name.empty()) continue;
        fs::path path = fs::path(name).lexically_normal();
        if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) path = path.parent_path();
        std::error_code ec;
        fs::path folder;
        if (fs::is_directory(path, ec)) {
            folder = path;
        } else if (fs::exists(path, ec) && fs::is_directory(path.parent_path(), ec)) {
            folder = path.parent_path();
        } else {
            continue;
        }
        std::optional<std::string> catalog = drives.nativeToCatalog(folder.string());
        if (!catalog) continue;
        if (catalog->back() != '\\') *catalog += '\\';
        if (std::find(folders.begin(), folders.end(), *catalog) == folders.end()) folders.push_back(*catalog);
    }
    return folders;
}

bool AddDiskDialog::dropOnDialog(const std::vector<std::string>& nativePaths, bool shiftHeld) {
    s_.DetectCDDrives();
    std::vector<std::string> folders = collectDroppedFolders(nativePaths, s_.drives());
    if (folders.empty()) return false;
    caption_ = s_.messages[msgAddDiskCaption];
    LoadFolderList(std::move(folders), shiftHeld);
    AddedByDragDrop = true;
    return true;
}

bool AddDiskDialog::dropOnMainWindow(const std::vector<std::string>& nativePaths, bool shiftHeld) {
    s_.DetectCDDrives();
    std::vector<std::string> folders = collectDroppedFolders(nativePaths, s_.drives());
    if (folders.empty()) return false;
    caption_ = s_.messages[msgAddDiskCaption];
    ResetForm();
    LoadFolderList(std::move(folders), shiftHeld);
    AddedByDragDrop = true;
    return true;
}

bool AddDiskDialog::silentAddApplies() const {
    const platform::DriveTable& drives = s_.drives();
    if (!s_.settings.SilentAddingMode || PendingFolders.empty() || PendingFolders.front().empty()) return false;
    return !s_.settings.OnlyForHDDs || contains(drives.hardDrives(), PendingFolders.front().front());
}

bool AddDiskDialog::runAdd() {
    const platform::DriveTable& drives = s_.drives();
    if (!addEnabled()) return false;
    std::vector<AddItem> items;
    for (const FolderRow& row : rows_) items.push_back({row.caption, row.checked});
    caption_ = s_.messages[msgAddingInProgress];
    closeEnabled_ = false;
    busy_ = true;
    changed();
    DriveTableScanDrives scanDrives(drives);
    try {
        FolderScan(s_.scanContext(), scanDrives).ButtonAddFolderClick(items, description_, labelText_);
    } catch (const std::runtime_error& e) {
        // What was added up to the failure stays; the list stays for another try.
        caption_ = s_.messages[msgAddDiskCaption];
        closeEnabled_ = true;
        busy_ = false;
        s_.ui.showError(e.what());
        return false;
    }
    caption_ = s_.messages[msgAddDiskCaption] + " " + s_.messages[msgDone];
    ResetForm();
    return true;
}

std::optional<std::string> AddDiskDialog::whyAddIsDisabled() const {
    if (rows_.empty()) return s_.messages[msgChooseDiskFolder];
    if (!LabelRead) return labelText_;
    if (!DescriptionOK)
        return "A disk description must not be empty or hold any of the characters \\ / : * ? \" < > |.";
    return std::nullopt;
}

std::optional<std::string> AddDiskDialog::prepareAdd(const std::vector<std::string>& paths, bool rooted,
                                                     const std::optional<std::string>& description) {
    ButtonAddCDClick();
    const platform::DriveTable& drives = s_.drives();
    std::vector<std::string> nativePaths;
    std::optional<char> drive;
    for (const std::string& path : paths) {
        std::optional<std::string> native = path;
        if (path.size() >= 2 && path[1] == ':') {
            std::string catalog = path;
            catalog[0] = asciiUpper(catalog[0]);
            if (drives.kind(catalog[0]) == platform::DriveKind::None) native.reset();
            else if (!(native = drives.catalogToNative(catalog))) return s_.messages[msgNoDisk];
        }
        const std::vector<std::string> folders =
            native ? collectDroppedFolders({*native}, drives) : std::vector<std::string>{};
        if (folders.empty()) return "\"" + path + "\" is no folder or file on a drive of Drives.ini.";
        if (drive && asciiUpper(folders.front().front()) != *drive)
            return "The folders of one add must lie on one drive: \"" + path + "\" does not.";
        drive = asciiUpper(folders.front().front());
        nativePaths.push_back(*native);
    }
    if (!dropOnMainWindow(nativePaths, rooted)) return s_.messages[msgChooseDiskFolder];
    refresh();
    if (LabelRead && description && descriptionEnabled_) descriptionChanged(*description);
    return whyAddIsDisabled();
}

bool AddDiskDialog::closesAfterAdd() const {
    return s_.settings.AutoCloseAddDiskForm && (!s_.settings.OnlyAfterDnD || AddedByDragDrop);
}

bool AddDiskDialog::FormClose() {
    if (!s_.db.DiskAdded) return false;
    s_.db.DiskAdded = false;
    closeEnabled_ = false;
    busy_ = true;
    caption_ = s_.messages[msgApplyingChanges];
    return true;
}

} // namespace velmo
