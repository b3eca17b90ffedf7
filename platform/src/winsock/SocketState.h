#pragma once
// The WinSock view of one host socket: its selection (window, message, event mask), its place in
// the connection's life, and which notifications are currently enabled under WinSock's
// re-enabling rules. Lives on the loop's thread; the API functions report each call to it.

#include "platform/winsock.h"

namespace platform::winsock {

class SocketState {
public:
  SocketState(SOCKET handle, int fd) : m_handle(handle), m_fd(fd) {}

  SOCKET Handle() const { return m_handle; }
  int Descriptor() const { return m_fd; }
  bool IsNonBlocking() const { return m_nonBlocking; }
  bool IsSelected() const { return m_mask != 0; }
  bool IsConnected() const { return m_connected; }

  // WSAAsyncSelect: replaces the selection, re-enables every notification and evaluates the
  // socket at once. Returns 0 or a WinSock error.
  int Select(HWND window, UINT message, long mask);
  // ioctlsocket FIONBIO. Returns 0 or a WinSock error.
  int SetNonBlocking(bool nonBlocking);
  // connect: the host's answer (errno). Returns 0 or the WinSock error connect must report.
  int ConnectIssued(int hostError);
  // A recv was made: FD_READ, and FD_CLOSE at the end of the data, may be posted again.
  void ReceiveCalled();
  // A send answered "would block": FD_WRITE follows once the socket can take data.
  void SendWouldBlock();
  // The poll reported revents for this socket.
  void OnReady(short revents);
  // Stops watching; the descriptor is closed by the caller.
  void Detach();

private:
  void Evaluate(short revents);
  void FinishConnect();
  void CheckReadable(short revents);
  void CheckWritable(short revents);
  void Post(long event, int error);
  short WantedEvents() const;
  void UpdateWatch();

  SOCKET m_handle;
  int m_fd;
  HWND m_window{nullptr};
  UINT m_message{0};
  long m_mask{0};
  bool m_nonBlocking{false};
  bool m_connecting{false};
  int m_deferredConnectError{0};  // a refusal the host gave at once, reported through FD_CONNECT
  bool m_connected{false};
  bool m_readEnabled{true};
  bool m_writeEnabled{false};
  bool m_closePosted{false};
  short m_watchedEvents{0};  // 0: not in the loop's poll
};

}  // namespace platform::winsock
