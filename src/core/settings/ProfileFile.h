#pragma once
#include <string>
#include <vector>

#include "settings/ProfileSettings.h"

namespace velmo {

constexpr size_t kProfileFileLines = 52;

// The 52 lines of Profile.ini for these settings.
std::vector<std::string> profileFileLines(const ProfileSettings& settings);

// Takes the values of Profile.ini lines over `settings` (normally the defaults), by line
// position, each header gating the values below it. A number line that is not a number
// throws ConversionError; the values before it have been taken.
void readProfileFileLines(ProfileSettings& settings, const std::vector<std::string>& lines);

} // namespace velmo
