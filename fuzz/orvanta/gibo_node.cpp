// A root node as ParseNode reads it out of a file or a text.
#include <cstdint>

#include "GiboFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CGiboRecord record;
  record.ParseNode(CString(reinterpret_cast<const char*>(data), static_cast<int>(size)));
  record.SetMoves(record.GetRootText());  // the same bytes read as moves
  ExerciseGiboRecord(record);
  return 0;
}
