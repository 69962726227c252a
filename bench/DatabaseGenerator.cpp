#include "DatabaseGenerator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace velmo::bench {

namespace {

// splitmix64: fast, and the same sequence on every platform for a given seed.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    uint32_t below(uint64_t n) { return n ? static_cast<uint32_t>(next() % n) : 0; }
    int range(int lo, int hi) { return lo + static_cast<int>(below(static_cast<uint64_t>(hi - lo + 1))); }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    bool chance(double p) { return unit() < p; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) { return items[below(N)]; }
    template <typename T> const T& pick(const std::vector<T>& items) { return items[below(items.size())]; }

private:
    uint64_t state_;
};

enum class Script : uint8_t { English, Latin, Cyrillic, Japanese };

constexpr std::string_view kEnglishWords[] = {
    "Love", "Night", "Heart", "Dream", "Fire", "Rain", "Summer", "Blue", "Light", "Shadow", "Road", "River",
    "City", "Star", "Time", "World", "Home", "Dance", "Girl", "Boy", "Sun", "Moon", "Wild", "Lost", "Young",
    "Golden", "Silver", "Broken", "Crazy", "Sweet", "Black", "White", "Red", "Cold", "Electric", "Midnight",
    "Morning", "Highway", "Ocean", "Paradise", "Angel", "Devil", "Thunder", "Freedom", "Memory", "Echo",
    "Window", "Train", "Letter", "Secret", "Mirror", "Garden", "Winter", "Storm", "Fever", "Voices",
    "Kingdom", "Tonight", "Forever", "Again", "Away", "Down", "Under", "Inside", "Without", "Baby", "Money",
    "Song", "Story", "Blues", "Radio", "Machine", "Stone", "Glass", "Wave", "Island", "Desert", "Mountain",
    "Valley", "Sky", "Rose", "Velvet", "Neon", "Satellite", "Heaven", "Hollow", "Empty", "Burning",
    "Falling", "Running", "Waiting", "Dreaming", "Talking", "Walking", "Flying", "Shine", "Alive", "Gone",
    "Free", "Slow", "Fast", "Little", "Big", "Last", "First", "Seven", "Hundred", "Miles", "Days", "Years",
    "Nights", "Lovers", "Strangers", "Wolves", "Ghosts", "Kings", "Queens", "Tigers", "Doves", "Foxes",
};
constexpr std::string_view kJoiners[] = {"of", "the", "in", "on", "to", "and", "for", "my", "your", "no"};
constexpr std::string_view kLatinWords[] = {
    "Café", "Déjà Vu", "Été", "Rêve", "Cœur", "Lumière", "Mañana", "Corazón", "Niño", "Canción", "España",
    "Señorita", "Über", "Müde", "Grüße", "Schön", "Straße", "Fräulein", "Mädchen", "Träume", "Höhe",
    "São Paulo", "Coração", "Saudade", "Naïve", "Fiancée", "Crème", "Garçon", "Ça Va", "Noël", "Jalapeño",
    "Ångström", "Fjäril", "Kärlek", "Søndag", "Été Indien", "Mélodie", "Île", "Tränen", "Frühling",
};
constexpr std::string_view kCyrillicWords[] = {
    "Ночь", "Любовь", "Звезда", "Город", "Весна", "Дорога", "Кукушка", "Лето", "Солнце", "Музыка",
    "Память", "Ветер", "Небо", "Песня", "Река", "Зима", "Москва", "Время", "Свет", "Мечта",
};
constexpr std::string_view kJapaneseWords[] = {
    "東京", "夜明け", "さくら", "夢", "花火", "雨", "青空", "ありがとう", "恋", "海", "星空",
    "約束", "風", "桜坂", "君の名前", "旅立ち", "光", "未来", "夏祭り", "サヨナラ",
};
constexpr std::string_view kFirstNames[] = {"John", "Mary", "Anna", "David", "Lucy", "Peter", "Nina",
                                            "Oscar", "Ruby", "Sam", "Leo", "Iris", "Max", "Eva",
                                            "Tom", "Zoe", "Carl", "Ella", "Hugo", "Lena"};
