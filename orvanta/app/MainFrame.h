#pragma once
// CMainFrame: the program's one top-level window and the owner of the one connection to the game
// server. It runs the login dialog, connects, answers the link's events (connected, data, closed,
// error), hands every received group to the dispatcher and carries out the actions the dispatcher
// asks for. It also keeps the small local files ("setting.ini", "AD.ini", "ChatMacro.Ini") and the
// option switches of the profile.
//
// Its client area is a fixed two-row splitter: the upper pane shows one view at a time, made from
// the view table by view id; the lower pane is the main menu pane. Actions that would reach a
// screen or dialog the program does not have yet are recorded (GetPendingCalls) instead of being
// lost. A record for a view is passed on only while that view is the one shown.

#include <cstddef>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include <platform/collections.h>
#include <platform/controlbars.h>
#include <platform/frames.h>
#include <platform/messages.h>
#include <platform/profile.h>
#include <platform/strings.h>

#include "orvanta/app/AdvertSlots.h"
#include "orvanta/app/ButtonEventRules.h"
#include "orvanta/app/CommandStates.h"
#include "orvanta/connection/FrameActions.h"
#include "orvanta/app/MainToolBar.h"
#include "orvanta/connection/ServerAddress.h"
#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/app/SettingFiles.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/MemoBoxDlg.h"
#include "orvanta/lobby/WaitingRoomRec.h"
#include "orvanta/lobby/WaitingRoomTable.h"
#include "orvanta/room/DeferredMoves.h"
#include "orvanta/room/RoomViewHost.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/widgets/MainMenuHost.h"
#include "orvanta/widgets/FixedSplitterWnd.h"
#include "orvanta/room/ReviewPlayHost.h"

class CGameRoom;
class CMainMenu;
class COrvantaView;
class CServerLink;
class CSessionRecord;
class CTirvoDListView;
class CTirvoGiboView;
class CPlacardView;
class CAssociationView;
class CTirvoMListView;
class CTirvoRankView;
class CGiboRecord;
class CNegotiationDlg;

class CReviewPlayDlg;

