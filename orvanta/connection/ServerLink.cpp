#include "orvanta/connection/ServerLink.h"

#include <cstdio>

namespace {
constexpr char kEsc = 0x1B;
constexpr char kTab = 0x09;
constexpr char kLf = 0x0A;
}  // namespace

CServerLink::CServerLink(CWnd* owner, SOCKET socket) : CConnectSocket(owner, socket) {
  m_sendBuffer.reserve(kSendBufferSize);
  m_wNotifyMask = kLinkNotifyMask;
}

CString CServerLink::FormatFrame(int sender, int major, int minor, const CString& payload, const CString& flag) {
  std::string record;
  AppendFrame(record, sender, major, minor, payload, flag);
  return CString(record);
}

void CServerLink::AppendFrame(std::string& out, int sender, int major, int minor, const CString& payload,
                              const CString& flag) {
  char head[64];
  const int headLength = std::snprintf(head, sizeof head, "%c%c%d/%d/%d/%d/", kEsc, kTab, sender,
                                       payload.GetLength(), major, minor);
  out.append(head, static_cast<std::size_t>(headLength));
  out.append(flag.str());
  out += '/';
  out.append(payload.str());
  out += kEsc;
  out += kLf;
}

BOOL CServerLink::Connect(LPCTSTR host, UINT port) {
  m_sendBuffer.clear();
  // Bytes left over from an earlier connection must never prefix this one's first group.
  ClearPendingArea();
  return CConnectSocket::Connect(host, port);
}

int CServerLink::QueueFrame(int sender, int major, int minor, CString payload, CString flag) {
  if (sender == 0)
    sender = GetOwnerHandleNumber();
  // Built in place at the end of the buffer; the steps below only decide where it belongs.
  const std::size_t start = m_sendBuffer.size();
  AppendFrame(m_sendBuffer, sender, major, minor, payload, flag);
  const std::size_t length = m_sendBuffer.size() - start;
  if (m_sendBuffer.size() < static_cast<std::size_t>(kSendBufferSize))
    return 1;
  std::string record = m_sendBuffer.substr(start);
  m_sendBuffer.resize(start);
  FlushFrames();
  if (length >= static_cast<std::size_t>(kSendBufferSize)) {
    // No buffer holds it: it leaves whole, right behind what was buffered before it.
    Send(record.data(), static_cast<int>(length));
    return 1;
  }
  m_sendBuffer = std::move(record);
  m_sendBuffer.reserve(kSendBufferSize);
  return 1;
}

int CServerLink::FlushFrames() {
  if (m_sendBuffer.empty()) {
    AsyncSelect();
    return 0;
  }
  std::string text;
  text.swap(m_sendBuffer);
  m_sendBuffer.reserve(kSendBufferSize);
  return Send(text.data(), static_cast<int>(text.size()));
}

CString CServerLink::ReadFrames() {
  CString group;
  if (!Receive(group))
    return CString();
  return group;
}

BOOL CServerLink::Close() {
  if (!m_sendBuffer.empty())
    FlushFrames();
  SendQueuedBlocks(kCloseSendWaitMs);
  return CWndSocket::Close(FALSE);
}

BOOL CServerLink::SetNonBlocking(BOOL flag) {
  u_long value = flag ? 1 : 0;
  if (ioctlsocket(m_hSocket, FIONBIO, &value) == SOCKET_ERROR)
    return FALSE;
  m_bNonBlocking = flag;
  return TRUE;
}
