#pragma once
// CServerLink: the program's connection to the game server. Requests are written as wire records
// into a send buffer (QueueFrame) and leave together as one block (FlushFrames); received bytes
// come back as whole groups of records (ReadFrames).
//
// A wire record: ESC TAB sender/length/major/minor/flag/payload ESC LF, where length is the
// payload's byte count and sender the number of the window that sends.

#include <string>

#include "orvanta/connection/ConnectSocket.h"

class CServerLink : public CConnectSocket {
public:
  // Capacity of the send buffer, its terminating NUL included.
  static constexpr int kSendBufferSize = 4096;
  // Notify mask of the link: events 1, 2, 16, 32, 64 and 128.
  static constexpr WORD kLinkNotifyMask = 243;
  // Longest wait for each send of what is still queued when the link is closed.
  static constexpr int kCloseSendWaitMs = 500;

  // The main frame passes INVALID_SOCKET, so a new socket is created.
  CServerLink(CWnd* owner, SOCKET socket);

  // The bytes of one wire record.
  static CString FormatFrame(int sender, int major, int minor, const CString& payload, const CString& flag);

  // Empties the send buffer and the pending area, then connects to host (dotted or a name).
  BOOL Connect(LPCTSTR host, UINT port);
  // Appends one record to the send buffer (sender 0 writes the owner window's handle). A record
  // that would overfill the buffer flushes it first; one too long for any buffer follows the
  // flushed bytes as a block of its own. Nothing is sent before the next flush. Returns 1.
  int QueueFrame(int sender, int major, int minor, CString payload, CString flag);
  // Hands the buffered records to the socket as one block. Empty buffer: only re-arms the
  // selection and returns 0; otherwise the result of the send queueing.
  int FlushFrames();
  // The next complete group of records received, or "" when none is complete yet.
  CString ReadFrames();
  // Sends what is already queued (buffered records too), waiting only briefly, then closes.
  BOOL Close();
  // ioctlsocket FIONBIO with flag; FALSE on a socket error.
  BOOL SetNonBlocking(BOOL flag);
  using CWndSocket::AsyncSelect;

  int GetSendBufferLength() const { return static_cast<int>(m_sendBuffer.size()); }
  BOOL IsNonBlocking() const { return m_bNonBlocking; }

  void OnSendQueueEmpty() override {}

private:
  // Appends the bytes of one wire record to out.
  static void AppendFrame(std::string& out, int sender, int major, int minor, const CString& payload,
                          const CString& flag);

  BOOL m_bNonBlocking{FALSE};
  std::string m_sendBuffer;  // records not yet flushed; always shorter than kSendBufferSize
};
