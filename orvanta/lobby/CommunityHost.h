#pragma once
// CCommunityHost: what the list screens (ranking, record list, teaching rooms) and the forum and
// bulletin board screens ask of the frame they sit in. The frame implements it; the screens never
// see the frame itself.

#include <optional>

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/lobby/BoardDraft.h"

class CGiboRecord;
class CSessionRecord;

class CCommunityHost {
public:
  virtual ~CCommunityHost() = default;

  // --- What the screens read and keep ---
  // The login record, or null while nobody is logged in.
  virtual CSessionRecord* GetLoginRecord() = 0;
  virtual const CString& GetUserId() const = 0;
  // A field of the setting file (the lists' column widths).
  virtual CString ReadSetting(int field) const = 0;
  virtual BOOL WriteSetting(int field, const CString& text) = 0;
  // The wait cursor and the mouse capture on the frame, until the reply's handler ends them.
  virtual void BeginWaitCapture() = 0;
  // The wait cursor shown while a page was asked for ends.
  virtual void EndWaitCapture() = 0;

  // --- The lists (each flushes unless it says otherwise) ---
  // A page of the ranking or of the record list from key, with the query when there is one.
  virtual void RequestRankPage(const CString& key, const CString& query) = 0;
  virtual void RequestRecordList(const CString& key, const CString& query) = 0;
  // The record numbered number; it arrives for review.
  virtual void RequestRecordPage(const CString& number) = 0;
  virtual void ShowRecordForReview(const CGiboRecord& record) = 0;
  // Not flushed.
  virtual void RequestUserInfo(const CString& number, const CString& id) = 0;
  // Joins room with password from the current waiting room; not flushed.
  virtual void SendJoinRoom(const CString& room, const CString& password) = 0;
  // Set by the teaching-room list once it has sent a join.
  virtual void SetJoining(int joining) = 0;
  virtual void FlushRequests() = 0;

  // --- The forums and their boards ---
  virtual void SendForumRequest2(const CString& payload) = 0;
  virtual void SendForumRequest10(const CString& payload) = 0;
  // Board requests (7,minor).
  virtual void SendForumRequest(int minor, const CString& payload) = 0;
  // Join (minor 3) or secede (minor 4) while the forum view is shown.
  virtual void SendForumMembership(int minor, const CString& payload) = 0;
  // A forum's board is being opened: the forum's texts are kept for the board.
  virtual void OpenForumBoard(const CString& id, const CString& code, const CString& target, const CString& name,
                              BOOL joined) = 0;
  virtual void EnterForumWaitingRoom(const CString& target) = 0;
  // A post left unsent when its board went away; the board takes it back when shown again.
  virtual void KeepBoardDraft(const CBoardDraft& draft) = 0;
  // The kept post of board (forum, code), removed from keeping; none when nothing was kept.
  virtual std::optional<CBoardDraft> TakeBoardDraft(const CString& forumId, const CString& boardCode) = 0;
};
