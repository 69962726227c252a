#pragma once
// A session over temporary folders for the copy tests: C: and D: local drives, E: an optical
// drive, songs added by the folder scan, a drive table for the same folders, and the destination
// below the program folder.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlaylistTestUtil.h"
#include "catalog/CatalogTestUtil.h"
#include "platform/Drives.h"
#include "playlist/CopyContext.h"

namespace velmo::test {

struct CopyFixture : CatalogFixture {
    CopyFixture() {
        // New playlist items go to the end, so the playlist keeps the order the test gives.
        session->db.setRandom(std::make_unique<HighestRandom>());
        std::filesystem::create_directories(dir.file("hd2"));
        drives.roots['D'] = dir.file("hd2");
        services.drives = platform::DriveTable({{'C', platform::DriveKind::Fixed, dir.file("hd"), "DATA"},
                                                {'D', platform::DriveKind::Fixed, dir.file("hd2"), "MORE"},
                                                {'E', platform::DriveKind::CdRom, dir.file("cd"), std::nullopt}},
                                               dir.path());
        session->DetectCDDrives();
        session->settings.PathToDB = "Profiles\\Default\\MusicBase";
    }

    CopyContext context() { return session->copyContext(); }
    const platform::DriveTable& table() { return session->drives(); }

    // The song whose Music List caption is `caption`.
    TDataRec* song(const std::string& caption) {
        ItemList& list = db().musicList();
        for (ListItem* item = list.first(); item; item = list.next(item))
            if (item->caption() == caption) return item->data();
        ADD_FAILURE() << "no song " << caption;
        return nullptr;
    }
    void setStatus(const std::vector<std::string>& captions, int status) {
        for (const std::string& c : captions)
            if (TDataRec* rec = song(c)) db().SetStatus(rec, status);
    }
    // A file below the default destination folder.
    std::string dest(const std::string& relative) const { return dir.file("Profiles/Default/MusicBase/" + relative); }
    void destFile(const std::string& relative, const std::string& content = "copy") const {
        writeFile(dest(relative), content);
    }
    bool exists(const std::string& path) const {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    }
};

} // namespace velmo::test
