#include "orvanta/connection/WndSocket.h"

#include <algorithm>

#include "orvanta/connection/PendingGroup.h"
#include "orvanta/connection/WinSockInit.h"

namespace {

constexpr int kReceiveChunk = 65536;

// The bytes of a group not yet complete; kept across reads and shared by the program's sockets.
CPendingGroup& PendingArea() {
  static CPendingGroup pending;
  return pending;
}

// A byte count as the 16-bit value of a notification; larger counts read as the largest value
// rather than wrapping round to a small one.
WORD CountWord(int count) { return static_cast<WORD>(std::min(count, 0xFFFF)); }

}  // namespace

BEGIN_MESSAGE_MAP(CWndSocket, CWnd)
  ON_MESSAGE(CWndSocket::kSelectMessage, OnSocketMessage)
  ON_MESSAGE(CWndSocket::kLookupMessage, OnLookupMessage)
END_MESSAGE_MAP()

CWndSocket::CWndSocket(CWnd* owner, int socketType, SOCKET socket)
    : m_nSocketType(socketType), m_hSocket(socket), m_pOwner(owner) {
  CWinSockInit::Instance().Startup(1, 1);
  m_hSocketCopy = socket;
  ResetState();
  CWnd::Create(nullptr, "", WS_CHILD, CRect(0, 0, 0, 0), owner, static_cast<UINT>(socket));
  if (m_hSocket == INVALID_SOCKET) {
    Create();
    return;
  }
  m_bConnected = TRUE;
  m_wSelectMask = kConnectedSelection;
  AsyncSelect();
}

CWndSocket::~CWndSocket() {
  *m_lifeToken = false;
  CancelLookup();
  if (m_hSocket != INVALID_SOCKET) {
    WSAAsyncSelect(m_hSocket, m_hWnd, 0, 0);
    closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
  }
  DestroyWindow();
  CWinSockInit::Instance().Release();
}

BOOL CWndSocket::Create() {
  if (m_hSocket != INVALID_SOCKET) {
    ResetState();
    return TRUE;
  }
  m_hSocket = socket(AF_INET, m_nSocketType, 0);
  if (m_hSocket == INVALID_SOCKET) {
    CheckError(WSAGetLastError());
    return FALSE;
  }
  m_hSocketCopy = m_hSocket;
  ResetState();
  return TRUE;
}

void CWndSocket::ResetState() {
  m_nLastError = 0;
  m_bConnected = FALSE;
  m_wSelectMask = 0;
  m_bReadOwed = false;
  m_sendQueue.clear();
  m_receiveQueue.clear();
}

BOOL CWndSocket::AsyncSelect(WORD mask) {
  m_wSelectMask = mask;
  return AsyncSelect();
}

BOOL CWndSocket::AsyncSelect() {
  return WSAAsyncSelect(m_hSocket, m_hWnd, kSelectMessage, m_wSelectMask) != SOCKET_ERROR;
}

int CWndSocket::CheckError(int error) {
  if (error == 0 || error == WSAEFAULT || error == WSAEWOULDBLOCK || error == WSAENOBUFS)
    return 0;
  m_nLastError = error;
  NotifyOwner(kNotifyError, static_cast<WORD>(error));
  return 1;
}

BOOL CWndSocket::Send(const void* data, int length) {
  if (m_hSocket == INVALID_SOCKET || !m_bConnected || data == nullptr || length < 0)
    return FALSE;
  if (length == 0)
    return TRUE;
  m_sendQueue.emplace_back(data, length);
  AsyncSelect();
  return TRUE;
}

