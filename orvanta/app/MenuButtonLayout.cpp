#include "orvanta/app/MenuButtonLayout.h"

#include <initializer_list>

using namespace MenuButton;

namespace {

// One button of a run and the gap between it and the button before.
struct Step {
  UINT id;
  int gap{CMenuButtonLayout::kGap};
};

// Places steps left to right in the row at top. A run starts at x, or with ownX at the first
// button's present left edge.
void PlaceRun(CMenuButtonBank& bank, int top, int x, bool ownX, std::initializer_list<Step> steps) {
  bool first = true;
  for (const Step& step : steps) {
    const CRect rect = bank.GetButtonRect(step.id);
    if (first)
      x = ownX ? rect.left : x;
    else
      x += step.gap;
    bank.MoveButton(step.id, x, top);
    x += rect.Width();
    first = false;
  }
}

// The game room's requests, which keep their own left edge.
void PlaceRequests(CMenuButtonBank& bank, int top) {
  PlaceRun(bank, top, 0, true,
           {{kNegotiate}, {kInvite}, {kAskDraw}, {kResign}, {kAskUndo}, {kAskEnd}, {kSendStones}, {kStalemate, 8},
            {kAskCounting, 12}});
}

// The game room's board tools, which keep their own left edge.
void PlaceTools(CMenuButtonBank& bank, int top, bool withLeave) {
  if (withLeave)
    PlaceRun(bank, top, 0, true,
             {{kTryPlacing}, {kSequence}, {kReview}, {kPause}, {kSelectRecord}, {kGiveUpMove}, {kReceiveAgain},
              {kLeave}});
  else
    PlaceRun(bank, top, 0, true,
             {{kTryPlacing}, {kSequence}, {kReview}, {kPause}, {kSelectRecord}, {kGiveUpMove}, {kReceiveAgain}});
}

void PlaceRoomCommands(CMenuButtonBank& bank, int top, int left) {
  PlaceRun(bank, top, left, false, {{kOpenRoom}, {kSearchRoom}, {kJoinRoom}, {kUserInformation}, {kSearchUser}});
}

}  // namespace

BOOL CMenuButtonLayout::Arrange(int mode, const CMenuRows& rows, CMenuButtonBank& bank) {
  const int top1 = rows.firstTop;
  const int top2 = rows.secondTop;
  const int x0 = rows.left;
  switch (mode) {
    case 1:
      PlaceRun(bank, top1, x0, false, {{kOpenRoom}, {kSearchRoom}, {kJoinRoom}});
      PlaceRun(bank, top2, x0, false, {{kUserInformation}, {kSearchUser}, {kRecordView}, {kRankView}, {kLeave}});
      PlaceRequests(bank, top2);
      PlaceTools(bank, top2, false);
      return TRUE;
    case 2:
    case 5:
      PlaceRun(bank, top1, x0, false, {{kWaitingRoomList}, {kRecordView}, {kRankView}, {kLeave}});
      PlaceRoomCommands(bank, top2, x0);
      PlaceRequests(bank, top2);
      PlaceTools(bank, top2, true);
      return TRUE;
    case 3:
    case 4:
      PlaceRun(bank, top1, x0, false, {{kWaitingRoomList}, {kRecordView}, {kRankView}, {kWaitingRoom}, {kLeave}});
      PlaceRoomCommands(bank, top2, x0);
      PlaceRequests(bank, top2);
      PlaceTools(bank, top2, false);
      return TRUE;
    case 6:
      PlaceRoomCommands(bank, top1, x0);
      PlaceRequests(bank, top1);
      PlaceRun(bank, top2, x0, false,
               {{kTryPlacing}, {kSequence, 5}, {kReview, 5}, {kPause, 5}, {kSelectRecord, 5}, {kGiveUpMove, 5},
                {kReceiveAgain, 5}, {kLeave, 5}});
      return TRUE;
    case 7:
    case 8:
      PlaceRun(bank, top1, x0, false, {{kWaitingRoomList}, {kRecordView}, {kRankView}, {kLeave}});
      return TRUE;
    default:
      return FALSE;
  }
}
