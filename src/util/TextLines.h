#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// Splits text into lines at CR LF, a lone CR or a lone LF. A final line end adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

// Joins lines, each followed by CR LF, as the program writes its files.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// A list line of names or extensions: "a" is one entry; otherwise every ";" ends an entry,
// and text after the last ";" (a hand-edited line) is one more. ";" alone is the empty list.
std::vector<std::string> splitListLine(std::string_view line);

// One entry alone, several each followed by ";", none as an empty line.
std::string joinListLine(const std::vector<std::string>& entries);

// Every entry followed by ";"; the empty list as ";" so that it reads back empty.
std::string joinListLineTerminated(const std::vector<std::string>& entries);

} // namespace velmo
