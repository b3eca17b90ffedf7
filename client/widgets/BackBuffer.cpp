#include "client/widgets/BackBuffer.h"

#include <algorithm>

namespace {

// A side of the picture that must hold wanted and held kept: one that grows takes half as much
// again (up to the screen's size), so a window made larger a step at a time makes a new picture a
// few times rather than at each step; alternating between a wide and a tall size settles on the
// larger of each side.
LONG GrownSide(LONG wanted, LONG kept, LONG screen) {
  if (wanted <= kept) return kept;
  return std::max(wanted, std::min(wanted + wanted / 2, screen));
}

}  // namespace

CBackBuffer::~CBackBuffer() {
  // The picture leaves the context before either goes.
  if (m_oldPicture) m_memory.SelectObject(m_oldPicture);
}

CDC* CBackBuffer::Begin(CDC* target, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (m_memory.GetSafeHdc() == nullptr && !m_memory.CreateCompatibleDC(target)) return nullptr;
  if (width <= m_capacity.cx && height <= m_capacity.cy) return &m_memory;
  // The room to spare is touched only where painted: rows below the window's cost no memory until
  // the window grows into them.
  const CSize grown(GrownSide(width, m_capacity.cx, ::GetSystemMetrics(SM_CXSCREEN)),
                    GrownSide(height, m_capacity.cy, ::GetSystemMetrics(SM_CYSCREEN)));
  if (m_oldPicture) m_memory.SelectObject(m_oldPicture);
  m_oldPicture = nullptr;
  m_picture.DeleteObject();
  m_capacity = CSize(0, 0);
  if (!m_picture.CreateCompatibleBitmap(target, grown.cx, grown.cy)) return nullptr;
  m_oldPicture = m_memory.SelectObject(&m_picture);
  m_capacity = grown;
  return &m_memory;
}
