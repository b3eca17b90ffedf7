#pragma once
// Temporary files and byte helpers shared by the image tests.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/types.h"

namespace imagetest {

using Bytes = std::vector<BYTE>;

// A per-process file name in the temporary folder.
inline std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("imgtest-" + std::to_string(getpid()) + "-" + name)).string();
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void PutLE(Bytes& bytes, unsigned value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
}

// Calls read(path) on copies of good cut at every 7th byte and with random bytes flipped; the
// readers must fail or succeed cleanly (the sanitizers watch).
template <typename Reader>
void ReadDamagedCopies(const Bytes& good, const std::string& path, Reader read) {
  for (size_t cut = 0; cut < good.size(); cut += 7) {
    WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
    read(path);
  }
  std::mt19937 random(1234);
  for (int round = 0; round < 60; ++round) {
    Bytes damaged = good;
    for (int flips = 0; flips < 4; ++flips) damaged[random() % damaged.size()] ^= static_cast<BYTE>(1 + random() % 255);
    WriteBytes(path, damaged);
    read(path);
  }
  std::remove(path.c_str());
}

}  // namespace imagetest
