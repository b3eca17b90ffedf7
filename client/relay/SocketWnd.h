#pragma once
// CSocketWnd: the hidden window that receives one asynchronous socket's event messages and hands
// them to the socket on the UI thread.

#include "platform/windows.h"

class CAsyncSocket;

class CSocketWnd : public CWnd {
public:
  // Private message the socket's events arrive with (wParam socket, lParam event | error << 16).
  static constexpr UINT kSocketMessage = WM_USER + 1;

  explicit CSocketWnd(CAsyncSocket* socket) : m_socket(socket) {}

  // Creates the hidden window once; TRUE when it exists.
  BOOL EnsureCreated();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  CAsyncSocket* m_socket{nullptr};
};
