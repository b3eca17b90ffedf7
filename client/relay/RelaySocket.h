#pragma once
// CRelaySocket: the viewer's one connection to the relay server. Connects, logs in, reads the
// relay's lines one at a time for its owner window and raw blocks on request, sends questions,
// and keeps the code and text of the last error for the owner to show.

#include <memory>

#include "client/relay/AsyncSocket.h"
#include "platform/messages.h"
#include "platform/strings.h"

class CWnd;

// From the socket to its owner: wParam the event (kEventConnect, kEventLine, kEventClose),
// lParam 1 for success, 0 for failure (the socket's error is then set).
constexpr UINT WM_SOCKET_EVENT = WM_USER + 12;

class CRelaySocket : public CAsyncSocket {
public:
  static constexpr int kEventLine = 1;
  static constexpr int kEventConnect = 16;
  static constexpr int kEventClose = 32;
  static constexpr int kMaxLine = 65536;
  static constexpr DWORD kLoginFailed = 1502;
  static constexpr DWORD kReceiveTimeout = 1503;
  static constexpr DWORD kWaitLimitMs = 60000;
  // Largest raw block the socket agrees to read (a photograph).
  static constexpr int kMaxBlockBytes = 16 * 1024 * 1024;
  static constexpr BOOL kWinsockError = TRUE;
  static constexpr BOOL kOwnError = FALSE;

  CRelaySocket() = default;
  ~CRelaySocket() override = default;

  // Connects (blocking) to a dotted IPv4 address; the socket then does not block and notifies
  // nothing. FALSE with the WinSock error of the failing step; the caller closes the socket.
  BOOL Connect(CWnd* owner, const char* address, u_short port);
  // Sends the login line (line ends and "|" taken out of user and password) and waits for "ua|ok"; then notifies reads and closes. FALSE with 1502
  // for a refusal, another reply or no reply.
  BOOL Login(const char* user, const char* password);
  // Sends "qc|<text>\n" (line ends and "|" taken out of text) without waiting for an answer.
  BOOL SendQuestion(const char* text);
  // Reads one line (without its LF; a CR stays) into the line buffer, waiting up to 60 s between
  // bytes. A line of 65536 bytes without LF ends there.
  BOOL ReadLine();
  // Waits for the reply of a request; other lines meanwhile go to the owner as read lines.
  BOOL ReadReply();
  // Reads exactly count raw bytes within 60 s in all. Counts above kMaxBlockBytes or below 0 are
  // refused without reading.
  BOOL ReceiveBlock(void* buffer, int count);
  // Sends the whole text in one call; FALSE without an error when the socket is closed.
  BOOL Send(const char* text, int length);
  // Bytes received and not yet read as lines or blocks, -1 on failure.
  int GetPendingBytes();
  // Closes the socket and forgets what was received and not read.
  void Close() override;

  const char* GetLine() const { return m_line; }
  int GetLineLength() const { return m_lineLength; }
  DWORD GetErrorCode() const { return m_errorCode; }
  // The last failure found the server gone: it closed, reset or aborted the connection.
  bool IsConnectionLost() const;
  const CString& GetErrorText() const { return m_errorText; }
  BOOL IsOpen() const { return m_hSocket != INVALID_SOCKET; }
  // Stores the code and builds its text: a WinSock number (winsock TRUE) or one of our own codes.
  void SetError(BOOL winsock, DWORD code);

  // "WinSock error <n>: <description>", or "Not a WinSock error" for an unknown number.
  static CString WinsockErrorText(DWORD code);

protected:
  void OnReceive(int error) override;
  void OnConnect(int error) override;
  void OnClose(int error) override;

private:
  // The error of a receive that failed (received < 0) or found the connection closed (0).
  void SetReceiveError(int received);
  // Tells the owner at once (and waits for it to handle the event).
  void NotifyOwner(int event, BOOL success);
  // Next received byte into *byte: 1, 0 when the peer closed, SOCKET_ERROR on failure.
  int ReceiveByte(char* byte);
  // Moves up to count buffered bytes to destination; returns how many.
  int TakeBuffered(char* destination, int count);
  // Bytes already taken from the socket wait in the read-ahead: ask for another read notification,
  // as WinSock does while data remains.
  void NotifyReadAhead();
  // Hands the owner every line still in the read-ahead before the close is reported.
  void DeliverReadAhead();

  static constexpr int kReadAheadBytes = 65536;

  CWnd* m_owner{nullptr};
  // Bytes taken from the socket in one receive and not yet read: one system call per 64 KiB
  // instead of one per byte.
  std::unique_ptr<char[]> m_readAhead{new char[kReadAheadBytes]};
  int m_readAheadStart{0};
  int m_readAheadEnd{0};
  char m_line[kMaxLine + 1]{};
  int m_lineLength{0};
  DWORD m_errorCode{0};
  CString m_errorText;
};
