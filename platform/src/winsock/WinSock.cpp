// The WinSock entry points: argument checks, then the host call, then the socket's notification
// state is told what happened.

#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ErrorMap.h"
#include "HostLookup.h"
#include "HostSockets.h"
#include "SocketTable.h"
#include "platform/winsock.h"

using platform::winsock::SocketState;
using platform::winsock::SocketTable;
using platform::winsock::WinSockErrorFromErrno;

namespace {

thread_local int t_lastError = 0;

int Fail(int error) {
  t_lastError = error;
  return SOCKET_ERROR;
}

// The socket behind a handle, or null with the error set.
std::shared_ptr<SocketState> Lookup(SOCKET s) {
  if (!SocketTable::Instance().IsStarted()) {
    t_lastError = WSANOTINITIALISED;
    return nullptr;
  }
  auto state = SocketTable::Instance().Find(s);
  if (!state)
    t_lastError = WSAENOTSOCK;
  return state;
}

template <typename T>
T ByteSwap(T value) {
  if constexpr (std::endian::native == std::endian::big)
    return value;
  T swapped{};
  auto* from = reinterpret_cast<const unsigned char*>(&value);
  auto* to = reinterpret_cast<unsigned char*>(&swapped);
  for (std::size_t i = 0; i < sizeof(T); ++i)
    to[i] = from[sizeof(T) - 1 - i];
  return swapped;
}

int SetSocketOption(SocketState& state, int option, const char* value, int length) {
  int fd = state.Descriptor();
  int number = 0;
  if (option == SO_LINGER) {
    if (length < static_cast<int>(sizeof(linger)))
      return WSAEFAULT;
    linger setting{};
    std::memcpy(&setting, value, sizeof setting);
    return WinSockErrorFromErrno(platform::host::SetLinger(fd, setting.l_onoff != 0, setting.l_linger));
  }
  if (length < static_cast<int>(sizeof(int)))
    return WSAEFAULT;
  std::memcpy(&number, value, sizeof number);
  switch (option) {
    case SO_SNDBUF:
    case SO_RCVBUF:
      if (number < 0)
        return WSAEINVAL;
      return WinSockErrorFromErrno(platform::host::SetBufferSize(fd, option == SO_SNDBUF, number));
    case SO_DONTLINGER:
      // Lingering with no time set means closing with a reset, as WinSock does.
      return WinSockErrorFromErrno(platform::host::SetLinger(fd, number == 0, 0));
    case SO_SNDTIMEO:
      if (number < 0)
        return WSAEINVAL;
      return WinSockErrorFromErrno(platform::host::SetSendTimeout(fd, number));
    default:
      return WSAENOPROTOOPT;
  }
}

}  // namespace

int WSAStartup(WORD versionRequested, LPWSADATA data) {
  if (data == nullptr)
    return WSAEFAULT;
  const BYTE major = LOBYTE(versionRequested);
  const BYTE minor = HIBYTE(versionRequested);
  if (major < 1)
    return WSAVERNOTSUPPORTED;
  std::memset(data, 0, sizeof *data);
  data->wVersion = (major == 1 && minor == 0) ? MAKEWORD(1, 0) : MAKEWORD(1, 1);
  data->wHighVersion = MAKEWORD(1, 1);
  std::snprintf(data->szDescription, sizeof data->szDescription, "Platform sockets over BSD sockets");
  std::snprintf(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
  data->iMaxSockets = 1024;
  SocketTable::Instance().Start();
  return 0;
}

int WSACleanup() {
  if (!SocketTable::Instance().Stop())
    return Fail(WSANOTINITIALISED);
  return 0;
}

int WSAGetLastError() { return t_lastError; }

void WSASetLastError(int error) { t_lastError = error; }

SOCKET socket(int af, int type, int protocol) {
  if (!SocketTable::Instance().IsStarted()) {
    Fail(WSANOTINITIALISED);
    return INVALID_SOCKET;
  }
  int error = 0;
  if (af != AF_INET)
    error = WSAEAFNOSUPPORT;
  else if (type != SOCK_STREAM)
    error = WSAESOCKTNOSUPPORT;
  else if (protocol != 0 && protocol != IPPROTO_TCP)
    error = WSAEPROTONOSUPPORT;
  if (error != 0) {
    Fail(error);
    return INVALID_SOCKET;
  }
  int hostError = 0;
  int fd = platform::host::OpenStreamSocket(hostError);
  if (fd < 0) {
    Fail(WinSockErrorFromErrno(hostError));
    return INVALID_SOCKET;
  }
  return SocketTable::Instance().Add(fd);
}

int connect(SOCKET s, const sockaddr* name, int nameLength) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  if (name == nullptr || nameLength < static_cast<int>(sizeof(sockaddr_in)))
    return Fail(WSAEFAULT);
  sockaddr_in address{};
  std::memcpy(&address, name, sizeof address);
  if (address.sin_family != AF_INET)
    return Fail(WSAEAFNOSUPPORT);
  if (address.sin_addr.s_addr == INADDR_ANY || address.sin_port == 0)
    return Fail(WSAEADDRNOTAVAIL);
  int hostError = platform::host::Connect(state->Descriptor(), address.sin_addr.s_addr, address.sin_port);
  int error = state->ConnectIssued(hostError);
  return error == 0 ? 0 : Fail(error);
}

