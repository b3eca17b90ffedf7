#pragma once
// WinSock 1.1 style sockets over the host's BSD sockets. Events of a socket selected with
// WSAAsyncSelect arrive as posted window messages (wParam = socket, lParam = event | error << 16),
// produced by the message loop's poll. Notification follows WinSock's re-enabling rules:
// - FD_CONNECT carries the outcome of a connect in its error word;
// - FD_READ is posted once per arrival and again after a recv while data remains; a
//   WSAAsyncSelect call posts it while data waits, unless a notice of it still waits unhandled;
// - FD_WRITE is posted after a connect, after a send failed with WSAEWOULDBLOCK once the socket
//   can take data, and on every WSAAsyncSelect call while the socket can take data;
// - FD_CLOSE is posted once, and only after every received byte has been read.
//
// This header stands in for the host's socket headers: a source that includes it must not include
// <sys/socket.h>, <netinet/in.h> or <netdb.h>.

#include "platform/types.h"

using SOCKET = UINT_PTR;
using u_char = unsigned char;
using u_short = unsigned short;
using u_int = unsigned int;
using u_long = unsigned long;

constexpr SOCKET INVALID_SOCKET = ~SOCKET{0};
constexpr int SOCKET_ERROR = -1;

// Address families, socket types and protocols.
constexpr int AF_INET = 2;
constexpr int PF_INET = AF_INET;
constexpr int SOCK_STREAM = 1;
constexpr int SOCK_DGRAM = 2;
constexpr int IPPROTO_TCP = 6;

constexpr u_long INADDR_ANY = 0x00000000UL;
constexpr u_long INADDR_NONE = 0xFFFFFFFFUL;

// Socket options (level SOL_SOCKET).
constexpr int SOL_SOCKET = 0xFFFF;
constexpr int SO_LINGER = 0x0080;
constexpr int SO_DONTLINGER = ~SO_LINGER;
constexpr int SO_SNDBUF = 0x1001;
constexpr int SO_RCVBUF = 0x1002;
constexpr int SO_SNDTIMEO = 0x1005;

// ioctlsocket commands.
constexpr long FIONREAD = 0x4004667FL;
constexpr long FIONBIO = 0x8004667EL;

// Network events of WSAAsyncSelect.
constexpr long FD_READ = 0x01;
constexpr long FD_WRITE = 0x02;
constexpr long FD_OOB = 0x04;
constexpr long FD_ACCEPT = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE = 0x20;

// Size a caller's buffer for WSAAsyncGetHostByName should have.
constexpr int MAXGETHOSTSTRUCT = 1024;

// Error numbers reported by WSAGetLastError and in the error word of event messages.
constexpr int WSABASEERR = 10000;
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEDESTADDRREQ = 10039;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEPROTOTYPE = 10041;
constexpr int WSAENOPROTOOPT = 10042;
constexpr int WSAEPROTONOSUPPORT = 10043;
constexpr int WSAESOCKTNOSUPPORT = 10044;
constexpr int WSAEOPNOTSUPP = 10045;
constexpr int WSAEPFNOSUPPORT = 10046;
constexpr int WSAEAFNOSUPPORT = 10047;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAENETRESET = 10052;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAEHOSTDOWN = 10064;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

struct in_addr {
  ULONG s_addr;  // IPv4 address in network byte order
};

struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};

struct sockaddr_in {
  short sin_family;
  u_short sin_port;  // network byte order
  in_addr sin_addr;
  char sin_zero[8];
};

struct linger {
  u_short l_onoff;
  u_short l_linger;  // seconds
};

// A resolved host; h_addr_list ends with a null pointer, each entry h_length bytes long.
struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;
};

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[257];
  char szSystemStatus[129];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

