// Feeds byte blocks, cut at arbitrary points, through the link's receive queue and ReadFrames.
// Checks that nothing overruns, that what is handed out always ends on a record's end mark and
// never holds more than was fed, and that well-formed records come out whole, once, in order.
//
// Input: byte 0 chooses the mode (even: the rest is the raw stream; odd: the rest is cut into
// record payloads that are framed first); byte 1 seeds the block cuts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "orvanta/connection/ServerLink.h"

namespace {

// Gives the test direct access to the receive side, as if blocks had come from the socket.
class CFuzzLink : public CServerLink {
public:
  CFuzzLink() : CServerLink(nullptr, INVALID_SOCKET) {}

  void PretendConnected() { m_bConnected = TRUE; }
  void Deliver(const std::string& bytes) {
    m_receiveQueue.emplace_back(bytes.data(), static_cast<int>(bytes.size()));
  }
  bool HasQueuedBlocks() const { return !m_receiveQueue.empty(); }
};

std::vector<std::string> RecordsFrom(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> records;
  std::size_t at = 0;
  while (at < size) {
    std::size_t length = std::min<std::size_t>(data[at] % 64, size - at - 1);
    std::string payload(reinterpret_cast<const char*>(data + at + 1), length);
    for (char& ch : payload)
      if (ch == 0x1B)
        ch = 'e';  // a payload never holds the framing byte
    records.push_back(CServerLink::FormatFrame(static_cast<int>(records.size()), 1, 2, CString(payload), "1").str());
    at += length + 1;
  }
  return records;
}

std::vector<std::string> CutIntoBlocks(const std::string& stream, unsigned seed) {
  std::vector<std::string> blocks;
  unsigned state = seed * 2654435761u + 1;
  for (std::size_t at = 0; at < stream.size();) {
    state = state * 1103515245u + 12345u;
    std::size_t length = 1 + (state >> 16) % 300;
    blocks.push_back(stream.substr(at, length));
    at += length;
  }
  return blocks;
}

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2)
    return 0;
  static CFuzzLink* link = [] {
    auto* made = new CFuzzLink();
    made->PretendConnected();
    return made;
  }();
  CWndSocket::ClearPendingArea();

  const bool framed = (data[0] & 1) != 0;
  std::vector<std::string> records;
  std::string stream;
  if (framed) {
    records = RecordsFrom(data + 2, size - 2);
    for (const std::string& record : records)
      stream += record;
  } else {
    stream.assign(reinterpret_cast<const char*>(data + 2), size - 2);
  }

  std::string delivered;
  for (const std::string& block : CutIntoBlocks(stream, data[1])) {
    link->Deliver(block);
    const std::string group = link->ReadFrames().str();
    // A group ends where a record ends: the unfinished tail stays held.
    Check(group.empty() || (group.size() >= 2 && group.compare(group.size() - 2, 2, "\x1b\n") == 0));
    delivered += group;
  }
  while (link->HasQueuedBlocks())
    delivered += link->ReadFrames().str();

  Check(delivered.size() + static_cast<std::size_t>(CWndSocket::GetPendingLength()) <= stream.size());
  if (framed) {
    Check(delivered == stream);  // the stream ends with a whole record, so nothing stays held
    Check(CWndSocket::GetPendingLength() == 0);
  }
  return 0;
}
