#pragma once
// Command lines as Windows programs read them, and the program a line names.
#include <optional>
#include <string>
#include <vector>

namespace platform::shell {

// Splits a command line into arguments: blanks separate, double quotes group, 2n backslashes
// before a quote give n backslashes and a quote that groups, 2n+1 give n and a literal quote.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The path of the program a command line names (see shell.h), or nothing when none is found.
std::optional<std::string> ResolveProgram(const std::string& name);

}  // namespace platform::shell
