#include "client/relay/SocketWnd.h"

#include "client/relay/AsyncSocket.h"

BOOL CSocketWnd::EnsureCreated() {
  if (m_hWnd != nullptr) return TRUE;
  return CreateEx(0, nullptr, "socket", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT CSocketWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kSocketMessage) return CWnd::WindowProc(message, wParam, lParam);
  // An event of a socket closed since it was posted belongs to nobody.
  if (m_socket != nullptr && static_cast<SOCKET>(wParam) == m_socket->m_hSocket) {
    m_socket->DispatchEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
  }
  return 0;
}
