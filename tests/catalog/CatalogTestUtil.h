#pragma once
// A program session over temporary folders that play drives: E: an optical drive, C: a hard
// disk. Files are made with the sizes and ID3v1 blocks a test asks for.
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/Session.h"
#include "catalog/FolderScan.h"
#include "support/FakeServices.h"
#include "support/DatabaseBuilders.h"
#include "support/TestSupport.h"
#include "util/TextEncoding.h"

namespace velmo::test {

class FolderDrives : public ScanDrives {
public:
    std::map<char, std::string> roots; // letter -> folder
    std::set<char> cds;
    bool isCdDrive(char letter) const override { return cds.count(letter) > 0; }
    std::optional<std::string> nativePath(const std::string& catalogPath) const override {
        auto it = roots.find(catalogPath.empty() ? '?' : catalogPath.front());
        if (it == roots.end()) return std::nullopt;
        std::string rest = catalogPath.size() > 2 ? catalogPath.substr(2) : "";
        for (char& c : rest)
            if (c == '\\') c = '/';
        return it->second + textToFileName(rest); // names in their bytes, as the drive table gives them
    }
};

// An ID3v1 block: title, artist, album, year, comment, track (0: a version 1.0 block), genre.
inline std::string id3Block(const std::string& title, const std::string& artist = "", const std::string& album = "",
                            const std::string& year = "", const std::string& comment = "", int track = 0,
                            int genre = 255) {
    std::string b(128, '\0');
    b.replace(0, 3, "TAG");
    auto put = [&](size_t at, size_t len, const std::string& text) { b.replace(at, std::min(len, text.size()), text.substr(0, len)); };
    put(3, 30, title);
    put(33, 30, artist);
    put(63, 30, album);
    put(93, 4, year);
    put(97, track ? 28 : 30, comment);
    if (track) {
        b[125] = '\0';
        b[126] = static_cast<char>(track);
    }
    b[127] = static_cast<char>(genre);
    return b;
}

struct CatalogFixture {
    TempDir dir;
    ScriptedUi ui;
    FakeServices services;
    std::unique_ptr<Session> session;
    FolderDrives drives;

    CatalogFixture() {
        session = std::make_unique<Session>(dir.path(), services.forUser(ui), std::make_unique<ScriptedRandom>());
        std::filesystem::create_directories(dir.file("cd"));
        std::filesystem::create_directories(dir.file("hd"));
        drives.roots['E'] = dir.file("cd");
        drives.roots['C'] = dir.file("hd");
        drives.cds.insert('E');
    }
    // A file of `size` bytes below the drive folder ("cd/Pop/a.mp3"), ending in `tail`.
    void file(const std::string& relative, size_t size = 200, const std::string& tail = "") const {
        std::string content(size > tail.size() ? size - tail.size() : 0, 'x');
        content += tail;
        writeFile(dir.file(relative), content);
    }
    void add(std::vector<AddItem> items, const std::string& description = "Mix", const std::string& label = "MIX01") {
        FolderScan(session->scanContext(), drives).ButtonAddFolderClick(items, description, label);
    }
    MusicDatabase& db() { return session->db; }
};

} // namespace velmo::test
