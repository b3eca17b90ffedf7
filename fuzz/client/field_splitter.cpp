// Arbitrary text split at the separator named by the first byte; every field handed out must
// lie inside the splitter's copy and be terminated.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "client/relay/FieldSplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  CFieldSplitter s;
  int count = s.Split(text.c_str(), static_cast<char>(data[0]));
  std::size_t total = 0;
  for (int i = 0; i < count && i < CFieldSplitter::kMaxFields; ++i) {
    const char* field = s.GetField(i);
    if (!field) __builtin_trap();
    total += std::strlen(field) + 1;
  }
  if (count >= 0 && s.GetField(count) != nullptr) __builtin_trap();
  if (total > std::strlen(text.c_str()) + 1 && count <= CFieldSplitter::kMaxFields) __builtin_trap();
  return 0;
}
