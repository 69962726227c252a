#pragma once
#include <string>

namespace velmo {

struct Session;

// The database menu and the loading of the profile's database. Each command reports its
// errors to the user itself; the result says whether it did all it set out to do.

// Loads the current database file, if it exists, into the database (which should be empty).
// A missing file is no error.
bool LoadData(Session& s);
// "Load base...": replaces the database by a chosen file; asks no question about the old one.
bool MenuItemLoadBaseClick(Session& s);
// "Add to DB...": merges a chosen file into the database; the file name stays.
bool MenuItemAddtoDBClick(Session& s);
// Saves under `fileName` (a stored name), or through the save dialog when it is empty.
bool SaveDBAs(Session& s, const std::string& fileName);
// "Save base": saves under the current file name, or as "Save DB as..." when there is none.
bool MenuItemSaveBaseClick(Session& s);
bool MenuItemSaveDBAsClick(Session& s);
// "Clear DB" and "Reset icons".
void MenuItemClearDBClick(Session& s);
void MenuItemResetIconsClick(Session& s);
// What answering Yes to "save your music data base?" does: save under the current name, or
// delete the file when the music tree is empty.
bool SaveOrDeleteDatabase(Session& s);

} // namespace velmo
