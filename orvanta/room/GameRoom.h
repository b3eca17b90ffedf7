#pragma once
// CGameRoom: the game played in the game room, without its window. It takes the server's room
// messages and the board's events, keeps the room-state word, the clocks and the game record,
// puts stones on the board and fills the texts of the room's panes; the room view draws those
// texts and forwards its timers and board events here.

#include <map>
#include <memory>
#include <vector>

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/room/GameClock.h"
#include "orvanta/room/RoomMessages.h"
#include "orvanta/room/RoomState.h"

class CGiboRecord;
class CRoomBoard;
class CRoomHost;

class CGameRoom {
public:
  // Panes of the room (their control ids on the room form).
  enum Pane : int {
    kBlackName = 1068,
    kWhiteName = 1069,
    kBlackSecond = 1221,
    kWhiteSecond = 1220,
    kCondition = 1218,
    kMoveNumber = 1063,
    kStatus = 1064,
    kMessage = 1224,
    kBlackMain = 1059,
    kWhiteMain = 1060,
    kBlackSeconds = 1061,
    kWhiteSeconds = 1173,
    kBlackPeriods = 1062,
    kWhitePeriods = 1172,
    kBlackCaptured = 1057,
    kWhiteCaptured = 1058,
    kObserverList = 1065,  // told when the observers change
    kChatOutput = 1066,    // told when the chat text changes
    kClockSide = 0,        // told when the clock starts or stops, or the side to move changes
  };
  // Timers of the room window.
  static constexpr UINT kGameClockTimer = 101;
  static constexpr UINT kBlinkTimer = 102;
  static constexpr UINT kCountdownTimer = 222;
  static constexpr UINT kTick = 1000;
  static constexpr UINT kBlinkMs = 400;
  // The chat output's size limit.
  static constexpr int kChatLimit = 32767;

  CGameRoom(CRoomBoard& board, CRoomHost& host, CGiboRecord& record);

  // --- Room contents and state ---
  void ResetRoom();
  // The next reset keeps players, clock settings and texts.
  void SetKeepCondition(BOOL keep) { m_bKeepCondition = keep; }
  void SetRoomStatus(int status);
  void SetRole(int role);
  // Codes 53 (an observer), 511 (the room's contents) and 512 (the match start).
  void OnRoomMessage(int code, const CString& payload);
  void OnEnterRoom(const CString& payload);
  void OnMatchStart(const CString& payload);
  void OnPlayerLeft(const CString& payload);
  void OnChatMessage(const CString& payload);
  void OnChatBan(const CString& payload);
  void UpdateObserverList(const CString& text, int mode);
  BOOL IsUserInRoom(const CString& host, const CString& id) const;

  // --- Moves and clocks ---
  // The local user clicked the board.
  void OnBoardPosition(short row, short column);
  // The pass command: a pass node on the user's turn, else the board's refusal text.
  void SendPass();
  void OnOpponentMove(const CString& payload);
  void OnBoardError(short code);
  void OnBoardNumOfEat(short colour, short count);
  void OnTimer(UINT id);
  // One clock update of a side (2 black, 4 white) without taking main time.
  void UpdateClock(short colour);
  // Takes a second from the side to move and updates its clock (the frame's room clock message).
  void TickSideToMove();
  void StartGameClock(const CString& payload);
  void StartLeaveCountdown(const CString& payload);
  // The game clock timer, held while it runs (the frame starts and stops it too).
  BOOL StartClock();
  void StopClock();
  BOOL IsClockRunning() const { return m_nGameTimer != 0; }
  // The byo-yomi blink ends (a review takes the board).
  void StopBlinking() { StopBlink(); }
  // Whether the side's seconds pane shows its blinking look now (2 black, 4 white).
  BOOL IsPaneBlinking(short colour) const;
  // The side whose clock ticks now (2 black, 4 white), 0 while no clock runs.
  short GetTickingSide();

  // --- Loading a running game ---
  void OnGameInProgress(const CString& payload);
  void ReplayMovesOnBoard(const CString& payload);
  void RedrawFromRecord();
  void RestoreGame(const CString& payload);

