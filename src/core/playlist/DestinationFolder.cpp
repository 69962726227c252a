#include "playlist/DestinationFolder.h"

#include "platform/Drives.h"

namespace velmo {

std::string DestName(std::string_view caption) {
    std::string name(caption);
    for (char& c : name) {
        if (c == '/') c = '-';
        else if (c == '<') c = '[';
        else if (c == '>') c = ']';
    }
    return name;
}

namespace {

std::string joined(const std::string& base, std::string_view component) {
    if (base.empty() || base.back() == '/') return base + std::string(component);
    return base + "/" + std::string(component);
}

// Appends base/c1, base/c1/c2, ... for the components of `rest` (separated by "\" or "/").
void appendComponents(std::vector<std::string>& chain, std::string base, std::string_view rest) {
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = rest.size();
        const std::string_view component = rest.substr(start, end - start);
        if (!component.empty() && component != ".") {
            base = joined(base, component);
            chain.push_back(base);
        }
        start = end + 1;
    }
}

bool isCatalogPath(const std::string& path) {
    const char c = path.empty() ? 0 : path[0];
    return path.size() >= 2 && path[1] == ':' && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) &&
           (path.size() == 2 || path[2] == '\\' || path[2] == '/');
}

} // namespace

std::optional<DestinationFolder> DestinationFolder::resolve(const std::string& PathToDB, const std::string& appDir,
                                                            const platform::DriveTable& drives) {
    DestinationFolder d;
    if (isCatalogPath(PathToDB)) {
        std::string drive = PathToDB.substr(0, 2);
        drive[0] = static_cast<char>(drive[0] & ~0x20); // the drive table knows capital letters
        std::optional<std::string> root = drives.catalogToNative(drive);
        if (!root) return std::nullopt;
        d.chain.push_back(*root);
        appendComponents(d.chain, *root, std::string_view(PathToDB).substr(2));
    } else if (!PathToDB.empty() && PathToDB.front() == '/') {
        appendComponents(d.chain, "/", PathToDB);
        if (d.chain.empty()) d.chain.push_back("/");
    } else {
        appendComponents(d.chain, appDir, PathToDB);
        if (d.chain.empty()) d.chain.push_back(appDir);
    }
    d.folder = d.chain.back();
    return d;
}

std::string DestinationFolder::nativePath(std::string_view destName) const {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    const size_t start = path.size();
    path += destName;
    for (size_t i = start; i < path.size(); ++i)
        if (path[i] == '\\') path[i] = '/';
    return path;
}

} // namespace velmo
