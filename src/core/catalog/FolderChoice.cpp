#include "catalog/FolderChoice.h"

#include <algorithm>

#include "catalog/FolderScan.h"
#include "platform/FileIO.h"
#include "util/AsciiCase.h"

namespace velmo {

std::vector<std::string> chooserFolders(const std::string& nativeFolder) {
    std::vector<std::string> names;
    const auto entries = platform::listDirectory(nativeFolder);
    if (!entries) return names;
    for (const platform::DirEntry& e : *entries)
        if (e.isDirectory && FolderScan::isStorableName(e.name)) names.push_back(e.name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = asciiLower(a), lb = asciiLower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

} // namespace velmo
