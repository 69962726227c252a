#include "app/NativePathLookup.h"

#include "app/Session.h"
#include "catalog/DiskPrompt.h"
#include "musicdb/MusicDatabase.h"
#include "platform/Drives.h"

namespace velmo {

namespace {

// Whether a top-level node is a disk of drive `letter` as the machine has it now.
bool isDiskOfDrive(Session& s, const TreeNode* disk, char letter) {
    const std::string& text = disk->text();
    const size_t lt = text.find('<');
    if (lt != std::string::npos && lt + 2 < text.size() && text[lt + 2] == '>') return text[lt + 1] == letter;
    if (s.drives().kind(letter) != platform::DriveKind::CdRom) return false;
    // An optical disk is reached through the drive it lies in; nothing is read from an empty one.
    const std::optional<std::string> label = s.drives().volumeLabel(letter);
    return label && splitDiskText(text).label == *label;
}

} // namespace

std::vector<TreeNode*> nodesOfNativePath(Session& s, const std::string& nativePath) {
    const std::optional<std::string> onDrive = s.drives().nativeToCatalog(nativePath);
    if (!onDrive || onDrive->size() < 2) return {};
    const char letter = onDrive->front();
    // "X:\a\b" -> "\a\b"; the root "X:\" -> "".
    std::string rest = onDrive->substr(2);
    if (rest == "\\") rest.clear();
    std::vector<TreeNode*> nodes;
    const Tree& tree = s.db.musicTree();
    for (size_t i = 0; i < tree.topLevelCount(); ++i) {
        TreeNode* disk = tree.topLevel(i);
        if (!isDiskOfDrive(s, disk, letter)) continue;
        if (rest.empty()) {
            nodes.push_back(disk);
        } else if (TreeNode* node = s.db.findNode(tree, disk->text() + rest)) {
            nodes.push_back(node);
        }
    }
    return nodes;
}

} // namespace velmo
