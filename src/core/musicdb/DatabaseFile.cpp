#include "musicdb/DatabaseFile.h"

#include <algorithm>
#include <charconv>

#include "musicdb/MusicDatabase.h"
#include "musicdb/Tree.h"
#include "platform/HugePages.h"
#include "util/IntConversion.h"
#include "util/TextEncoding.h"

namespace velmo {

namespace {

void appendNumber(std::string& out, int64_t value) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, end);
}

std::string formatMessage(std::string pattern, std::initializer_list<std::pair<std::string_view, std::string>> args) {
    for (const auto& [key, value] : args) pattern = replaceAll(std::move(pattern), key, value);
    return pattern;
}

} // namespace

void writeDatabase(const Tree& musicTree, const std::function<void(std::string_view)>& sink) {
    constexpr size_t kChunk = 1 << 20;
    std::string buffer;
    buffer.reserve(kChunk + 4096);
    musicTree.forEach([&](TreeNode* node, int level) {
        buffer.append(static_cast<size_t>(level), '\t');
        buffer.append(node->text());
        buffer.push_back(':');
        appendNumber(buffer, node->imageIndex());
        if (isSongImage(node->imageIndex())) {
            const TDataRec* rec = node->data();
            buffer.push_back(':');
            appendNumber(buffer, rec ? rec->Size : 0);
            buffer.push_back(':');
            buffer.append(rec ? rec->TagStr : kEmptyTagString);
        } else {
            buffer.append(":0");
        }
        buffer.append("\r\n");
        if (buffer.size() >= kChunk) {
            sink(buffer);
            buffer.clear();
        }
    });
    if (!buffer.empty()) sink(buffer);
}

std::string formatDatabase(const Tree& musicTree) {
    std::string out;
    writeDatabase(musicTree, [&](std::string_view piece) { out.append(piece); });
    return out;
}

LoadTree LoadTree::parse(std::string bytes) {
    LoadTree tree;
    tree.text_ = decodeOwnedTextFile(std::move(bytes));
    std::string_view all = tree.text_;
    // One line table of the right size: a million lines would otherwise be copied as it grows.
    tree.lines_.reserve(static_cast<size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
    platform::adviseHugePages(tree.lines_.data(), tree.lines_.capacity() * sizeof(Line));

    // Levels of the open ancestors of the current line, for the subtree ends.
    std::vector<uint32_t> openLines;
    size_t pos = 0;
    while (pos < all.size()) {
        // A plain loop: find_first_of calls memchr once per byte for its two characters.
        size_t end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
        std::string_view raw = all.substr(pos, end - pos);
        pos = end;
        if (pos < all.size()) pos += (all[pos] == '\r' && pos + 1 < all.size() && all[pos + 1] == '\n') ? 2 : 1;

        // Lines are indented with TABs, and blanks after them begin the name (" b.mp3"). Only
        // a line that begins with a blank is indented the old way, every blank a level.
        size_t depth = 0;
        if (!raw.empty() && raw.front() == '\t') {
            while (depth < raw.size() && raw[depth] == '\t') ++depth;
        } else {
            while (depth < raw.size() && (raw[depth] == '\t' || raw[depth] == ' ')) ++depth;
        }
        Line line;
        line.text = raw.substr(depth);
        if (tree.lines_.empty()) {
            line.level = 0; // the first line is a top-level node whatever its depth
        } else {
            const uint32_t previous = tree.lines_.back().level;
            if (depth > previous + 1 || depth > static_cast<size_t>(kMaxDatabaseLevel)) {
                throw DatabaseFormatError(formatMessage("Invalid level (%d) for item \"%s\"",
                                                        {{"%d", std::to_string(depth)}, {"%s", std::string(line.text)}}));
            }
            line.level = static_cast<uint32_t>(depth);
        }
        const auto index = static_cast<uint32_t>(tree.lines_.size());
        while (!openLines.empty() && tree.lines_[openLines.back()].level >= line.level) {
            tree.lines_[openLines.back()].subtreeEnd = index;
            openLines.pop_back();
        }
        openLines.push_back(index);
        tree.lines_.push_back(line);
    }
    for (uint32_t i : openLines) tree.lines_[i].subtreeEnd = static_cast<uint32_t>(tree.lines_.size());
    return tree;
}

NodeInfo GetNodeInfo(std::string_view text) {
    NodeInfo info;
    size_t first = text.find(':');
    info.name = text.substr(0, first);
    std::string_view rest = first == std::string_view::npos ? std::string_view{} : text.substr(first + 1);
    size_t second = rest.find(':');
    info.icon = strToInt(rest.substr(0, second == std::string_view::npos ? 0 : second));
    rest = rest.substr(second + 1);
    size_t third = rest.find(':');
    if (third != std::string_view::npos) {
        info.size = strToInt(rest.substr(0, third));
        info.tag = rest.substr(third + 1);
        info.hasTag = true;
    } else {
        info.size = strToInt(rest);
    }
    return info;
}

bool isAcceptableNodeName(std::string_view name, bool isDisk) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find('\\') != std::string_view::npos || name.find('\0') != std::string_view::npos) return false;
    return isDisk || name.find('/') == std::string_view::npos;
}

} // namespace velmo