// Parts of the lParam of an event or lookup message.
constexpr WORD WSAGETSELECTEVENT(LPARAM l) { return LOWORD(static_cast<DWORD_PTR>(l)); }
constexpr WORD WSAGETSELECTERROR(LPARAM l) { return HIWORD(static_cast<DWORD_PTR>(l)); }
constexpr WORD WSAGETASYNCBUFLEN(LPARAM l) { return LOWORD(static_cast<DWORD_PTR>(l)); }
constexpr WORD WSAGETASYNCERROR(LPARAM l) { return HIWORD(static_cast<DWORD_PTR>(l)); }

// Starts the library for a caller; versions 1.0 up to 2.2 are accepted (the answer is at most 1.1
// semantics). Returns 0, or WSAVERNOTSUPPORTED / WSAEFAULT. Each success needs one WSACleanup.
int WSAStartup(WORD versionRequested, LPWSADATA data);
// Ends one WSAStartup; the last one closes every socket still open. SOCKET_ERROR when not started.
int WSACleanup();
// Error of the calling thread's last failed call.
int WSAGetLastError();
void WSASetLastError(int error);

// A new blocking socket; only AF_INET with SOCK_STREAM is supported.
SOCKET socket(int af, int type, int protocol);
// Connects to an IPv4 address. On a non-blocking socket the call fails with WSAEWOULDBLOCK and the
// outcome, including a refusal, arrives later as FD_CONNECT.
int connect(SOCKET s, const sockaddr* name, int nameLength);
// Bytes sent (possibly fewer than asked on a non-blocking socket), or SOCKET_ERROR. Never raises
// a signal when the peer has gone.
int send(SOCKET s, const char* buffer, int length, int flags);
// Bytes received, 0 when the peer closed, or SOCKET_ERROR (WSAEWOULDBLOCK when nothing is there).
int recv(SOCKET s, char* buffer, int length, int flags);
// Closes gracefully: bytes already sent still reach the peer; unread bytes are discarded.
int closesocket(SOCKET s);
// FIONBIO (*argp != 0: non-blocking; refused with WSAEINVAL while WSAAsyncSelect is active) and
// FIONREAD (bytes that one recv would return).
int ioctlsocket(SOCKET s, long cmd, u_long* argp);
// SOL_SOCKET options SO_RCVBUF, SO_SNDBUF (int), SO_DONTLINGER (BOOL), SO_LINGER (linger) and
// SO_SNDTIMEO (int, milliseconds for a blocking send; 0 waits forever).
int setsockopt(SOCKET s, int level, int optionName, const char* optionValue, int optionLength);

// Dotted IPv4 text ("a.b.c.d") to a network-order address; INADDR_NONE when it is not one.
u_long inet_addr(const char* text);
// Dotted text of an address, in a buffer of the calling thread valid until its next call.
char* inet_ntoa(in_addr address);
u_short htons(u_short value);
u_short ntohs(u_short value);
u_long htonl(u_long value);
u_long ntohl(u_long value);

// Blocking IPv4 lookup of a name or dotted address; the result lives in a buffer of the calling
// thread until its next call. Null with WSAHOST_NOT_FOUND / WSANO_DATA / WSATRY_AGAIN on failure.
hostent* gethostbyname(const char* name);

// Posts event messages for s to window for the events in mask (0 cancels) and makes s non-blocking.
// Every call cancels the previous selection and re-evaluates the socket at once.
int WSAAsyncSelect(SOCKET s, HWND window, UINT message, long mask);
// Looks name up on a worker thread and posts message to window when done: wParam = the returned
// handle, lParam = size needed | error << 16. The hostent is written at the start of buffer, which
// must be pointer-aligned and stay valid until the message arrives or the request is cancelled.
// Returns 0 (and sets the error) when the request cannot start.
HANDLE WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer, int bufferLength);
// Cancels a lookup: once this returns, the buffer is no longer written and no message is posted.
// SOCKET_ERROR with WSAEINVAL when the request already completed.
int WSACancelAsyncRequest(HANDLE request);