// The screens reach the frame only through the host interfaces it implements, so that they stay
// below it; the view ids come with CMainMenuHost.
class CMainFrame : public CFrameWnd, public CFrameActions, public CLobbyHost, public CRoomViewHost,
                   public CReviewPlayHost, public CCommunityHost, public CMainMenuHost {
  DECLARE_DYNCREATE(CMainFrame)
public:
  // Commands of this part of the frame.
  static constexpr UINT kConnectCommand = 57610;
  static constexpr UINT kConnectMenuCommand = 32789;
  static constexpr UINT kEnvironmentCommand = 32809;
  static constexpr UINT kChattingMacroCommand = 32815;
  // Tool-bar button 2's image while connected and while not.
  static constexpr int kConnectedImage = 9;
  static constexpr int kDisconnectedImage = 2;
  // Posted to the frame to delete the links retired inside their own notifications.
  static constexpr UINT kDeleteRetiredLinksMessage = WM_USER + 0x1F0;
  // The downloader's WM_COPYDATA number that means "the adverts are ready".
  static constexpr ULONG_PTR kAdvertsReadyData = 1;
  // How many pending calls are kept: a long session must not grow the record without end.
  static constexpr std::size_t kPendingCallLimit = 1000;

  // Resolves the server's address (ORVANTA_SERVER may replace it).
  CMainFrame();
  // A frame that connects to address; files are read from and written to the working folder.
  explicit CMainFrame(const CServerAddress& address);
  // Deletes the link and the login record still held.
  ~CMainFrame() override;

  // --- Connection and login ---
  // One login dialog pass: profile, dialog 179, then ConnectToServer on OK.
  void RunLoginPass();
  // Makes a new link (retiring the old one) and connects it to the server; the login record is
  // made anew once the connect request is issued.
  void ConnectToServer(const CString& id, const CString& password);
  // The connect/disconnect command: a login pass while not connected, the logout after a
  // question while connected.
  void OnConnectDisconnect();
  // Deletes the login record and the link, and forgets the session's program-wide state.
  void ReleaseSession();
  // Back to the start screen after a logout: the teaching-room texts and the waiting-room bit go.
  void ReturnToStartView();
  // Clears the room entry of the login record and the waiting-room screen bit.
  void ResetLoginRoomEntry();
  // Memo list request (1,13), flushed.
  void RequestMemoList();
  // ---- Post-login notice and the return to an unfinished game ----
  // The login notice (when there is one) in the notice dialog, then the memo list request unless
  // askMemos is FALSE (the list was asked for already); the notice counts as shown.
  void ShowLoginNotice(BOOL askMemos = TRUE);
  // Joins the room of an unfinished game: (category by classText, 3) "|a|b|c|"; not flushed.
  void SendResumeJoin(const CString& a, const CString& b, const CString& c, const CString& classText);
  BOOL IsNoticeShown() const { return m_bNoticeShown; }
  // ---- End of the post-login notice block ----

  // --- Views ---
  // Shows view id in the upper pane (nothing when it is already shown).
  void SwitchView(UINT viewId);
  // Sets the screen-flag bit of view id.
  void FlagScreen(UINT viewId);
  UINT GetActiveViewId() const override { return m_nActiveViewId; }
  // The status text the view table gives view id ("" for ids without one).
  static CString GetViewStatusText(UINT viewId);

  // --- Views of the splitter, the start screen and the frame's commands ---
  // Makes viewClass the view of viewId (in place of the view table's entry), so that a switch to
  // viewId shows it.
  void RegisterView(UINT viewId, CRuntimeClass* viewClass);
  // The view class a switch to viewId makes, or null when the program has none.
  CRuntimeClass* FindViewClass(UINT viewId) const;
  CFixedSplitterWnd& GetSplitter() { return m_wndSplitter; }
  // The view of the upper pane, the start view when it is the one shown, the lower pane.
  CView* GetContentView() const override;
  COrvantaView* GetStartView() const;
  CMainMenu* GetMainMenu() const;
  // The start view has made the waiting-room records of the room list.
  BOOL AreRoomRecordsLoaded() const { return m_bRoomRecordsLoaded; }
  void SetRoomRecordsLoaded(BOOL loaded) { m_bRoomRecordsLoaded = loaded; }
  const CString& GetCurrentRoomTitle() const { return m_strCurrentRoomTitle; }
  // A room button of the start view: the room becomes the current one and its request leaves
  // (forum, teaching-room list or waiting room by kind), flushed; the wait cursor shows until
  // the answer.
  void EnterRoomFromStartView(const CString& kind, const CString& number, const CString& title);
  // A command word of the start view's movie.
  void OnMovieCommand(const CString& command);
  // A button of the main menu pane.
  void OnMenuButton(UINT id) override;
  // Opens path of the service's web site (a full address as it stands).
  void OpenWebPage(const CString& path) override;
  // The screen commands of the main menu pane.
  void ShowWaitingRoomList();
  void ShowGameRoom();
  WORD GetRoomStateWord() const override { return m_wRoomState; }
  void SetRoomStateWord(WORD state) override { m_wRoomState = state; }
  // The situation the command-state rules read.
  CCommandSituation GetCommandSituation() const;

  // --- Settings and data files ---
  CString ReadSetting(int field) const override;
  // Replaces one field of "setting.ini"; FALSE when it cannot be written.
  BOOL WriteSetting(int field, const CString& text) override;
  // Refills the banner slots from "AD.ini"; FALSE (slots unchanged) when it is unusable.
  BOOL LoadAdverts() override;
  CString ReadAdvertStamp() const;
  void LoadChatMacros();
  void LoadOptions(int& manToMan, int& invite, int& alarm, int& nego) const;
  void SaveOptions(int manToMan, int invite, int alarm, int nego);
  // Options request (1,11) with the sum of the four options, flushed.
  void SendOptions();
  // The frame's size as field 0 of "setting.ini" stores it.
  CString GetPresentSizeSetting() const;

  // --- State ---
  CServerLink* GetServerLink() const { return m_pLink.get(); }
  BOOL IsConnected() const override { return m_bConnected; }
  BOOL IsConnecting() const { return m_bConnecting; }
  BOOL IsLogoutReceived() const { return m_bLogoutReceived; }
  BOOL IsResuming() const { return m_bResume; }
  BOOL IsUpgrading() const { return m_bUpgrade; }
  const CString& GetUserId() const override { return m_strUserId; }
  const CString& GetNotice() const { return m_strNotice; }
  const CString& GetStatusText() const { return m_strStatusText; }
  const CServerAddress& GetServerAddress() const { return m_address; }
  const CAdvertSlots& GetAdverts() const { return m_adverts; }
  const CSettingFiles::ChatMacros& GetChatMacros() const override { return m_chatMacros; }
  int GetConnectImage() const { return m_nConnectImage; }
  int GetCurrentWaitRoom() const { return m_nCurrentWaitRoom; }
  // Links retired and not yet deleted (their deletion waits for the loop).
  int GetRetiredLinkCount() const { return static_cast<int>(m_retiredLinks.size()); }
  // The latest calls (at most kPendingCallLimit) that wait for screens and dialogs the program
  // does not have yet, oldest first, each as "Name" or "Name:detail".
  const std::deque<CString>& GetPendingCalls() const { return m_pendingCalls; }
  void SetClosing(BOOL closing) { m_bClosing = closing; }
  void SetQuietClose(BOOL quiet) { m_bQuietClose = quiet; }

  // --- CFrameActions ---
  BOOL QueueRequest(int major, int minor, const CString& payload, const CString& flag) override;
  void FlushRequests() override;
  CSessionRecord* GetLoginRecord() override { return m_pLoginRecord.get(); }
  HWND GetFrameHandle() const override { return m_hWnd; }
  BOOL IsDeferringMoves() const override { return m_bRoomSyncPending; }
  void SetDeferringMoves(BOOL defer) override { m_bRoomSyncPending = defer; }
  BOOL IsClosing() const override { return m_bClosing; }
  BOOL IsLinkOpen() const override;
  BOOL IsEntryPending() const override { return m_bEntryPending; }
  BOOL IsGameRoomActive() const override { return m_nActiveViewId == kGameRoomView; }
  void SetConnected(BOOL connected) override { m_bConnected = connected; }
  void SetLogoutReceived() override { m_bLogoutReceived = TRUE; }
  void SetConnectButton() override;
  void UpdateButtonsForEvent(int code, const CString& payload) override;

  void OnLoginReply(const CString& payload) override;
  void RequestAdvertInfo() override;
  void RequestWaitRoomList() override;
  void SendPostLoginRequest() override;
  void OnLogoutReply() override;
  void OnRelogin() override;
  void AskLoginRelease() override;
  void SendLogout() override;
  void CloseLink() override;
  void SetUpgradeFlag() override { m_bUpgrade = TRUE; }
  void StartUpgrade(CFieldTokenizer& payload) override;
  void OnAdvertInfo(CFieldTokenizer& payload) override;
  void OnUserSearchResult(CFieldTokenizer& payload) override;
  void OnUserMessage(CFieldTokenizer& payload) override;
  void OnOperatorNotice(CFieldTokenizer& payload) override;
  void OnMailTo(CFieldTokenizer& payload) override;
  void OnPostLoginNotice(CFieldTokenizer& payload) override;
  void OnMemoCount(CFieldTokenizer& payload) override;
  void OnMemoNotice(CFieldTokenizer& payload) override;
  void SetStatusText(const CString& text) override;

  void OnWaitingRoomList(CFieldTokenizer& payload) override;
  void UpdateTitle() override;
  void SendWaitRoomQuery(const CString& kind) override;
  void SendGameListRequest() override;
  void SendWaitRoomLeave() override;
  void SendWaitRoomEnter() override;
  void SetCurrentWaitRoom(int number) override { m_nCurrentWaitRoom = number; }
  void OnWaitRoomUsers(CFieldTokenizer& payload) override;
  void OnWaitRoomChat(CFieldTokenizer& payload) override;
  void OnWaitingRoomUserChange(CFieldTokenizer& payload) override;
  void OnWaitingRoomRoomChange(CFieldTokenizer& payload) override;
  void OnRoomLists(CFieldTokenizer& payload) override;
  void OnNegotiationRefused(CFieldTokenizer& payload) override;
  void OnNegotiationRequest(CFieldTokenizer& payload) override;
  void OnNegotiationAgreed(CFieldTokenizer& payload) override;
  void CloseNegotiationWindow() override;
  void ClearNegotiationPending() override { m_bNegotiationPending = FALSE; }
  // The play negotiation from the game room shown: the opponent and the conditions chosen in the
  // negotiation dialog go out as a proposal, flushed. Nothing is asked while two or more people
  // watch ("In negotiating") or nobody else is in the room ("No opponent found").
  void RetryNegotiation() override;
  void OnInvitation(CFieldTokenizer& payload) override;
  void OnInvitationRefused(CFieldTokenizer& payload) override;
  void ClearInvitationPending() override { m_bInvitationPending = FALSE; }
  void OnInviteUser() override;

  void OnRoomOpened(CFieldTokenizer& payload) override;
  void SendJoinRoom(const CString& room, const CString& password) override;
  void OnEnterGameRoom(int code, CFieldTokenizer& payload) override;
  void OnLeftGameRoom(CFieldTokenizer& payload) override;
  void OnRoomEntered(int code, CFieldTokenizer& payload) override;
  void OnOpenRoom() override;
  void ClearRoomEntryFlag() override;
  void EndWaitCapture() override;
  void ClearRoomSubState() override;

  void OnChatBan(CFieldTokenizer& payload) override;
  void OnRoomChat(CFieldTokenizer& payload) override;
  void OnRoomInformation(CFieldTokenizer& payload) override;
  void OnRoomCode58(CFieldTokenizer& payload) override;
  void OnGameInProgress(CFieldTokenizer& payload) override;
  void OnRoomMoves(CFieldTokenizer& payload) override;
  void OnMatchMessage(int code, CFieldTokenizer& payload, const CString& answer) override;
  void OnOpponentMove(CFieldTokenizer& payload) override;
  void QueueDeferredText(const CString& payload) override;
  void OnUndoMessage(CFieldTokenizer& payload) override;
  void OnDesignationMessage(CFieldTokenizer& payload) override;
  void OnDrawMessage(CFieldTokenizer& payload) override;
  void OnFinishMessage(CFieldTokenizer& payload) override;
  void OnPauseMessage(CFieldTokenizer& payload) override;
  void OnContinueMessage(CFieldTokenizer& payload) override;
  void OnReviewMessage(CFieldTokenizer& payload) override;
  void OnReplayStep(CFieldTokenizer& payload) override;
  void OnObserverAdvice(CFieldTokenizer& payload) override;
  void OnReplayDlgMessage(CFieldTokenizer& payload) override;
  void OnTimeOver(CFieldTokenizer& payload) override;
  void OnResumeMessage(CFieldTokenizer& payload) override;
  void OnResignResult(CFieldTokenizer& payload) override;
  void OnCountMessage(CFieldTokenizer& payload) override;
  void OnStalemateAnswer(CFieldTokenizer& payload) override;
  void OnClockStart(CFieldTokenizer& payload) override;
  void OnLeaveCountdown(CFieldTokenizer& payload) override;
  void OnWinWithoutCounting(CFieldTokenizer& payload) override;
  void ShowRoomNotice(const CString& text) override;
  void StartRoomClock() override;
  void RestartGameTimer() override;
  void ClearUndoPending() override { m_bUndoPending = FALSE; }
  void ClearDesignationPending() override { m_bDesignationPending = FALSE; }
  void LeaveDesignationMode() override;
  void LeaveCountingMode() override;
  void ClearStalemateArea() override;
  void SetBoardGameMode(long mode) override;

  void OnRecordListPage(CFieldTokenizer& payload) override;
  void OnRecordSearchResult(CFieldTokenizer& payload) override;
  void OnRecordText(CFieldTokenizer& payload) override;
  void OnForumList(CFieldTokenizer& payload) override;
  void OnForumMenu(CFieldTokenizer& payload) override;
  void OnForumJoined(CFieldTokenizer& payload) override;
  void OnForumSeceded(CFieldTokenizer& payload) override;
  void OnRankList(CFieldTokenizer& payload) override;
  void OnRankPage(CFieldTokenizer& payload) override;
  void OnUserRecord(CFieldTokenizer& payload) override;
  void OnRankPage2(CFieldTokenizer& payload) override;
  void OnBoardPostList(CFieldTokenizer& payload) override;
  void OnBoardPost(CFieldTokenizer& payload) override;
  void OnPostAdded(CFieldTokenizer& payload) override;
  void OnPostDeleted(CFieldTokenizer& payload) override;
  void OnReadCount(CFieldTokenizer& payload) override;

  // --- Lobby: the waiting room, its senders and relays (MainFrameLobby.cpp) ---
  // Keeps the record of waiting room number (made anew each time) and makes it the current one.
  void RememberWaitingRoom(int number, const CString& key, const CString& name);
  // The current waiting room's record; null without one.
  CWaitingRoomRec* GetCurrentWaitingRoomRec() const;
  // The record of waiting room number (null without one), and a new record for it that takes the
  // place of any old one; the current room stays as it is.
  CWaitingRoomRec* FindRoomRecord(int number) const;
  void KeepRoomRecord(int number, const CString& kind, const CString& key, const CString& name);
  // The number of the waiting room whose record has key; -1 when none has.
  int FindRoomNumberByKey(const CString& key) const;
  // Forgets every waiting-room record.
  void ClearRoomRecords();
  // The waiting room while it is the view shown; null otherwise.
  CTirvoDListView* GetWaitingRoomView() const { return m_pWaitingRoomView; }
  int GetRoomEntryMode() const { return m_nRoomEntryMode; }
  // Set by the teaching-room list once it has sent a join.
  void SetJoining(int joining) override { m_nJoining = joining; }
  int GetJoining() const { return m_nJoining; }
  WORD GetRoomState() const { return m_wRoomState; }
  void SendUserSearch(const CString& a, const CString& b);
  void SendMemo(const CString& receiver, const CString& text);
  // The answer to another user's proposal (message 513): runs the answering dialog and sends what
  // the user chose.
  void OnNegotiationProposal(CFieldTokenizer& payload);
  // The negotiate button of the game room: the conditions dialog over the room's opponent, then
  // the proposal, flushed. A full room or one without an opponent is refused with a message.
  void OnPlayNegotiation();
  // Keeps the record of a waiting room whose number text is kind ("3" and "4" hold teaching rooms)
  // and makes it the current one.
  void RememberWaitingRoom(int number, const CString& kind, const CString& key, const CString& name);
  // (category by the waiting room, 2) "|W|" privateFlag "|" title "|" password "|"; no flush.
  void SendOpenRoom(const CString& privateFlag, const CString& title, const CString& password);
  // (room category, 12): the room prefix, then conditions (the nine texts of a proposal, each
  // followed by "|"); no flush.
  void SendNegotiationProposal(const CString& conditions);
  // The waiting room the last join left from; -1 before any.
  int GetHomeWaitRoom() const { return m_nHomeWaitRoom; }
  BOOL IsOpeningRoom() const { return m_bOpeningRoom; }
  // CLobbyHost
  CSessionRecord* GetLobbySession() override { return m_pLoginRecord.get(); }
  CString GetWaitingRoomKey() const override;
  const CWaitingRoomTable& GetWaitingRoomTable() const override { return m_waitingRooms; }
  std::array<CString, 8> GetChatPhrases() const override;
  void SendChatLine(const CString& payload) override;
  void RequestUserInfo(const CString& number, const CString& id) override;
  void SendMail(const CString& number, const CString& id) override;
  void SendUserMessage(const CString& a, const CString& b, const CString& c) override;
  void SendWaitingRoomRequest119(const CString& number, const CString& id) override;
  void SendWaitingRoomRequest38(const CString& payload) override;
  void SendWaitingRoomRequest57(const CString& payload) override;
  void SetRoomEntryMode(int mode) override { m_nRoomEntryMode = mode; }
  void SetRoomState(WORD state) override { m_wRoomState = state; }
  BOOL RunSearchUserDialog(const CString& caption, CString& id) override;
  BOOL RunSendMemoDialog(const CString& number, const CString& id, CString& recipient, CString& text) override;
  // --- End of the lobby block ---

  // --- Community: memos and messages, sibling programs, pages and mail (MainFrameCommunity.cpp) ---
  static constexpr UINT kHelpFinderCommand = 32788;
  static constexpr UINT kLiveRelayCommand = 32794;
  static constexpr UINT kServiceCommand = 32795;
  static constexpr UINT kRegisterCommand = 32796;
  static constexpr UINT kSendMessageCommand = 32798;
  static constexpr UINT kNewcomerCommand = 32801;
  static constexpr UINT kMailToManagerCommand = 32803;
  static constexpr UINT kHomePageCommand = 32804;
  static constexpr UINT kMemoBoxCommand = 32806;
  static constexpr UINT kSendMemoCommand = 32810;
  static constexpr UINT kHelpCommand = 57669;
  // The kept memos of the box that exists go to "./Message.dat"; a new hidden box replaces it.
  void CreateMemoBox();
  // The kept memos of the box go to the file (the box stays).
  void SaveMemoBox();
  CMemoBoxDlg* GetMemoBox() const { return m_pMemoBox.get(); }
  // Memo list (message 113): a count, then date, id, name and contents of every memo.
  void OnMemoList(CFieldTokenizer& payload);
  void OnMemoBox();
  void OnSendMemo();
  void OnSendMessage();
  // Starts a program from its command line, split into arguments (never through a shell).
  virtual BOOL StartProgram(const CString& line);
  void OnLiveRelay();
  void OnService();
  void OnRegister();
  void OnHelpFinder();
  void OnNewcomer();
  void OnHomePage();
  void OnMailToManager();
  void OnHelp();
  // The record list shown, when it is.
  CTirvoGiboView* GetRecordListView() const;
  // A page of the record list from key: (6,2) with the query when there is one, else (6,1); flushed.
  void RequestRecordList(const CString& key, const CString& query) override;
  // The record numbered number, (6,3), flushed; the wait cursor shows until it arrives.
  void RequestRecordPage(const CString& number) override;
  // Shows the record list and starts a search there (an empty query browses all).
  void SearchRecords(const CString& query);
  // A received record goes to the review dialog of the game room's screens.
  void ShowRecordForReview(const CGiboRecord& record) override;
  // A ranking page from key: (10,2) with the query when there is one, else (10,1), both with the
  // rank filter; flushed, the wait cursor shows until it arrives.
  void RequestRankPage(const CString& key, const CString& query) override;
  void SetRankFilter(const CString& filter) { m_strRankFilter = filter; }
  // (10,4) with payload as it stands; flushed.
  void SendRankQuery(const CString& payload);
  const CString& GetRankFilter() const { return m_strRankFilter; }
  CTirvoRankView* GetRankView() const;
  CTirvoMListView* GetProRoomListView() const;
  CAssociationView* GetForumView() const;
  // Forum requests: the forum list (7,1), a forum's menu (7,2), the board's first page (7,10);
  // flushed.
  void SendForumRequest1();
  void SendForumRequest2(const CString& payload) override;
  void SendForumRequest10(const CString& payload) override;
  // Board requests (7,minor): open 11, new post 12, delete 13, modified post 14; flushed.
  void SendForumRequest(int minor, const CString& payload) override;
  CPlacardView* GetBoardView() const;
  // Join (minor 3) or secede (minor 4), only while the forum view is shown; flushed.
  void SendForumMembership(int minor, const CString& payload) override;
  // A forum's board or waiting room is being opened: the forum's texts are kept for the board.
  void OpenForumBoard(const CString& id, const CString& code, const CString& target, const CString& name,
                     BOOL joined) override;
  void EnterForumWaitingRoom(const CString& target) override;
  void KeepBoardDraft(const CBoardDraft& draft) override;
  std::optional<CBoardDraft> TakeBoardDraft(const CString& forumId, const CString& boardCode) override;
  // Forgets the forum whose board or waiting room was opened.
  void ForgetForum();
  // The main menu's forum entry: the forum list again from a forum's board or a waiting room.
  void OnSelectForum();
  BOOL IsForumBoardOpen() const { return m_bForumBoardOpen; }
  const CString& GetForumTarget() const { return m_strForumTarget; }
  // --- End of the community block ---

  // --- Invitations, user search, continuing a paused game, rank selection (MainFrameCommunity.cpp) ---
  static constexpr UINT kInviteUserCommand = 32792;
  static constexpr UINT kSearchUserCommand = 32793;
  // Invitation (1,12): the room prefix, the room field, then the invitee's waiting room, ID and
  // the message; not flushed.
  void SendInvite(const CString& number, const CString& id, const CString& message, const CString& roomField) override;
  // The "Search User" command: the search dialog, then the user-search request, flushed.
  void OnSearchUser();
  // The main menu's select-record button: continue a paused game from the server's record or a file.
  void OnContinuePausedPlay();
  void ContinueFromSavedFile();
  // The rank-list screen command: the rank selection, then the first page of the chosen list.
  void ShowRankList();
  // The record search of the record list: the search dialog, then the search.
  void OnSearchRecords();
  // The room search of the waiting room.
  void OnSearchRoom();
  // The main menu's buttons of these commands; FALSE for other ids.
  BOOL OnCommunityMenuButton(UINT id);

  // --- Menu commands by the screen shown (MainFrameMenuCommands.cpp) ---
  // Record view: leaves the waiting room shown and asks for the list's first page, whose answer
  // shows the list.
  void ShowRecordList();
  // Join room: the waiting room's selected room.
  void OnEnterSelectedRoom();
  // User information of the user selected in the waiting room, the ranking or the game room.
  void OnUserInfoCommand();
  // Next page of the record list or the ranking shown.
  void RequestListPage();
  // Back to the waiting room last entered (3,1), while connected; flushed.
  void EnterSelectedWaitRoom();
  // The main menu's buttons of these commands; FALSE for other ids.
  BOOL OnScreenMenuButton(UINT id);
  // An invitation or a room entry is being handled; a further invitation is ignored meanwhile.
  BOOL IsRoomTransition() const { return m_bRoomEntry; }
  // --- End of the invitations block ---

protected:
  // The chat-macro dialog (template 446) over the eight phrases; TRUE on OK with the edited
  // texts in macros. The dialog is not part of the program yet: the call is recorded and
  // answered as Cancel.
  virtual BOOL RunChatMacroDialog(CSettingFiles::ChatMacros& macros);
  // The options dialog (template 407) with its four checks; TRUE on OK with the checks read back.
  virtual BOOL RunOptionsDialog(BOOL& manToMan, BOOL& invite, BOOL& alarm, BOOL& nego);
  // Starts a program beside this one (the downloader) from its command line, shown normally;
  // > 31 when it started.
  virtual UINT RunCommandLine(const CString& line);
  // Hands a web address or a "mailto:" address to the desktop's opener (never a shell).
  virtual void OpenWithDesktop(const CString& address, BOOL mail);
  // Records a call that waits for a screen or dialog of a later part of the program.
  void NotePending(const char* name, const CString& detail = CString());

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // While the game room is shown its chat keys (F2 to F9) work wherever the keyboard is, the
  // frame itself included (as after a dialog closed).
  BOOL PreTranslateMessage(MSG* msg) override;
  // The fixed two-row splitter: the start view above, the main menu pane below.
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  // Command states: connect/disconnect, the screen commands, the game-room commands.
  void OnUpdateConnect(CCmdUI* cmdUI);
  void OnUpdateCommandState(CCmdUI* cmdUI);
  int OnCreate(LPCREATESTRUCT cs);
  void OnClose();
  // Message 0x4E9 from the link: the low word of lParam is the event.
  LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);
  LRESULT OnDeleteRetiredLinks(WPARAM wParam, LPARAM lParam);
  BOOL OnCopyData(CWnd* wnd, COPYDATASTRUCT* data);
  void OnChattingMacro();
  void OnEnvironment();
  DECLARE_MESSAGE_MAP()

