#pragma once
// CFrameActions: what the server-message dispatcher asks of the main frame. Each incoming code
// reaches one or more of these actions; the frame implements them (many belong to the room,
// lobby and list screens and do their work there). The dispatcher itself keeps no state.

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/connection/FieldTokenizer.h"

class CSessionRecord;

class CFrameActions {
public:
  virtual ~CFrameActions() = default;

  // --- The link, the login record and frame state the dispatcher reads or changes ---
  // Queues one request on the server link; FALSE (nothing queued) without a connected link.
  virtual BOOL QueueRequest(int major, int minor, const CString& payload, const CString& flag) = 0;
  // Sends what is queued, when a link exists.
  virtual void FlushRequests() = 0;
  // The login record, or null when there is none.
  virtual CSessionRecord* GetLoginRecord() = 0;
  // The frame window that owns message boxes (may be null).
  virtual HWND GetFrameHandle() const = 0;
  // Incoming moves are queued as deferred texts while a room sync request is pending.
  virtual BOOL IsDeferringMoves() const = 0;
  virtual void SetDeferringMoves(BOOL defer) = 0;
  // The frame's closing flag, set by the close command.
  virtual BOOL IsClosing() const = 0;
  // Whether the link the records being handled came on is still the frame's, and connected.
  virtual BOOL IsLinkOpen() const = 0;
  // The pending-entry flag of a game room entry.
  virtual BOOL IsEntryPending() const = 0;
  virtual BOOL IsGameRoomActive() const = 0;
  virtual void SetConnected(BOOL connected) = 0;
  virtual void SetLogoutReceived() = 0;
  // Tool-bar button 2 becomes the connect/disconnect command with image 9.
  virtual void SetConnectButton() = 0;
  // Sets the command buttons for the situation after code.
  virtual void UpdateButtonsForEvent(int code, const CString& payload) = 0;
  // The code of the record being dispatched, told before its actions run (the room's handlers
  // share one action for a request and its agreed event).
  virtual void SetDispatchCode(int code) { (void)code; }

  // --- Login, session and notices ---
  virtual void OnLoginReply(const CString& payload) = 0;
  virtual void RequestAdvertInfo() = 0;
  virtual void RequestWaitRoomList() = 0;
  virtual void SendPostLoginRequest() = 0;
  virtual void OnLogoutReply() = 0;
  virtual void OnRelogin() = 0;
  virtual void AskLoginRelease() = 0;
  virtual void SendLogout() = 0;
  // Closes the server link; its close event brings the login dialog again.
  virtual void CloseLink() = 0;
  virtual void SetUpgradeFlag() = 0;
  virtual void StartUpgrade(CFieldTokenizer& payload) = 0;
  virtual void OnAdvertInfo(CFieldTokenizer& payload) = 0;
  virtual void OnUserSearchResult(CFieldTokenizer& payload) = 0;
  virtual void OnUserMessage(CFieldTokenizer& payload) = 0;
  virtual void OnOperatorNotice(CFieldTokenizer& payload) = 0;
  virtual void OnMailTo(CFieldTokenizer& payload) = 0;
  virtual void OnPostLoginNotice(CFieldTokenizer& payload) = 0;
  virtual void OnMemoCount(CFieldTokenizer& payload) = 0;
  virtual void OnMemoNotice(CFieldTokenizer& payload) = 0;
  virtual void SetStatusText(const CString& text) = 0;

  // --- Waiting room ---
  virtual void OnWaitingRoomList(CFieldTokenizer& payload) = 0;
  virtual void UpdateTitle() = 0;
  virtual void SendWaitRoomQuery(const CString& kind) = 0;
  virtual void SendGameListRequest() = 0;
  virtual void SendWaitRoomLeave() = 0;
  virtual void SendWaitRoomEnter() = 0;
  virtual void SetCurrentWaitRoom(int number) = 0;
  virtual void OnWaitRoomUsers(CFieldTokenizer& payload) = 0;
  virtual void OnWaitRoomChat(CFieldTokenizer& payload) = 0;
  virtual void OnWaitingRoomUserChange(CFieldTokenizer& payload) = 0;
  virtual void OnWaitingRoomRoomChange(CFieldTokenizer& payload) = 0;
  virtual void OnRoomLists(CFieldTokenizer& payload) = 0;
  virtual void OnNegotiationRefused(CFieldTokenizer& payload) = 0;
  virtual void OnNegotiationRequest(CFieldTokenizer& payload) = 0;
  virtual void OnNegotiationAgreed(CFieldTokenizer& payload) = 0;
  // Closes the waiting room's open negotiation window, if any.
  virtual void CloseNegotiationWindow() = 0;
  virtual void ClearNegotiationPending() = 0;
  // Runs the match negotiation again after a refused one.
  virtual void RetryNegotiation() = 0;
  virtual void OnInvitation(CFieldTokenizer& payload) = 0;
  virtual void OnInvitationRefused(CFieldTokenizer& payload) = 0;
  virtual void ClearInvitationPending() = 0;
  virtual void OnInviteUser() = 0;

