#pragma once
#include <csignal>

namespace velmo::cli {

// While it exists, Ctrl-C (SIGINT) and SIGTERM do not end the program but are noted, so a copy
// can stop as its Abort button stops it and still write its playlist and save the database.
// A second signal ends the program as usual. The previous handlers come back at its end.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // True once a signal arrived while a guard existed (reset by the next guard).
    static bool interrupted();

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

} // namespace velmo::cli
