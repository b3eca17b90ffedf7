#pragma once
// CLobbyHost: what the waiting room asks of the main frame. Every request goes out through one
// of these senders; the frame owns the link, the login record, the waiting-room table and the
// chat phrases.

#include <array>

#include <platform/strings.h>
#include <platform/types.h>

class CSessionRecord;
class CWaitingRoomTable;

class CLobbyHost {
public:
  virtual ~CLobbyHost() = default;

  // --- What the waiting room reads ---
  // The login record, or null while nobody is logged in.
  virtual CSessionRecord* GetLobbySession() = 0;
  // The text that names the current waiting room in requests (the forum target while a forum's
  // waiting room is open); "" without a current waiting room.
  virtual CString GetWaitingRoomKey() const = 0;
  virtual const CWaitingRoomTable& GetWaitingRoomTable() const = 0;
  // The eight chat phrases, F2 to F9.
  virtual std::array<CString, 8> GetChatPhrases() const = 0;
  virtual CString ReadSetting(int field) const = 0;
  virtual BOOL WriteSetting(int field, const CString& text) = 0;
  virtual BOOL IsGameRoomActive() const = 0;

  // The wait cursor and the mouse capture on the frame, until the reply's handler ends them.
  virtual void BeginWaitCapture() = 0;
  // --- Requests (each says whether it flushes) ---
  // Chat line (category 0, 4) with "|" key "|" text "|"; nothing for an empty or blank text. No flush.
  virtual void SendChatLine(const CString& payload) = 0;
  virtual void FlushRequests() = 0;
  // (10,3) "|" number "|" ID "|"; no flush.
  virtual void RequestUserInfo(const CString& number, const CString& id) = 0;
  // (1,9) "|" number "|" ID "|"; flushes.
  virtual void SendMail(const CString& number, const CString& id) = 0;
  // (1,5) "|" a "|" b "|" c "|"; no flush.
  virtual void SendUserMessage(const CString& a, const CString& b, const CString& c) = 0;
  // (1,19) "|" number "|" ID "|" while the waiting room is shown; flushes.
  virtual void SendWaitingRoomRequest119(const CString& number, const CString& id) = 0;
  // (3,8) with payload while the waiting room is shown; flushes.
  virtual void SendWaitingRoomRequest38(const CString& payload) = 0;
  // (5,7) with payload; flushes.
  virtual void SendWaitingRoomRequest57(const CString& payload) = 0;
  // Leaving the waiting room; no flush.
  virtual void SendWaitRoomLeave() = 0;
  // The waiting room's query of kind; flushes.
  virtual void SendWaitRoomQuery(const CString& kind) = 0;
  // The room list again; no flush.
  virtual void SendGameListRequest() = 0;
  // Joins room with password from the current waiting room; no flush.
  virtual void SendJoinRoom(const CString& room, const CString& password) = 0;

  // --- Frame state the waiting room sets ---
  // 2: the room about to be entered is being played; 0 otherwise.
  virtual void SetRoomEntryMode(int mode) = 0;
  virtual void SetRoomState(WORD state) = 0;

  // --- Dialogs of other screens ---
  // The user-search dialog titled caption; TRUE with the typed ID on OK.
  virtual BOOL RunSearchUserDialog(const CString& caption, CString& id) = 0;
  // The send-memo dialog for a user; TRUE on OK with the recipient and the text.
  virtual BOOL RunSendMemoDialog(const CString& number, const CString& id, CString& recipient, CString& text) = 0;
};
