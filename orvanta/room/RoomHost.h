#pragma once
// CRoomHost: what the game room asks of the main frame and of its window: requests to the
// server, questions to the user, timers, sounds and the frame's game flags.

#include <platform/strings.h>
#include <platform/types.h>

class CRoomHost {
public:
  virtual ~CRoomHost() = default;

  // --- Requests (queued; Flush sends them) ---
  // A room request: the room prefix, then extra; flag "1".
  virtual void SendGameRequest(short minor, const CString& extra) = 0;
  // An answer to another player's request: payload "|f0|f1|1|" or "|0|", flag "2".
  virtual void SendAnswer(short minor, const CString& payload) = 0;
  virtual void Flush() = 0;
  // The server link blocks (TRUE) while a running game is rebuilt, so what the rebuild sends goes
  // out whole; FALSE makes it non-blocking again.
  virtual void SetLinkBlocking(BOOL blocking) = 0;

  // --- The user ---
  // A message box; the button pressed.
  virtual int AskUser(const CString& text, const char* caption, UINT type) = 0;
  // The captured-stones confirmation dialog with text; TRUE when confirmed.
  virtual BOOL RunCapturedStonesDlg(const CString& text) = 0;
  virtual void PlaySound(const char* file) = 0;

  // --- Timers of the room window ---
  virtual BOOL StartTimer(UINT id, UINT ms) = 0;
  virtual void StopTimer(UINT id) = 0;

  // --- The login and the frame's game flags ---
  virtual CString GetOwnId() = 0;
  // The login record's first text (the user's role on the server).
  virtual CString GetLoginRole() = 0;
  // The two room-entry texts of the login record.
  virtual CString GetRoomEntryText(int index) = 0;
  virtual BOOL IsSaveRecordOn() = 0;
  // The user came back into an unfinished game; cleared once the role is known again.
  virtual BOOL IsReconnecting() = 0;
  virtual void ClearReconnecting() = 0;
  virtual void SetEndRequested(BOOL requested) = 0;
  virtual void ToggleEndRequested() = 0;
  virtual void ClearUndoPending() = 0;
  // The captured-stones designation of this user (the frame keeps it).
  virtual BOOL IsStonesDesignated() = 0;
  virtual void SetStonesDesignated() = 0;
  virtual void ClearDesignation() = 0;
  virtual void BuildBoardText() = 0;
  // The own stalemate area text the frame keeps ("" when none) and whether the user designated one.
  virtual CString GetStalemateText() = 0;
  virtual void SetStalemateText(const CString& text) = 0;
  virtual BOOL HasOwnStalemateArea() = 0;
  // The buttons after a room event.
  virtual void UpdateButtonsForEvent(int code, const CString& payload) = 0;
  virtual void UpdateRoomButtons() = 0;
  // The main-menu pane's finish button comes back after a refused finish.
  virtual void EnableFinishButton() = 0;
  // Room data arrived: the wait ends, deferred moves may be played.
  virtual void EndRoomWait() = 0;
  // The leave countdown ran out.
  virtual void SendLeaveAfterCountdown(const CString& first, const CString& second) = 0;
  virtual void SendClockState(short colour) = 0;
};
