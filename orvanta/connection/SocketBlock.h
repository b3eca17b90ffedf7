#pragma once
// CSocketBlock: one chunk of bytes queued on a socket, waiting to be sent or to be read. The block
// always owns its bytes.

#include <memory>

#include <platform/types.h>

class CSocketBlock {
public:
  // Copies length bytes of data (a negative length or null data gives an empty block).
  CSocketBlock(const void* data, int length);
  // Adopts a buffer the receiver filled; its first length bytes are the block.
  CSocketBlock(std::unique_ptr<char[]> buffer, int length);
  CSocketBlock(CSocketBlock&&) = default;
  CSocketBlock& operator=(CSocketBlock&&) = default;

  int GetLength() const { return m_nLength; }
  // The bytes not yet consumed; null when the block is empty.
  const char* GetData() const { return m_pData ? m_pData.get() + m_nOffset : nullptr; }
  // Drops the first count bytes and returns the length left; a count of at least the length frees
  // the data and gives 0; a count <= 0 changes nothing.
  int Consume(int count);
  // True when the last ESC byte of the block is directly followed by LF, i.e. the block ends a
  // group of wire records.
  BOOL EndsWithFrame() const { return EndsWithFrame(GetData(), m_nLength); }
  // The same test on any bytes.
  static BOOL EndsWithFrame(const char* data, int length);

private:
  int m_nLength{0};
  std::unique_ptr<char[]> m_pData;
  int m_nOffset{0};  // bytes already consumed at the front of m_pData
};
