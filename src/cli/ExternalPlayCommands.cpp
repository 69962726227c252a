// play and open: "Play now !" with an external player, and the shell command of the context menu.
#include <cstdint>

#include "CliCommand.h"
#include "LaunchCounter.h"
#include "TerminalUi.h"
#include "app/ExternalPlay.h"
#include "app/Session.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::cli {

namespace {

// Shows a program that could not be started (the window's status bar) while `run` runs; true
// when something was started and nothing failed to start.
template <typename Run>
bool startingPrograms(Context& c, const char* nothingStarted, Run run) {
    const int attempts = c.launches.attempts, failures = c.launches.failures;
    c.ui.setStatusShown(true);
    run();
    c.ui.setStatusShown(false);
    if (c.launches.attempts == attempts) {
        c.ui.showError(nothingStarted);
        return false;
    }
    return c.launches.failures == failures;
}

// The player configuration external play would use, when it names a program; else shown as an
// error. The window leaves such a choice silently without effect; a script should hear of it.
bool playerConfigured(Context& c) {
    const Session& s = c.session;
    const int index = s.settings.PlayerConfigIndex;
    if (index < 0 || static_cast<size_t>(index) >= s.PlayerConfigs.size()) {
        c.ui.showError("There is no player configuration " + std::to_string(index) + " (PlayerConfigIndex).");
        return false;
    }
    const TPlayerConfig& config = s.PlayerConfigs[static_cast<size_t>(index)];
    if (config.ApplicationPath.empty()) {
        c.ui.showError("The player configuration \"" + config.Name + "\" names no program.");
        return false;
    }
    return true;
}

bool cmdPlay(Context& c, const Arguments& args) {
    const auto songs = songsOfCaptions(c, args);
    if (!songs || !playerConfigured(c)) return false;
    return startingPrograms(c, "No player was started.", [&] { ExternalPlayNow(c.session, *songs); });
}

bool cmdOpen(Context& c, const Arguments& args) {
    Session& s = c.session;
    const TreeNode* node = nodeOfCaption(c, args[0]);
    if (!node) return false;
    const std::string& command = s.settings.ShellCommand;
    if (command.find('>') == std::string::npos || command.front() == '>') {
        c.ui.showError("The shell command \"" + command + "\" names no program (ShellCommand=PROGRAM>PARAMETERS).");
        return false;
    }
    return startingPrograms(c, "Nothing was opened.", [&] { OpenInShell(s, node); });
}

} // namespace

std::vector<Command> externalPlayCommands() {
    return {
        {"play", 1, SIZE_MAX, false, cmdPlay},
        {"open", 1, 1, false, cmdOpen},
    };
}

} // namespace velmo::cli