private:
  // The link's events.
  void HandleLinkEvent(WORD event);
  // The status bar with its four panes, hidden.
  BOOL CreateStatusBar();
  // Asks to install the movie player; FALSE when the program is to end for the install.
  BOOL OfferFlashInstall();
  void OnLinkConnected();
  void OnLinkData();
  void OnLinkClosed();
  void OnLinkError();
  // Clears the connected, connecting, room-entry and activity flags of a lost connection.
  void ClearConnectionFlags();
  // Detaches the link, silences it and posts its deletion, which waits until no link
  // notification is being handled: a link may be inside its own notification when the frame
  // lets go of it.
  void RetireLink();
  // Passes a record on to view viewId only while that view is shown; FALSE (dropped) otherwise.
  BOOL RelayToView(UINT viewId, const char* viewCall, const CFieldTokenizer& payload);
  // Shows the wait cursor and captures the mouse while a request waits for its reply.
  void BeginWaitCapture() override;
  // Asks text under caption; the button pressed.
  int Ask(const CString& text, const char* caption, UINT type);
  // A question about the game room shown: true for Yes when the user is still in that room once
  // it is answered (a room left, a new match or a lost connection meanwhile takes the question
  // with it).
  BOOL AskAboutRoom(const CString& text, const char* caption, UINT type);
  // Whether room requests may go out: the user is in a game room and has not asked to leave it.
  BOOL MaySendRoomRequest() const { return m_bInRoom && !m_bRoomLeft; }
  // Whether the waiting room shown has been left (its leave is out, the next screen not yet
  // come): its own requests would name a place the user is no longer in.
  BOOL IsShownWaitingRoomLeft() const { return m_nActiveViewId == kWaitingRoomView && m_bWaitRoomLeft; }
  // The profile of the application (the frame's own when there is no application object).
  platform::Profile& GetAppProfile();

  // --- Lobby (MainFrameLobby.cpp) ---
  // The waiting room as the view switch makes it and lets it go.
  void OnWaitingRoomShown();
  void OnWaitingRoomLeaving();
  // The answering dialog over a proposal; its result (IDOK, IDCANCEL or 100) and the dialog's
  // values for a counter-proposal.
  virtual INT_PTR RunNegotiationReplyDialog(const CString& proposal, CString& answer);
  void SendNegotiationAnswer(const CString& proposal, INT_PTR result, const CString& counterPayload);
  // Queues (category by role, minor) "|" key "|" extra for the current waiting room; FALSE (nothing
  // queued) without its record.
  BOOL QueueWaitRoomRequest(int minor, const CString& extra);
  // How waiting-room requests name the current room: its key, or the current-room text without a
  // record.
  CString GetCurrentRoomName() const;
  static void DeleteRoomRecords(CMapWordToOb& map);
  short GetWaitRoomCategory() const;
  CWaitingRoomTable m_waitingRooms;
  // The document's map of waiting-room records by number; the frame's own one when it was made
  // without a document.
  CMapWordToOb* m_pRoomMap{&m_ownRoomMap};
  CMapWordToOb m_ownRoomMap{10};
  CTirvoDListView* m_pWaitingRoomView{nullptr};
  int m_nRoomEntryMode{0};
  int m_nJoining{0};  // a teaching room's join has been sent
  int m_nHomeWaitRoom{-1};
  BOOL m_bOpeningRoom{FALSE};  // a room-opening request waits for its answer
  // --- End of the lobby block ---

  // --- Community (MainFrameCommunity.cpp) ---
  // Brings the sibling up when its window is found, else starts it; the frame then minimises.
  void StartSibling(const char* className, const char* title, const char* commandLine, const char* failure);
  void OpenMail(const CString& address);
  std::unique_ptr<CMemoBoxDlg> m_pMemoBox;
  CString m_strRankFilter;
  // The forum whose board or waiting room was opened from the forum view.
  BOOL m_bForumBoardOpen{FALSE};  // a forum's board or waiting room was opened from the forum list
  BOOL m_bForumRoom{FALSE};  // the current waiting room is the forum's own, named by the forum's target
  CString m_strForumId;
  CString m_strForumCode;
  CString m_strForumTarget;
  CString m_strForumName;
  BOOL m_bForumJoined{FALSE};  // the filter of the last rank selection; every ranking page carries it
  std::map<CString, CBoardDraft> m_boardDrafts;  // unsent posts by board, until their board is shown
  // --- End of the community block ---

  // Start-up and views block.
  CFixedSplitterWnd m_wndSplitter;
  std::map<UINT, CRuntimeClass*> m_registeredViews;  // views added to the table at run time
  CString m_strCurrentRoomTitle;
  BOOL m_bRoomRecordsLoaded{FALSE};

  CStatusBar m_wndStatusBar;  // created hidden
  CServerAddress m_address;
  CSettingFiles m_settingFiles;
  CServerDispatcher m_dispatcher{*this};
  std::unique_ptr<CServerLink> m_pLink;
  CServerLink* m_pReadingLink{nullptr};  // the link whose records are being handled
  std::vector<std::unique_ptr<CServerLink>> m_retiredLinks;
  std::unique_ptr<CSessionRecord> m_pLoginRecord;
  platform::Profile m_ownProfile{"Orvanta"};  // used only without an application object
  CAdvertSlots m_adverts;
  CSettingFiles::ChatMacros m_chatMacros;
  std::deque<CString> m_pendingCalls;
  CString m_strUserId;
  CString m_strPassword;
  CString m_strNotice;      // the login reply's notice, without ESC and TAB
  CString m_strStatusText;  // the status bar's first pane
  UINT m_nActiveViewId{kStartView};
  int m_nConnectImage{kDisconnectedImage};
  int m_nCurrentWaitRoom{-1};
  int m_nNotifyDepth{0};  // link notifications being handled (nested through dialogs)
  WORD m_wRoomState{1};  // the game room's state word; 1 while no room is shown
  BOOL m_bConnected{FALSE};
  BOOL m_bConnecting{FALSE};
  BOOL m_bLogoutReceived{FALSE};
  BOOL m_bClosing{FALSE};
  BOOL m_bQuietClose{FALSE};  // the forced upgrade closes without asking
  BOOL m_bAskingToClose{FALSE};  // the close question is open: another close waits for its answer
  BOOL m_bUpgrade{FALSE};
  BOOL m_bResume{FALSE};      // the user chose to go back to an unfinished game
  BOOL m_bNoticeShown{FALSE};  // the login notice ran once this session
  BOOL m_bStayInRoomList{FALSE};  // the user's next own leave (54) does not go back to the waiting room
  BOOL m_bRecessEntry{FALSE};  // the user came back into a room whose game is in recess
  BOOL m_bRoomEntry{FALSE};
  BOOL m_bEntryPending{FALSE};
  BOOL m_bRoomSyncPending{FALSE};
  BOOL m_bNegotiationPending{FALSE};
  BOOL m_bInvitationPending{FALSE};
  BOOL m_bUndoPending{FALSE};
  BOOL m_bDesignationPending{FALSE};
  BOOL m_bInRoom{FALSE};        // activity flag: inside a game room
  BOOL m_bRoomLeft{FALSE};      // the user left the last room entered, or his leave has gone out
  BOOL m_bWaitRoomLeft{FALSE};  // the waiting room's leave has gone out since it was last entered
  BOOL m_bListRequested{FALSE};  // activity flag: a list request waits for its reply
  BOOL m_bWaiting{FALSE};        // the wait cursor and the capture are on

  // ---- Game room: requests, commands, relays and the room's host (MainFrameRoom.cpp) ----
