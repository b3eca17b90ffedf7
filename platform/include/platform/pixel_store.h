#pragma once
// Where a surface's pixels are kept: ordinary memory, unless a display lends memory its server
// reads directly (shared memory), so putting the pixels on the screen copies nothing here.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace platform {

// Memory a display lends for surfaces; it may give ordinary memory when it has no more.
class PixelStore {
public:
  virtual ~PixelStore() = default;
  // Room for count pixels; never null (throws std::bad_alloc as operator new does).
  virtual std::uint32_t* Allocate(std::size_t count) = 0;
  // Gives back what Allocate returned for count pixels.
  virtual void Free(std::uint32_t* pixels, std::size_t count) = 0;
};

// The allocator of a surface's pixels: ordinary memory without a store. A copy of a surface
// keeps its pixels in ordinary memory; moving pixels takes their store along.
template <class T>
class PixelAllocator {
  template <class>
  friend class PixelAllocator;

public:
  using value_type = T;
  using propagate_on_container_move_assignment = std::true_type;
  using propagate_on_container_swap = std::true_type;
  using propagate_on_container_copy_assignment = std::false_type;
  using is_always_equal = std::false_type;

  PixelAllocator() = default;
  explicit PixelAllocator(std::shared_ptr<PixelStore> store) : m_store(std::move(store)) {}
  template <class U>
  PixelAllocator(const PixelAllocator<U>& other) : m_store(other.Store()), m_zeroed(other.m_zeroed) {}
  // Ordinary memory that comes zeroed. Large blocks are fresh pages the system zeroes as they are
  // first touched, so a picture painted over in full costs no pass of its own to clear, and room
  // it never paints costs nothing.
  static PixelAllocator Zeroed() {
    PixelAllocator zeroed;
    zeroed.m_zeroed = true;
    return zeroed;
  }

  T* allocate(std::size_t count) {
    if constexpr (std::is_same_v<T, std::uint32_t>) {
      if (m_store) return m_store->Allocate(count);
    }
    // malloc and calloc alike, so memory from either goes back through free.
    void* p = m_zeroed ? std::calloc(count, sizeof(T)) : std::malloc(count * sizeof(T));
    if (!p && count) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t count) {
    if constexpr (std::is_same_v<T, std::uint32_t>) {
      if (m_store) return m_store->Free(p, count);
    }
    std::free(p);
  }
  // Pixels grown by resize are left as they come: the surface writes each of them itself, or they
  // are zeroed memory.
  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  PixelAllocator select_on_container_copy_construction() const { return PixelAllocator(); }
  const std::shared_ptr<PixelStore>& Store() const { return m_store; }

  template <class U>
  bool operator==(const PixelAllocator<U>& other) const { return m_store == other.Store(); }

private:
  std::shared_ptr<PixelStore> m_store;
  bool m_zeroed{false};
};

}  // namespace platform
