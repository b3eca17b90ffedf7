#pragma once
// CAsyncSocket: a WinSock socket whose events (read, write, connect, close) arrive as calls of
// its virtual notification functions on the UI thread.

#include <memory>

#include "platform/types.h"
#include "platform/winsock.h"

class CSocketWnd;

class CAsyncSocket {
public:
  static constexpr long kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

  CAsyncSocket();
  virtual ~CAsyncSocket();
  CAsyncSocket(const CAsyncSocket&) = delete;
  CAsyncSocket& operator=(const CAsyncSocket&) = delete;

  // A new stream socket selecting events (any local port when port is 0). FALSE on failure, with
  // the error in GetLastError.
  BOOL Create(UINT port = 0, int type = SOCK_STREAM, long events = kAllEvents);
  // Selects the events that are notified (0: none); the socket then does not block.
  BOOL AsyncSelect(long events);
  BOOL Connect(const sockaddr* address, int length);
  // Bytes received, 0 when the peer closed, SOCKET_ERROR on failure.
  virtual int Receive(void* buffer, int length, int flags = 0);
  // Bytes sent or SOCKET_ERROR.
  int Send(const void* buffer, int length, int flags = 0);
  BOOL IOCtl(long command, u_long* argument);
  BOOL SetSockOpt(int option, const void* value, int length, int level = SOL_SOCKET);
  // Closes the socket; events already posted are then ignored.
  virtual void Close();
  static int GetLastError() { return WSAGetLastError(); }

  // Calls the notification of one event; used by the socket's window.
  void DispatchEvent(int event, int error);
  // Queues event for this socket as if WinSock had reported it (handled on the next pump).
  BOOL PostEvent(long event);

  SOCKET m_hSocket{INVALID_SOCKET};

protected:
  virtual void OnReceive(int error) { (void)error; }
  virtual void OnSend(int error) { (void)error; }
  virtual void OnOutOfBandData(int error) { (void)error; }
  virtual void OnAccept(int error) { (void)error; }
  virtual void OnConnect(int error) { (void)error; }
  virtual void OnClose(int error) { (void)error; }

private:
  std::unique_ptr<CSocketWnd> m_window;
  bool m_started{false};  // WSAStartup succeeded for this object
};