public:
  static constexpr UINT kDeferredMovesTimer = 107;
  static constexpr UINT kFullScreenCommand = 32800;
  static constexpr UINT kRoomSoundCommand = 32791;
  static constexpr UINT kSoundCommand = 32826;
  static constexpr UINT kSaveThisRecordCommand = 32816;
  // Advances the clock of the side to move by one second.
  static constexpr UINT kRoomClockMessage = WM_USER + 0x12C;
  static constexpr UINT kDeferredMovesMs = 1000;
  // The game room that room messages reach while the game room view is shown; the view attaches
  // its own (null detaches).
  void AttachGameRoom(CGameRoom* room) override { m_pGameRoom = room; }
  CGameRoom* GetGameRoom() const override { return m_pGameRoom; }
  // The current waiting room's number text and key (the W of every room request).
  void SetWaitingRoomKey(const CString& numberText, const CString& key);
  // Room-request senders (queued; the caller flushes).
  void RequestRoomData() override;
  void SendRoomReady() override;
  void SendRoomState(const CString& state);
  void SendRoomCode14(const CString& node, const CString& time);
  void SendLeaveRoom();
  // Room request 8 (the players' sync), only in a forum's room or a waiting room numbered "3".
  void SendRoomSync();
  // Confirm-and-request commands of the room.
  void AskDraw() override;
  void AskResign() override;
  void AskUndo() override;
  void AskEnd() override;
  void AskPauseOrContinue() override;
  void AskCounting() override;
  // Room request 27 with the user's role and ID, only in the game room; flushed.
  void AskReplay();
  // The leave command: the game room after a question; another screen back to the start screen
  // (or to the forum it was opened from); the start screen closes the program.
  void LeaveRoom() override;
  // The game of the room left goes: timers, queued moves, request flags, full screen.
  void ResetRoomGame();
  // The leave command closed the program from the start screen.
  BOOL IsClosingByLeave() const { return m_bClosingByLeave; }
  void StopRoomClock();
  // The sound command of the room: flips the setting and tells the room.
  void ToggleRoomSound() override;
  // The main menu's game-room buttons; FALSE for other ids.
  BOOL OnRoomMenuButton(UINT id);
  // The sequence-number button: the board shows or hides move numbers.
  void ToggleSequenceNumbers();
  // F11: full screen in the game room (no caption, no menu, the screen's size); elsewhere
  // maximised and back.
  void ToggleFullScreen() override;
  BOOL IsFullScreen() const override { return m_bFullScreen; }
  // The "Sound" menu item: flips the setting without telling the room.
  void OnSound() { m_bSoundOn = !m_bSoundOn; }
  BOOL IsSoundOn() const override { return m_bSoundOn; }
  void OnSaveThisRecord() { m_bSaveThisRecord = !m_bSaveThisRecord; }
  LRESULT OnRoomClockMessage(WPARAM wParam, LPARAM lParam);
  // The full-screen height for a screen width.
  static int FullScreenHeight(int width);
  void SetSaveThisRecord(BOOL save) { m_bSaveThisRecord = save; }
  void SetReconnecting(BOOL reconnect) { m_bReconnect = reconnect; }
  BOOL IsPaused() const { return m_bPaused; }
  BOOL IsEndRequested() const { return m_bEndRequested; }
  BOOL IsUndoPending() const { return m_bUndoPending; }
  BOOL IsInRoom() const { return m_bInRoom; }
  int GetDeferredMoveCount() const { return m_deferredMoves.GetCount(); }
  // The room prefix |W|R| of every room request.
  CString GetRoomPrefix() const override;

  // ---- The room view's own commands: advice, barring an observer, counting ----
  // Asks, then permits or refuses observers' advice (5,33) and flips the setting.
  void ToggleObserverAdvice() override;
  BOOL IsObserverAdviceOn() const override { return m_bObserverAdvice; }
  // The next pause command asks for a pause (FALSE) or to continue (TRUE).
  void SetPaused(BOOL paused) override { m_bPaused = paused; }
  // Room request 5 with four fields (the players bar an observer from chatting); flushed.
  void SendRoomCode5(const CString& a, const CString& b, const CString& c, const CString& d) override;
  // Designate stalemate: the first press lets the board take the area's marks, the next sends
  // the marked points (cat1,46), flushed.
  void SendStalemateArea() override;
  // The room view refills its macro list after the macros were edited.
  void RefreshRoomChatMacros();
  // The login record's room field (the R of the room prefix).
  CString GetSessionRoomText() const override;
  // ---- end of the room view's commands ----

  void SetDispatchCode(int code) override { m_nDispatchCode = code; }

  // --- CRoomHost ---
  void SendGameRequest(short minor, const CString& extra) override;
  void SendAnswer(short minor, const CString& payload) override;
  void Flush() override { FlushRequests(); }
  int AskUser(const CString& text, const char* caption, UINT type) override { return Ask(text, caption, type); }
  BOOL RunCapturedStonesDlg(const CString& text) override;
  void PlaySound(const char* file) override;
  BOOL StartTimer(UINT id, UINT ms) override;
  void StopTimer(UINT id) override;
  CString GetOwnId() override { return m_strUserId; }
  CString GetLoginRole() override;
  CString GetRoomEntryText(int index) override;
  BOOL IsSaveRecordOn() override { return m_bSaveThisRecord; }
  BOOL IsReconnecting() override { return m_bReconnect; }
  void ClearReconnecting() override { m_bReconnect = FALSE; }
  void SetEndRequested(BOOL requested) override { m_bEndRequested = requested; }
  void ToggleEndRequested() override { m_bEndRequested = !m_bEndRequested; }
  BOOL IsStonesDesignated() override { return m_bStonesDesignated; }
  void SetStonesDesignated() override { m_bStonesDesignated = TRUE; }
  void ClearDesignation() override;
  void BuildBoardText() override;
  CString GetStalemateText() override { return m_strStalemateText; }
  void SetStalemateText(const CString& text) override { m_strStalemateText = text; }
  BOOL HasOwnStalemateArea() override { return m_bOwnStalemateArea; }
  void UpdateRoomButtons() override;
  void EnableFinishButton() override;
  void EndRoomWait() override;
  void SetLinkBlocking(BOOL blocking) override;
  void SendLeaveAfterCountdown(const CString& first, const CString& second) override;
  void SendClockState(short colour) override;