constexpr std::string_view kLastNames[] = {"Miller", "Stone", "Parker", "Hayes", "Brooks", "Reed", "Fox",
                                           "Wells", "Gray", "Hart", "Lane", "Cole", "Ford", "Nash",
                                           "Price", "Quinn", "Shaw", "Wood", "Young", "Blake"};
constexpr std::string_view kLatinFirstNames[] = {"Édith", "Jürgen", "José", "Björn", "François",
                                                 "Zoë", "Inés", "Sérgio", "Günter", "Åsa",
                                                 "Renée", "Jörg", "Ramón", "Léa", "Søren"};
constexpr std::string_view kLatinLastNames[] = {"Müller", "Muñoz", "Lefèvre", "Ångström", "Gómez",
                                                "Dubé", "Peña", "Núñez", "Kröger", "Bélanger",
                                                "Sjöberg", "Østergaard", "Ibáñez", "Françoise"};
constexpr std::string_view kCyrillicFirstNames[] = {"Иван", "Анна", "Сергей", "Мария",
                                                    "Олег", "Елена", "Дмитрий", "Ольга"};
constexpr std::string_view kCyrillicLastNames[] = {"Петров", "Смирнова", "Кузнецов", "Иванова",
                                                   "Соколов", "Попова", "Лебедев", "Орлова"};
constexpr std::string_view kJapaneseFamilyNames[] = {"田中", "鈴木", "佐藤", "高橋", "山本", "中村", "小林", "渡辺"};
constexpr std::string_view kJapaneseGivenNames[] = {"花子", "太郎", "愛", "優子", "健", "美咲", "翔", "さくら"};

constexpr std::string_view kComments[] = {
    "Ripped with EAC", "Exact Audio Copy V0.99", "www.mp3-archive.example", "Remastered", "Live",
    "Bonus Track", "Demo", "Radio edit", "Encoded by LAME 3.98", "Ремастеринг 2009", "ライブ音源",
    "Très bon", "From the vinyl", "Club Mix",
};
constexpr std::string_view kBigFolderNames[] = {"Singles", "Unsorted", "Downloads", "Various", "New",
                                                "To Sort", "Radio Rips", "Misc", "Incoming", "Mixtapes"};
constexpr std::string_view kNestedTops[] = {"Collections", "Archive", "Sorted by genre", "Backup", "Library"};
constexpr std::string_view kGenreFolders[] = {"Rock", "Jazz", "Pop", "Electronic", "Classical", "Hip-Hop",
                                              "Blues", "Folk", "Metal", "Soul", "Chanson", "Schlager",
                                              "Русский рок", "J-Pop", "Reggae", "Latin"};
constexpr std::string_view kSubFolders[] = {"1970s", "1980s", "1990s", "2000s", "2010s", "A-F", "G-M",
                                            "N-S", "T-Z", "Favourites", "Old", "Lossy", "Vinyl rips"};
constexpr std::string_view kHardDiskLabels[] = {"Music", "Data", "Backup", "WD Elements", "My Book",
                                                "Media", "Storage", "Archive", "Seagate Expansion",
                                                "Samsung T7"};
constexpr std::string_view kCdDescriptions[] = {
    "Summer Mix", "Rock Collection", "Jazz Classics", "Car Music", "Party", "Chill Out", "Best of 80s",
    "Road Trip", "Мои песни", "Musique française", "J-Pop ベスト", "Schlager Öldies", "Rock en Español",
    "Workout", "Love Songs", "Classics", "Dance Hits", "Oldies", "MP3 Sammlung", "Radio Favourites",
};
constexpr std::string_view kCdLabelStems[] = {"MIX", "ROCK", "JAZZ", "CAR", "PARTY", "CHILL", "BEST80",
                                              "TRIP", "PESNI", "MUSIQUE", "JPOP", "SCHLAGER", "ROCKES",
                                              "WORKOUT", "LOVE", "CLASSIC", "DANCE", "OLDIES", "MP3", "RADIO"};
static_assert(std::size(kCdDescriptions) == std::size(kCdLabelStems));

