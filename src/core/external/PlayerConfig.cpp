#include "external/PlayerConfig.h"

namespace velmo {

const std::vector<TPlayerConfig>& defaultPlayerConfigs() {
    static const std::vector<TPlayerConfig> configs = {
        {"Audacious", "audacious", "", "", "m3u", "", false, false, false},
        {"VLC", "vlc", "", "", "m3u", "", false, false, false},
        {"mpv", "mpv", "", "", "m3u", "", false, false, false},
        {"User's", "", "", "", "m3u", "", false, false, false},
    };
    return configs;
}

std::vector<std::string> playerConfigLines(const std::vector<TPlayerConfig>& configs) {
    std::vector<std::string> lines;
    lines.reserve(configs.size() * kPlayerConfigBlockLines);
    for (const TPlayerConfig& c : configs) {
        lines.push_back("[" + c.Name + "]");
        lines.push_back(c.ApplicationPath);
        lines.push_back(c.ParameterBefore);
        lines.push_back(c.ParameterAfter);
        lines.push_back(c.FileListExt);
        lines.push_back(c.FirstLine);
        lines.push_back(c.PassFirstSeparately ? "DoPassFirstParamSeparately" : "DoNotPassFirstParamSeparately");
        lines.push_back(c.PassLastSeparately ? "DoPassLastParamSeparately" : "DoNotPassLastParamSeparately");
        lines.push_back(c.PassLastBeforeFile ? "DoPassLastParamBeforeLastFile" : "DoNotPassLastParamBeforeLastFile");
    }
    return lines;
}

std::optional<std::vector<TPlayerConfig>> parsePlayerConfigLines(const std::vector<std::string>& lines) {
    if (lines.empty() || lines.size() % kPlayerConfigBlockLines != 0) return std::nullopt;
    std::vector<TPlayerConfig> configs;
    for (size_t b = 0; b + kPlayerConfigBlockLines <= lines.size() && configs.size() < kMaxPlayerConfigs;
         b += kPlayerConfigBlockLines) {
        TPlayerConfig c;
        // The name is the first line without its first and last characters, whatever they are.
        const std::string& nameLine = lines[b];
        c.Name = nameLine.size() >= 2 ? nameLine.substr(1, nameLine.size() - 2) : std::string();
        c.ApplicationPath = lines[b + 1];
        c.ParameterBefore = lines[b + 2];
        c.ParameterAfter = lines[b + 3];
        c.FileListExt = lines[b + 4];
        c.FirstLine = lines[b + 5];
        c.PassFirstSeparately = lines[b + 6] == "DoPassFirstParamSeparately";
        c.PassLastSeparately = lines[b + 7] == "DoPassLastParamSeparately";
        c.PassLastBeforeFile = lines[b + 8] == "DoPassLastParamBeforeLastFile";
        configs.push_back(std::move(c));
    }
    return configs;
}

} // namespace velmo