private:
  // Timer 107: deferred moves go to the room once the room's data is in.
  void OnDeferredMovesTimer();
  // The other player's move on the board of the room shown.
  void PlayOpponentMove(const CString& payload);
  static void RoomTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);
  short GetRoomCategory() const;
  // The room, only while the game room view is shown.
  CGameRoom* ShownRoom() const;
  // The leave command on a screen other than the game room, and the leave of a forum's screens.
  void LeaveOtherView();
  void LeaveShownView();
  void ForgetOwnStalemateArea();

  CGameRoom* m_pGameRoom{nullptr};
  BOOL m_bObserverAdvice{FALSE};  // observers may advise the players
  int m_nDispatchCode{0};  // the code of the record being dispatched
  CDeferredMoves m_deferredMoves;
  UINT_PTR m_nDeferredTimer{0};
  CString m_strWaitRoomNumberText;
  CString m_strWaitRoomKey;
  CString m_strStalemateText;
  CString m_strCapturedText;
  BOOL m_bEndRequested{FALSE};
  BOOL m_bPaused{FALSE};
  BOOL m_bStonesDesignated{FALSE};
  BOOL m_bCapturedTextReady{FALSE};
  BOOL m_bOwnStalemateArea{FALSE};
  BOOL m_bClosingByLeave{FALSE};
  BOOL m_bSaveThisRecord{FALSE};
  BOOL m_bSoundOn{TRUE};
  BOOL m_bReconnect{FALSE};
  BOOL m_bRoomOwner{FALSE};
  BOOL m_bFullScreen{FALSE};
  BOOL m_bMaximised{FALSE};  // outside the game room F11 maximises and restores
  CRect m_savedRect;         // the frame's rectangle before full screen
  CMenu* m_pSavedMenu{nullptr};
  // ---- end of the game room block ----

  // ---- Command states after server events, the menu pane's layout, the view map
  // (MainFrameButtons.cpp) ----
