// The last 128 bytes of a music file, whatever they hold: no crash, the tag fields carry no
// control character, and the tag goes through its database form and back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalog/ID3v1.h"
#include "musicdb/TIDTag.h"
#include "util/TextEncoding.h"

namespace {
// Valid UTF-8 without control characters; only the comment may hold line breaks.
bool clean(const std::string& field, bool comment = false) {
    for (char c : field)
        if (static_cast<unsigned char>(c) < 0x20 && !(comment && (c == '\r' || c == '\n'))) return false;
    return velmo::isValidUtf8(field);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    std::string block(reinterpret_cast<const char*>(data), size < 128 ? size : 128);
    block.resize(128, '\0');
    if (size >= 3 && size % 2 == 0) block.replace(0, 3, "TAG"); // most inputs reach the fields
    TIDTag tag;
    if (!parseId3v1Block(block, tag)) return 0;
    for (const std::string* f : {&tag.title, &tag.artist, &tag.album, &tag.year})
        if (!clean(*f)) abort();
    if (!clean(tag.comment, true)) abort();
    // The database line writes line breaks as "%n" and "%r" and has no escape for "%" itself,
    // so a comment that holds those two letters after a "%" cannot come back as it was.
    if (tag.comment.find("%n") != std::string::npos || tag.comment.find("%r") != std::string::npos) return 0;
    const std::string line = MakeTagStr(tag);
    if (line.find_first_of("\r\n") != std::string::npos) abort();
    TIDTag back;
    ExtractTag(back, line);
    if (!(back == tag)) abort();
    if (canonicalTagString(line) != line) abort();
    return 0;
}
