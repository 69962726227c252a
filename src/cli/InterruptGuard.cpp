#include "InterruptGuard.h"

namespace velmo::cli {

namespace {

volatile std::sig_atomic_t signalSeen = 0;

void noteSignal(int) { signalSeen = 1; }

} // namespace

InterruptGuard::InterruptGuard() {
    signalSeen = 0;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the person's answer returns, so the copy stops at once.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

bool InterruptGuard::interrupted() { return signalSeen != 0; }

} // namespace velmo::cli
