#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo {

// The ID3v1 fields of a song. An empty tag has empty texts, track 0 and genre 255.
struct TIDTag {
    std::string album;
    std::string artist;
    std::string title;
    std::string comment;
    std::string year;
    uint8_t track = 0;
    uint8_t genre = 255;

    bool operator==(const TIDTag&) const = default;
};

// The one-line form of a tag in the database file: title, artist, album, year and comment
// separated by byte 01, the track as at least two digits, the genre as three; line feeds
// become "%n" and carriage returns "%r".
//
// A track of 100 or more does not fit the two-digit place. Its hundreds digit is written as
// "%" and that digit at the very end of the comment, so "Live%1" + "23" reads back as the
// comment "Live" and track 123, while older readers see track 23 and a comment ending "%1".
// A comment that itself ends in "%" and a digit gets the marker "%0" so it reads back intact.
std::string MakeTagStr(const TIDTag& tag);

// Parses a tag string into `tag`. An empty string gives the empty tag. Fields before a
// missing separator are set, the others keep their values. Only the comment is unescaped.
// Throws ConversionError when the track or genre digits are not a number.
void ExtractTag(TIDTag& tag, std::string_view s);

// The tag string as MakeTagStr would write it after ExtractTag has read `s` into an empty
// tag. Throws ConversionError like ExtractTag.
std::string canonicalTagString(std::string_view s);

// The tag string of the empty tag: four separators and "00255".
inline const std::string kEmptyTagString = "\x01\x01\x01\x01" "00255";

} // namespace velmo