// How the songs of one folder have been used: statuses cluster by album.
enum class Mood : uint8_t { Mixed, Heard, Fresh };

// Weights per mille of the stored icons 6 (unused) to 13 (Just Good in the playlist).
constexpr int kStatusWeights[3][8] = {
    {520, 220, 30, 50, 60, 60, 40, 20}, // mixed
    {150, 650, 30, 40, 60, 20, 40, 10}, // heard
    {900, 0, 0, 40, 20, 40, 0, 0},      // fresh
};

struct Artist {
    std::string name;
    Script script = Script::English;
};

// A node of the disk being generated. Siblings are kept in the order they are made, which
// is not the order the program sorts them in; loading sorts.
struct Node {
    std::string name;
    std::string tag;
    int32_t size = 0;
    uint8_t image = 5;
    std::vector<std::unique_ptr<Node>> children;
    std::unordered_map<std::string, Node*> byName;
};

// Cuts UTF-8 text to at most `limit` bytes without splitting a character, as a tagger
// filling the fixed ID3v1 fields does.
std::string truncateUtf8(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    std::string out(text.substr(0, end));
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", n);
    return buf;
}

// How often each first letter starts a name, per mille of the songs of a merged-roots disc.
constexpr int kLetterWeights[26] = {50, 65, 60, 55, 25, 35, 40, 40, 15, 35, 30, 45, 70,
                                    25, 20, 50, 4,  45, 90, 85, 8,  15, 30, 4,  10, 8};

class Generator {
public:
    Generator(uint64_t songs, uint64_t seed, Shape shape) : songs_(songs), shape_(shape), rng_(seed) { makeArtists(); }

    GeneratedDatabase run(const std::string& path);

private:
    struct DiskPlan {
        bool hardDisk = false;
        uint64_t songs = 0;
    };

    void makeArtists();
    const Artist& someArtist();
    std::string word(Rng& rng, Script script);
    std::string title(Rng& rng, Script script);
    std::string albumTitle(Rng& rng, Script script);

    Node& folder(Node& parent, const std::string& name, uint8_t image);
    Node& newFolder(Node& parent, const std::string& name, uint8_t image);
    void addSong(Node& parent, std::string fileName, std::string tag, uint8_t image);
    int32_t songSize(Rng& rng);
    uint8_t songImage(Rng& rng, Mood mood);
    Mood someMood(Rng& rng);
    std::string tagString(Rng& rng, const std::string& songTitle, const std::string& artist,
                          const std::string& album, const std::string& year, int track, int genre);

    uint64_t album(Rng& rng, Node& parent, const Artist& artist, uint64_t budget, bool artistInName);
    uint64_t looseSongs(Rng& rng, Node& parent, uint64_t count, bool numbered);
    void hardDisk(Rng& rng, Node& disk, uint64_t budget);
    void cd(Rng& rng, Node& disk, uint64_t budget);
    void dataDisc(Rng& rng, Node& disk, uint64_t budget);
    uint64_t numberedSongs(Rng& rng, Node& parent, uint64_t count);
    std::vector<DiskPlan> plan();

    void write(const Node& node, size_t depth);
    void flush();

    uint64_t songs_;
    Shape shape_;
    Rng rng_;
    std::vector<Artist> artists_;
    std::unordered_set<std::string> diskNames_;
    unsigned cdNumbers_[std::size(kCdDescriptions)] = {};
    std::FILE* out_ = nullptr;
    std::string buffer_;
    GeneratedDatabase stats_;
};

