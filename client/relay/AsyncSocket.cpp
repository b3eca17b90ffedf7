#include "client/relay/AsyncSocket.h"

#include "client/relay/SocketWnd.h"

CAsyncSocket::CAsyncSocket() : m_window(std::make_unique<CSocketWnd>(this)) {}

CAsyncSocket::~CAsyncSocket() {
  Close();
  if (m_window->m_hWnd != nullptr) m_window->DestroyWindow();
  if (m_started) WSACleanup();
}

BOOL CAsyncSocket::Create(UINT port, int type, long events) {
  (void)port;  // the relay connection always takes any local port
  if (!m_started) {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return FALSE;
    m_started = true;
  }
  m_hSocket = socket(AF_INET, type, 0);
  if (m_hSocket == INVALID_SOCKET) return FALSE;
  if (!AsyncSelect(events)) {
    const int error = WSAGetLastError();
    Close();
    WSASetLastError(error);
    return FALSE;
  }
  return TRUE;
}

BOOL CAsyncSocket::AsyncSelect(long events) {
  if (!m_window->EnsureCreated()) {
    WSASetLastError(WSAENOBUFS);
    return FALSE;
  }
  return WSAAsyncSelect(m_hSocket, m_window->m_hWnd, CSocketWnd::kSocketMessage, events) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Connect(const sockaddr* address, int length) {
  return connect(m_hSocket, address, length) != SOCKET_ERROR;
}

int CAsyncSocket::Receive(void* buffer, int length, int flags) {
  return recv(m_hSocket, static_cast<char*>(buffer), length, flags);
}

int CAsyncSocket::Send(const void* buffer, int length, int flags) {
  return send(m_hSocket, static_cast<const char*>(buffer), length, flags);
}

BOOL CAsyncSocket::IOCtl(long command, u_long* argument) {
  return ioctlsocket(m_hSocket, command, argument) != SOCKET_ERROR;
}

BOOL CAsyncSocket::SetSockOpt(int option, const void* value, int length, int level) {
  return setsockopt(m_hSocket, level, option, static_cast<const char*>(value), length) != SOCKET_ERROR;
}

void CAsyncSocket::Close() {
  if (m_hSocket == INVALID_SOCKET) return;
  closesocket(m_hSocket);
  m_hSocket = INVALID_SOCKET;
}

BOOL CAsyncSocket::PostEvent(long event) {
  if (m_hSocket == INVALID_SOCKET || m_window->m_hWnd == nullptr) return FALSE;
  return m_window->PostMessage(CSocketWnd::kSocketMessage, static_cast<WPARAM>(m_hSocket), event);
}

void CAsyncSocket::DispatchEvent(int event, int error) {
  switch (event) {
    case FD_READ: OnReceive(error); break;
    case FD_WRITE: OnSend(error); break;
    case FD_OOB: OnOutOfBandData(error); break;
    case FD_ACCEPT: OnAccept(error); break;
    case FD_CONNECT: OnConnect(error); break;
    case FD_CLOSE: OnClose(error); break;
    default: break;
  }
}
