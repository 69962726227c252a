#pragma once
// Helpers shared by the database-file tests: reading database text into a database, finding
// songs by caption, and the sample collection used throughout.
#include <memory>
#include <string>
#include <vector>

#include "support/DatabaseBuilders.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"
#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// The sample collection: a CD "Summer Mix" (label SUMMER01) holding the folder "Album One"
// with a used, tagged song and an untagged favourite.
inline std::string sampleFile(const std::string& folderImage = "5") {
    return "Summer Mix /SUMMER01/:1:0\r\n"
           "\tAlbum One:" + folderImage + ":0\r\n"
           "\t\t01 First Song.mp3:7:4194304:First Song" + kSep + "Some Artist" + kSep + "Album One" + kSep +
           "1999" + kSep + "Live take03017\r\n"
           "\t\t02 Second Song.mp3:10:3145728:" + kNoTag + "\r\n";
}

inline const std::string kFirstSong = "Summer Mix /SUMMER01/\\Album One\\01 First Song.mp3";
inline const std::string kSecondSong = "Summer Mix /SUMMER01/\\Album One\\02 Second Song.mp3";

inline std::unique_ptr<MusicDatabase> makeDatabase() {
    return std::make_unique<MusicDatabase>(std::make_unique<ScriptedRandom>());
}

// Reads database text into `db` as a load (or a merge) does. Errors propagate.
inline void loadText(MusicDatabase& db, std::string text, bool goodCycle = false, bool mergeMode = false) {
    LoadTree tree = LoadTree::parse(std::move(text));
    DatabaseLoader::Options options;
    options.goodCycle = goodCycle;
    options.mergeMode = mergeMode;
    DatabaseLoader(db, options).AnalyzeTree(tree);
}

inline TDataRec* songByCaption(MusicDatabase& db, const std::string& caption) {
    for (ListItem* item = db.musicList().first(); item; item = db.musicList().next(item))
        if (item->caption() == caption) return item->data();
    return nullptr;
}

} // namespace velmo::test
