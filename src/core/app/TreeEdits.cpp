#include "app/TreeEdits.h"

#include <algorithm>

#include "app/Session.h"
#include "app/StatusCommands.h"
#include "base/MessageTable.h"
#include "base/RefusedCharacters.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "musicdb/RootFolders.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "util/TextEncoding.h"

namespace velmo {

namespace {

bool isLocalDiskImage(int image) { return image == iiHardDiskRoot || image == iiHardDisk; }

const TreeNode* diskOf(const TreeNode* node) {
    while (node->parent()) node = node->parent();
    return node;
}

// The drive letter of a disk text "Drive <C> /L/": the character after its first "<".
std::optional<char> driveLetterOf(const std::string& diskText) {
    const size_t lt = diskText.find('<');
    if (lt == std::string::npos || lt + 1 >= diskText.size()) return std::nullopt;
    return diskText[lt + 1];
}

bool holdsControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string folderOf(const std::string& nativePath) {
    const size_t slash = nativePath.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : nativePath.substr(0, slash);
}

// Strictly below `root`, never the root itself.
bool isBelow(const std::string& folder, const std::string& root) {
    if (root == "/") return folder.size() > 1;
    return folder.size() > root.size() + 1 && folder.starts_with(root) && folder[root.size()] == '/';
}

std::optional<std::string> refusedDiskText(const TreeNode* disk, const std::string& newText) {
    const std::string& old = disk->text();
    const size_t first = old.find(" /");
    const std::string suffix = first == std::string::npos ? std::string() : old.substr(first);
    if (suffix.empty() || newText.size() <= suffix.size() || !newText.ends_with(suffix))
        return "A disk's name must keep its label: it has to end in \"" + suffix + "\".";
    std::string description = newText.substr(0, newText.size() - suffix.size());
    if (isLocalDiskImage(disk->imageIndex())) {
        const std::string mark = "<" + std::string(1, driveLetterOf(old).value_or('?')) + ">";
        const size_t at = description.find(mark);
        if (at == std::string::npos || description.find('<') != at)
            return "A local drive's name must keep its drive letter " + mark + ".";
        description.erase(at, mark.size());
    }
    if (holdsRefusedCharacter(description) || holdsControlCharacter(description))
        return "A disk's description must not hold line breaks, TABs or any of the characters \\ / : * ? \" < > |.";
    return std::nullopt;
}

} // namespace

bool TreeViewMusicTreeEditing(const TreeNode* node) {
    return node && (!node->parent() || isLocalDiskImage(diskOf(node)->imageIndex()));
}

bool TreeViewFoldersEditing(const TreeNode* folderTreeNode) {
    if (!folderTreeNode || !isSongImage(folderTreeNode->imageIndex())) return false;
    const TDataRec* rec = folderTreeNode->data();
    return rec && rec->MusicNode && isLocalDiskImage(diskOf(rec->MusicNode)->imageIndex());
}

TreePath GetTreePath(const TreeNode* node) {
    TreePath p;
    const TreeNode* disk = diskOf(node);
    p.ShellDisk = disk->text();
    for (const TreeNode* n = node; n != disk; n = n->parent())
        p.path = p.path.empty() ? n->text() : n->text() + "\\" + p.path;
    const std::optional<char> letter = driveLetterOf(p.ShellDisk);
    p.HardRoot = letter ? std::string(1, *letter) + ":" : ":";
    return p;
}

std::string ConvertToPath(const std::string& caption) {
    const size_t backslash = caption.find('\\');
    const std::string rest = backslash == std::string::npos ? std::string() : caption.substr(backslash);
    const std::optional<char> letter = caption.find('<') < backslash ? driveLetterOf(caption) : std::nullopt;
    return letter ? std::string(1, *letter) + ":" + rest : rest;
}

std::optional<std::string> refusedNewText(const TreeNode* node, const std::string& newText) {
    if (newText == node->text()) return std::nullopt;
    if (!node->parent()) return refusedDiskText(node, newText);
    if (newText.empty() || newText == "." || newText == ".." || newText.front() == ' ' ||
        holdsRefusedCharacter(newText) || holdsControlCharacter(newText))
        return "A name must not be empty, \".\" or \"..\", begin with a blank, or hold line breaks, TABs or any of "
               "the characters \\ / : * ? \" < > |.";
    for (size_t i = 0; i < node->parent()->childCount(); ++i) {
        const TreeNode* sibling = node->parent()->child(i);
        if (sibling != node && sibling->text() == newText) return "\"" + newText + "\" exists already in this folder.";
    }
    return std::nullopt;
}

bool TreeViewMusicTreeEdited(Session& s, TreeNode* node, const std::string& typed) {
    if (!TreeViewMusicTreeEditing(node)) return false;
    // A file or folder name in bytes that are not UTF-8 is held as the scan holds such names.
    const std::string newText = node->parent() ? fileNameToText(textToFileName(typed)) : typed;
    if (newText == node->text()) return true;
    if (auto why = refusedNewText(node, newText)) {
        s.ui.showError(*why);
        return false;
    }
    if (node->parent()) {
        // On the disk first: when the file system refuses, the database keeps naming the file
        // that is really there.
        const TreePath place = GetTreePath(node);
        const std::optional<std::string> native = s.drives().catalogToNative(place.HardRoot + "\\" + place.path);
        if (!native) {
            s.ui.showError("\"" + node->text() + "\" cannot be renamed: the drive " + place.HardRoot +
                           " is not on this machine.");
            return false;
        }
        const std::string target = folderOf(*native) + "/" + textToFileName(newText);
        if (auto reason = platform::renamePath(*native, target)) {
            s.ui.showError("\"" + *native + "\" cannot be renamed to \"" + newText + "\": " + *reason + ".");
            return false;
        }
    }
    s.db.renameNode(node, newText);
    s.ui.processMessages();
    RootFolders(s.db).FollowRename(node);
    s.db.notifyStatisticsChanged();
    return true;
}

bool DeleteSelectedFiles(Session& s, const std::vector<TDataRec*>& selection, bool physical) {
    const ConfirmOptions& o = s.settings.ConfirmOpts;
    if ((physical ? o[ConfirmDiskDel] : o[ConfirmDel]) &&
        !s.ui.askYesNo(s.messages[msgConfirmDeleting],
                       s.messages[physical ? msgDeleteFromDiskQuestion : msgDeleteQuestion], false))
        return false;
    if (selection.empty()) return true;

    SetSelStatus(s, selection, ssUsed);
    if (physical) {
        for (auto it = selection.rbegin(); it != selection.rend(); ++it) {
            const std::string caption = musicTreePath((*it)->MusicNode);
            if (caption.find('<') == std::string::npos || caption.find('<') > caption.find('\\')) continue;
            const std::string onDrive = ConvertToPath(caption);
            const std::optional<std::string> file = s.drives().catalogToNative(onDrive);
            const std::optional<std::string> root = s.drives().rootPath(onDrive.front());
            if (!file || !root) continue;
            // A file that cannot be deleted stays; its song leaves the database all the same.
            platform::removeFile(*file);
            for (std::string folder = folderOf(*file);
                 isBelow(folder, *root) && platform::removeEmptyFolder(folder);
                 folder = folderOf(folder)) {
            }
        }
    }
    s.db.removeSongs(selection);
    s.ui.processMessages();
    s.db.notifyStatisticsChanged();
    return true;
}

} // namespace velmo
