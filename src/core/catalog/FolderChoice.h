#pragma once
#include <string>
#include <vector>

namespace velmo {

// The names of the folders in a native folder that the folder chooser offers: exactly those a
// scan of it would enter (folders and links to folders, names the catalogue can hold, whatever
// their bytes), never a file, a FIFO, a device or a link leading nowhere; sorted without regard
// to ASCII case. Empty when the folder cannot be listed.
std::vector<std::string> chooserFolders(const std::string& nativeFolder);

} // namespace velmo
