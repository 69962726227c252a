#pragma once
#include <string>

#include "musicdb/StatCounters.h"

namespace velmo {

class MessageTable;

constexpr const char* kWindowTitle = "VelmoMusicDataBase v2.07";

// The statistics line of tab 0..5: the tab's template with every "%n" + key replaced by a
// count and every "%s" + key by a size in whole megabytes (halves to the even neighbour).
std::string statisticsLine(const StatCounters& counters, const MessageTable& messages, int tab);

// Fills the placeholders of any template, whatever tab it belongs to.
std::string fillStatisticsTemplate(std::string text, const StatCounters& counters);

// The caption of tab 1..5 with its count in brackets; tab 0's caption is not ours.
std::string tabCaption(int tab, const StatCounters& counters, const MessageTable& messages);

// The main window's caption: the title, the database file name and the modified mark.
std::string windowCaption(const std::string& dbName, bool modified, const MessageTable& messages);

// A size sum rounded to whole megabytes, halves to the even neighbour, as text.
std::string roundedMegabytes(double sizeMB);

} // namespace velmo
