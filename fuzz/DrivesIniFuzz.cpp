// Drives.ini of any bytes: no crash, every entry taken is a drive the table can use, and the
// table writes out as a file that reads back to the same entries.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Drives.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<DriveEntry> entries = DriveTable::parse(text);
    for (const DriveEntry& e : entries)
        if (e.letter < 'A' || e.letter > 'Z' || e.kind == DriveKind::None || e.path.empty() || e.path.front() != '/')
            abort();
    if (DriveTable::parse(DriveTable::format(entries)) != entries) abort();
    // The table keeps the first line of a letter; only its own entries can come back out.
    const DriveTable table(entries, std::string());
    for (const DriveEntry& e : table.entries())
        if (std::find(entries.begin(), entries.end(), e) == entries.end()) abort();
    return 0;
}
