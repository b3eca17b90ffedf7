#pragma once
// CWinSockInit: the program's one use count of the socket library. Every socket starts it and
// releases it; the library is started on the first use and cleaned up after the last.

#include <platform/winsock.h>

class CWinSockInit {
public:
  // The program's instance (destroyed at exit, which cleans up a library still in use).
  static CWinSockInit& Instance();
  ~CWinSockInit();
  CWinSockInit(const CWinSockInit&) = delete;
  CWinSockInit& operator=(const CWinSockInit&) = delete;

  // Starts the library with version major.minor, or counts one more user of the version already
  // started. FALSE when WSAStartup fails or another version is already in use.
  BOOL Startup(BYTE major, BYTE minor);
  // One user fewer; the last one cleans the library up. Without users nothing happens.
  void Release();

  // Version in use: major in the high byte, minor in the low byte.
  WORD GetVersion() const { return m_wVersion; }
  int GetUseCount() const { return m_nCount; }

private:
  CWinSockInit() = default;

  WORD m_wVersion{0};
  int m_nCount{0};
  WSADATA m_wsaData{};
};
