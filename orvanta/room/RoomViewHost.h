#pragma once
// CRoomViewHost: what the game room's view, its chat and its study board ask of the frame they
// sit in, beyond what the room itself asks (CRoomHost, which the view hands to its room): the
// room they show, the user's commands of the room, the chat and the frame's settings. The frame
// implements it; the view never sees the frame itself.

#include <array>

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/room/RoomHost.h"

class CGameRoom;

class CRoomViewHost : public CRoomHost {
public:
  ~CRoomViewHost() override = default;

  // --- The room shown ---
  // The room that room messages reach while the view is shown; null detaches.
  virtual void AttachGameRoom(CGameRoom* room) = 0;
  virtual CGameRoom* GetGameRoom() const = 0;

  // --- The login and the frame's settings ---
  // The room prefix |W|R| of every room request, and the R of it.
  virtual CString GetRoomPrefix() const = 0;
  virtual CString GetSessionRoomText() const = 0;
  // The eight chat macros, F2 to F9.
  virtual const std::array<CString, 8>& GetChatMacros() const = 0;
  virtual BOOL IsSoundOn() const = 0;
  virtual BOOL IsFullScreen() const = 0;
  virtual BOOL IsObserverAdviceOn() const = 0;

  // --- The room's commands (each asks first where the room's rules say so) ---
  virtual void AskDraw() = 0;
  virtual void AskResign() = 0;
  virtual void AskUndo() = 0;
  virtual void AskEnd() = 0;
  virtual void AskPauseOrContinue() = 0;
  virtual void AskCounting() = 0;
  virtual void SendCapturedStones() = 0;
  virtual void SendStalemateArea() = 0;
  virtual void LeaveRoom() = 0;
  virtual void ToggleFullScreen() = 0;
  virtual void ToggleObserverAdvice() = 0;
  virtual void ToggleRoomSound() = 0;
  // The next pause command asks for a pause (FALSE) or to continue (TRUE).
  virtual void SetPaused(BOOL paused) = 0;

  // --- Requests (queued; the room host's Flush sends them) ---
  virtual void SendChatLine(const CString& payload) = 0;
  virtual void RequestUserInfo(const CString& number, const CString& id) = 0;
  virtual void SendMail(const CString& number, const CString& id) = 0;
  virtual void SendUserMessage(const CString& a, const CString& b, const CString& c) = 0;
  virtual void SendInvite(const CString& number, const CString& id, const CString& message,
                          const CString& roomField) = 0;
  // Room request 5 with four fields (the players bar an observer from chatting); flushed.
  virtual void SendRoomCode5(const CString& a, const CString& b, const CString& c, const CString& d) = 0;

  // --- Questions to the user ---
  // The user-search dialog titled caption; TRUE with the typed ID on OK.
  virtual BOOL RunSearchUserDialog(const CString& caption, CString& id) = 0;
};
