#pragma once
// CWndSocket: a socket bound to a hidden child window of its owner. The socket library posts its
// events to the hidden window, which handles them on the user-interface thread and tells the owner
// window through message 0x4E9 (wParam = socket, lParam = MAKELONG(event, value)). Bytes to send
// and bytes received wait in two queues of blocks.

#include <deque>
#include <memory>
#include <string>

#include <platform/strings.h>
#include <platform/windows.h>
#include <platform/winsock.h>

#include "orvanta/connection/SocketBlock.h"

class CWndSocket : public CWnd {
public:
  // Message of the socket's events to the hidden window.
  static constexpr UINT kSelectMessage = 0x4EA;
  // Message of a finished host-name lookup to the hidden window.
  static constexpr UINT kLookupMessage = 0x4EB;
  // Message of the owner notifications.
  static constexpr UINT kNotifyMessage = WM_USER + 0xE9;
  // Owner notifications (the low word of lParam); each is passed on only when in the notify mask.
  static constexpr WORD kNotifyReceived = 1;   // value: bytes received
  static constexpr WORD kNotifySent = 2;       // value: bytes sent
  static constexpr WORD kNotifyAccept = 8;
  static constexpr WORD kNotifyConnected = 16;
  static constexpr WORD kNotifyClosed = 32;
  static constexpr WORD kNotifyResolved = 64;
  static constexpr WORD kNotifyError = 128;    // value: the WinSock error
  // Selection of a connected socket: FD_READ | FD_WRITE | FD_CLOSE.
  static constexpr WORD kConnectedSelection = 35;

  // Starts the socket library, creates the hidden window under owner and, for INVALID_SOCKET, a
  // new socket of socketType; any other handle is taken as an already connected socket.
  CWndSocket(CWnd* owner, int socketType, SOCKET socket);
  // Closes a socket still open (without notifying the owner) and releases the library.
  ~CWndSocket() override;

  // Creates the socket unless one exists; then resets the state. FALSE (and event 128) on failure.
  BOOL Create();
  using CWnd::Create;
  // Last error 0, not connected, selection 0, both queues emptied; the notify mask stays.
  void ResetState();
  // Selects mask for the socket's events to the hidden window and keeps it as the selection.
  BOOL AsyncSelect(WORD mask);
  // Selects the kept selection again; WinSock then posts FD_WRITE while the socket can take data.
  BOOL AsyncSelect();
  // 0 for no error (0, WSAEFAULT, WSAEWOULDBLOCK, WSAENOBUFS); otherwise keeps the error,
  // notifies event 128 with it and returns 1.
  int CheckError(int error);
  // Queues a copy of data for sending and re-arms the selection; FALSE without a connected socket.
  BOOL Send(const void* data, int length);
  // Takes received blocks through the program's pending area until a block ends a record; TRUE
  // with every whole record held (pending bytes first), the unfinished rest kept pending. FALSE
  // when no block ended a record, or without a connected socket.
  BOOL Receive(CString& group);
  // Closes the socket (after setting SO_DONTLINGER to 0 when linger is set), resets the state and
  // notifies event 32. FALSE, with the handle kept, when closesocket fails.
  BOOL Close(BOOL linger);

  SOCKET GetSocket() const { return m_hSocket; }
  BOOL IsConnected() const { return m_bConnected; }
  WORD GetSelectMask() const { return m_wSelectMask; }
  WORD GetNotifyMask() const { return m_wNotifyMask; }
  void SetNotifyMask(WORD mask) { m_wNotifyMask = mask; }
  int GetLastError() const { return m_nLastError; }
  CWnd* GetOwnerWnd() const { return m_pOwner; }
  int GetSendQueueLength() const { return static_cast<int>(m_sendQueue.size()); }
  int GetReceiveQueueLength() const { return static_cast<int>(m_receiveQueue.size()); }

  // Bytes of an unfinished group kept across reads, shared by every socket of the program.
  static int GetPendingLength();
  static void ClearPendingArea();

  // Sends message 0x4E9 to the owner window when it exists and event is in the notify mask.
  virtual void NotifyOwner(WORD event, WORD value);
  // FD_WRITE arrived with nothing left to send.
  virtual void OnSendQueueEmpty() = 0;
  // Connects to the address now known; fromAddress 0 takes it from the lookup result first.
  virtual BOOL ConnectResolved(BOOL fromAddress);
  virtual void OnConnect(int error);
  virtual void OnAccept(int error);
  virtual void OnClose(int error);
  // Reads one block and tells the owner. While the owner handles it (and any question it opens),
  // nothing more is read: the socket is read on once the owner returns.
  virtual void OnReceive(int error);
  virtual void OnSend(int error);
  virtual void OnOutOfBandData(int error);

protected:
  DECLARE_MESSAGE_MAP()

  // Message 0x4EA: one socket event (low word) with its error (high word).
  LRESULT OnSocketMessage(WPARAM wParam, LPARAM lParam);
  // Message 0x4EB: the lookup finished; the error is in the high word.
  LRESULT OnLookupMessage(WPARAM wParam, LPARAM lParam);
  // Sends what the send queue holds, waiting at most waitMs for each send; used before closing.
  void SendQueuedBlocks(int waitMs);
  // Sends the head block once and consumes what left; the count sent or SOCKET_ERROR.
  int SendHeadBlock();
  // Cancels a host-name lookup still under way.
  void CancelLookup();
  // The owner window's handle as the number written on the wire.
  int GetOwnerHandleNumber() const;

  // Set to false when the object dies: a handler that calls out to the owner checks it afterwards,
  // since the owner may delete this socket while handling a notification.
  std::shared_ptr<bool> GetLifeToken() const { return m_lifeToken; }

  sockaddr_in m_sockAddr{};
  int m_nSocketType{SOCK_STREAM};
  alignas(hostent) char m_hostBuffer[MAXGETHOSTSTRUCT]{};
  BOOL m_bConnected{FALSE};
  WORD m_wSelectMask{0};
  WORD m_wNotifyMask{0};
  SOCKET m_hSocket{INVALID_SOCKET};
  SOCKET m_hSocketCopy{INVALID_SOCKET};  // the handle as it was at creation
  CWnd* m_pOwner{nullptr};               // not owned
  int m_nLastError{0};
  std::deque<CSocketBlock> m_sendQueue;
  std::deque<CSocketBlock> m_receiveQueue;
  HANDLE m_hLookup{nullptr};  // the host-name lookup under way
  bool m_bOwnerReading{false};  // the owner is handling received bytes
  bool m_bReadOwed{false};      // bytes arrived meanwhile and wait in the socket
  std::shared_ptr<bool> m_lifeToken{std::make_shared<bool>(true)};
};
