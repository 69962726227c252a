#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace velmo::cli {

// Runs one velmo-cli invocation (arguments without the program name). Returns the exit
// status: 0 success, 1 a failure the program reported, 2 a usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velmo::cli
