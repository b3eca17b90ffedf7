#pragma once
// CMenuButtonLayout: places the main menu pane's buttons for a screen mode (1 waiting room,
// 2 start screen, 3 rank list, 4 record list, 5 teaching-room list, 6 game room, 7 forum,
// 8 bulletin board) in the pane's two rows. Each button keeps its size; a row runs left to right
// from the row's left margin with a gap after each button. Groups that belong to one screen only
// keep their own left edge and take just the row's height: their buttons overlap the others,
// which are hidden where they meet.

#include <platform/types.h>

#include "orvanta/widgets/MenuButtonBank.h"

class CMenuButtonLayout {
public:
  static constexpr int kGap = 10;
  // Places the bank for mode; FALSE (nothing moved) for a mode outside 1 to 8.
  static BOOL Arrange(int mode, const CMenuRows& rows, CMenuButtonBank& bank);
};
