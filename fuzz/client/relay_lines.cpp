// Arbitrary bytes from the relay server through the line and block reader: lines of any length,
// photograph lines with any byte count, a connection that ends anywhere.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "client/relay/RelaySocket.h"
#include "platform/time.h"

namespace {

// Serves the input in chunks whose sizes come from the input itself, then reports the close.
class ScriptedSocket : public CRelaySocket {
public:
  ScriptedSocket(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  int Receive(void* buffer, int length, int) override {
    if (m_pos >= m_size) return 0;
    size_t chunk = 1 + (m_data[m_pos] % 7 == 0 ? static_cast<size_t>(length) : m_data[m_pos] % 5);
    if (chunk > static_cast<size_t>(length)) chunk = static_cast<size_t>(length);
    if (chunk > m_size - m_pos) chunk = m_size - m_pos;
    std::memcpy(buffer, m_data + m_pos, chunk);
    m_pos += chunk;
    return static_cast<int>(chunk);
  }

private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos{0};
};

void ReadBlockOfLine(ScriptedSocket& socket, const char* line) {
  const long count = std::strtol(line + 3, nullptr, 10);
  if (count <= 0) return;
  if (count > CRelaySocket::kMaxBlockBytes) {
    char unused = 0;
    if (socket.ReceiveBlock(&unused, static_cast<int>(count > 0x7FFFFFFF ? 0x7FFFFFFF : count))) std::abort();
    return;
  }
  std::vector<char> block(static_cast<size_t>(count));
  socket.ReceiveBlock(block.data(), static_cast<int>(count));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static platform::ManualClockScope clock;
  ScriptedSocket socket(data, size);
  while (socket.ReadLine()) {
    const char* line = socket.GetLine();
    if (socket.GetLineLength() > CRelaySocket::kMaxLine || line[socket.GetLineLength()] != '\0') std::abort();
    if (socket.GetLineLength() >= 3 && (line[0] == 'b' || line[0] == 'w') && line[1] == 'p' && line[2] == '|') {
      ReadBlockOfLine(socket, line);
    }
  }
  return 0;
}
