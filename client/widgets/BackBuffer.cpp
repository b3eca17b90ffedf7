#include "client/widgets/BackBuffer.h"

#include <algorithm>

CBackBuffer::~CBackBuffer() {
  // The picture leaves the context before either goes.
  if (m_oldPicture) m_memory.SelectObject(m_oldPicture);
}

CDC* CBackBuffer::Begin(CDC* target, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (m_memory.GetSafeHdc() == nullptr && !m_memory.CreateCompatibleDC(target)) return nullptr;
  if (width <= m_capacity.cx && height <= m_capacity.cy) return &m_memory;
  // Grown to the larger of each side, so alternating between a wide and a tall size settles.
  const CSize grown(std::max<int>(width, m_capacity.cx), std::max<int>(height, m_capacity.cy));
  if (m_oldPicture) m_memory.SelectObject(m_oldPicture);
  m_oldPicture = nullptr;
  m_picture.DeleteObject();
  m_capacity = CSize(0, 0);
  if (!m_picture.CreateCompatibleBitmap(target, grown.cx, grown.cy)) return nullptr;
  m_oldPicture = m_memory.SelectObject(&m_picture);
  m_capacity = grown;
  return &m_memory;
}
