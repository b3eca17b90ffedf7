#pragma once
// The enabled state of the frame's commands in the present situation: connection, the view in
// the upper pane, the game room's state word and the screen flags. Kept apart from the frame so
// that the rules can be read (and checked) in one place.

#include <platform/types.h>

struct CCommandSituation {
  BOOL connected{FALSE};
  UINT activeView{0};
  WORD roomState{1};     // the game room's state word
  WORD screenFlags{0};   // the program-wide screen-flag word
  int moveNumber{0};     // the number in the game room's move-number field
  int undoThreshold{0};  // the game room's undo threshold
};

// Ids of the commands the rules cover.
namespace OrvantaCommand {
constexpr UINT kConnect = 57610;
constexpr UINT kWaitingRoomList = 61452;
constexpr UINT kRecordView = 61453;
constexpr UINT kRankView = 61454;
constexpr UINT kToGameRoom = 61455;
constexpr UINT kNegotiate = 61461;
constexpr UINT kInviteUser = 61462;
constexpr UINT kAskDraw = 61463;
constexpr UINT kResign = 61464;
constexpr UINT kAskUndo = 61465;
constexpr UINT kAskEnd = 61466;
constexpr UINT kCapturedStones = 61467;
constexpr UINT kAskCounting = 61468;
constexpr UINT kSequence = 61469;
constexpr UINT kConsultDiagram = 61470;
constexpr UINT kReplay = 61471;
constexpr UINT kPauseContinue = 61472;
constexpr UINT kOpenFile = 61473;
constexpr UINT kOpenLocalRecord = 61474;
constexpr UINT kLeaveRoom = 61475;
}  // namespace OrvantaCommand

// 1 enabled, 0 disabled, -1 the state stays as it is (commands the rules leave alone).
int GetCommandState(UINT command, const CCommandSituation& situation);
