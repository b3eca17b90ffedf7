#pragma once
// CServerAddress: where the game server is. The service's host name is looked up once when the
// main frame is built; the environment variable ORVANTA_SERVER ("host" or "host:port") replaces
// the name and port, so that tests and people can point the client at a server of their own.

#include <functional>

#include <platform/strings.h>
#include <platform/types.h>

// The game server's endpoints; nothing else in the program spells them out.
constexpr const char* kServiceHostName = "pellomar-server";
constexpr const char* kFallbackServerAddress = "127.0.0.1";
constexpr UINT kServerPort = 12121;
constexpr const char* kServerOverrideVariable = "ORVANTA_SERVER";

class CServerAddress {
public:
  // Looks a name up; true with the first address in dotted form.
  using Resolver = std::function<bool(const CString& name, CString& dotted)>;

  // Takes the name and port (the override when set), looks the name up and keeps its dotted
  // address; when the name is not found shows "Server system is not found." and keeps the
  // fallback address.
  static CServerAddress Resolve(const Resolver& resolver = LookUpWithWinSock);
  // The blocking look-up, with the socket library started for it alone.
  static bool LookUpWithWinSock(const CString& name, CString& dotted);
  // Reads "host" or "host:port". An empty host keeps host as it is; a port that is not a number
  // from 1 to 65535 keeps port as it is and makes the result false.
  static bool ParseOverride(const char* text, CString& host, UINT& port);

  CString m_strHost{kFallbackServerAddress};  // dotted address to connect to
  UINT m_nPort{kServerPort};
  BOOL m_bFound{FALSE};  // the name was resolved
};
