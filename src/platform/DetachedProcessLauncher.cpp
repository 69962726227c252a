#include "platform/ProcessLauncher.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmo::platform {

namespace {

// What the started side reports back through the pipe when it fails before the program runs.
struct StartFailure {
    int step; // kChangeFolder or kExecute
    int error;
};
constexpr int kChangeFolder = 1;
constexpr int kExecute = 2;

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program's path as execv wants it. The PATH search happens here, before fork, because
// the child of a threaded program may only make async-signal-safe calls.
std::string resolveProgram(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* env = std::getenv("PATH");
    const std::string path = env && *env ? env : "/usr/local/bin:/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find(':', begin);
        if (end == std::string::npos) end = path.size();
        const std::string folder = end == begin ? "." : path.substr(begin, end - begin);
        const std::string candidate = folder + "/" + program;
        if (isExecutableFile(candidate)) return candidate;
        begin = end + 1;
    }
    return {};
}

void report(int fd, int step) {
    const StartFailure failure{step, errno};
    [[maybe_unused]] const ssize_t written = ::write(fd, &failure, sizeof failure);
}

std::string cannotStart(const std::string& program, int error) {
    return "Cannot start \"" + program + "\". " + std::strerror(error);
}

} // namespace

std::optional<std::string> DetachedProcessLauncher::start(const std::string& program,
                                                          const std::vector<std::string>& arguments,
                                                          const std::string& workingFolder) {
    if (program.empty()) return cannotStart(program, ENOENT);
    const std::string executable = resolveProgram(program);
    if (executable.empty()) return cannotStart(program, ENOENT);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return cannotStart(program, errno);
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return cannotStart(program, error);
    }
    if (child == 0) {
        // The middle process: a new session, one more fork, then gone at once, so the program
        // is adopted by init and never waits as a zombie for this one to reap it.
        ::close(fds[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            report(fds[1], kExecute);
            ::_exit(127);
        }
        if (grandchild > 0) ::_exit(0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) {
            report(fds[1], kChangeFolder);
            ::_exit(127);
        }
        ::execv(executable.c_str(), argv.data());
        report(fds[1], kExecute);
        ::_exit(127);
    }

    ::close(fds[1]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when exec succeeded (close-on-exec), or carries the failure.
    StartFailure failure{};
    ssize_t got;
    do {
        got = ::read(fds[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    ::close(fds[0]);
    if (got != static_cast<ssize_t>(sizeof failure)) return std::nullopt;
    if (failure.step == kChangeFolder)
        return "Cannot start \"" + program + "\" in the folder \"" + workingFolder + "\". " +
               std::strerror(failure.error);
    return cannotStart(program, failure.error);
}

} // namespace velmo::platform
