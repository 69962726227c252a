#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

class Tree;

// A database file whose structure or names cannot be taken: a line too deep, or a name that
// could reach outside its folder. The text names the line.
class DatabaseFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Nesting deeper than this is refused: no real path comes near it, and it keeps the
// recursive steps of loading within the stack.
constexpr int kMaxDatabaseLevel = 1000;

// Writes the music tree as the database file: one line per node in pre-order, a TAB per
// level, "name:image:0" for disks and folders, "name:image:size:tag" for songs, CR LF after
// every line. `sink` receives the bytes in pieces of about a megabyte.
void writeDatabase(const Tree& musicTree, const std::function<void(std::string_view)>& sink);
std::string formatDatabase(const Tree& musicTree);

// The contents of a database file read as an indented tree (the hidden load tree): lines in
// pre-order with their levels. Nodes are addressed by their line index.
class LoadTree {
public:
    struct Line {
        std::string_view text; // after the leading TABs and blanks
        uint32_t level = 0;
        uint32_t subtreeEnd = 0; // index of the first line after this node's descendants
    };

    // Reads text in any of the line-end styles (CR LF, CR, LF); a file that is not UTF-8 is
    // read as Windows-1252. Throws DatabaseFormatError "Invalid level (%d) for item "%s"" when
    // a line is more than one level deeper than the one before it.
    static LoadTree parse(std::string bytes);

    size_t size() const { return lines_.size(); }
    size_t textSize() const { return text_.size(); }
    bool empty() const { return lines_.empty(); }
    const Line& line(size_t i) const { return lines_[i]; }
    bool hasChildren(size_t i) const { return lines_[i].subtreeEnd > i + 1; }
    // First line number in the file is 1.
    size_t lineNumber(size_t i) const { return i + 1; }

private:
    std::string text_;
    std::vector<Line> lines_;
};

// What a line of the database file says about its node.
struct NodeInfo {
    std::string_view name;
    int32_t icon = 0;
    int32_t size = 0;
    std::string_view tag;
    bool hasTag = false;
};

// Splits a line text at its colons: name, icon, size, and the tag string when a third colon
// follows. Throws ConversionError when icon or size is not a number.
NodeInfo GetNodeInfo(std::string_view lineText);

// Checks a name read from a file before it becomes a node. Empty names, "." and "..", and
// names holding "\" (or "/" below the disk level, where a disk carries its label between
// slashes) would let copy, rename and delete reach outside their folders.
bool isAcceptableNodeName(std::string_view name, bool isDisk);

} // namespace velmo
