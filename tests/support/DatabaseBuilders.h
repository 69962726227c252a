#pragma once
// Disks, folders and songs entered into a database the way a scan or a load enters them, and
// the contents of its lists read back.
#include <cstdint>
#include <string>
#include <vector>

#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// A disk or folder node, found or created at its sorted place, with its record.
TreeNode* addContainer(MusicDatabase& db, TreeNode* parent, const std::string& text, uint8_t image);
TreeNode* addCD(MusicDatabase& db, const std::string& description, const std::string& label,
                uint8_t image = iiCDDisk);
TreeNode* addFolder(MusicDatabase& db, TreeNode* parent, const std::string& name, uint8_t image = iiFolder);

// A song entering the database as unused, as a folder scan adds it, then moved to `status`.
// A song already at that place is returned as it is.
TDataRec* addSong(MusicDatabase& db, TreeNode* folder, const std::string& name, int32_t size,
                  int status = ssUnused);

std::vector<TDataRec*> recordsOf(const ItemList& list);
// The Music List captions of a song list, in list order.
std::vector<std::string> captionsOf(const ItemList& list);

} // namespace velmo::test
