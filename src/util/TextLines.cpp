#include "util/TextLines.h"

namespace velmo {

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size()) pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    }
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out.append(line).append("\r\n");
    return out;
}

std::vector<std::string> splitListLine(std::string_view line) {
    if (line == ";") return {};
    std::vector<std::string> entries;
    size_t start = 0;
    for (;;) {
        size_t semicolon = line.find(';', start);
        if (semicolon == std::string_view::npos) {
            entries.emplace_back(line.substr(start));
            break;
        }
        entries.emplace_back(line.substr(start, semicolon - start));
        if (semicolon + 1 == line.size()) break;
        start = semicolon + 1;
    }
    return entries;
}

std::string joinListLine(const std::vector<std::string>& entries) {
    if (entries.empty()) return {};
    if (entries.size() == 1) return entries.front();
    return joinListLineTerminated(entries);
}

std::string joinListLineTerminated(const std::vector<std::string>& entries) {
    if (entries.empty()) return ";";
    std::string out;
    for (const auto& e : entries) out.append(e).push_back(';');
    return out;
}

} // namespace velmo