int send(SOCKET s, const char* buffer, int length, int /*flags*/) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  if (length < 0)
    return Fail(WSAEINVAL);
  if (buffer == nullptr && length > 0)
    return Fail(WSAEFAULT);
  int hostError = 0;
  long sent = platform::host::Send(state->Descriptor(), buffer, static_cast<std::size_t>(length), hostError);
  if (sent >= 0)
    return static_cast<int>(sent);
  int error = WinSockErrorFromErrno(hostError);
  if (error == WSAEWOULDBLOCK)
    state->SendWouldBlock();
  return Fail(error);
}

int recv(SOCKET s, char* buffer, int length, int /*flags*/) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  if (length < 0)
    return Fail(WSAEINVAL);
  if (buffer == nullptr && length > 0)
    return Fail(WSAEFAULT);
  int hostError = 0;
  long received = platform::host::Receive(state->Descriptor(), buffer, static_cast<std::size_t>(length), hostError);
  state->ReceiveCalled();
  if (received >= 0)
    return static_cast<int>(received);
  return Fail(WinSockErrorFromErrno(hostError));
}

int closesocket(SOCKET s) {
  if (!Lookup(s))
    return SOCKET_ERROR;
  auto state = SocketTable::Instance().Remove(s);
  if (!state)
    return Fail(WSAENOTSOCK);
  state->Detach();
  int error = WinSockErrorFromErrno(platform::host::CloseGracefully(state->Descriptor()));
  return error == 0 ? 0 : Fail(error);
}

int ioctlsocket(SOCKET s, long cmd, u_long* argp) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  if (argp == nullptr)
    return Fail(WSAEFAULT);
  if (cmd == FIONBIO) {
    int error = state->SetNonBlocking(*argp != 0);
    return error == 0 ? 0 : Fail(error);
  }
  if (cmd == FIONREAD) {
    int available = 0;
    int error = WinSockErrorFromErrno(platform::host::BytesAvailable(state->Descriptor(), available));
    if (error != 0)
      return Fail(error);
    *argp = static_cast<u_long>(available);
    return 0;
  }
  return Fail(WSAEINVAL);
}

int setsockopt(SOCKET s, int level, int optionName, const char* optionValue, int optionLength) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  if (optionValue == nullptr)
    return Fail(WSAEFAULT);
  if (level != SOL_SOCKET)
    return Fail(WSAENOPROTOOPT);
  int error = SetSocketOption(*state, optionName, optionValue, optionLength);
  return error == 0 ? 0 : Fail(error);
}

u_long inet_addr(const char* text) {
  std::uint32_t address = 0;
  if (text == nullptr || !platform::host::ParseIPv4(text, address))
    return INADDR_NONE;
  return address;
}

char* inet_ntoa(in_addr address) {
  thread_local char text[16];
  auto* bytes = reinterpret_cast<const unsigned char*>(&address.s_addr);
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
  return text;
}

u_short htons(u_short value) { return ByteSwap(value); }
u_short ntohs(u_short value) { return ByteSwap(value); }
u_long htonl(u_long value) { return ByteSwap(static_cast<std::uint32_t>(value)); }
u_long ntohl(u_long value) { return ByteSwap(static_cast<std::uint32_t>(value)); }

hostent* gethostbyname(const char* name) {
  if (!SocketTable::Instance().IsStarted()) {
    Fail(WSANOTINITIALISED);
    return nullptr;
  }
  if (name == nullptr) {
    Fail(WSAEFAULT);
    return nullptr;
  }
  platform::host::ResolvedHost host;
  int error = platform::winsock::LookupError(platform::host::ResolveIPv4(name, host));
  if (error != 0) {
    Fail(error);
    return nullptr;
  }
  thread_local std::vector<hostent> storage(1);
  int needed = 0;
  auto* buffer = reinterpret_cast<char*>(storage.data());
  int capacity = static_cast<int>(storage.size() * sizeof(hostent));
  if (platform::winsock::WriteHostent(host, buffer, capacity, needed) == WSAENOBUFS) {
    storage.resize(static_cast<std::size_t>(needed) / sizeof(hostent) + 1);
    buffer = reinterpret_cast<char*>(storage.data());
    capacity = static_cast<int>(storage.size() * sizeof(hostent));
    platform::winsock::WriteHostent(host, buffer, capacity, needed);
  }
  return reinterpret_cast<hostent*>(buffer);
}

int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long mask) {
  auto state = Lookup(s);
  if (!state)
    return SOCKET_ERROR;
  int error = state->Select(window, message, mask);
  return error == 0 ? 0 : Fail(error);
}

HANDLE WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer, int bufferLength) {
  if (!SocketTable::Instance().IsStarted()) {
    Fail(WSANOTINITIALISED);
    return nullptr;
  }
  int error = 0;
  HANDLE request = platform::winsock::HostLookup::Instance().Start(window, message, name, buffer, bufferLength, error);
  if (!request)
    Fail(error);
  return request;
}

int WSACancelAsyncRequest(HANDLE request) {
  int error = platform::winsock::HostLookup::Instance().Cancel(request);
  return error == 0 ? 0 : Fail(error);
}