public:
  // Places the main menu pane's buttons for screen mode 1 to 8 (other modes move nothing).
  void ArrangeMenuButtons(int mode) override;
  // The main menu pane's layout mode of the view shown (0 when the view table has none).
  int GetMenuMode() const override;
  // What the command rules read of the frame and the room shown.
  CButtonEventSituation GetButtonEventSituation() const;
  // The view kept under view id: only the view shown is kept (a replaced view is destroyed).
  CView* FindRegisteredView(UINT viewId) const;
  // The "Tool Bar" command of the View menu.
  static constexpr UINT kToolBarCommand = 32790;
  CMainToolBar& GetToolBar() { return m_wndToolBar; }

private:
  // Disables the main menu pane's screen buttons, and leave as well with withLeave.
  void DisableCommandButtons(BOOL withLeave);
  void RegisterContentView(UINT viewId);
  // The list view shown saves its column widths into "setting.ini".
  void SaveActiveColumnWidths();
  // The rebar with the tool bar (created hidden).
  BOOL CreateToolBar();
  std::map<UINT, CView*> m_viewMap;
  CMainToolBar m_wndToolBar;
  // ---- end of the command-state block ----

  // ---- The menu bar (MainFrameMenuBar.cpp) ----
public:
  // Shows the tool bar and the status bar when hidden, hides them when shown.
  void OnViewToolBar();
  void OnUpdateViewToolBar(CCmdUI* cmdUI);
  BOOL IsToolBarShown() const { return m_bToolBarShown; }
  CStatusBar& GetStatusBar() { return m_wndStatusBar; }
  // The commands that talk to the server are enabled only while connected.
  void OnUpdateConnectedCommand(CCmdUI* cmdUI);
  // Asks for the information of the user whose ID is typed.
  void OnUserInformation();
  // Asks for the user's own information.
  void OnMyInformation();
  // Both sound items are checked while sounds are on.
  void OnUpdateSound(CCmdUI* cmdUI);
  void OnUpdateSaveThisRecord(CCmdUI* cmdUI);
  // Exit closes the frame as its close box does, and is greyed while that close would be refused.
  void OnAppExit();
  void OnUpdateAppExit(CCmdUI* cmdUI);