void Generator::makeArtists() {
    const uint64_t wanted = std::max<uint64_t>(100, songs_ / 50);
    std::unordered_set<std::string> seen;
    while (artists_.size() < wanted) {
        Artist a;
        const double u = rng_.unit();
        if (u < 0.80) {
            const int pattern = rng_.range(0, 3);
            if (pattern == 0)
                a.name = std::string(rng_.pick(kFirstNames)) + " " + std::string(rng_.pick(kLastNames));
            else if (pattern == 1)
                a.name = "The " + std::string(rng_.pick(kEnglishWords)) + " " + std::string(rng_.pick(kEnglishWords));
            else if (pattern == 2)
                a.name = std::string(rng_.pick(kEnglishWords)) + " " + std::string(rng_.pick(kEnglishWords));
            else
                a.name = std::string(rng_.pick(kFirstNames)) + " " + std::string(rng_.pick(kLastNames)) + " & the " +
                         std::string(rng_.pick(kEnglishWords));
        } else if (u < 0.90) {
            a.script = Script::Latin;
            a.name = std::string(rng_.pick(kLatinFirstNames)) + " " + std::string(rng_.pick(kLatinLastNames));
        } else if (u < 0.95) {
            a.script = Script::Cyrillic;
            a.name = std::string(rng_.pick(kCyrillicFirstNames)) + " " + std::string(rng_.pick(kCyrillicLastNames));
        } else {
            a.script = Script::Japanese;
            a.name = std::string(rng_.pick(kJapaneseFamilyNames)) + " " + std::string(rng_.pick(kJapaneseGivenNames));
        }
        if (!seen.insert(a.name).second) {
            // Namesakes exist; give them a number as fans do.
            a.name += " " + std::to_string(seen.size());
            if (!seen.insert(a.name).second) continue;
        }
        artists_.push_back(std::move(a));
    }
}

const Artist& Generator::someArtist() {
    // A few artists are much more present than most.
    const double u = rng_.unit();
    return artists_[static_cast<size_t>(u * u * static_cast<double>(artists_.size()))];
}

std::string Generator::word(Rng& rng, Script script) {
    switch (script) {
    case Script::Latin: return std::string(rng.chance(0.5) ? rng.pick(kLatinWords) : rng.pick(kEnglishWords));
    case Script::Cyrillic: return std::string(rng.pick(kCyrillicWords));
    case Script::Japanese: return std::string(rng.pick(kJapaneseWords));
    case Script::English: break;
    }
    return std::string(rng.pick(kEnglishWords));
}

std::string Generator::title(Rng& rng, Script script) {
    // Now and then an English-language artist has a title in another script.
    if (script == Script::English && rng.chance(0.04))
        script = rng.chance(0.5) ? Script::Latin : (rng.chance(0.5) ? Script::Cyrillic : Script::Japanese);
    const int words = script == Script::Japanese ? rng.range(1, 2) : rng.range(1, 4);
    std::string t = word(rng, script);
    for (int i = 1; i < words; ++i) {
        t += ' ';
        if (script == Script::English && i == 1 && words >= 3 && rng.chance(0.5)) {
            t += std::string(rng.pick(kJoiners));
            t += ' ';
        }
        t += word(rng, script);
    }
    return t;
}

std::string Generator::albumTitle(Rng& rng, Script script) {
    const int kind = rng.range(0, 19);
    if (kind == 0) return "Greatest Hits";
    if (kind == 1) return "Live in " + word(rng, script);
    if (kind == 2) return "Best of Vol. " + std::to_string(rng.range(1, 4));
    return title(rng, script);
}

Node& Generator::folder(Node& parent, const std::string& name, uint8_t image) {
    auto found = parent.byName.find(name);
    if (found != parent.byName.end()) return *found->second;
    return newFolder(parent, name, image);
}

Node& Generator::newFolder(Node& parent, const std::string& name, uint8_t image) {
    std::string unique = name;
    for (int n = 2; parent.byName.count(unique); ++n) unique = name + " (" + std::to_string(n) + ")";
    auto node = std::make_unique<Node>();
    node->name = unique;
    node->image = image;
    Node* raw = node.get();
    parent.byName.emplace(std::move(unique), raw);
    parent.children.push_back(std::move(node));
    ++stats_.folders;
    return *raw;
}

