#pragma once
// Where tests write the pictures people look at: the folder named by PLATFORM_SNAPSHOT_DIR when
// set, else the folder of the test program, in the build tree (never the source tree).
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

inline std::string SnapshotPath(const std::string& fileName) {
  const char* dir = std::getenv("PLATFORM_SNAPSHOT_DIR");
  std::filesystem::path folder = dir && *dir ? std::filesystem::path(dir)
                                             : std::filesystem::read_symlink("/proc/self/exe").parent_path();
  return (folder / fileName).string();
}

}  // namespace testsupport
