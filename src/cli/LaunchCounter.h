#pragma once
#include "platform/ProcessLauncher.h"

namespace velmo::cli {

// The launcher of a run, counting what was started and what could not be, so that a command
// that started nothing, or whose program failed to start, can say so in its exit status.
class LaunchCounter final : public platform::ProcessLauncher {
public:
    explicit LaunchCounter(platform::ProcessLauncher& launcher) : launcher_(launcher) {}

    std::optional<std::string> start(const std::string& program, const std::vector<std::string>& arguments,
                                     const std::string& workingFolder) override {
        ++attempts;
        auto failure = launcher_.start(program, arguments, workingFolder);
        if (failure) ++failures;
        return failure;
    }

    int attempts = 0;
    int failures = 0;

private:
    platform::ProcessLauncher& launcher_;
};

} // namespace velmo::cli
