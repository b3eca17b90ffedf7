#pragma once
// Host-name lookups: the blocking one, and the asynchronous one that resolves on a worker thread
// and answers with a posted message.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HostSockets.h"
#include "platform/winsock.h"

namespace platform::winsock {

// Lays host out at the start of buffer as a hostent followed by its lists and bytes. Returns 0,
// WSAEFAULT (buffer not pointer-aligned) or WSAENOBUFS; needed receives the size required.
int WriteHostent(const host::ResolvedHost& host, char* buffer, int length, int& needed);
// WinSock error of a failed lookup.
int LookupError(host::LookupResult result);

class HostLookup {
public:
  static HostLookup& Instance();

  // Starts an asynchronous lookup; returns its handle, or null with error set.
  HANDLE Start(HWND window, UINT message, const char* name, char* buffer, int length, int& error);
  // 0, or WSAEINVAL when the request is unknown or already answered.
  int Cancel(HANDLE request);

private:
  struct Request {
    std::uintptr_t id{0};
    HWND window{nullptr};
    UINT message{0};
    std::string name;
    char* buffer{nullptr};
    int length{0};
    bool finished{false};
  };
  struct Worker {
    std::thread thread;
    std::shared_ptr<Request> request;
  };

  HostLookup() = default;
  void Run(const std::shared_ptr<Request>& request);
  void Answer(Request& request, const host::ResolvedHost& host, host::LookupResult result);
  void JoinFinishedWorkers();

  std::mutex m_mutex;
  std::map<std::uintptr_t, std::shared_ptr<Request>> m_pending;
  std::vector<Worker> m_workers;
  std::uintptr_t m_nextId{1};
};

}  // namespace platform::winsock
