#pragma once
#include <optional>
#include <string>
#include <vector>

namespace velmo::platform {

// How a program run to its end finished.
struct ProcessExit {
    // The exit status, or 128 + the signal that ended the program.
    int status = -1;
    // Set when the program could not be started (and status stays -1): the system's reason.
    std::optional<std::string> failure;
};

// Runs `program` (a path, or a name looked up in PATH) with `arguments`, each one word with no
// shell in between, and waits for it to end. The program shares this process's terminal; what
// it prints on its standard output goes to this process's standard error, so it never mixes
// with the data this process writes. A signal that interrupts the wait does not end it.
ProcessExit runAndWait(const std::string& program, const std::vector<std::string>& arguments);

} // namespace velmo::platform
