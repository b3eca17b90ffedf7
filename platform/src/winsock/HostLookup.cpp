#include "HostLookup.h"

#include <cstring>

#include "LoopBridge.h"

namespace platform::winsock {

int WriteHostent(const host::ResolvedHost& host, char* buffer, int length, int& needed) {
  const std::size_t count = host.addresses.size();
  const std::size_t listBytes = sizeof(char*) * (1 + count + 1);  // no aliases, then the addresses
  const std::size_t addressBytes = 4 * count;
  const std::size_t total = sizeof(hostent) + listBytes + addressBytes + host.name.size() + 1;
  needed = static_cast<int>(total);
  if (buffer == nullptr || reinterpret_cast<std::uintptr_t>(buffer) % alignof(hostent) != 0)
    return WSAEFAULT;
  if (length < 0 || static_cast<std::size_t>(length) < total)
    return WSAENOBUFS;

  auto* entry = reinterpret_cast<hostent*>(buffer);
  auto** aliases = reinterpret_cast<char**>(buffer + sizeof(hostent));
  char** addressList = aliases + 1;
  char* addresses = reinterpret_cast<char*>(addressList + count + 1);
  char* name = addresses + addressBytes;

  aliases[0] = nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(addresses + 4 * i, &host.addresses[i], 4);
    addressList[i] = addresses + 4 * i;
  }
  addressList[count] = nullptr;
  std::memcpy(name, host.name.c_str(), host.name.size() + 1);

  entry->h_name = name;
  entry->h_aliases = aliases;
  entry->h_addrtype = AF_INET;
  entry->h_length = 4;
  entry->h_addr_list = addressList;
  return 0;
}

int LookupError(host::LookupResult result) {
  switch (result) {
    case host::LookupResult::kFound:
      return 0;
    case host::LookupResult::kNoAddress:
      return WSANO_DATA;
    case host::LookupResult::kTryAgain:
      return WSATRY_AGAIN;
    case host::LookupResult::kNotFound:
      break;
  }
  return WSAHOST_NOT_FOUND;
}

HostLookup& HostLookup::Instance() {
  // Never destroyed, like the socket table: a socket destroyed at exit still cancels through it.
  // Workers still resolving then simply end with the process.
  static HostLookup* lookup = new HostLookup();
  return *lookup;
}

HANDLE HostLookup::Start(HWND window, UINT message, const char* name, char* buffer, int length, int& error) {
  error = 0;
  if (window == nullptr || name == nullptr || buffer == nullptr) {
    error = WSAEFAULT;
    return nullptr;
  }
  if (reinterpret_cast<std::uintptr_t>(buffer) % alignof(hostent) != 0) {
    error = WSAEFAULT;
    return nullptr;
  }
  JoinFinishedWorkers();
  auto request = std::make_shared<Request>();
  request->window = window;
  request->message = message;
  request->name = name;
  request->buffer = buffer;
  request->length = length;
  std::lock_guard lock(m_mutex);
  request->id = m_nextId++;
  m_pending[request->id] = request;
  m_workers.push_back({std::thread([this, request] { Run(request); }), request});
  return reinterpret_cast<HANDLE>(request->id);
}

int HostLookup::Cancel(HANDLE handle) {
  std::lock_guard lock(m_mutex);
  auto found = m_pending.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == m_pending.end())
    return WSAEINVAL;
  // The worker answers under the same lock, so after this it can no longer touch the buffer.
  m_pending.erase(found);
  return 0;
}

void HostLookup::Run(const std::shared_ptr<Request>& request) {
  host::ResolvedHost host;
  host::LookupResult result = host::ResolveIPv4(request->name, host);
  std::lock_guard lock(m_mutex);
  if (m_pending.erase(request->id) != 0)
    Answer(*request, host, result);
  request->finished = true;
}

void HostLookup::Answer(Request& request, const host::ResolvedHost& host, host::LookupResult result) {
  int needed = 0;
  int error = LookupError(result);
  if (error == 0)
    error = WriteHostent(host, request.buffer, request.length, needed);
  LPARAM reply = MAKELPARAM(static_cast<WORD>(needed), static_cast<WORD>(error));
  PostToWindow(request.window, request.message, reinterpret_cast<WPARAM>(reinterpret_cast<HANDLE>(request.id)), reply);
}

void HostLookup::JoinFinishedWorkers() {
  std::vector<Worker> finished;
  {
    std::lock_guard lock(m_mutex);
    for (auto it = m_workers.begin(); it != m_workers.end();) {
      if (it->request->finished) {
        finished.push_back(std::move(*it));
        it = m_workers.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (Worker& worker : finished)
    worker.thread.join();
}

}  // namespace platform::winsock