private:
  BOOL m_bToolBarShown{FALSE};
  // ---- end of the menu bar block ----

  // ---- Captured stones ----
public:
  // Asks, then sends the stones the user chose for capture; with none chosen, the board starts
  // choosing instead.
  void SendCapturedStones() override;
  // Request 17: the count, then the list (it starts with "|").
  void SendCapturedList(const CString& count, const CString& list);
  // Room request 25: the stored game chosen ("0" the one in recess); not flushed.
  void SendStoredGameChoice(const CString& choice);
  // The text the last BuildBoardText left ("|" when no stone was chosen) and whether it holds stones.
  const CString& GetCapturedText() const { return m_strCapturedText; }
  BOOL IsCapturedTextReady() const { return m_bCapturedTextReady; }
  BOOL IsDesignationPending() const { return m_bDesignationPending; }

private:
  BOOL m_bDesignateToggle{FALSE};  // flips each time the captured-stone command gets past its question
  // ---- end of the captured stones block ----

  // ---- Commands on play records (MainFrameRecordCommands.cpp) ----
public:
  static constexpr UINT kStoredGamesCommand = 61473;
  static constexpr UINT kOpenLocalRecordCommand = 61474;
  static constexpr UINT kReviewRecordCommand = 61497;
  static constexpr UINT kSendMemoToUserCommand = 32782;
  // Opens a record file and sends it to the room to continue the game it holds.
  void OnOpenLocalRecord();
  // Room request 41 with the record's whole text.
  void SendRecordGame(const CGiboRecord& record);
  // Opens a record file in the review dialog.
  void OnFileOpen();
  void OnUpdateFileSave(CCmdUI* cmdUI);
  // Asks for the record selected on the record list.
  void OnReviewRecord();
  // A player in recess continues a stored game; anyone else asks for his own records.
  void OnStoredGames();
  // The memo command of the waiting room or the game room shown.
  void OnSendMemoToUser();
  // A study board over a copy of the room's game record.
  void OnSelfPlay();

private:
  // Reads path into record; FALSE, after telling the user, when it cannot be read.
  BOOL ReadRecordFile(const CString& path, CGiboRecord& record);
  // ---- end of the play-record block ----

  // ---- The room's review play: the server-driven review board and its requests ----
public:
  void SendRoomCode32(const CString& move) override;
  void SendRoomCode36(const CString& number) override;
  void StopReplay() override;
  // The room's people but the user, in the replay-choice dialog; the chosen row's host and ID
  // (both empty when OK was pressed without a row). FALSE when the dialog was cancelled.
  BOOL ChooseReviewLeader(CString& third, CString& first) override;
  // The review board of the room's review; null while there is none.
  CReviewPlayDlg* GetReviewPlayDlg() const { return m_pReviewPlayDlg.get(); }

private:
  // Codes 527 and 540: a new review board over the room's game.
  void OpenReviewPlay(const CString& payload);
  void CloseReviewPlay();
  // Fields 2 and 3 name the participant who leads the review: the login role and the user id.
  BOOL IsReviewLeader(const CString& payload);

  std::unique_ptr<CReviewPlayDlg> m_pReviewPlayDlg;
  // ---- end of the review play block ----
};
