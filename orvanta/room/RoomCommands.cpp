#include "orvanta/room/RoomCommands.h"

const CRoomCommands::Item CRoomCommands::kRoomMenu[14] = {
    {kBigScreen, "Big Screen"},
    {kSound, "Sound"},
    {kHint, "Hint(Help)"},
    {kSequence, "Sequence"},
    {kRetract, "Retract"},
    {kResign, "Resign w/o Counting"},
    {kDrawnPlay, "Drawn Play"},
    {kPausePlay, "Pause Play"},
    {kContinuePlay, "Continue Play"},
    {kSelectCaptured, "Select Captured Stones"},
    {kSendCaptured, "Send Captured Stones"},
    {kSelectStalemate, "Select Stalemate"},
    {kCountHouses, "Count Houses"},
    {kExit, "Exit"},
};

const CRoomCommands::Item CRoomCommands::kObserverMenu[4] = {
    {kUserInfo, "User Information"},
    {kSendMemo, "Send Memo"},
    {kSendMail, "Semd Mail"},
    {kNoChatting, "No chatting"},
};

CRoomCommands::State CRoomCommands::Of(UINT id, const Situation& s) {
  const bool observer = (s.userColour & 1) != 0;
  const bool recess = (s.roomState & 8) != 0;
  const bool ended = (s.roomState & 16) != 0;
  const bool playing = !observer && s.subStatus == 1 && !recess;
  const int sub = s.subStatus;
  // Counting commands belong to the phase after play, before the game is over.
  const bool counting = !observer && !recess && sub != 0 && sub != 1 && sub != 2 && sub != 6 && sub != 7;
  switch (id) {
    case kBigScreen: return {TRUE, s.fullScreen};
    case kSound: return {TRUE, s.soundOn};
    case kHint: return {!observer, s.adviceOn};
    case kSequence:
      if (!(s.gameMode & kModeNone)) return {TRUE, (s.gameMode & kModeSequence) != 0};
      return {(s.gameMode & kModeResult) != 0 || sub == 2, FALSE};
    case kRetract:
    case kResign:
    case kDrawnPlay:
    case kPausePlay:
    case kSelectCaptured: return {playing, FALSE};
    case kContinuePlay: return {!observer && sub == 2, FALSE};
    case kSendCaptured:
    case kSelectStalemate:
    case kCountHouses: return {counting, FALSE};
    // A seated player of a running game with both seats taken must not walk out of it.
    case kExit: return {!(!observer && !ended && s.blackSeated && s.whiteSeated), FALSE};
    case kUserInfo:
    case kSendMemo:
    case kSendMail: return {TRUE, FALSE};
    case kNoChatting: return {(s.userColour & 6) != 0, FALSE};
    default: return {};
  }
}
