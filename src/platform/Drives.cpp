#include "platform/Drives.h"

#include "platform/DriveProbe.h"
#include "platform/FileIO.h"
#include "util/AsciiCase.h"
#include "util/TextEncoding.h"
#include "util/TextLines.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace velmo::platform {

namespace {

constexpr std::string_view kIniName = "Drives.ini";
constexpr std::string_view kLogName = "Drives.log";
// D: to Z: are left for optical drives in the default table.
constexpr size_t kMaxDefaultOpticalDrives = 23;

std::optional<char> driveIndexLetter(char letter) {
    letter = asciiUpper(letter);
    if (letter < 'A' || letter > 'Z') return std::nullopt;
    return letter;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<DriveKind> kindFromName(std::string_view name) {
    std::string lower = asciiLower(name);
    if (lower == "fixed") return DriveKind::Fixed;
    if (lower == "removable") return DriveKind::Removable;
    if (lower == "cdrom") return DriveKind::CdRom;
    return std::nullopt;
}

std::string_view kindName(DriveKind kind) {
    switch (kind) {
    case DriveKind::Fixed: return "fixed";
    case DriveKind::Removable: return "removable";
    case DriveKind::CdRom: return "cdrom";
    case DriveKind::None: break;
    }
    return "";
}

// An absolute path without ".", ".." or doubled and trailing slashes; nullopt when relative.
std::optional<std::string> normalizedAbsolute(std::string_view path) {
    if (path.empty() || path.front() != '/') return std::nullopt;
    std::string normal = fs::path(path).lexically_normal().string();
    // "//x" is a root name to the path library but the same place as "/x" to Linux.
    while (normal.starts_with("//")) normal.erase(0, 1);
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

// The path of a Drives.ini line. Blanks around it are the file's layout, also before a final
// "/"; removing them can leave a "." or ".." step at the end ("/a /."), so stripping and
// normalizing repeat until nothing changes, and a table written out reads back the same.
std::optional<std::string> drivePath(std::string_view text) {
    std::optional<std::string> path = normalizedAbsolute(text);
    while (path) {
        std::string stripped = *path;
        while (stripped.size() > 1 && (stripped.back() == '/' || stripped.back() == ' ')) stripped.pop_back();
        std::optional<std::string> again = normalizedAbsolute(stripped);
        if (again == path) break;
        path = std::move(again);
    }
    return path;
}

bool isRealDevice(const DriveEntry& drive) { return drive.path.rfind("/dev/", 0) == 0; }

bool isDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The label of a simulated disk, or nullopt when no disk is in the drive.
std::optional<std::string> simulatedDiskLabel(const DriveEntry& drive) {
    std::optional<std::string> content = readWholeFile(drive.path + "/" + std::string(kVolumeLabelFile), kMaxSettingsBytes);
    if (!content) return std::nullopt;
    const std::vector<std::string> lines = splitLines(withoutUtf8Bom(*content));
    return lines.empty() ? std::string() : lines.front();
}

} // namespace

bool isHiddenDriveFile(std::string_view name) { return name == kVolumeLabelFile; }

DriveTable::DriveTable(const std::vector<DriveEntry>& entries, std::string appDir) : appDir_(std::move(appDir)) {
    for (const DriveEntry& given : entries) {
        std::optional<char> letter = driveIndexLetter(given.letter);
        std::optional<std::string> path = normalizedAbsolute(given.path);
        if (!letter || given.kind == DriveKind::None || !path) continue;
        std::optional<DriveEntry>& slot = drives_[static_cast<size_t>(*letter - 'A')];
        if (slot) continue;
        slot = DriveEntry{*letter, given.kind, *path, given.kind == DriveKind::CdRom ? std::nullopt : given.label};
    }
}

DriveTable DriveTable::load(const std::string& appDir) { return load(appDir, "/dev"); }

DriveTable DriveTable::load(const std::string& appDir, const std::string& deviceDir) {
    std::string iniPath = appDir + "/" + std::string(kIniName);
    std::optional<std::string> text = readWholeFile(iniPath, kMaxSettingsBytes);
    if (!text) {
        text = defaultDrivesIniText(findOpticalDevices(deviceDir));
        // Whatever carries the name and cannot be read (no permission, a FIFO, a link to a
        // device, a huge file) is left alone; the defaults then hold for this run.
        if (!pathExists(iniPath)) {
            const std::string& content = *text;
            writeFileAtomically(iniPath, [&](const auto& emit) { emit(content); });
        }
    }
    return DriveTable(parse(*text), appDir);
}

std::vector<DriveEntry> DriveTable::parse(std::string_view text) {
    std::vector<DriveEntry> entries;
    for (const std::string& lineText : splitLines(withoutUtf8Bom(text))) {
        const std::string_view line = lineText;

        std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') continue;

        size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view letterText = trimBlanks(line.substr(0, equals));
        std::optional<char> letter = letterText.size() == 1 ? driveIndexLetter(letterText.front()) : std::nullopt;
        if (!letter) continue;

        std::string_view rest = line.substr(equals + 1);
        size_t kindEnd = rest.find(';');
        if (kindEnd == std::string_view::npos) continue;
        std::optional<DriveKind> kind = kindFromName(trimBlanks(rest.substr(0, kindEnd)));
        if (!kind) continue;

        rest.remove_prefix(kindEnd + 1);
        size_t pathEnd = rest.find(';');
        std::optional<std::string> path = drivePath(trimBlanks(rest.substr(0, pathEnd)));
        // A control character makes no folder a user means (a NUL would end the path early for
        // the system).
        if (!path || std::any_of(path->begin(), path->end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            continue;

        DriveEntry entry{*letter, *kind, *path, std::nullopt};
        if (pathEnd != std::string_view::npos && *kind != DriveKind::CdRom)
            entry.label = std::string(rest.substr(pathEnd + 1));
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string DriveTable::format(const std::vector<DriveEntry>& entries) {
    std::string text;
    for (const DriveEntry& entry : entries) {
        text += entry.letter;
        text += '=';
        text += kindName(entry.kind);
        text += ';';
        text += entry.path;
        if (entry.label) {
            text += ';';
            text += *entry.label;
        }
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> DriveTable::findOpticalDevices(const std::string& deviceDir) {
    std::vector<std::string> devices;
    for (int n = 0; n < 64 && devices.size() < kMaxDefaultOpticalDrives; ++n) {
        std::string device = deviceDir + "/sr" + std::to_string(n);
        struct stat st {};
        if (stat(device.c_str(), &st) == 0) devices.push_back(device);
    }
    return devices;
}

std::string DriveTable::defaultDrivesIniText(const std::vector<std::string>& opticalDevices) {
    std::vector<DriveEntry> entries{{'C', DriveKind::Fixed, "/", std::nullopt}};
    char letter = 'D';
    for (const std::string& device : opticalDevices) {
        if (letter > 'Z') break;
        entries.push_back({letter++, DriveKind::CdRom, device, std::nullopt});
    }
    return format(entries);
}

std::vector<DriveEntry> DriveTable::entries() const {
    std::vector<DriveEntry> all;
    for (const std::optional<DriveEntry>& drive : drives_)
        if (drive) all.push_back(*drive);
    return all;
}

const DriveEntry* DriveTable::find(char letter) const {
    std::optional<char> upper = driveIndexLetter(letter);
    if (!upper) return nullptr;
    const std::optional<DriveEntry>& slot = drives_[static_cast<size_t>(*upper - 'A')];
    return slot ? &*slot : nullptr;
}

DriveKind DriveTable::kind(char letter) const {
    const DriveEntry* drive = find(letter);
    return drive ? drive->kind : DriveKind::None;
}

std::vector<char> DriveTable::cdDrives() const {
    std::vector<char> letters;
    for (char letter = 'B'; letter <= 'Z'; ++letter)
        if (kind(letter) == DriveKind::CdRom) letters.push_back(letter);
    return letters;
}

std::vector<char> DriveTable::hardDrives() const {
    std::vector<char> letters;
    for (char letter = 'B'; letter <= 'Z'; ++letter) {
        DriveKind k = kind(letter);
        if (k == DriveKind::Fixed || k == DriveKind::Removable) letters.push_back(letter);
    }
    return letters;
}

std::string storableLabel(std::string label) {
    // A label in an 8-bit code page would make the database file that holds it unreadable as
    // UTF-8; read it as the Windows program's labels are.
    if (!isValidUtf8(label)) label = windows1252ToUtf8(label);
    for (char& c : label)
        if (c == ':' || c == '\\' || static_cast<unsigned char>(c) < 32) c = '_';
    return label;
}

std::optional<std::string> DriveTable::volumeLabel(char letter) const {
    std::optional<std::string> label = rawVolumeLabel(letter);
    if (label) label = storableLabel(std::move(*label));
    return label;
}

std::optional<std::string> DriveTable::rawVolumeLabel(char letter) const {
    const DriveEntry* drive = find(letter);
    if (!drive) return std::nullopt;
    if (drive->kind != DriveKind::CdRom) {
        if (!isDirectory(drive->path)) return std::nullopt;
        if (drive->label) return drive->label;
        return labelOfFolderFilesystem(drive->path);
    }
    if (!isRealDevice(*drive)) return simulatedDiskLabel(*drive);
    if (!mountPointOfDevice(drive->path)) return std::nullopt;
    // Mounted, so a disk is in; a label we may not read counts as an empty one.
    return readFilesystemLabel(drive->path).value_or(std::string());
}

std::optional<std::string> DriveTable::rootPath(char letter) const {
    const DriveEntry* drive = find(letter);
    if (!drive) return std::nullopt;
    if (drive->kind != DriveKind::CdRom) {
        if (!isDirectory(drive->path)) return std::nullopt;
        return drive->path;
    }
    if (!isRealDevice(*drive)) {
        if (!simulatedDiskLabel(*drive)) return std::nullopt;
        return drive->path;
    }
    return mountPointOfDevice(drive->path);
}

bool DriveTable::ejectTray(char letter) { return trayCommand(letter, true); }

bool DriveTable::closeTray(char letter) { return trayCommand(letter, false); }

bool DriveTable::trayCommand(char letter, bool openTray) {
    const DriveEntry* drive = find(letter);
    if (!drive || drive->kind != DriveKind::CdRom) return false;
    if (isRealDevice(*drive)) return moveTray(drive->path, openTray);
    if (appDir_.empty()) return false;
    const std::string line = std::string(openTray ? "EjectCD " : "CloseCD ") + drive->letter + ":";
    return !appendLine(appDir_ + "/" + std::string(kLogName), line);
}

std::optional<std::string> DriveTable::catalogToNative(const std::string& catalogPath) const {
    if (catalogPath.size() < 2 || catalogPath[1] != ':') return std::nullopt;
    std::optional<std::string> root = rootPath(catalogPath[0]);
    if (!root) return std::nullopt;
    return nativeBelow(*root, std::string_view(catalogPath).substr(2));
}

std::optional<std::string> DriveTable::nativeBelow(const std::string& root, std::string_view pathOnDrive) {
    std::string native = root;
    size_t pos = 0;
    while (pos <= pathOnDrive.size()) {
        size_t end = pathOnDrive.find_first_of("\\/", pos);
        if (end == std::string::npos) end = pathOnDrive.size();
        std::string_view component = pathOnDrive.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty() || component == ".") continue;
        if (component == "..") return std::nullopt;
        if (native.back() != '/') native += '/';
        // Names are kept as text; one that was not UTF-8 on the disk gets its own bytes back.
        native += textToFileName(component);
    }
    return native;
}

std::optional<std::string> DriveTable::nativeToCatalog(const std::string& nativePath) const {
    std::optional<std::string> path = normalizedAbsolute(nativePath);
    if (!path) return std::nullopt;

    char bestLetter = 0;
    size_t bestLength = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!find(letter)) continue;
        std::optional<std::string> root = rootPath(letter);
        if (!root) continue;
        bool below = *root == "/" || *path == *root ||
                     (path->size() > root->size() && path->compare(0, root->size(), *root) == 0 &&
                      (*path)[root->size()] == '/');
        if (below && (bestLetter == 0 || root->size() > bestLength)) {
            bestLetter = letter;
            bestLength = root->size();
        }
    }
    if (bestLetter == 0) return std::nullopt;

    std::string rest = path->size() > bestLength ? path->substr(bestLength) : std::string();
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    for (char& c : rest)
        if (c == '/') c = '\\';
    return std::string(1, bestLetter) + ":\\" + fileNameToText(rest);
}

} // namespace velmo::platform
