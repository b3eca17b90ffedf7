#pragma once
// An off-screen picture a window paints into before copying it to the screen. It is kept between
// paints and grown only when a paint needs more than it has, with room to spare, so a resize or a
// repaint allocates nothing while the window keeps to sizes it has had or a little larger.
#include "platform/gdi.h"

class CBackBuffer {
public:
  CBackBuffer() = default;
  CBackBuffer(const CBackBuffer&) = delete;
  CBackBuffer& operator=(const CBackBuffer&) = delete;
  ~CBackBuffer();
  // The memory context to paint width x height pixels into, compatible with target; null when
  // no picture of that size can be made.
  CDC* Begin(CDC* target, int width, int height);
  // The picture's size as made so far: at least every size asked for, and on a side at most half
  // as much again as the largest asked for, or the screen's size.
  CSize GetCapacity() const { return m_capacity; }

private:
  CDC m_memory;
  CBitmap m_picture;
  CBitmap* m_oldPicture{nullptr};
  CSize m_capacity{0, 0};
};
