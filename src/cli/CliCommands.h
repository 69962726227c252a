#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace velmo::cli {

// The terminal velmo-cli runs at, as far as it matters to it.
struct Terminal {
    bool stdinIsTerminal = false;
    bool stderrIsTerminal = false;
    int columns = 0;            // of stderr's terminal; 0 when unknown
    std::istream* in = nullptr; // where a person at the terminal types answers
    // The process ends right after the last save, without freeing the database (velmo-cli's
    // own run; never a test's).
    bool exitWithoutTeardown = false;
};

// Runs one velmo-cli invocation (arguments without the program name): its commands one after
// the other on one database. Returns the exit status: 0 success, 1 a failure the program
// reported, 2 a usage error, 130 a copy stopped by Ctrl-C or SIGTERM.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal);
// The same without a terminal: nobody answers, no progress line.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velmo::cli