  // --- Stored games ---
  // Lets the user pick one of his stored unfinished games (the server's list) and asks the server
  // to continue it.
  void ChooseStoredGame(const CString& payload);
  // The board the room plays on.
  CRoomBoard& GetBoard() { return m_board; }
  // A room status to apply once the room's moves are in (left by the frame).
  void SetPendingStatus(int status) { m_nPendingStatus = status; }
  // The room acknowledges its data once replayed.
  void SetAcknowledge(BOOL acknowledge) { m_bAcknowledge = acknowledge; }

  // --- Requests, answers and the end ---
  void OnUndoRequest(int code, const CString& payload);
  void OnDesignationMessage(int code, const CString& payload);
  void OnFinishMessage(int code, const CString& payload);
  void OnPauseMessage(int code, const CString& payload);
  void OnContinueMessage(int code, const CString& payload);
  void OnResumeRequest(int code, const CString& payload);
  void OnCountResult(int code, const CString& payload);
  void OnStalemateArea(const CString& payload);
  void OnStalemateAgreed(const CString& payload);
  void OnGameDrawn(const CString& payload);
  void OnResignResult(const CString& payload);
  void OnTimeOver(const CString& payload);
  void OnWinWithoutCounting(const CString& payload);
  void ToggleSequenceNumbers();
  // Writes the finished game to ".\gibo\" when the frame's record-saving setting is on.
  void SaveRecordToGiboFolder();

  // --- The frame's side of refusals and commands ---
  // A text in the message line (a refused request).
  void ShowNotice(const CString& text) { SetMessage(text); }
  void SetGameMode(LONG mode);
  // A refused designation takes the proposed dead stones off the board.
  void LeaveDesignationMode();
  // A refused count goes back to designating dead stones.
  void LeaveCountingMode();
  // A refused stalemate area is cleared.
  void ClearStalemateArea();

  // --- What the window draws ---
  CString GetPaneText(int pane) const;
  const CString& GetChatText() const { return m_chat; }
  const std::vector<CRoomMessages::Person>& GetObservers() const { return m_observers; }
  WORD GetRoomState() const { return m_state.GetWord(); }
  void SetRoomStateWord(WORD word) { m_state.SetWord(word); }
  int GetSubStatus() const { return m_state.GetSubStatus(); }
  short GetMyColour() const { return m_myColour; }
  // The user sits at the board: only then is he asked to answer the opponent's requests.
  BOOL IsSeatedPlayer() const;
  short GetMoveCounter() const { return m_moveCounter; }
  short GetHandicap() const { return m_handicap; }
  int GetCaptured(short colour) const;
  const CGameClock& GetClock(short colour) const { return colour == 2 ? m_black : m_white; }
  CGameClock& GetClock(short colour) { return colour == 2 ? m_black : m_white; }
  BOOL IsSeatTaken(short colour) const { return colour == 2 ? m_bBlackSeated : m_bWhiteSeated; }
  BOOL GetBlinkPhase() const { return m_bBlinkPhase; }
  void SetSoundOn(BOOL on) { m_bSoundOn = on; }
  BOOL IsSoundOn() const { return m_bSoundOn; }
  CGiboRecord& GetRecord() { return m_record; }
  // ---- Chat and players for the room view's chat, observers and commands ----
  // Adds text to the chat output, dropping its oldest lines to stay within the limit.
  void AppendChatLine(const CString& text) {
    if (!text.IsEmpty()) AppendChat(text);
  }
  const CString& GetPlayerHost(short colour) const { return colour == 2 ? m_blackHost : m_whiteHost; }
  // ---- end of the chat block ----
  // Called whenever a pane's text changes (the window repaints it).
  void SetPaneListener(void (*listener)(void* context, int pane), void* context);

  // ---- What the main menu pane and the frame's command rules set in the room ----
  // The room view's phase number (the sub-status), written by the command rules.
  void SetSubStatus(int phase) { m_state.SetSubStatus(phase); }
  // Both captured counters show 0, the board is drawn again from the record and takes the
  // dead-stone mode (mode 1) or none (any other mode).
  void ResetCapturedDisplay(int mode);
  // ---- end of the menu pane block ----

