#include "orvanta/connection/ConnectSocket.h"

#include <cstring>

BOOL CConnectSocket::Connect(LPCTSTR host, UINT port) {
  m_sockAddr.sin_family = AF_INET;
  m_sockAddr.sin_port = htons(static_cast<u_short>(port));
  m_sockAddr.sin_addr.s_addr = static_cast<ULONG>(inet_addr(host));
  if (m_sockAddr.sin_addr.s_addr != INADDR_NONE)
    return ConnectResolved(TRUE);
  CancelLookup();
  m_hLookup = WSAAsyncGetHostByName(m_hWnd, kLookupMessage, host, m_hostBuffer, sizeof m_hostBuffer);
  if (m_hLookup == nullptr) {
    CheckError(WSAGetLastError());
    return FALSE;
  }
  return TRUE;
}

BOOL CConnectSocket::ConnectResolved(BOOL fromAddress) {
  if (!fromAddress) {
    const auto* host = reinterpret_cast<const hostent*>(m_hostBuffer);
    if (host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
      CheckError(WSANO_DATA);
      return FALSE;
    }
    std::memcpy(&m_sockAddr.sin_addr.s_addr, host->h_addr_list[0], sizeof m_sockAddr.sin_addr.s_addr);
  }
  // Without the selection the socket would still block, and connect would stall the interface.
  if (!AsyncSelect(FD_CONNECT)) {
    CheckError(WSAGetLastError());
    return FALSE;
  }
  if (connect(m_hSocket, reinterpret_cast<const sockaddr*>(&m_sockAddr), sizeof m_sockAddr) == SOCKET_ERROR) {
    const int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      CheckError(error);
      return FALSE;
    }
  }
  return TRUE;
}

CConnectSocket* CConnectSocket::CreateAcceptSocket(SOCKET socket) { return new CConnectSocket(m_pOwner, socket); }