void Generator::addSong(Node& parent, std::string fileName, std::string tag, uint8_t image) {
    if (parent.byName.count(fileName)) {
        const size_t dot = fileName.rfind('.');
        const std::string stem = fileName.substr(0, dot), ext = fileName.substr(dot);
        std::string candidate;
        for (int n = 2;; ++n) {
            candidate = stem + " (" + std::to_string(n) + ")" + ext;
            if (!parent.byName.count(candidate)) break;
        }
        fileName = std::move(candidate);
    }
    auto node = std::make_unique<Node>();
    node->name = fileName;
    node->tag = std::move(tag);
    node->image = image;
    node->size = songSize(rng_);
    parent.byName.emplace(std::move(fileName), node.get());
    parent.children.push_back(std::move(node));
    ++stats_.songs;
}

int32_t Generator::songSize(Rng& rng) {
    // 1 to 15 MB, most of them between 3 and 8 MB as with 128-320 kbit/s MP3s.
    constexpr double mb = 1048576.0;
    const double u = rng.unit();
    const double sizeMB = 1.0 + 14.0 * std::pow(u, 1.6);
    return static_cast<int32_t>(sizeMB * mb) + static_cast<int32_t>(rng.below(1000));
}

uint8_t Generator::songImage(Rng& rng, Mood mood) {
    const int* weights = kStatusWeights[static_cast<int>(mood)];
    int r = rng.range(0, 999);
    for (int i = 0; i < 8; ++i) {
        if (r < weights[i]) return static_cast<uint8_t>(6 + i);
        r -= weights[i];
    }
    return 6;
}

Mood Generator::someMood(Rng& rng) {
    const double u = rng.unit();
    return u < 0.60 ? Mood::Mixed : (u < 0.85 ? Mood::Heard : Mood::Fresh);
}

std::string Generator::tagString(Rng& rng, const std::string& songTitle, const std::string& artist,
                                 const std::string& album, const std::string& year, int track, int genre) {
    std::string comment;
    if (rng.chance(0.25)) comment = truncateUtf8(rng.pick(kComments), 28);
    std::string t;
    t.reserve(128);
    t += truncateUtf8(songTitle, 30);
    t += '\x01';
    t += truncateUtf8(artist, 30);
    t += '\x01';
    t += truncateUtf8(album, 30);
    t += '\x01';
    t += year;
    t += '\x01';
    t += comment;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.2d%.3d", track, genre);
    t += digits;
    return t;
}

// One album folder of 8 to 20 songs (fewer when the budget runs out), numbered in the
// style its ripper used. Returns the number of songs made.
uint64_t Generator::album(Rng& rng, Node& parent, const Artist& artist, uint64_t budget, bool artistInName) {
    const std::string name = albumTitle(rng, artist.script);
    const int yearNumber = rng.range(1958, 2023);
    const std::string year = rng.chance(0.9) ? std::to_string(yearNumber) : std::string();
    const int genre = rng.chance(0.12) ? 255 : rng.range(0, 125);
    const int style = rng.range(0, 19);
    const int extKind = rng.range(0, 99);
    const std::string ext = extKind < 85 ? ".mp3" : extKind < 93 ? ".wma" : extKind < 97 ? ".MP3" : ".ogg";
    const bool tagged = rng.chance(0.83);
    const Mood mood = someMood(rng);

    std::string folderName;
    const int folderStyle = rng.range(0, 3);
    if (artistInName) folderName = artist.name + " - " + name;
    else if (folderStyle == 0) folderName = name + " (" + std::to_string(yearNumber) + ")";
    else if (folderStyle == 1) folderName = std::to_string(yearNumber) + " - " + name;
    else folderName = name;
    Node& albumFolder = newFolder(parent, folderName, rng.chance(0.03) ? 4 : 5);

    const uint64_t count = std::min<uint64_t>(budget, static_cast<uint64_t>(rng.range(8, 20)));
    // Long albums sometimes come as two discs.
    const bool twoDiscs = count >= 16 && rng.chance(0.06);
    for (uint64_t i = 0; i < count; ++i) {
        const bool secondDisc = twoDiscs && i >= count / 2;
        Node& target = twoDiscs ? folder(albumFolder, secondDisc ? "CD2" : "CD1", 5) : albumFolder;
        const int track = static_cast<int>(secondDisc ? i - count / 2 : i) + 1;
        std::string songTitle = title(rng, artist.script);
        std::string fileName;
        if (style < 12) fileName = twoDigits(track) + " - " + songTitle;
        else if (style < 15) fileName = twoDigits(track) + ". " + songTitle;
        else if (style < 17) fileName = artist.name + " - " + twoDigits(track) + " - " + songTitle;
        else if (style < 19) fileName = twoDigits(track) + " " + songTitle;
        else fileName = songTitle;
        fileName += ext;
        if (rng.chance(0.03)) songTitle += '?'; // the tag keeps what a file name cannot
        std::string tag = tagged && rng.chance(0.95)
                              ? tagString(rng, songTitle, artist.name, name, year, track, genre)
                              : std::string("\x01\x01\x01\x01" "00255");
        addSong(target, std::move(fileName), std::move(tag), songImage(rng, mood));
    }
    return count;
}

