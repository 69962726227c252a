#include "platform/NativePaths.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velmo::platform {

namespace {

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

} // namespace

std::string resolveAppDir(const std::string& explicitDir) {
    std::error_code ec;
    if (!explicitDir.empty()) return withoutTrailingSlash(fs::absolute(explicitDir, ec).lexically_normal().string());
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        std::string dir = exe.parent_path().string();
        if (access(dir.c_str(), W_OK) == 0) return dir;
    }
    const char* xdg = std::getenv("XDG_DATA_HOME");
    fs::path base = xdg && *xdg ? fs::path(xdg) : fs::path(std::getenv("HOME") ? std::getenv("HOME") : "/tmp") / ".local/share";
    return (base / "VelmoMusicDB").string();
}

std::string storedToNative(const std::string& appDir, const std::string& stored) {
    if (!stored.empty() && stored.front() == '/') return stored;
    std::string relative = stored;
    for (char& c : relative)
        if (c == '\\') c = '/';
    return (fs::path(appDir) / relative).lexically_normal().string();
}

std::string nativeToStored(const std::string& appDir, const std::string& native) {
    std::error_code ec;
    fs::path full = fs::absolute(native, ec).lexically_normal();
    fs::path relative = full.lexically_relative(fs::path(appDir).lexically_normal());
    if (relative.empty() || *relative.begin() == "..") return full.string();
    std::string stored = relative.string();
    for (char& c : stored)
        if (c == '/') c = '\\';
    return stored;
}

std::string storedFolder(const std::string& stored) {
    size_t pos = stored.find_last_of("\\/");
    return pos == std::string::npos ? std::string() : stored.substr(0, pos);
}

} // namespace velmo::platform
