// The server's ";"-separated record and its "|"-separated move list, split at the first zero
// byte of the input.
#include <cstdint>
#include <cstring>

#include "GiboFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const void* zero = std::memchr(text, 0, size);
  std::size_t split = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : size;
  CGiboRecord record;
  record.SetFromServerText(CString(text, static_cast<int>(split)));
  if (split < size) record.SetMoves(CString(text + split + 1, static_cast<int>(size - split - 1)));
  ExerciseGiboRecord(record);
  return 0;
}
