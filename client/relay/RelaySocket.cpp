#include "client/relay/RelaySocket.h"

#include <algorithm>
#include <cstring>

#include "client/widgets/TextUtilities.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

struct ErrorDescription {
  DWORD code;
  const char* text;
};

constexpr ErrorDescription kWinsockErrors[] = {
    {10004, "Interrupted system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Protocol not available"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported on socket"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Can't assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection on reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references: can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc quota exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network sub-system is unusable"},
    {10092, "WinSock DLL cannot support this application"},
    {10093, "WinSock not initialized"},
    {10101, "Disconnect"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found"},
    {11003, "Non-recoverable error"},
    {11004, "Valid name, no data record of requested type"},
};

constexpr int kDisconnected = 10101;

// A text as one field of a protocol line: a line end would start a line of its own and "|"
// a field of its own, so neither may reach the server from what the user typed.
CString ProtocolField(const char* text) {
  CString field;
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    if (*p != '\n' && *p != '\r' && *p != '|') field += *p;
  }
  return field;
}

// Measures one wait on the platform clock; restarted by arriving data where the caller says so.
class WaitTimer {
public:
  void Restart() { m_running = false; }
  // Starts the wait on its first call; true once more than the limit has passed since then.
  bool Expired() {
    const DWORD now = GetTickCount();
    if (!m_running) {
      m_running = true;
      m_start = now;
      return false;
    }
    return now - m_start > CRelaySocket::kWaitLimitMs;
  }

private:
  bool m_running{false};
  DWORD m_start{0};
};

}  // namespace

CString CRelaySocket::WinsockErrorText(DWORD code) {
  for (const ErrorDescription& entry : kWinsockErrors) {
    if (entry.code != code) continue;
    CString text;
    text.Format("WinSock error %d: %s", static_cast<int>(code), entry.text);
    return text;
  }
  return "Not a WinSock error";
}

bool CRelaySocket::IsConnectionLost() const {
  switch (m_errorCode) {
    case kDisconnected:
    case WSAENETRESET:
    case WSAECONNABORTED:
    case WSAECONNRESET:
    case WSAENOTCONN:
    case WSAESHUTDOWN: return true;
    default: return false;
  }
}

void CRelaySocket::SetError(BOOL winsock, DWORD code) {
  m_errorCode = code;
  if (winsock) {
    m_errorText = WinsockErrorText(code);
  } else if (code == kLoginFailed) {
    m_errorText = "Confirm user's id and password.";
  } else if (code == kReceiveTimeout) {
    m_errorText = "Receiving time exceed, Retry connection.";
  } else {
    m_errorText.Empty();
  }
}

void CRelaySocket::SetReceiveError(int received) {
  // A peer that closed leaves no error number of its own behind (the last one is stale): say
  // what happened instead.
  const int error = received == 0 ? 0 : GetLastError();
  SetError(kWinsockError, static_cast<DWORD>(error != 0 ? error : kDisconnected));
}

BOOL CRelaySocket::Connect(CWnd* owner, const char* address, u_short port) {
  Close();  // a reconnect never leaves the old socket behind
  m_owner = owner;
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(port);
  server.sin_addr.s_addr = static_cast<ULONG>(inet_addr(address != nullptr ? address : ""));
  if (server.sin_addr.s_addr == INADDR_NONE) {
    SetError(kWinsockError, WSAEINVAL);
    return FALSE;
  }
  const int bufferSize = kMaxLine;
  u_long blocking = 0;
  const bool ok = CAsyncSocket::Create(0, SOCK_STREAM, kAllEvents) &&
                  SetSockOpt(SO_RCVBUF, &bufferSize, sizeof bufferSize) &&
                  SetSockOpt(SO_SNDBUF, &bufferSize, sizeof bufferSize) &&
                  SetSockOpt(SO_RCVBUF, &bufferSize, sizeof bufferSize) && AsyncSelect(0) &&
                  IOCtl(FIONBIO, &blocking) &&
                  CAsyncSocket::Connect(reinterpret_cast<const sockaddr*>(&server), sizeof server) &&
                  AsyncSelect(0);
  if (!ok) SetError(kWinsockError, static_cast<DWORD>(GetLastError()));
  return ok ? TRUE : FALSE;
}

BOOL CRelaySocket::Login(const char* user, const char* password) {
  CString line;
  line.Format("ua|%s|%s|%c\n", ProtocolField(user).GetString(), ProtocolField(password).GetString(), 'C');
  if (!Send(line, line.GetLength())) return FALSE;
  AsyncSelect(0);
  if (!ReadReply()) {
    SetError(kOwnError, kLoginFailed);
    return FALSE;
  }
  AsyncSelect(FD_READ | FD_CLOSE);
  if (std::strcmp(m_line, "ua|ok") != 0) {
    SetError(kOwnError, kLoginFailed);
    return FALSE;
  }
  NotifyReadAhead();
  return TRUE;
}

BOOL CRelaySocket::SendQuestion(const char* text) {
  CString line;
  line.Format("qc|%s\n", ProtocolField(text).GetString());
  return Send(line, line.GetLength());
}

