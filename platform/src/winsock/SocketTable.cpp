#include "SocketTable.h"

#include <vector>

#include "HostSockets.h"

namespace platform::winsock {

SocketTable& SocketTable::Instance() {
  // Never destroyed: objects destroyed at exit (a socket library user held in a static) may still
  // clean up through it.
  static SocketTable* table = new SocketTable();
  return *table;
}

void SocketTable::Start() {
  std::lock_guard lock(m_mutex);
  ++m_startCount;
}

bool SocketTable::Stop() {
  {
    std::lock_guard lock(m_mutex);
    if (m_startCount == 0)
      return false;
    if (--m_startCount > 0)
      return true;
  }
  CloseAll();
  return true;
}

bool SocketTable::IsStarted() const {
  std::lock_guard lock(m_mutex);
  return m_startCount > 0;
}

SOCKET SocketTable::Add(int fd) {
  std::lock_guard lock(m_mutex);
  SOCKET handle = m_nextHandle;
  m_nextHandle += 4;
  m_sockets[handle] = std::make_shared<SocketState>(handle, fd);
  return handle;
}

std::shared_ptr<SocketState> SocketTable::Find(SOCKET handle) const {
  std::lock_guard lock(m_mutex);
  auto found = m_sockets.find(handle);
  return found == m_sockets.end() ? nullptr : found->second;
}

std::shared_ptr<SocketState> SocketTable::Remove(SOCKET handle) {
  std::lock_guard lock(m_mutex);
  auto found = m_sockets.find(handle);
  if (found == m_sockets.end())
    return nullptr;
  auto state = found->second;
  m_sockets.erase(found);
  return state;
}

void SocketTable::OnReady(SOCKET handle, short revents) {
  if (auto state = Find(handle))
    state->OnReady(revents);
}

void SocketTable::CloseAll() {
  std::vector<std::shared_ptr<SocketState>> open;
  {
    std::lock_guard lock(m_mutex);
    for (auto& entry : m_sockets)
      open.push_back(entry.second);
    m_sockets.clear();
  }
  for (auto& state : open) {
    state->Detach();
    host::CloseGracefully(state->Descriptor());
  }
}

}  // namespace platform::winsock
