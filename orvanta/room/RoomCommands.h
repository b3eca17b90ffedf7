#pragma once
// CRoomCommands: the game room's commands (its pop-up menu and the pop-up on a selected
// observer) and whether each is enabled and ticked in the room's present state.

#include <platform/types.h>

class CRoomCommands {
public:
  // The room's pop-up menu.
  static constexpr UINT kBigScreen = 32827;
  static constexpr UINT kSound = 32828;
  static constexpr UINT kHint = 32817;
  static constexpr UINT kSequence = 32831;
  static constexpr UINT kRetract = 32818;
  static constexpr UINT kResign = 32819;
  static constexpr UINT kDrawnPlay = 32829;
  static constexpr UINT kPausePlay = 32820;
  static constexpr UINT kContinuePlay = 32821;
  static constexpr UINT kSelectCaptured = 32822;
  static constexpr UINT kSendCaptured = 32824;
  static constexpr UINT kSelectStalemate = 32832;
  static constexpr UINT kCountHouses = 32823;
  static constexpr UINT kExit = 32825;
  // The pop-up on a selected observer.
  static constexpr UINT kUserInfo = 61459;
  static constexpr UINT kSendMemo = 32782;
  static constexpr UINT kSendMail = 32802;
  static constexpr UINT kNoChatting = 9923;

  // Board game modes the rules read.
  static constexpr LONG kModeNone = 1;
  static constexpr LONG kModePlay = 1024;
  static constexpr LONG kModeSequence = 4096;
  static constexpr LONG kModeCheckStone = 8192;
  static constexpr LONG kModeResult = 32768;

  // What the rules look at.
  struct Situation {
    short userColour{0};   // the board's: 1 observer, 2 black, 4 white
    LONG gameMode{1};
    int subStatus{0};
    WORD roomState{1};     // bit 8 recess, bit 16 ended
    BOOL blackSeated{FALSE};
    BOOL whiteSeated{FALSE};
    BOOL fullScreen{FALSE};
    BOOL soundOn{FALSE};
    BOOL adviceOn{FALSE};  // the frame lets observers advise
  };
  struct State {
    BOOL enabled{FALSE};
    BOOL checked{FALSE};
  };

  // The state of command id; unknown ids are disabled.
  static State Of(UINT id, const Situation& situation);
  // The room's pop-up, in menu order, with its texts.
  struct Item {
    UINT id;
    const char* text;
  };
  static const Item kRoomMenu[14];
  static const Item kObserverMenu[4];
};
