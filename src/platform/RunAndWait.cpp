#include "platform/RunAndWait.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace velmo::platform {

ProcessExit runAndWait(const std::string& program, const std::vector<std::string>& arguments) {
    ProcessExit result;
    if (program.empty()) {
        result.failure = std::strerror(ENOENT);
        return result;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, 2, 1);
    pid_t child = 0;
    // posix_spawnp reports a program that cannot be executed as its result, not as an exit
    // status of 127, so a missing program is told apart from one that failed.
    const int spawned = ::posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.failure = std::strerror(spawned);
        return result;
    }
    int wstatus = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &wstatus, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited < 0) {
        result.failure = std::strerror(errno);
        return result;
    }
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    return result;
}

} // namespace velmo::platform
