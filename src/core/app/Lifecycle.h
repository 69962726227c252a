#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

struct Session;

struct StartupOptions {
    // The program's arguments, without the program name.
    std::vector<std::string> arguments;
    // Use this listed profile for the run instead of the current one, without making it the
    // current one in Options.ini.
    std::optional<std::string> profile;
    // Asked once everything is loaded: whether the database needs a reset (no unheard songs
    // left). Yes runs "Reset icons".
    std::function<bool(Session&)> askForReset;
    // A seed given by the user: the playlists of the run follow one reproducible sequence.
    std::optional<uint64_t> seed;
};

// The start-up steps that need no window: debug switch, the Profiles and Language folders,
// Options.ini and the profile's files (written with defaults on a first run), the database,
// the reset question. False when the database did not load whole or the profile is unknown;
// the errors have been shown.
bool Startup(Session& s, const StartupOptions& options);

// "Quit the program right now ?" when ConfirmClose is on; true when the program may close.
bool FormCloseQuery(Session& s);

// Before the database is left (exit, profile switch): nothing when it is not modified;
// otherwise the save question, or the automatic action chosen in the options.
void AskForSaving(Session& s);

// Closing: AskForSaving (unless `askForSaving` is false: a save that just failed and was
// reported is not tried and reported again), then Options.ini and the profile's files are
// written. A profile used for one run only does not become the current one in Options.ini.
void Shutdown(Session& s, bool askForSaving = true);

} // namespace velmo
