#include "DatabaseLines.h"

namespace velmo::test {

std::string folderLine(int depth, const std::string& name, int icon) {
    return std::string(static_cast<size_t>(depth), '\t') + name + ":" + std::to_string(icon) + ":0\r\n";
}

std::string songLine(int depth, const std::string& name, int icon, long size, const std::string& tag) {
    return std::string(static_cast<size_t>(depth), '\t') + name + ":" + std::to_string(icon) + ":" +
           std::to_string(size) + ":" + tag + "\r\n";
}

} // namespace velmo::test
