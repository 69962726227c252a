#pragma once
#include <array>
#include <string>
#include <string_view>

#include "musicdb/TIDTag.h"

namespace velmo {

class MessageTable;
struct TDataRec;

// The genres of the ID3v1 standard, 0 "Blues" to 79 "Hard Rock".
extern const std::array<std::string_view, 80> GenreNames;

// Reads the ID3v1 block (the last 128 bytes) of a music file into `tag`. A missing, short or
// unreadable file leaves `tag` unchanged and returns false; a block without "TAG" empties it.
// Text fields are taken as UTF-8 when they are valid UTF-8, else as Latin-1.
bool ReadTag(const std::string& nativePath, TIDTag& tag);

// Parses a 128-byte ID3v1 block; false (and `tag` untouched) when the block has no "TAG".
bool parseId3v1Block(std::string_view block, TIDTag& tag);

// The size as the hint shows it: over 1 MB in MB with two decimals, else in KB with one,
// halves to the even neighbour, no trailing zeros ("3.5 MB", "4 MB", "812.3 KB").
std::string sizeText(int64_t bytes, const MessageTable& messages);

// The hint of a song: its tag lines (when `showTag`), then the file size.
std::string BuildTagHint(const TDataRec& rec, const MessageTable& messages, bool showTag);

} // namespace velmo