// Songs of many artists in one folder: a compilation CD or an unsorted folder.
uint64_t Generator::looseSongs(Rng& rng, Node& parent, uint64_t count, bool numbered) {
    const Mood mood = someMood(rng);
    const std::string year = std::to_string(rng.range(1990, 2023));
    for (uint64_t i = 0; i < count; ++i) {
        const Artist& artist = someArtist();
        std::string songTitle = title(rng, artist.script);
        const int track = numbered && i < 99 ? static_cast<int>(i) + 1 : 0;
        std::string fileName;
        if (numbered) fileName = (i < 99 ? twoDigits(static_cast<int>(i) + 1) : std::to_string(i + 1)) + " - ";
        fileName += artist.name + " - " + songTitle + (rng.chance(0.9) ? ".mp3" : ".wma");
        std::string tag = rng.chance(0.8) ? tagString(rng, songTitle, artist.name, albumTitle(rng, artist.script),
                                                      rng.chance(0.5) ? year : std::string(), track,
                                                      rng.chance(0.15) ? 255 : rng.range(0, 125))
                                          : std::string("\x01\x01\x01\x01" "00255");
        addSong(parent, std::move(fileName), std::move(tag), songImage(rng, mood));
    }
    return count;
}

void Generator::hardDisk(Rng& rng, Node& disk, uint64_t budget) {
    const bool diskIsRoot = rng.chance(0.25);
    disk.image = diskIsRoot ? 2 : 3;
    Node& music = folder(disk, "Music", diskIsRoot ? 5 : 4);
    uint64_t made = 0;

    // A few big folders nobody has sorted yet.
    uint64_t big = budget * 12 / 100;
    while (big >= 300) {
        const uint64_t n = std::min<uint64_t>(big, static_cast<uint64_t>(rng.range(1000, 5000)));
        Node& parent = rng.chance(0.6) ? music : disk;
        made += looseSongs(rng, newFolder(parent, std::string(rng.pick(kBigFolderNames)), 5), n, false);
        big -= n;
    }

    // Collections sorted three to five folders deep.
    const uint64_t nestedEnd = made + budget * 20 / 100;
    while (made < nestedEnd) {
        const int depth = rng.range(3, 5);
        Node* parent = &folder(disk, std::string(rng.pick(kNestedTops)), 5);
        if (depth >= 4) parent = &folder(*parent, std::string(rng.pick(kGenreFolders)), rng.chance(0.1) ? 4 : 5);
        if (depth >= 5) parent = &folder(*parent, std::string(rng.pick(kSubFolders)), 5);
        const Artist& artist = someArtist();
        Node& artistFolder = folder(*parent, artist.name, 5);
        made += album(rng, artistFolder, artist, nestedEnd - made, false);
    }

    // The rest as Music\Artist\Album, with a few loose singles beside the albums.
    while (made < budget) {
        const Artist& artist = someArtist();
        Node& artistFolder = folder(music, artist.name, 5);
        const int albums = rng.range(1, 6);
        for (int i = 0; i < albums && made < budget; ++i) made += album(rng, artistFolder, artist, budget - made, false);
        if (made < budget && rng.chance(0.05))
            made += looseSongs(rng, artistFolder, std::min<uint64_t>(budget - made, static_cast<uint64_t>(rng.range(1, 3))),
                               false);
    }
}

