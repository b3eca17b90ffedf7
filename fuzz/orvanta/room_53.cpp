// Game room: server message 53 with a fuzzed payload.
#include <cstdint>

#include "RoomFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  roomfuzz::RunMessage(53, data, size);
  return 0;
}
