#include "catalog/ID3v1.h"

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/MessageTable.h"
#include "musicdb/TDataRec.h"
#include "util/TextEncoding.h"

namespace velmo {

const std::array<std::string_view, 80> GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel",
    "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock",
    "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
    "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock"};

namespace {

// Control characters inside a field become blanks: byte 1 separates the fields of a
// database line and would shift the fields after it. Line breaks stay in the comment, whose
// escapes the line reads back; in the other fields they would come back as "%n".
std::string withoutControlCharacters(std::string text, bool keepLineBreaks) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32 && !(keepLineBreaks && (c == '\r' || c == '\n'))) c = ' ';
    return text;
}

// A fixed-width field: trimmed of characters 0 to 32 at both ends, then decoded.
std::string field(std::string_view bytes, bool keepLineBreaks = false) {
    size_t begin = 0, end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32) --end;
    // A NUL ends the text; what follows it is padding or garbage.
    std::string_view text = bytes.substr(begin, end - begin);
    if (size_t nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    }
    if (isValidUtf8(text)) return withoutControlCharacters(std::string(text), keepLineBreaks);
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return withoutControlCharacters(std::move(out), keepLineBreaks);
}

// Shortest general form with up to 15 significant digits: 3.5, 4, 812.3.
std::string shortNumber(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    return (scaled - std::remainder(scaled, 1.0)) / scale;
}

} // namespace

bool parseId3v1Block(std::string_view b, TIDTag& tag) {
    if (b.size() != 128 || b.substr(0, 3) != "TAG") return false;
    tag.title = field(b.substr(3, 30));
    tag.artist = field(b.substr(33, 30));
    tag.album = field(b.substr(63, 30));
    tag.year = field(b.substr(93, 4));
    const bool v11 = b[125] == '\0';
    tag.track = v11 && b[126] != '\0' ? static_cast<uint8_t>(b[126]) : 0;
    tag.comment = field(b.substr(97, v11 ? 28 : 30), true);
    const auto genre = static_cast<uint8_t>(b[127]);
    tag.genre = genre < 80 ? genre : 255;
    return true;
}

bool ReadTag(const std::string& nativePath, TIDTag& tag) {
    // A song may have become a FIFO or a device since it was listed: O_NONBLOCK keeps the
    // open from waiting for a writer, and only a regular file is read.
    const int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    char block[128];
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 128 &&
              pread(fd, block, 128, st.st_size - 128) == 128;
    close(fd);
    if (!ok) return false;
    if (!parseId3v1Block(std::string_view(block, 128), tag)) tag = TIDTag{};
    return true;
}

std::string sizeText(int64_t bytes, const MessageTable& messages) {
    if (bytes > 1048576) return shortNumber(roundHalfEven(static_cast<double>(bytes) / 1048576.0, 2)) + " " + messages[msgMB];
    return shortNumber(roundHalfEven(static_cast<double>(bytes) / 1024.0, 1)) + " " + messages[msgKB];
}

std::string BuildTagHint(const TDataRec& rec, const MessageTable& messages, bool showTag) {
    std::string hint;
    if (showTag) {
        const TIDTag tag = rec.IDTag();
        if (!tag.artist.empty()) hint += messages[msgHintArtist] + tag.artist;
        if (!tag.title.empty()) hint += "\n" + messages[msgHintTitle] + tag.title;
        if (!tag.album.empty()) hint += "\n" + messages[msgHintAlbum] + tag.album;
        if (!tag.year.empty()) hint += "\n" + messages[msgHintYear] + tag.year;
        if (tag.track != 0) hint += "\n" + messages[msgHintTrack] + std::to_string(tag.track);
        // Genre bytes beyond the table can only come from a hand-made database: no line.
        if (tag.genre < GenreNames.size()) hint += "\n" + messages[msgHintGenre] + std::string(GenreNames[tag.genre]);
        if (!tag.comment.empty()) {
            const std::string& label = messages[msgHintComment];
            std::string comment;
            for (char c : tag.comment) {
                comment.push_back(c);
                if (c == '\n') comment.append(2 * label.size(), ' ');
            }
            hint += "\n" + label + comment;
        }
    }
    hint += "\n" + messages[msgHintFileSize] + sizeText(rec.Size, messages);
    if (!hint.empty() && hint.front() == '\n') hint.erase(0, 1);
    return hint;
}

} // namespace velmo
