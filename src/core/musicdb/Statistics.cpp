#include "musicdb/Statistics.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "base/MessageTable.h"
#include "util/IntConversion.h"

namespace velmo {

std::string roundedMegabytes(double sizeMB) {
    // remainder() rounds the quotient to the nearest integer with halves to even, whatever
    // the floating-point rounding mode is.
    double whole = sizeMB - std::remainder(sizeMB, 1.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", whole == 0.0 ? 0.0 : whole);
    return buf;
}

std::string fillStatisticsTemplate(std::string text, const StatCounters& c) {
    auto count = [](const StatCounters::Entry& e) { return std::to_string(e.count); };
    auto size = [](const StatCounters::Entry& e) { return roundedMegabytes(e.sizeMB); };
    const std::pair<const char*, std::string> replacements[] = {
        {"%sa", size(c.a)},      {"%na", count(c.a)},      {"%sg", size(c[cG])},     {"%ng", count(c[cG])},
        {"%s_gn", size(c[cGN])}, {"%n_gn", count(c[cGN])}, {"%s_gp", size(c[cGP])}, {"%n_gp", count(c[cGP])},
        {"%s_gu", size(c[cGU])}, {"%n_gu", count(c[cGU])}, {"%su", size(c[cU])},     {"%nu", count(c[cU])},
        {"%sn", size(c[cN])},    {"%nn", count(c[cN])},    {"%sp", size(c[cP])},     {"%np", count(c[cP])},
        {"%sb", size(c[cB])},    {"%nb", count(c[cB])},    {"%sf", size(c[cF])},     {"%nf", count(c[cF])},
    };
    for (const auto& [key, value] : replacements) text = replaceAll(std::move(text), key, value);
    return text;
}

std::string statisticsLine(const StatCounters& counters, const MessageTable& messages, int tab) {
    Msg message;
    switch (tab) {
    case 2: message = msgStatsPlayList; break;
    case 3: message = msgStatsBlack; break;
    case 4: message = msgStatsFavorites; break;
    case 5: message = msgStatsJustGood; break;
    default: message = msgStatsMusic; break;
    }
    return fillStatisticsTemplate(messages[message], counters);
}

std::string tabCaption(int tab, const StatCounters& c, const MessageTable& messages) {
    switch (tab) {
    case 1: return messages[msgTabMusicList] + " (" + std::to_string(c.a.count) + ")";
    case 2: return messages[msgTabPlayList] + " (" + std::to_string(c[cP].count) + ")";
    case 3: return messages[msgTabBlackList] + " (" + std::to_string(c[cB].count) + ")";
    case 4: return messages[msgTabFavorites] + " (" + std::to_string(c[cF].count) + ")";
    case 5:
        return messages[msgTabJustGood] + " (" + std::to_string(c[cGN].count) + "/" + std::to_string(c[cG].count) + ")";
    default: return {};
    }
}

std::string windowCaption(const std::string& dbName, bool modified, const MessageTable& messages) {
    std::string caption = std::string(kWindowTitle) + " - [" + dbName + "]";
    if (modified) caption += "  ***" + messages[msgModified];
    return caption;
}

} // namespace velmo