  // A question to the user runs the loop (here or in a call of the frame's), and a connection
  // lost or a logout meanwhile closes the room view and this room with it, as the user's leave or
  // a new match resets it: a caller takes Life() before its question and returns at once,
  // touching nothing, when Gone(life) after it.
  std::weak_ptr<int> Life() const { return m_life; }
  static bool Gone(const std::weak_ptr<int>& life) { return life.expired(); }

private:
  void SetPane(int pane, const CString& text);
  void SetMessage(const CString& text) { SetPane(kMessage, text); }
  void SetStatus(const CString& text) { SetPane(kStatus, text); }
  void SetPlayers(const CString& seats, const std::vector<CRoomMessages::Person>& players);
  void ShowClockPanes(short colour);
  // The panes, sounds and timers after one update of a side's clock.
  void ShowClockUpdate(short colour, const CGameClock::Update& update);
  void ShowCaptured();
  void StartBlink();
  void StopBlink();
  void StopCountdown();
  void OnBlinkTick();
  void OnCountdownTick();
  short SideToMove();
  void InitRecordFromCondition(const CRoomMessages::Condition& condition);
  void StartClocks(LONG mainSeconds, short periodSeconds, short periods);
  void ApplyRecordClocks();
  void DrawSetupStones();
  // Clears the board for a fresh drawing; the user keeps his colour on it.
  void ClearBoardKeepingSeat();
  // Switches the link to blocking (TRUE) or back, remembering which.
  void BlockLink(BOOL block);
  void Answer(short minor, const CString& payload, BOOL yes);
  BOOL AskYesNo(const CString& text, UINT icon);
  void EndGame();
  void ShowDeadStones(const CRoomMessages::DeadStones& stones);
  // Takes the agreed dead stones off the board; kept are the user's own marks that stay.
  void RemoveDeadStones(const CRoomMessages::DeadStones& stones, const std::vector<int>& kept);
  // Sets the board state mask on each point (board indexes).
  void MarkStones(const std::vector<int>& points, short mask);
  // The opponent stones the user marked dead (board indexes); none for a non-player.
  std::vector<int> OwnDesignation();
  short OpponentColour() const;
  void AddCheckStoneMode();
  void ShowOwners(const CString& owners);
  void AppendChat(const CString& line);
  static int ToInt(const CString& text);

  CRoomBoard& m_board;
  CRoomHost& m_host;
  CGiboRecord& m_record;
  CRoomState m_state;
  CGameClock m_black;
  CGameClock m_white;
  std::map<int, CString> m_panes;
  std::vector<CRoomMessages::Person> m_observers;
  CString m_chat;
  CString m_blackHost;
  CString m_whiteHost;
  void (*m_paneListener)(void*, int){nullptr};
  void* m_paneContext{nullptr};
  LONG m_savedGameMode{1};  // the board's mode kept across a reload of the running game
  UINT m_nGameTimer{0};
  UINT m_nBlinkTimer{0};
  UINT m_nCountdownTimer{0};
  int m_nCountdownLimit{0};
  int m_nCountdownCounter{0};
  int m_nPendingStatus{0};
  int m_capturedBlack{0};
  int m_capturedWhite{0};
  int m_deadBlack{0};   // dead stones counted into the captured panes
  int m_deadWhite{0};
  short m_myColour{0};
  short m_moveCounter{0};
  short m_handicap{0};
  BOOL m_bBlackSeated{FALSE};
  BOOL m_bWhiteSeated{FALSE};
  BOOL m_bBlinkPhase{FALSE};
  short m_nBlinkingSide{0};  // the side whose seconds pane blinks, 0 for none
  BOOL m_bSoundOn{TRUE};
  BOOL m_bKeepCondition{FALSE};
  BOOL m_bAcknowledge{FALSE};
  BOOL m_bLinkBlocked{FALSE};  // a running game is being rebuilt: the link blocks until its moves are in
  BOOL m_bMoveSent{FALSE};     // the user's move or pass is out and its echo has not come back
  std::shared_ptr<int> m_life{std::make_shared<int>(0)};  // goes with the room and each reset (see Life)
};
