#pragma once
// Surface memory the X server reads directly (its shared-memory extension): each allocation is
// a segment the server has attached, so putting pixels on a window sends only where they are.
// A segment is marked for removal as soon as both sides hold it, so a crash leaves none behind.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/pixel_store.h"

struct _XDisplay;

namespace platform::detail {

class SharedPixels : public PixelStore {
public:
  // A segment as the server knows it.
  struct Segment {
    unsigned long id{0};  // the server's name for it
    int shmid{-1};
    char* address{nullptr};
  };

  // The store for a connection; null when PLATFORM_X11_SHM is "0", the connection is not local,
  // the server lacks the extension or refuses to attach a first segment.
  static std::shared_ptr<SharedPixels> Open(_XDisplay* display);
  explicit SharedPixels(_XDisplay* display) : m_display(display) {}
  ~SharedPixels() override;
  SharedPixels(const SharedPixels&) = delete;
  SharedPixels& operator=(const SharedPixels&) = delete;

  // A new attached segment, or ordinary memory when none can be had.
  std::uint32_t* Allocate(std::size_t count) override;
  void Free(std::uint32_t* pixels, std::size_t count) override;
  // The segment pixels start, null for ordinary memory.
  const Segment* SegmentOf(const std::uint32_t* pixels) const;
  // The event type that tells a put from a segment is done with it.
  int CompletionType() const { return m_completionType; }
  // The connection is closing: later frees no longer tell the server.
  void Disconnect() { m_display = nullptr; }

private:
  // A segment of bytes the server has attached; address null when it cannot be had.
  Segment Attach(std::size_t bytes);

  _XDisplay* m_display;
  int m_completionType{0};
  std::unordered_map<const std::uint32_t*, Segment> m_segments;
};

}  // namespace platform::detail
