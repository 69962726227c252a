#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProcessLauncher.h"

namespace velmo::test {

// Remembers every start instead of starting anything; the next answers can be scripted.
class RecordingProcessLauncher : public platform::ProcessLauncher {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
        std::string workingFolder;
        bool operator==(const Start&) const = default;
    };

    std::vector<Start> starts;
    // The results of the next starts (an error text, or nothing for a start); started when empty.
    std::deque<std::optional<std::string>> results;

    std::optional<std::string> start(const std::string& program, const std::vector<std::string>& arguments,
                                     const std::string& workingFolder) override {
        starts.push_back({program, arguments, workingFolder});
        if (results.empty()) return std::nullopt;
        auto result = results.front();
        results.pop_front();
        return result;
    }
};

} // namespace velmo::test