  // --- Entering and leaving game rooms ---
  virtual void OnRoomOpened(CFieldTokenizer& payload) = 0;
  // Joins room with password from the current waiting room; no flush.
  virtual void SendJoinRoom(const CString& room, const CString& password) = 0;
  virtual void OnEnterGameRoom(int code, CFieldTokenizer& payload) = 0;
  virtual void OnLeftGameRoom(CFieldTokenizer& payload) = 0;
  virtual void OnRoomEntered(int code, CFieldTokenizer& payload) = 0;
  virtual void OnOpenRoom() = 0;
  virtual void ClearRoomEntryFlag() = 0;
  // Ends the wait cursor and the mouse capture of a request waiting for its reply.
  virtual void EndWaitCapture() = 0;
  // Sets the program-wide word after the room-state word to 0.
  virtual void ClearRoomSubState() = 0;

  // --- In the game room ---
  virtual void OnChatBan(CFieldTokenizer& payload) = 0;
  virtual void OnRoomChat(CFieldTokenizer& payload) = 0;
  virtual void OnRoomInformation(CFieldTokenizer& payload) = 0;
  virtual void OnRoomCode58(CFieldTokenizer& payload) = 0;
  virtual void OnGameInProgress(CFieldTokenizer& payload) = 0;
  virtual void OnRoomMoves(CFieldTokenizer& payload) = 0;
  virtual void OnMatchMessage(int code, CFieldTokenizer& payload, const CString& answer) = 0;
  virtual void OnOpponentMove(CFieldTokenizer& payload) = 0;
  virtual void QueueDeferredText(const CString& payload) = 0;
  virtual void OnUndoMessage(CFieldTokenizer& payload) = 0;
  virtual void OnDesignationMessage(CFieldTokenizer& payload) = 0;
  virtual void OnDrawMessage(CFieldTokenizer& payload) = 0;
  virtual void OnFinishMessage(CFieldTokenizer& payload) = 0;
  virtual void OnPauseMessage(CFieldTokenizer& payload) = 0;
  virtual void OnContinueMessage(CFieldTokenizer& payload) = 0;
  virtual void OnReviewMessage(CFieldTokenizer& payload) = 0;
  virtual void OnReplayStep(CFieldTokenizer& payload) = 0;
  virtual void OnObserverAdvice(CFieldTokenizer& payload) = 0;
  virtual void OnReplayDlgMessage(CFieldTokenizer& payload) = 0;
  virtual void OnTimeOver(CFieldTokenizer& payload) = 0;
  virtual void OnResumeMessage(CFieldTokenizer& payload) = 0;
  virtual void OnResignResult(CFieldTokenizer& payload) = 0;
  virtual void OnCountMessage(CFieldTokenizer& payload) = 0;
  virtual void OnStalemateAnswer(CFieldTokenizer& payload) = 0;
  virtual void OnClockStart(CFieldTokenizer& payload) = 0;
  virtual void OnLeaveCountdown(CFieldTokenizer& payload) = 0;
  virtual void OnWinWithoutCounting(CFieldTokenizer& payload) = 0;
  // A refused request: the text becomes the game room's notice (only while the room is shown).
  virtual void ShowRoomNotice(const CString& text) = 0;
  virtual void StartRoomClock() = 0;
  // Starts the game room's clock timer (101) again.
  virtual void RestartGameTimer() = 0;
  virtual void ClearUndoPending() = 0;
  virtual void ClearDesignationPending() = 0;
  virtual void LeaveDesignationMode() = 0;
  // The board leaves counting mode and is redrawn.
  virtual void LeaveCountingMode() = 0;
  // The designated stalemate area is cleared on the board and redrawn.
  virtual void ClearStalemateArea() = 0;
  virtual void SetBoardGameMode(long mode) = 0;

  // --- Records, ranks, forums, bulletin board ---
  virtual void OnRecordListPage(CFieldTokenizer& payload) = 0;
  virtual void OnRecordSearchResult(CFieldTokenizer& payload) = 0;
  virtual void OnRecordText(CFieldTokenizer& payload) = 0;
  virtual void OnForumList(CFieldTokenizer& payload) = 0;
  virtual void OnForumMenu(CFieldTokenizer& payload) = 0;
  virtual void OnForumJoined(CFieldTokenizer& payload) = 0;
  virtual void OnForumSeceded(CFieldTokenizer& payload) = 0;
  virtual void OnRankList(CFieldTokenizer& payload) = 0;
  virtual void OnRankPage(CFieldTokenizer& payload) = 0;
  virtual void OnUserRecord(CFieldTokenizer& payload) = 0;
  virtual void OnRankPage2(CFieldTokenizer& payload) = 0;
  virtual void OnBoardPostList(CFieldTokenizer& payload) = 0;
  virtual void OnBoardPost(CFieldTokenizer& payload) = 0;
  virtual void OnPostAdded(CFieldTokenizer& payload) = 0;
  virtual void OnPostDeleted(CFieldTokenizer& payload) = 0;
  virtual void OnReadCount(CFieldTokenizer& payload) = 0;
};
