// Arbitrary bytes as what other programs of the suite leave in the window channel: a published
// window list, and a request arriving on the socket in pieces. Neither may fault, and whatever is
// accepted must survive being written out and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../../platform/src/process/RequestReader.h"
#include "../../platform/src/process/WindowList.h"

namespace {

using platform::process::RequestReader;

void CheckWindowList(std::string_view text) {
  platform::process::WindowList list = platform::process::ParseWindowList(text);
  if (list.instance == 0) return;
  platform::process::WindowList again =
      platform::process::ParseWindowList(platform::process::FormatWindowList(list));
  if (again.instance != list.instance || again.windows.size() != list.windows.size()) __builtin_trap();
  for (std::size_t i = 0; i < list.windows.size(); ++i) {
    if (again.windows[i].handle != list.windows[i].handle ||
        again.windows[i].className != list.windows[i].className ||
        again.windows[i].title != list.windows[i].title)
      __builtin_trap();
  }
}

// Feeds the bytes in pieces whose sizes come from the first byte.
void CheckRequest(std::string_view bytes) {
  if (bytes.empty()) return;
  std::size_t piece = 1 + static_cast<unsigned char>(bytes.front()) % 97;
  bytes.remove_prefix(1);
  RequestReader reader;
  for (std::size_t at = 0; at < bytes.size() && reader.GetState() == RequestReader::State::Incomplete;
       at += piece)
    reader.Feed(bytes.substr(at, piece));
  if (reader.GetState() != RequestReader::State::Complete) return;
  const platform::process::Request& first = reader.GetRequest();
  RequestReader again;
  if (again.Feed(platform::process::EncodeRequest(first)) != RequestReader::State::Complete) __builtin_trap();
  const platform::process::Request& second = again.GetRequest();
  if (second.kind != first.kind || second.target != first.target || second.bytes != first.bytes ||
      second.dwData != first.dwData || second.sender != first.sender)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) CheckWindowList(bytes);
  else CheckRequest(bytes);
  return 0;
}
