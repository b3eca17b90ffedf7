// SGF files read from disk, with their line ends and blanks.
#include <cstdint>
#include <cstdio>
#include <string>

#include <platform/files.h>

#include "GiboFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::TempDir dir;
  static const std::string path = dir / "input.sgf";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  CGiboRecord record;
  if (record.ReadFile(path.c_str())) ExerciseGiboRecord(record);
  return 0;
}
