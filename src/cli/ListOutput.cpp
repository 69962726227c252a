#include "ListOutput.h"

#include <charconv>
#include <ostream>
#include <string>

#include "musicdb/ItemList.h"
#include "musicdb/TDataRec.h"
#include "musicdb/Tree.h"

namespace velmo::cli {

namespace {

// Lines are gathered in large pieces: a million songs written line by line through the stream
// would cost more than building them.
class LineBuffer {
public:
    explicit LineBuffer(std::ostream& out) : out_(out) { text_.reserve(kPiece + 4096); }
    ~LineBuffer() { flush(); }
    std::string& text() { return text_; }
    void number(unsigned value) {
        char digits[8];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        text_.append(digits, end);
    }
    void endLine() {
        text_.push_back('\n');
        if (text_.size() >= kPiece) flush();
    }

private:
    static constexpr size_t kPiece = size_t{1} << 20;
    void flush() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }
    std::ostream& out_;
    std::string text_;
};

} // namespace

void writeListLines(std::ostream& out, const ItemList& list) {
    LineBuffer buffer(out);
    // Songs of one folder follow each other: the path of the folder is built once for them.
    const TreeNode* folder = nullptr;
    std::string folderPath;
    for (const ListItem* item = list.first(); item; item = list.next(item)) {
        buffer.number(item->imageIndex());
        buffer.text().push_back('\t');
        const TDataRec* rec = item->data();
        const TreeNode* node = rec ? rec->MusicNode : nullptr;
        if (node && node->parent()) {
            if (node->parent() != folder) {
                folder = node->parent();
                folderPath = musicTreePath(folder);
                folderPath.push_back('\\');
            }
            buffer.text() += folderPath;
            buffer.text() += node->text();
        } else {
            buffer.text() += item->caption();
        }
        buffer.endLine();
    }
}

void writeTreeLines(std::ostream& out, const Tree& tree) {
    LineBuffer buffer(out);
    tree.forEach([&](const TreeNode* node, int level) {
        buffer.text().append(static_cast<size_t>(level), '\t');
        buffer.text() += node->text();
        buffer.text().push_back('\t');
        buffer.number(node->imageIndex());
        buffer.endLine();
    });
}

} // namespace velmo::cli
