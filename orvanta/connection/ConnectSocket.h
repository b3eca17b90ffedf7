#pragma once
// CConnectSocket: a stream socket that connects to a server given by dotted address or by name.

#include "orvanta/connection/WndSocket.h"

class CConnectSocket : public CWndSocket {
public:
  CConnectSocket(CWnd* owner, SOCKET socket) : CWndSocket(owner, SOCK_STREAM, socket) {}

  // A dotted address connects at once; a name is looked up first (event 64, then the connect).
  // FALSE when the connect or the lookup cannot be started.
  BOOL Connect(LPCTSTR host, UINT port);
  // Selects FD_CONNECT alone and connects without blocking; the outcome comes as FD_CONNECT.
  // fromAddress 0 first takes the lookup's first address. A connect under way counts as success.
  BOOL ConnectResolved(BOOL fromAddress) override;
  // A new socket with the same owner around an accepted socket handle (caller owns it).
  virtual CConnectSocket* CreateAcceptSocket(SOCKET socket);
  void OnSendQueueEmpty() override {}
};
