#pragma once
#include <string>

namespace velmo::platform {

// The program folder: `explicitDir` when given, else the executable's folder when it is
// writable, else $XDG_DATA_HOME/VelmoMusicDB (~/.local/share/VelmoMusicDB).
std::string resolveAppDir(const std::string& explicitDir);

// A file name as the program stores it (relative to the program folder with "\" separators,
// or absolute) turned into a path on this machine.
std::string storedToNative(const std::string& appDir, const std::string& stored);

// A path on this machine as the program stores it: relative to the program folder, with "\"
// separators, when it lies below it; otherwise unchanged.
std::string nativeToStored(const std::string& appDir, const std::string& native);

// The folder part of a stored name ("Profiles\Default\Default.vmdb" -> "Profiles\Default").
std::string storedFolder(const std::string& stored);

} // namespace velmo::platform