BOOL CRelaySocket::ReadReply() {
  for (;;) {
    if (!ReadLine()) return FALSE;
    char answer[7]{};
    if (m_lineLength >= 9) {
      std::memcpy(answer, m_line + 3, 6);
    } else if (m_lineLength >= 5) {
      std::memcpy(answer, m_line + 3, 2);
    }
    StrLower(answer, 2);
    if (std::strcmp(answer, "ok") == 0) {
      StrLower(m_line, m_lineLength);
      return TRUE;
    }
    if (std::strcmp(answer, "cancel") == 0) return FALSE;
    // Not the reply: an ordinary relay line that came first.
    NotifyOwner(kEventLine, TRUE);
  }
}

BOOL CRelaySocket::ReadLine() {
  m_lineLength = 0;
  m_line[0] = '\0';
  WaitTimer wait;
  while (m_lineLength < kMaxLine) {
    char byte = 0;
    const int received = ReceiveByte(&byte);
    if (received == 1) {
      if (byte == '\n') break;
      m_line[m_lineLength++] = byte;
      wait.Restart();
      continue;
    }
    if (received == 0 || GetLastError() != WSAEWOULDBLOCK) {
      m_line[m_lineLength] = '\0';
      SetReceiveError(received);
      return FALSE;
    }
    if (wait.Expired()) {
      m_line[m_lineLength] = '\0';
      SetError(kOwnError, kReceiveTimeout);
      return FALSE;
    }
    Sleep(100);
  }
  m_line[m_lineLength] = '\0';
  return TRUE;
}

BOOL CRelaySocket::ReceiveBlock(void* buffer, int count) {
  if (count < 0 || count > kMaxBlockBytes) {
    SetError(kWinsockError, WSAEMSGSIZE);
    return FALSE;
  }
  char* bytes = static_cast<char*>(buffer);
  int got = TakeBuffered(bytes, count);
  WaitTimer wait;  // counts from the first would-block of the whole block
  while (got < count) {
    const int received = Receive(bytes + got, count - got);
    if (received > 0) {
      got += received;
      continue;
    }
    if (received == 0 || GetLastError() != WSAEWOULDBLOCK) {
      SetReceiveError(received);
      return FALSE;
    }
    if (wait.Expired()) {
      SetError(kOwnError, kReceiveTimeout);
      return FALSE;
    }
    // The shortest pause: the thread does not spin, and a hand-driven clock moves on.
    Sleep(1);
  }
  return TRUE;
}

BOOL CRelaySocket::Send(const char* text, int length) {
  if (!IsOpen()) return FALSE;
  const int sent = CAsyncSocket::Send(text, length);
  if (sent < length) {
    SetError(kWinsockError, static_cast<DWORD>(GetLastError()));
    return FALSE;
  }
  return TRUE;
}

int CRelaySocket::GetPendingBytes() {
  u_long pending = 0;
  if (!IOCtl(FIONREAD, &pending)) return -1;
  return static_cast<int>(pending) + (m_readAheadEnd - m_readAheadStart);
}

void CRelaySocket::Close() {
  m_readAheadStart = m_readAheadEnd = 0;
  CAsyncSocket::Close();
}

int CRelaySocket::ReceiveByte(char* byte) {
  if (m_readAheadStart == m_readAheadEnd) {
    const int received = Receive(m_readAhead.get(), kReadAheadBytes);
    if (received <= 0) return received;
    m_readAheadStart = 0;
    m_readAheadEnd = received;
  }
  *byte = m_readAhead[static_cast<size_t>(m_readAheadStart++)];
  return 1;
}

int CRelaySocket::TakeBuffered(char* destination, int count) {
  const int taken = std::min(count, m_readAheadEnd - m_readAheadStart);
  if (taken <= 0) return 0;
  std::memcpy(destination, m_readAhead.get() + m_readAheadStart, static_cast<size_t>(taken));
  m_readAheadStart += taken;
  return taken;
}

void CRelaySocket::NotifyReadAhead() {
  if (m_readAheadStart != m_readAheadEnd) PostEvent(FD_READ);
}

void CRelaySocket::DeliverReadAhead() {
  // The owner may close the socket while it handles a line; then nothing more is delivered.
  while (IsOpen() && m_readAheadStart != m_readAheadEnd) NotifyOwner(kEventLine, ReadLine());
}

void CRelaySocket::NotifyOwner(int event, BOOL success) {
  if (m_owner != nullptr && m_owner->GetSafeHwnd() != nullptr) {
    m_owner->SendMessage(WM_SOCKET_EVENT, static_cast<WPARAM>(event), success);
  }
}

void CRelaySocket::OnReceive(int error) {
  if (GetPendingBytes() <= 0) return;
  BOOL ok = FALSE;
  if (error != 0) {
    SetError(kWinsockError, static_cast<DWORD>(error));
  } else {
    ok = ReadLine();
  }
  // Sent, not posted: the line buffer must still hold this line while the owner works on it.
  NotifyOwner(kEventLine, ok);
  if (IsOpen()) NotifyReadAhead();
}

void CRelaySocket::OnConnect(int error) {
  if (error != 0) {
    SetError(kWinsockError, static_cast<DWORD>(error));
  } else {
    AsyncSelect(0);
  }
  if (m_owner != nullptr && m_owner->GetSafeHwnd() != nullptr) {
    m_owner->PostMessage(WM_SOCKET_EVENT, kEventConnect, error == 0);
  }
}

void CRelaySocket::OnClose(int error) {
  DeliverReadAhead();
  if (error != 0) SetError(kWinsockError, static_cast<DWORD>(error));
  NotifyOwner(kEventClose, TRUE);
}
