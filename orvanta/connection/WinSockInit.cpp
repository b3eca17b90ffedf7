#include "orvanta/connection/WinSockInit.h"

CWinSockInit& CWinSockInit::Instance() {
  static CWinSockInit instance;
  return instance;
}

CWinSockInit::~CWinSockInit() {
  if (m_nCount != 0)
    WSACleanup();
}

BOOL CWinSockInit::Startup(BYTE major, BYTE minor) {
  const WORD version = static_cast<WORD>((major << 8) | minor);
  if (m_nCount > 0) {
    if (version != m_wVersion)
      return FALSE;
    ++m_nCount;
    return TRUE;
  }
  if (WSAStartup(MAKEWORD(major, minor), &m_wsaData) != 0)
    return FALSE;
  m_wVersion = version;
  m_nCount = 1;
  return TRUE;
}

void CWinSockInit::Release() {
  if (m_nCount == 0)
    return;
  if (--m_nCount == 0)
    WSACleanup();
}