BOOL CWndSocket::Receive(CString& group) {
  group.Empty();
  if (m_hSocket == INVALID_SOCKET || !m_bConnected)
    return FALSE;
  CPendingGroup& pending = PendingArea();
  while (!m_receiveQueue.empty()) {
    CSocketBlock block = std::move(m_receiveQueue.front());
    m_receiveQueue.pop_front();
    // Every record that ended goes on at once; a record is never handed out in pieces, and one
    // whose ESC and LF arrived in different blocks still ends.
    std::string bytes;
    if (pending.Take(std::string_view(block.GetData(), static_cast<std::size_t>(block.GetLength())), bytes)) {
      group = CString(bytes);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CWndSocket::Close(BOOL linger) {
  CancelLookup();
  if (m_hSocket != INVALID_SOCKET) {
    AsyncSelect(0);
    if (linger) {
      BOOL dontLinger = FALSE;
      setsockopt(m_hSocket, SOL_SOCKET, SO_DONTLINGER, reinterpret_cast<const char*>(&dontLinger), sizeof dontLinger);
    }
    u_long nonBlocking = 1;
    ioctlsocket(m_hSocket, FIONBIO, &nonBlocking);
    if (closesocket(m_hSocket) == SOCKET_ERROR) {
      NotifyOwner(kNotifyClosed, 0);
      return FALSE;
    }
    m_hSocket = INVALID_SOCKET;
  }
  ResetState();
  NotifyOwner(kNotifyClosed, 0);
  return TRUE;
}

int CWndSocket::GetPendingLength() { return static_cast<int>(PendingArea().Size()); }

void CWndSocket::ClearPendingArea() { PendingArea().Clear(); }

void CWndSocket::NotifyOwner(WORD event, WORD value) {
  if (m_pOwner == nullptr || !::IsWindow(m_pOwner->GetSafeHwnd()) || (m_wNotifyMask & event) == 0)
    return;
  m_pOwner->SendMessage(kNotifyMessage, static_cast<WPARAM>(m_hSocket), static_cast<LPARAM>(MAKELONG(event, value)));
}

BOOL CWndSocket::ConnectResolved(BOOL /*fromAddress*/) { return FALSE; }

void CWndSocket::OnConnect(int error) {
  if (CheckError(error))
    return;
  m_bConnected = TRUE;
  AsyncSelect(kConnectedSelection);
  NotifyOwner(kNotifyConnected, 0);
}

void CWndSocket::OnAccept(int error) {
  if (CheckError(error))
    return;
  NotifyOwner(kNotifyAccept, 0);
}

void CWndSocket::OnClose(int error) {
  if (CheckError(error))
    return;
  Close(FALSE);
}

void CWndSocket::OnReceive(int error) {
  if (CheckError(error))
    return;
  if (m_bOwnerReading) {
    // The owner is still handling earlier bytes (a question of it is open): these wait in the
    // socket, so they never overtake the records already received and the server is held back
    // rather than the program's memory filling.
    m_bReadOwed = true;
    return;
  }
  // Left uninitialised: recv fills what the block will hold.
  std::unique_ptr<char[]> buffer(new char[kReceiveChunk]);
  int received = recv(m_hSocket, buffer.get(), kReceiveChunk, 0);
  if (received > 0) {
    m_receiveQueue.emplace_back(std::move(buffer), received);
    auto alive = GetLifeToken();
    m_bOwnerReading = true;
    NotifyOwner(kNotifyReceived, CountWord(received));
    if (!*alive)
      return;
    m_bOwnerReading = false;
    // Selecting again makes the socket tell of the bytes that waited.
    if (m_bReadOwed && m_hSocket != INVALID_SOCKET) {
      m_bReadOwed = false;
      AsyncSelect();
    }
    return;
  }
  if (received == SOCKET_ERROR && !CheckError(WSAGetLastError()))
    AsyncSelect();
}

void CWndSocket::OnSend(int error) {
  if (CheckError(error))
    return;
  if (m_sendQueue.empty()) {
    OnSendQueueEmpty();
    return;
  }
  int sent = SendHeadBlock();
  if (sent == SOCKET_ERROR) {
    if (!CheckError(WSAGetLastError()))
      AsyncSelect(kConnectedSelection);
    return;
  }
  // More to send: ask for the next FD_WRITE now rather than waiting for the next request.
  if (!m_sendQueue.empty())
    AsyncSelect();
  if (sent > 0)
    NotifyOwner(kNotifySent, CountWord(sent));
}

void CWndSocket::OnOutOfBandData(int error) { CheckError(error); }

LRESULT CWndSocket::OnSocketMessage(WPARAM wParam, LPARAM lParam) {
  // A notice posted before the socket was closed or replaced belongs to no socket of ours.
  if (static_cast<SOCKET>(wParam) != m_hSocket || m_hSocket == INVALID_SOCKET)
    return 0;
  const int error = WSAGETSELECTERROR(lParam);
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ:
      OnReceive(error);
      break;
    case FD_WRITE:
      OnSend(error);
      break;
    case FD_OOB:
      OnOutOfBandData(error);
      break;
    case FD_ACCEPT:
      OnAccept(error);
      break;
    case FD_CONNECT:
      OnConnect(error);
      break;
    case FD_CLOSE:
      OnClose(error);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CWndSocket::OnLookupMessage(WPARAM wParam, LPARAM lParam) {
  if (m_hLookup == nullptr || reinterpret_cast<HANDLE>(wParam) != m_hLookup)
    return 0;
  m_hLookup = nullptr;
  if (CheckError(WSAGETASYNCERROR(lParam)))
    return 0;
  auto alive = GetLifeToken();
  NotifyOwner(kNotifyResolved, 0);
  if (*alive)
    ConnectResolved(FALSE);
  return 0;
}

void CWndSocket::SendQueuedBlocks(int waitMs) {
  if (m_hSocket == INVALID_SOCKET || !m_bConnected || m_sendQueue.empty())
    return;
  // Leave the event-driven mode for a bounded blocking send: the socket is about to close and no
  // further FD_WRITE would come for what is still queued.
  AsyncSelect(0);
  u_long blocking = 0;
  ioctlsocket(m_hSocket, FIONBIO, &blocking);
  setsockopt(m_hSocket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&waitMs), sizeof waitMs);
  while (!m_sendQueue.empty()) {
    const int wanted = m_sendQueue.front().GetLength();
    const int sent = SendHeadBlock();
    // A blocking send that returns short has run out of time.
    if (sent == SOCKET_ERROR || sent < wanted)
      break;
  }
}

int CWndSocket::SendHeadBlock() {
  CSocketBlock& head = m_sendQueue.front();
  int sent = send(m_hSocket, head.GetData(), head.GetLength(), 0);
  if (sent > 0 && head.Consume(sent) == 0)
    m_sendQueue.pop_front();
  return sent;
}

void CWndSocket::CancelLookup() {
  if (m_hLookup == nullptr)
    return;
  WSACancelAsyncRequest(m_hLookup);
  m_hLookup = nullptr;
}

int CWndSocket::GetOwnerHandleNumber() const {
  if (m_pOwner == nullptr)
    return 0;
  return static_cast<int>(reinterpret_cast<std::intptr_t>(m_pOwner->GetSafeHwnd()));
}
