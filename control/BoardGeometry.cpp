#include "control/BoardGeometry.h"

void CBoardGeometry::Calculate(int cx, int cy, bool labels) {
  m_labels = labels;
  const int cells = labels ? BOARD_LINES + 1 : BOARD_LINES;
  cx = cx > 0 ? cx : 0;
  cy = cy > 0 ? cy : 0;
  m_px = cx / cells;
  m_py = cy / cells;
  m_ox = (cx % cells) / 2;
  m_oy = (cy % cells) / 2;
  m_half = m_px / 2;
  for (int row = 0; row < BOARD_LINES; ++row) {
    for (int col = 0; col < BOARD_LINES; ++col) {
      RECT& r = m_regions[row * BOARD_LINES + col];
      if (labels) {
        const int x = (col + 1) * m_px + m_ox;
        const int y = (row + 1) * m_py + m_oy;
        r = RECT{x - m_half, y - m_py / 2, x + m_half, y + m_half};
      } else {
        const int top = row * m_py + m_py / 2 - m_half + m_oy;
        r = RECT{col * m_px + m_ox, top, col * m_px + 2 * m_half + m_ox, top + 2 * m_half};
      }
    }
  }
}

int CBoardGeometry::HitTest(POINT pixel) const {
  // Regions stand in rows and columns: find the row band and the column band, then confirm.
  for (int index = 0; index < POINT_COUNT; index += BOARD_LINES) {
    const RECT& first = m_regions[index];
    if (pixel.y < first.top || pixel.y >= first.bottom)
      continue;
    for (int k = index; k < index + BOARD_LINES; ++k) {
      const RECT& r = m_regions[k];
      if (pixel.x >= r.left && pixel.x < r.right)
        return k;
    }
  }
  return -1;
}

POINT CBoardGeometry::Centre(int index) const {
  const int row = index / BOARD_LINES;
  const int col = index % BOARD_LINES;
  if (m_labels)
    return POINT{(col + 1) * m_px + m_ox, (row + 1) * m_py + m_oy};
  return POINT{col * m_px + m_half + m_ox, row * m_py + m_py / 2 + m_oy};
}