void Generator::cd(Rng& rng, Node& disk, uint64_t budget) {
    disk.image = rng.chance(0.3) ? 0 : 1;
    const int style = rng.range(0, 9);
    uint64_t made = 0;
    if (style < 3) {
        made += looseSongs(rng, disk, budget, true); // a compilation straight on the disk
    }
    while (made < budget) {
        const Artist& artist = someArtist();
        if (style < 7) {
            made += album(rng, disk, artist, budget - made, true);
        } else {
            Node& artistFolder = folder(disk, artist.name, 5);
            made += album(rng, artistFolder, artist, budget - made, false);
        }
    }
}

// Songs numbered in the order they are written, so that the disc's own siblings are in order.
uint64_t Generator::numberedSongs(Rng& rng, Node& parent, uint64_t count) {
    const Mood mood = someMood(rng);
    for (uint64_t i = 0; i < count; ++i) {
        const Artist& artist = someArtist();
        std::string songTitle = title(rng, artist.script);
        char number[32];
        std::snprintf(number, sizeof number, "%.5llu - ", static_cast<unsigned long long>(i + 1));
        std::string tag = rng.chance(0.8) ? tagString(rng, songTitle, artist.name, albumTitle(rng, artist.script),
                                                      std::to_string(rng.range(1960, 2023)), 0, rng.range(0, 125))
                                          : std::string("\x01\x01\x01\x01" "00255");
        addSong(parent, number + artist.name + " - " + songTitle + ".mp3", std::move(tag), songImage(rng, mood));
    }
    return count;
}

void Generator::dataDisc(Rng& rng, Node& disk, uint64_t budget) {
    disk.image = 1;
    int total = 0;
    for (int w : kLetterWeights) total += w;
    uint64_t made = 0;
    for (int letter = 0; letter < 26 && made < budget; ++letter) {
        const uint64_t share = letter == 25 ? budget - made
                                            : std::min<uint64_t>(budget - made, budget * static_cast<uint64_t>(
                                                                                    kLetterWeights[letter]) /
                                                                                    static_cast<uint64_t>(total));
        Node& root = newFolder(disk, std::string(1, static_cast<char>('A' + letter)), 4);
        // Folders sort before songs and "Compilations" before "Singles"; artist folders
        // are made first so that the two big ones come out in between as they would.
        uint64_t inLetter = numberedSongs(rng, newFolder(root, "Compilations", 5), share * 20 / 100);
        Node& singles = newFolder(root, "Singles", 5);
        inLetter += numberedSongs(rng, singles, share * 35 / 100);
        while (inLetter < share) {
            const Artist& artist = someArtist();
            inLetter += album(rng, folder(root, artist.name, 5), artist, share - inLetter, false);
        }
        made += inLetter;
    }
}

void Generator::write(const Node& node, size_t depth) {
    buffer_.append(depth, '\t');
    buffer_ += node.name;
    buffer_ += ':';
    buffer_ += std::to_string(node.image);
    if (node.image >= 6) {
        buffer_ += ':';
        buffer_ += std::to_string(node.size);
        buffer_ += ':';
        buffer_ += node.tag;
    } else {
        buffer_ += ":0";
    }
    buffer_ += "\r\n";
    ++stats_.lines;
    if (buffer_.size() >= (1u << 20)) flush();
    for (const auto& child : node.children) write(*child, depth + 1);
}

void Generator::flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
        throw std::runtime_error("cannot write the database file: " + std::string(std::strerror(errno)));
    stats_.bytes += buffer_.size();
    buffer_.clear();
}

