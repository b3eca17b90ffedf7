#include "platform/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace platform {
namespace {

// Makes new storage resident past the pixels, up to half as many again (as far as there is room):
// a window made that much larger writes into memory it already has instead of taking a fault on
// every page, and the server reading a shared segment finds the pages there. One call does what
// hundreds of faults would; where the system cannot, the pages simply come when first written.
// Done once for each storage: again over resident pages, it would cost a walk through them.
void MakeRoomAheadResident(PixelVector& pixels) {
  const std::size_t ahead = std::min(pixels.capacity(), pixels.size() + pixels.size() / 2);
  if (ahead <= pixels.size()) return;
  constexpr std::uintptr_t kPage = 4096;
  const auto from = (reinterpret_cast<std::uintptr_t>(pixels.data() + pixels.size()) + kPage - 1) & ~(kPage - 1);
  const auto to = reinterpret_cast<std::uintptr_t>(pixels.data() + ahead) & ~(kPage - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
}

}  // namespace

// The pixels stay in their storage while it is large enough: a window dragged back and forth
// between sizes allocates (and faults in) its surface once.
void Surface::Resize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == width && h == height) return;
  constexpr std::uint32_t kWhite = 0xFFFFFF;
  const int keepW = std::min(w, width);
  const int keepH = std::min(h, height);
  const std::size_t newSize = static_cast<std::size_t>(w) * h;
  // The rows move within the one buffer: narrower rows move towards the start, so they go in
  // order; wider rows move towards the end, so they go from the last.
  const bool newStorage = newSize > pixels.capacity();
  if (newStorage) pixels.reserve(newSize + newSize / 2);
  if (newSize > pixels.size()) pixels.resize(newSize);  // not filled: every pixel is written below
  std::uint32_t* data = pixels.data();
  const auto rowAt = [&](int y, int stride) { return data + static_cast<std::size_t>(y) * stride; };
  if (w < width) {
    for (int y = 1; y < keepH; ++y) std::copy_n(rowAt(y, width), keepW, rowAt(y, w));
  } else if (w > width) {
    for (int y = keepH - 1; y >= 1; --y) std::copy_backward(rowAt(y, width), rowAt(y, width) + keepW, rowAt(y, w) + keepW);
    for (int y = 0; y < keepH; ++y) std::fill(rowAt(y, w) + keepW, rowAt(y, w) + w, kWhite);
  }
  std::fill(rowAt(keepH, w), data + newSize, kWhite);
  pixels.resize(newSize);  // keeps the storage for the next size
  if (newStorage) MakeRoomAheadResident(pixels);
  width = w;
  height = h;
  damage.Add(RECT{keepW, 0, w, keepH});
  damage.Add(RECT{0, keepH, w, h});
}

void Surface::MoveToStore(std::shared_ptr<PixelStore> store, std::size_t room) {
  if (pixels.get_allocator().Store() == store && pixels.capacity() >= room) return;
  PixelVector moved{PixelAllocator<std::uint32_t>(std::move(store))};
  moved.reserve(std::max(pixels.capacity(), room));
  moved.assign(pixels.begin(), pixels.end());
  pixels = std::move(moved);
  MakeRoomAheadResident(pixels);
}

}  // namespace platform
