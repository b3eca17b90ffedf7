#include "CommandLine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace platform::shell {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsRunnableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool EndsWithExe(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".exe";
}

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return std::nullopt;
  std::string folders = path;
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    std::string candidate = folder + "/" + name;
    if (IsRunnableFile(candidate)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<std::string> FindAsGiven(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    if (IsRunnableFile(name)) return name;
    return std::nullopt;
  }
  if (IsRunnableFile("./" + name)) return "./" + name;
  return FindOnPath(name);
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      std::size_t slashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        arg.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          arg += '"';
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, '\\');
        if (i < line.size() && (quoted || !IsBlank(line[i]))) arg += line[i++];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::optional<std::string> ResolveProgram(const std::string& name) {
  if (name.empty()) return std::nullopt;
  std::string unixName = name;
  std::replace(unixName.begin(), unixName.end(), '\\', '/');
  if (auto found = FindAsGiven(unixName)) return found;
  if (EndsWithExe(unixName)) return FindAsGiven(unixName.substr(0, unixName.size() - 4));
  return std::nullopt;
}

}  // namespace platform::shell
