#include "orvanta/connection/ServerAddress.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include <platform/msgbox.h>
#include <platform/winsock.h>

CServerAddress CServerAddress::Resolve(const Resolver& resolver) {
  CString name = kServiceHostName;
  CServerAddress address;
  if (const char* override = std::getenv(kServerOverrideVariable))
    ParseOverride(override, name, address.m_nPort);
  CString dotted;
  if (resolver && resolver(name, dotted) && !dotted.IsEmpty()) {
    address.m_strHost = dotted;
    address.m_bFound = TRUE;
  } else {
    AfxMessageBox("Server system is not found.");
  }
  return address;
}

bool CServerAddress::LookUpWithWinSock(const CString& name, CString& dotted) {
  WSADATA data{};
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0)
    return false;
  const hostent* host = gethostbyname(name);
  bool found = false;
  if (host && host->h_addr_list && host->h_addr_list[0] && host->h_length == 4) {
    in_addr first{};
    std::memcpy(&first, host->h_addr_list[0], sizeof first);
    dotted = inet_ntoa(first);
    found = true;
  }
  WSACleanup();
  return found;
}

bool CServerAddress::ParseOverride(const char* text, CString& host, UINT& port) {
  if (!text)
    return false;
  const CString whole = text;
  const int colon = whole.ReverseFind(':');
  const CString namePart = colon < 0 ? whole : whole.Left(colon);
  if (!namePart.IsEmpty())
    host = namePart;
  if (colon < 0)
    return true;
  const CString portPart = whole.Mid(colon + 1);
  if (portPart.IsEmpty() || portPart.GetLength() > 5)
    return false;
  for (int i = 0; i < portPart.GetLength(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(portPart[i])))
      return false;
  const int value = std::atoi(portPart);
  if (value < 1 || value > 65535)
    return false;
  port = static_cast<UINT>(value);
  return true;
}
