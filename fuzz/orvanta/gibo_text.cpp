// Whole SGF texts as the server or another program may send them.
#include <cstdint>
#include <cstdlib>

#include "GiboFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CString input(reinterpret_cast<const char*>(data), static_cast<int>(size));
  CGiboRecord record;
  if (!record.SetText(input)) return 0;
  // What the record writes of any text it accepted reads back to as many moves.
  CGiboRecord again;
  if (!again.SetText(record.ToText()) || again.GetTotalMoves() != record.GetTotalMoves()) std::abort();
  ExerciseGiboRecord(record);
  return 0;
}