std::vector<Generator::DiskPlan> Generator::plan() {
    std::vector<DiskPlan> plans;
    if (shape_ == Shape::MergedRoots) {
        for (uint64_t left = songs_; left > 0;) {
            const uint64_t n = std::min<uint64_t>(left, static_cast<uint64_t>(rng_.range(3000, 5000)));
            plans.push_back({false, n});
            left -= n;
        }
        return plans;
    }
    // About two thirds of the songs live on hard disks of up to 60,000 songs each, the
    // rest on CDs of 80 to 250 songs.
    const uint64_t onHardDisks = songs_ >= 1000 ? songs_ * 65 / 100 : 0;
    if (onHardDisks > 0) {
        const uint64_t count = (onHardDisks + 59999) / 60000;
        for (uint64_t i = 0; i < count; ++i)
            plans.push_back({true, onHardDisks / count + (i < onHardDisks % count ? 1 : 0)});
    }
    for (uint64_t left = songs_ - onHardDisks; left > 0;) {
        const uint64_t n = std::min<uint64_t>(left, static_cast<uint64_t>(rng_.range(80, 250)));
        plans.push_back({false, n});
        left -= n;
    }
    for (size_t i = plans.size(); i > 1; --i) std::swap(plans[i - 1], plans[rng_.below(i)]);
    return plans;
}

GeneratedDatabase Generator::run(const std::string& path) {
    const std::vector<DiskPlan> plans = plan();
    out_ = std::fopen(path.c_str(), "wb");
    if (!out_) throw std::runtime_error("cannot create \"" + path + "\": " + std::strerror(errno));
    buffer_.reserve((1u << 20) + 4096);
    try {
        unsigned hardDiskNumber = 0;
        for (size_t i = 0; i < plans.size(); ++i) {
            Rng rng(rng_.next());
            Node disk;
            if (plans[i].hardDisk) {
                const unsigned n = hardDiskNumber++;
                const char letter = static_cast<char>('C' + n % 24);
                std::string label(kHardDiskLabels[n % std::size(kHardDiskLabels)]);
                if (n >= std::size(kHardDiskLabels)) label += " " + std::to_string(n / std::size(kHardDiskLabels) + 1);
                disk.name = std::string("Drive <") + letter + "> /" + label + "/";
                hardDisk(rng, disk, plans[i].songs);
            } else if (shape_ == Shape::MergedRoots) {
                char label[32];
                std::snprintf(label, sizeof label, "ARCH_%.4zu", i + 1);
                disk.name = "MP3 Archive " + std::to_string(i + 1) + " /" + label + "/";
                dataDisc(rng, disk, plans[i].songs);
            } else {
                const size_t kind = rng.below(std::size(kCdDescriptions));
                const unsigned number = ++cdNumbers_[kind];
                char label[32];
                std::snprintf(label, sizeof label, "%.*s%s%.2u", static_cast<int>(kCdLabelStems[kind].size()),
                              kCdLabelStems[kind].data(), number >= 100 ? "" : "_", number);
                disk.name = std::string(kCdDescriptions[kind]) + " " + std::to_string(number) + " /" + label + "/";
                cd(rng, disk, plans[i].songs);
            }
            if (!diskNames_.insert(disk.name).second) throw std::logic_error("duplicate disk name " + disk.name);
            ++stats_.disks;
            write(disk, 0);
        }
        flush();
    } catch (...) {
        std::fclose(out_);
        throw;
    }
    if (std::fclose(out_) != 0) throw std::runtime_error("cannot write \"" + path + "\": " + std::strerror(errno));
    return stats_;
}

} // namespace

GeneratedDatabase generateDatabase(uint64_t songs, const std::string& path, uint64_t seed, Shape shape) {
    Generator generator(songs, seed, shape);
    return generator.run(path);
}

bool parseShape(std::string_view text, Shape& shape) {
    if (text == "collection") shape = Shape::Collection;
    else if (text == "merged") shape = Shape::MergedRoots;
    else return false;
    return true;
}

bool takeShapeOption(int& argc, char** argv, Shape& shape) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) != "--shape") continue;
        if (i + 1 >= argc || !parseShape(argv[i + 1], shape)) return false;
        for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
        argc -= 2;
        return true;
    }
    return true;
}

bool parseNumber(std::string_view text, uint64_t& value) {
    if (text.empty()) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || v > (UINT64_MAX - 9) / 10) return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    value = v;
    return true;
}

} // namespace velmo::bench
