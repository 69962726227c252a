#pragma once
// velmo-cli run as a user runs it: the executable started with its arguments in a program
// folder of its own, its output, errors and exit status captured.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace velmo::test {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    std::string dbPath() const { return app.file("Profiles/Default/Default.vmdb"); }

    // Runs velmo-cli with "--appdir" set to the test's program folder, then `args`.
    Result run(std::vector<std::string> args, bool withAppDir = true) {
        if (withAppDir) args.insert(args.begin(), {"--appdir", app.path()});
        args.insert(args.begin(), VELMO_CLI);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);

        const std::string outPath = capture.file("out"), errPath = capture.file("err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        Result r;
        const int spawned = posix_spawn(&pid, VELMO_CLI, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << VELMO_CLI;
            return r;
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        r.out = readFile(outPath);
        r.err = readFile(errPath);
        return r;
    }

    TempDir app;
    TempDir capture;
};

} // namespace velmo::test
