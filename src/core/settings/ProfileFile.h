#pragma once
#include <string>
#include <vector>

#include "settings/ProfileSettings.h"

namespace velmo {

constexpr size_t kProfileFileLines = 52;

// The 52 lines of Profile.ini for these settings.
std::vector<std::string> profileFileLines(const ProfileSettings& settings);

// A line of Profile.ini whose value could not be read: its number (from 1) and the reason.
struct BadProfileLine {
    size_t line;
    std::string error;
};

// Takes the values of Profile.ini lines over `settings` (normally the defaults), by line
// position, each header gating the values below it. A number line that is not a number
// keeps the value `settings` had and is returned; every other line is still taken.
std::vector<BadProfileLine> readProfileFileLines(ProfileSettings& settings, const std::vector<std::string>& lines);

} // namespace velmo
