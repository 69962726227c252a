#pragma once
// Lines of a database file as a test writes them: TAB indentation, the line text, CR LF.
#include <string>

namespace velmo::test {

inline const std::string kSep = "\x01";
// An empty tag: four field separators, track 00, genre 255.
inline const std::string kNoTag = kSep + kSep + kSep + kSep + "00255";

std::string folderLine(int depth, const std::string& name, int icon);
std::string songLine(int depth, const std::string& name, int icon, long size, const std::string& tag = kNoTag);

} // namespace velmo::test
