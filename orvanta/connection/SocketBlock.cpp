#include "orvanta/connection/SocketBlock.h"

#include <cstring>

namespace {
constexpr char kEsc = 0x1B;
constexpr char kLf = 0x0A;
}  // namespace

CSocketBlock::CSocketBlock(const void* data, int length) {
  if (data == nullptr || length <= 0)
    return;
  m_pData = std::make_unique<char[]>(static_cast<std::size_t>(length));
  std::memcpy(m_pData.get(), data, static_cast<std::size_t>(length));
  m_nLength = length;
}

CSocketBlock::CSocketBlock(std::unique_ptr<char[]> buffer, int length)
    : m_nLength(buffer && length > 0 ? length : 0), m_pData(m_nLength > 0 ? std::move(buffer) : nullptr) {}

int CSocketBlock::Consume(int count) {
  if (count <= 0)
    return m_nLength;
  if (count >= m_nLength) {
    m_pData.reset();
    m_nLength = 0;
    m_nOffset = 0;
    return 0;
  }
  // Partial sends and reads only move the start: the bytes are not copied again.
  m_nOffset += count;
  m_nLength -= count;
  return m_nLength;
}

BOOL CSocketBlock::EndsWithFrame(const char* data, int length) {
  for (int i = length - 1; i >= 0; --i) {
    if (data[i] == kEsc)
      return i + 1 < length && data[i + 1] == kLf;
  }
  return FALSE;
}
