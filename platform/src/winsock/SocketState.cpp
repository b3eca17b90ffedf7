#include "SocketState.h"

#include "ErrorMap.h"
#include "HostSockets.h"
#include "LoopBridge.h"
#include "SocketTable.h"

namespace platform::winsock {

int SocketState::Select(HWND window, UINT message, long mask) {
  if (mask != 0 && window == nullptr)
    return WSAEINVAL;
  if (int error = SetNonBlocking(true); error != 0)
    return error;
  // A read notice still waiting in the queue stands for the bytes waiting now: a second one
  // would only follow it, and every re-selection while the server streams would add one more, so
  // the queue would grow without end ahead of the socket's other notices and everything else.
  const bool readNoticeWaits = window == m_window && message == m_message && (m_mask & FD_READ) &&
                               IsPostedToWindow(window, message, static_cast<WPARAM>(m_handle), MAKELPARAM(FD_READ, 0));
  m_window = window;
  m_message = message;
  m_mask = mask;
  m_readEnabled = !readNoticeWaits;
  m_writeEnabled = true;
  if (mask == 0) {
    UpdateWatch();
    return 0;
  }
  Evaluate(host::PollNow(m_fd, host::kPollIn | host::kPollOut));
  return 0;
}

int SocketState::SetNonBlocking(bool nonBlocking) {
  if (!nonBlocking && IsSelected())
    return WSAEINVAL;
  if (int error = host::SetNonBlocking(m_fd, nonBlocking); error != 0)
    return WinSockErrorFromErrno(error);
  m_nonBlocking = nonBlocking;
  return 0;
}

int SocketState::ConnectIssued(int hostError) {
  int error = WinSockErrorFromErrno(hostError);
  if (!m_nonBlocking) {
    m_connected = (error == 0);
    return error;
  }
  // A non-blocking connect always reports "would block"; its outcome, even one the host knew at
  // once, arrives as FD_CONNECT so that callers have one place to handle it.
  if (error == WSAEISCONN || error == WSAEALREADY || error == WSAEINVAL || error == WSAENOTSOCK ||
      error == WSAEAFNOSUPPORT || error == WSAEADDRNOTAVAIL)
    return error;
  m_connecting = true;
  m_deferredConnectError = (error == WSAEWOULDBLOCK) ? 0 : error;
  if (m_deferredConnectError != 0)
    FinishConnect();
  else
    UpdateWatch();
  return WSAEWOULDBLOCK;
}

void SocketState::ReceiveCalled() {
  m_readEnabled = true;
  UpdateWatch();
}

void SocketState::SendWouldBlock() {
  m_writeEnabled = true;
  UpdateWatch();
}

void SocketState::OnReady(short revents) { Evaluate(revents); }

void SocketState::Detach() {
  if (m_watchedEvents != 0)
    StopWatching(m_fd);
  m_watchedEvents = 0;
  m_mask = 0;
  m_window = nullptr;
}

void SocketState::Evaluate(short revents) {
  const short anyChange = host::kPollOut | host::kPollErr | host::kPollHup;
  if (m_connecting && (revents & anyChange))
    FinishConnect();
  if (m_connected && IsSelected()) {
    CheckReadable(revents);
    CheckWritable(revents);
  }
  UpdateWatch();
}

void SocketState::FinishConnect() {
  int error = m_deferredConnectError;
  if (error == 0)
    error = WinSockErrorFromErrno(host::PendingError(m_fd));
  m_connecting = false;
  m_deferredConnectError = 0;
  m_connected = (error == 0);
  if (m_connected)
    m_writeEnabled = true;  // a fresh connection can take data: FD_WRITE follows FD_CONNECT
  if (m_mask & FD_CONNECT)
    Post(FD_CONNECT, error);
}

void SocketState::CheckReadable(short revents) {
  if (!m_readEnabled || !(revents & (host::kPollIn | host::kPollErr | host::kPollHup)))
    return;
  int available = 0;
  host::BytesAvailable(m_fd, available);
  if (available > 0) {
    // One notice per arrival: the next comes after the application has called recv.
    m_readEnabled = false;
    if (m_mask & FD_READ)
      Post(FD_READ, 0);
    return;
  }
  int error = WinSockErrorFromErrno(host::PendingError(m_fd));
  if (error == 0 && !host::AtEndOfStream(m_fd))
    return;
  m_readEnabled = false;
  if ((m_mask & FD_CLOSE) && !m_closePosted) {
    m_closePosted = true;
    Post(FD_CLOSE, error);
  }
}

void SocketState::CheckWritable(short revents) {
  if (!m_writeEnabled || !(m_mask & FD_WRITE))
    return;
  if (!(revents & (host::kPollOut | host::kPollErr | host::kPollHup)))
    return;
  m_writeEnabled = false;
  Post(FD_WRITE, 0);
}

void SocketState::Post(long event, int error) {
  PostToWindow(m_window, m_message, static_cast<WPARAM>(m_handle),
               MAKELPARAM(static_cast<WORD>(event), static_cast<WORD>(error)));
}

short SocketState::WantedEvents() const {
  if (m_connecting)
    return host::kPollOut;
  if (!m_connected || !IsSelected())
    return 0;
  short events = 0;
  if (m_readEnabled && (m_mask & (FD_READ | FD_CLOSE)))
    events |= host::kPollIn;
  if (m_writeEnabled && (m_mask & FD_WRITE))
    events |= host::kPollOut;
  return events;
}

void SocketState::UpdateWatch() {
  short wanted = WantedEvents();
  if (wanted == m_watchedEvents)
    return;
  // A descriptor stays out of the poll while nothing is wanted: a hang-up would otherwise be
  // reported on every turn of the loop.
  if (wanted == 0) {
    StopWatching(m_fd);
  } else if (m_watchedEvents == 0) {
    SOCKET handle = m_handle;
    WatchDescriptor(m_fd, wanted, [handle](int, short revents) { SocketTable::Instance().OnReady(handle, revents); });
  } else {
    ChangeWatchedEvents(m_fd, wanted);
  }
  m_watchedEvents = wanted;
}

}  // namespace platform::winsock
