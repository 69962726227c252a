// velmo-cli: the music database without windows, for scripts and tests.
#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "CliCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    velmo::cli::Terminal terminal;
    terminal.stdinIsTerminal = ::isatty(STDIN_FILENO) == 1;
    terminal.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    struct winsize size {};
    if (terminal.stderrIsTerminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0) terminal.columns = size.ws_col;
    terminal.in = &std::cin;
    terminal.exitWithoutTeardown = true;
    return velmo::cli::runCli(args, std::cout, std::cerr, terminal);
}
