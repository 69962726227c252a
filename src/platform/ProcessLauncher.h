#pragma once
#include <optional>
#include <string>
#include <vector>

namespace velmo::platform {

// Starts other programs (an external player, the shell command) and leaves them running on
// their own. The core only says what to start; tests hand the session a recording fake.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts `program` (a path, or a name looked up in PATH) with `arguments`, each passed as
    // one word with no shell in between, in `workingFolder` (empty: the program's own). Returns
    // nothing once the program runs, else why it could not be started.
    virtual std::optional<std::string> start(const std::string& program, const std::vector<std::string>& arguments,
                                             const std::string& workingFolder) = 0;
};

// The Linux launcher: the program runs in a session of its own, detached from this one, and is
// never left behind as a zombie. A missing program, one that cannot be executed or a missing
// working folder is reported with the system's reason.
class DetachedProcessLauncher final : public ProcessLauncher {
public:
    std::optional<std::string> start(const std::string& program, const std::vector<std::string>& arguments,
                                     const std::string& workingFolder) override;
};

} // namespace velmo::platform
