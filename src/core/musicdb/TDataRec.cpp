#include "musicdb/TDataRec.h"

#include <vector>

#include "musicdb/Tree.h"

namespace velmo {

TIDTag TDataRec::IDTag() const {
    TIDTag tag;
    // TagStr is always canonical (written by MakeTagStr or checked on load), so this cannot throw.
    ExtractTag(tag, TagStr);
    return tag;
}

std::string musicTreePath(const TreeNode* node) {
    if (!node) return {};
    const TreeNode* chain[64];
    std::vector<const TreeNode*> deep;
    size_t depth = 0;
    size_t length = 0;
    for (const TreeNode* n = node; n; n = n->parent()) {
        if (depth < 64) chain[depth] = n;
        else deep.push_back(n);
        ++depth;
        length += n->text().size() + 1;
    }
    auto at = [&](size_t i) { return i < 64 ? chain[i] : deep[i - 64]; };
    std::string path;
    path.reserve(length);
    for (size_t i = depth; i-- > 0;) {
        path += at(i)->text();
        if (i) path += '\\';
    }
    return path;
}

} // namespace velmo
