// velmo-cli: the music database without windows, for scripts and tests.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velmo::cli::runCli(args, std::cout, std::cerr);
}
