#include "SharedPixels.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace platform::detail {
namespace {

// Xlib's error handler takes no context, so the refusal of an attach is noted here; it is set
// and read only around one round trip on the one thread that talks to the server.
bool& AttachRefused() {
  static bool refused = false;
  return refused;
}

int NoteRefusal(::Display*, XErrorEvent*) {
  AttachRefused() = true;
  return 0;
}

// A server reached through a socket of this machine can map this process's segments.
bool IsLocal(::Display* display) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(ConnectionNumber(display), reinterpret_cast<sockaddr*>(&address), &length) != 0) return false;
  return address.ss_family == AF_UNIX;
}

}  // namespace

std::shared_ptr<SharedPixels> SharedPixels::Open(_XDisplay* display) {
  const char* wanted = std::getenv("PLATFORM_X11_SHM");
  if (wanted && std::strcmp(wanted, "0") == 0) return nullptr;
  if (!IsLocal(display) || !XShmQueryExtension(display)) return nullptr;
  auto store = std::make_shared<SharedPixels>(display);
  store->m_completionType = XShmGetEventBase(display) + ShmCompletion;
  Segment probe = store->Attach(4096);
  if (!probe.address) return nullptr;
  XShmSegmentInfo info{probe.id, probe.shmid, probe.address, False};
  XShmDetach(display, &info);
  shmdt(probe.address);
  return store;
}

SharedPixels::~SharedPixels() {
  for (auto& [pixels, segment] : m_segments) shmdt(segment.address);
}

SharedPixels::Segment SharedPixels::Attach(std::size_t bytes) {
  Segment segment;
  segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (segment.shmid < 0) return Segment{};
  void* address = shmat(segment.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(segment.shmid, IPC_RMID, nullptr);
    return Segment{};
  }
  segment.address = static_cast<char*>(address);
  XShmSegmentInfo info{0, segment.shmid, segment.address, False};
  // A server that cannot map the segment (another machine's, or one refusing) says so in an
  // error: the round trip waits for it.
  AttachRefused() = false;
  XErrorHandler previous = XSetErrorHandler(NoteRefusal);
  Status sent = XShmAttach(m_display, &info);
  XSync(m_display, False);
  XSetErrorHandler(previous);
  // Both sides hold it now: it goes when the last lets go, also when this process dies.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!sent || AttachRefused()) {
    shmdt(segment.address);
    return Segment{};
  }
  segment.id = info.shmseg;
  return segment;
}

std::uint32_t* SharedPixels::Allocate(std::size_t count) {
  Segment segment = m_display && count ? Attach(count * sizeof(std::uint32_t)) : Segment{};
  if (!segment.address) return static_cast<std::uint32_t*>(::operator new(count * sizeof(std::uint32_t)));
  auto* pixels = reinterpret_cast<std::uint32_t*>(segment.address);
  m_segments[pixels] = segment;
  return pixels;
}

void SharedPixels::Free(std::uint32_t* pixels, std::size_t) {
  auto it = m_segments.find(pixels);
  if (it == m_segments.end()) {
    ::operator delete(pixels);
    return;
  }
  // Every put from the segment was waited for, so the server no longer reads it.
  if (m_display) {
    XShmSegmentInfo info{it->second.id, it->second.shmid, it->second.address, False};
    XShmDetach(m_display, &info);
  }
  shmdt(it->second.address);
  m_segments.erase(it);
}

const SharedPixels::Segment* SharedPixels::SegmentOf(const std::uint32_t* pixels) const {
  auto it = m_segments.find(pixels);
  return it == m_segments.end() ? nullptr : &it->second;
}

}  // namespace platform::detail
