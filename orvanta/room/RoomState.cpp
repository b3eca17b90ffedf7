#include "orvanta/room/RoomState.h"

CRoomState::StatusChange CRoomState::ForStatus(int status) {
  StatusChange change;
  switch (status) {
    case 1:
      return {kPlaying, kModePlay, kInPlay, "In Playing", false, false};
    case 2:
      return {kRecess, kModeNone, kInRecess, "In Recess", false, false};
    case 3:
      return {kWaiting, kModeNone, kIdle, "In Waiting", false, false};
    case 4:
      return {kCounting, kModeCheckStone, -1, "In Counting", false, true};
    case 5:
      return {kEnded, kModeNone, kGameEnded, nullptr, true, false};
    case 6:
      return {kWaitingAfterGame, kModeNone, kIdle, "In waiting", false, false};
    case 7:
      return {kPlaying, kModePlay, kStepReview, nullptr, true, false};
    default:
      return change;
  }
}

CRoomState::StatusChange CRoomState::SetRoomStatus(int status) {
  StatusChange change = ForStatus(status);
  m_word = change.word;
  if (change.subStatus >= 0) m_subStatus = change.subStatus;
  return change;
}

short CRoomState::SetRole(int role) {
  m_word = static_cast<WORD>(m_word | static_cast<WORD>(role));
  switch (role) {
    case kBlackRole:
      return 2;
    case kWhiteRole:
      return 4;
    case kObserverRole:
    case kOtherRole:
      return 1;
    default:
      return 0;
  }
}

WORD CRoomState::RoleOf(short colour) {
  if (colour == 2) return kBlackRole;
  if (colour == 4) return kWhiteRole;
  return kObserverRole;
}

void CRoomState::BeginPlaying(short colour) { m_word = static_cast<WORD>(kPlaying | RoleOf(colour)); }

void CRoomState::BeginCounting(short colour) { m_word = static_cast<WORD>(kCounting | RoleOf(colour)); }

void CRoomState::EndGame(short colour) {
  m_word = static_cast<WORD>(kEnded | RoleOf(colour));
  m_subStatus = kGameEnded;
}

BOOL CRoomState::OnPlayerLeft() {
  if (m_word == 0) return FALSE;
  if (HasPhase(kPlaying | kWaitingAfterGame)) {
    m_subStatus = kInPlay;
    m_word = static_cast<WORD>(m_word | kRecess);
    return TRUE;
  }
  if (HasPhase(kEnded)) m_subStatus = kGameEnded;
  return FALSE;
}

void CRoomState::Reset() {
  m_word = kWaiting;
  m_subStatus = kIdle;
}
