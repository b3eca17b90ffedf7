#include "orvanta/app/ButtonEventRules.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/ScreenFlags.h"

using namespace MenuButton;

namespace {

constexpr UINT kNavigation[] = {kWaitingRoomList, kRecordView, kRankView, kGameRoom};
constexpr UINT kRoomButtons[] = {kNegotiate, kInvite,      kAskDraw,  kResign,   kAskUndo,     kAskEnd,
                                 kSendStones, kAskCounting, kReceiveAgain, kGiveUpMove, kStalemate,
                                 kSequence,  kTryPlacing,  kReview,   kPause,    kSelectRecord, kLeave};
const std::initializer_list<UINT> kAllNavigation = {kWaitingRoomList, kRecordView, kRankView, kGameRoom};

constexpr WORD kPhaseBits = 0x02 | 0x04 | 0x08 | 0x10;  // playing, counting, recess, ended
constexpr WORD kColourBits = 0xC0;
constexpr WORD kObserverBit = 0x100;

bool Contains(std::initializer_list<UINT> ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

bool Contains(const std::vector<UINT>& ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

CButtonEventRules::CButtonEventRules(CMenuButtonBank& bank, const CButtonEventSituation& situation)
    : m_bank(bank), m_situation(situation) {}

bool CButtonEventRules::InRoom() const { return m_situation.activeView == CMainFrame::kGameRoomView; }

bool CButtonEventRules::IsPlayer() const { return (m_situation.roomState & kObserverBit) == 0; }

bool CButtonEventRules::IsObserver() const { return !IsPlayer(); }

bool CButtonEventRules::HasColour() const { return (m_situation.roomState & kColourBits) != 0; }

void CButtonEventRules::Enable(std::initializer_list<UINT> ids, BOOL enable) {
  for (UINT id : ids)
    m_bank.EnableButton(id, enable);
}

void CButtonEventRules::Face(UINT id, UINT bitmap) { m_bank.SetButtonFace(id, bitmap); }

void CButtonEventRules::PlainFacesDisabled() {
  Face(kAskEnd, kAskEndFace);
  Face(kPause, kPauseFace);
  Enable({kAskEnd, kPause}, FALSE);
}

void CButtonEventRules::ApplySet(Set set, std::initializer_list<UINT> keep) {
  std::vector<UINT> enabled;
  switch (set) {
    case Set::kPlaying:
      enabled = {kInvite, kAskDraw, kResign, kAskUndo, kAskEnd, kReceiveAgain, kGiveUpMove, kSequence, kPause};
      break;
    case Set::kCounting:
      enabled = {kInvite, kAskEnd, kSendStones, kAskCounting, kStalemate, kSequence};
      break;
    case Set::kEnded:
      enabled = {kInvite, kSequence, kTryPlacing, kReview, kLeave};
      if (m_situation.roomOwner)
        enabled.push_back(kNegotiate);
      break;
    case Set::kObserving:
      enabled = {kInvite, kReceiveAgain, kSequence, kTryPlacing, kLeave};
      break;
    case Set::kPaused:
      enabled = {kInvite, kReceiveAgain, kSequence, kPause, kLeave};
      break;
    case Set::kLeftSeat:
      enabled = {kNegotiate, kInvite, kReceiveAgain, kTryPlacing, kSelectRecord, kLeave};
      break;
  }
  for (UINT id : kNavigation)
    if (!Contains(keep, id))
      m_bank.EnableButton(id, FALSE);
  for (UINT id : kRoomButtons)
    if (!Contains(keep, id))
      m_bank.EnableButton(id, Contains(enabled, id));
}

void CButtonEventRules::GameRoomAfterList() {
  const bool flagged = (m_situation.screenFlags & kScreenGameRoom) != 0;
  Enable({kGameRoom}, m_situation.connected && !InRoom() && flagged);
}

CButtonEventOutcome CButtonEventRules::Apply(int code, const CString& payload) {
  CButtonEventOutcome outcome;
  CFieldTokenizer fields(payload);
  const bool playerInRoom = InRoom() && IsPlayer();
  const bool observerInRoom = InRoom() && IsObserver();
  switch (code) {
    case 11:
      Enable({kRecordView, kRankView, kLeave}, TRUE);
      break;
    case 12:
      Enable({kWaitingRoomList, kRecordView, kRankView, kGameRoom, kLeave}, FALSE);
      outcome.relayout = TRUE;
      break;
    case 31:
      Enable({kWaitingRoomList, kRecordView, kRankView, kOpenRoom, kSearchRoom, kJoinRoom, kUserInformation,
              kSearchUser, kLeave},
             TRUE);
      break;
    case 33:
    case 51:
      Enable(kAllNavigation, TRUE);
      break;
    case 36:
      Enable({kWaitingRoomList}, FALSE);
      Enable({kRecordView, kRankView, kGameRoom, kLeave}, TRUE);
      break;
    case 52:
      if (playerInRoom) {
        ApplySet(Set::kLeftSeat);
        PlainFacesDisabled();
      }
      break;
    case 53:
      OnUserEntered(payload, outcome);
      break;
    case 54:
      Enable({kGameRoom}, (m_situation.screenFlags & kScreenGameRoom) == 0);
      m_bank.ShowButton(kAskEnd, FALSE);
      break;
    case 61:
      Enable({kWaitingRoomList, kRankView, kNextPage, kSearchRecords}, TRUE);
      Enable({kRecordView, kCancelSearch}, FALSE);
      GameRoomAfterList();
      break;
    case 62:
      if (m_situation.activeView == CMainFrame::kRecordListView) {
        Enable({kWaitingRoomList, kRankView, kGameRoom, kNextPage, kSearchRecords}, TRUE);
        Enable({kRecordView}, FALSE);
      }
      break;
    case 71:
    case 710:
      Enable({kWaitingRoomList, kRecordView, kRankView}, TRUE);
      Enable({kGameRoom}, FALSE);
      break;
    case 98: {
      if (observerInRoom) {
        Enable({kLeave}, TRUE);
      } else {
        ApplySet(Set::kEnded);
        Enable({kLeave, kReview}, FALSE);
        const int phase = m_situation.phase;
        Enable({kTryPlacing, kReceiveAgain}, phase == 6 || phase == 7 || phase == 0);
      }
      // The payload is the user's id, alone or as the first field.
      const CString user = payload.Find('|') == 0 ? fields.GetField(0) : payload;
      outcome.hasStatusLine = TRUE;
      outcome.statusLine = user + " is out.";
      break;
    }
    case 99:
      if (playerInRoom) {
        const bool counting = (m_situation.roomState & 0x04) != 0 && HasColour();
        if (counting)
          m_bank.ShowButton(kSendStones, TRUE);
        Enable({kSendStones, kStalemate}, counting);
      }
      break;
    case 101:
    case 104:
      if (std::atoi(fields.GetField(0)) != 0) {
        Enable({kWaitingRoomList, kRecordView, kRankView}, TRUE);
        Enable({kCancelSearch}, FALSE);
        Enable({kNextPage}, code == 101);
        GameRoomAfterList();
      }
      break;
    case 102:
      Enable({kRankView}, TRUE);
      break;
    case 310:
      // The agreed match opens the game room with the game's buttons; leave stays off.
      ApplySet(Set::kPlaying);
      Face(kPause, kPauseFace);
      break;
    case 512:
      ApplySet(Set::kPlaying);
      Face(kAskEnd, kAskEndFace);
      if (observerInRoom)
        ApplySet(Set::kObserving);
      break;
    case 519:
    case 543:
    case 545:
      if (playerInRoom)
        ApplySet(Set::kEnded, kAllNavigation);
      else if (observerInRoom)
        Enable({kReceiveAgain, kReview}, FALSE);
      break;
    case 521:
      Enable({kReceiveAgain, kGiveUpMove}, FALSE);
      if (playerInRoom) {
        ApplySet(Set::kCounting);
        Face(kAskEnd, kCountingDoneFace);
      }
      break;
    case 523:
      if (playerInRoom) {
        ApplySet(Set::kPaused, {kWaitingRoomList, kGameRoom});
        Face(kPause, kResumeFace);
      }
      break;
    case 525:
      if (playerInRoom) {
        ApplySet(Set::kPlaying, {kWaitingRoomList, kGameRoom});
        Face(kPause, kPauseFace);
      }
      break;
    case 534:
      Enable({kReceiveAgain}, TRUE);
      if (playerInRoom) {
        ApplySet(Set::kPlaying, {kWaitingRoomList});
        Face(kAskEnd, kAskEndFace);
      }
      break;
    case 538:
      ApplySet(Set::kEnded);
      if (playerInRoom)
        Enable({kReceiveAgain}, TRUE);
      else
        Enable({kReceiveAgain, kReview, kNegotiate}, FALSE);
      PlainFacesDisabled();
      break;
    case 541:
      ApplySet(observerInRoom ? Set::kObserving : Set::kPlaying);
      break;
    case 551:
      if (playerInRoom) {
        ApplySet(Set::kPlaying, {kStalemate, kWaitingRoomList, kGameRoom});
        Enable({kDesignateStones}, FALSE);
        Face(kPause, kPauseFace);
      } else {
        ApplySet(Set::kObserving);
        Enable({kReceiveAgain}, (m_situation.roomState & (0x01 | 0x02 | 0x20)) != 0);
        Face(kAskEnd, kAskEndFace);
        Face(kPause, kPauseFace);
      }
      break;
    default:
      break;
  }
  return outcome;
}

void CButtonEventRules::OnUserEntered(const CString& payload, CButtonEventOutcome& outcome) {
  CFieldTokenizer fields(payload);
  const WORD state = m_situation.roomState;
  if (m_situation.inRoomFlag) {
    // Somebody came (back) into the room the user already sits in.
    if (!HasColour() || !InRoom())
      return;
    Enable({kLeave}, TRUE);
    const CString& opponent = (state & 0x40) != 0 ? m_situation.whiteName : m_situation.blackName;
    if (!opponent.IsEmpty() && fields.GetField(2) == opponent) {
      outcome.hasStatusLine = TRUE;
      outcome.statusLine = "Opponent entered.";
    }
    switch (m_situation.phase) {
      case 1:
      case 2:
        ApplySet(Set::kPlaying);
        Face(kPause, kPauseFace);
        if (m_situation.phase == 1) {
          outcome.hasStatusLine = TRUE;
          outcome.statusLine = "Playing";
        }
        break;
      case 3:
      case 4:
      case 5:
        ApplySet(Set::kCounting);
        Face(kAskEnd, kCountingDoneFace);
        Face(kPause, kPauseFace);
        break;
      case 6:
        ApplySet(Set::kEnded);
        break;
      default:
        break;
    }
    return;
  }
  if ((state & kPhaseBits) != 0 && InRoom()) {
    // Only the user's own entry into a running game sets the bank.
    if (fields.GetField(1) != m_situation.loginRole || fields.GetField(2) != m_situation.userId)
      return;
    if (IsObserver()) {
      ApplySet(Set::kObserving);
      Enable({kReceiveAgain}, (state & (0x01 | 0x02 | 0x20)) != 0);
      Face(kAskEnd, kAskEndFace);
      Face(kPause, kPauseFace);
      return;
    }
    switch (std::atoi(fields.GetField(5))) {
      case 1:
        ApplySet(Set::kPlaying);
        Face(kPause, kPauseFace);
        outcome.phase = 1;
        break;
      case 2:
        Enable({kReceiveAgain, kInvite, kSequence}, TRUE);
        Face(kPause, kPauseFace);
        outcome.phase = 1;
        break;
      case 4:
        ApplySet(Set::kCounting);
        Face(kAskEnd, kCountingDoneFace);
        Face(kPause, kPauseFace);
        outcome.phase = 3;
        break;
      case 5:
      case 7:
        ApplySet(Set::kEnded);
        PlainFacesDisabled();
        outcome.phase = std::atoi(fields.GetField(5)) == 5 ? 6 : 7;
        break;
      case 6:
        ApplySet(Set::kObserving);
        Enable({kTryPlacing}, FALSE);
        Face(kAskEnd, kAskEndFace);
        Face(kPause, kPauseFace);
        break;
      default:
        break;
    }
    return;
  }
  // Entering a room whose game has not started: the waiting room's set.
  for (UINT id : kNavigation)
    m_bank.EnableButton(id, FALSE);
  const std::initializer_list<UINT> waiting = {kInvite, kReceiveAgain, kSequence, kTryPlacing, kSelectRecord, kLeave};
  for (UINT id : kRoomButtons)
    m_bank.EnableButton(id, Contains(waiting, id));
  const bool negotiable = state == 0x201 && InRoom();
  Enable({kNegotiate, kSelectRecord}, negotiable);
  Face(kAskEnd, kAskEndFace);
  Face(kPause, kPauseFace);
  const CString entered = fields.GetField(2);
  const bool named = !entered.IsEmpty() && (entered == m_situation.blackName || entered == m_situation.whiteName);
  if ((state & 0x20) != 0 && named) {
    ApplySet(Set::kPlaying);
    Enable({kGiveUpMove}, FALSE);
  }
}
