#include "musicdb/TIDTag.h"


#include "util/IntConversion.h"

namespace velmo {

namespace {

constexpr char kSep = '\x01';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when the escaped comment ends in "%" and a digit, the form of a hundreds marker.
bool endsWithMarker(std::string_view comment) {
    return comment.size() >= 2 && comment[comment.size() - 2] == '%' && isDigit(comment.back());
}

} // namespace

std::string MakeTagStr(const TIDTag& tag) {
    std::string s;
    s.reserve(tag.title.size() + tag.artist.size() + tag.album.size() + tag.year.size() +
              tag.comment.size() + 12);
    // A separator inside a field (from wherever the tag came) would shift the fields after it.
    auto appendField = [&s](const std::string& text) {
        const size_t at = s.size();
        s.append(text);
        if (text.find(kSep) != std::string::npos)
            for (size_t i = at; i < s.size(); ++i)
                if (s[i] == kSep) s[i] = ' ';
    };
    appendField(tag.title);
    s.push_back(kSep);
    appendField(tag.artist);
    s.push_back(kSep);
    appendField(tag.album);
    s.push_back(kSep);
    appendField(tag.year);
    s.push_back(kSep);
    appendField(tag.comment);
    // The marker is decided on the escaped comment, which is what a reader sees; escaping
    // never changes how a comment ends unless it ends in a line break.
    if (tag.track >= 100 || endsWithMarker(tag.comment)) {
        s.push_back('%');
        s.push_back(static_cast<char>('0' + tag.track / 100));
    }
    const int track = tag.track % 100;
    s.push_back(static_cast<char>('0' + track / 10));
    s.push_back(static_cast<char>('0' + track % 10));
    s.push_back(static_cast<char>('0' + tag.genre / 100));
    s.push_back(static_cast<char>('0' + tag.genre / 10 % 10));
    s.push_back(static_cast<char>('0' + tag.genre % 10));
    bool hasBreak = false;
    for (char c : s) hasBreak = hasBreak || c == '\r' || c == '\n';
    if (hasBreak) s = replaceAll(replaceAll(std::move(s), "\n", "%n"), "\r", "%r");
    return s;
}

void ExtractTag(TIDTag& tag, std::string_view s) {
    if (s.empty()) {
        tag = TIDTag{};
        return;
    }
    size_t start = 0;
    std::string* targets[4] = {&tag.title, &tag.artist, &tag.album, &tag.year};
    for (std::string* target : targets) {
        size_t sep = s.find(kSep, start);
        if (sep == std::string_view::npos) return;
        target->assign(s.substr(start, sep - start));
        start = sep + 1;
    }
    // The comment runs up to, and without, the last five characters.
    std::string_view comment;
    if (s.size() >= start + 5) comment = s.substr(start, s.size() - 5 - start);
    std::string_view tail = s.size() >= 5 ? s.substr(s.size() - 5) : s;
    int track = strToInt(tail.substr(0, tail.size() >= 2 ? 2 : tail.size()));
    int genre = strToInt(tail.size() > 2 ? tail.substr(2) : std::string_view{});
    if (endsWithMarker(comment)) {
        int hundreds = comment.back() - '0';
        if (hundreds * 100 + track <= 255 && track >= 0) {
            track += hundreds * 100;
            comment.remove_suffix(2);
        }
    }
    tag.comment = replaceAll(replaceAll(std::string(comment), "%n", "\n"), "%r", "\r");
    // Out-of-range numbers wrap to a byte, as the fixed-width fields of the tag do.
    tag.track = static_cast<uint8_t>(track);
    tag.genre = static_cast<uint8_t>(genre);
}

std::string canonicalTagString(std::string_view s) {
    TIDTag tag;
    ExtractTag(tag, s);
    return MakeTagStr(tag);
}

} // namespace velmo
