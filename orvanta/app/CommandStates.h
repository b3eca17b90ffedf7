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
constexpr UINT kSearchUser = 61460;  // the search of the main menu pane
constexpr UINT kViewUserInformation = 61459;
// Commands of the menu bar.
constexpr UINT kFileOpen = 57601;
constexpr UINT kFileSave = 57603;
constexpr UINT kAppAbout = 57664;
constexpr UINT kAppExit = 57665;
constexpr UINT kHelpFinder = 57667;
constexpr UINT kContextHelp = 57669;
constexpr UINT kHelp = 57670;  // the F1 key
constexpr UINT kOnlineHelp = 32788;
constexpr UINT kToolBar = 32790;
constexpr UINT kRoomSound = 32791;
constexpr UINT kInviteUserMenu = 32792;
constexpr UINT kSearchUserMenu = 32793;
constexpr UINT kLiveRelay = 32794;
constexpr UINT kService = 32795;
constexpr UINT kRegister = 32796;
constexpr UINT kUserInformation = 32797;
constexpr UINT kSendMessage = 32798;
constexpr UINT kFullScreen = 32800;
constexpr UINT kNewcomer = 32801;
constexpr UINT kMailToManager = 32803;
constexpr UINT kHomePage = 32804;
constexpr UINT kMemoBox = 32806;
constexpr UINT kEnvironment = 32809;
constexpr UINT kSendMemo = 32810;
constexpr UINT kMyInformation = 32811;
constexpr UINT kChattingMacro = 32815;
constexpr UINT kSaveThisRecord = 32816;
constexpr UINT kSound = 32826;
}  // namespace OrvantaCommand

// 1 enabled, 0 disabled, -1 the state stays as it is (commands the rules leave alone).
int GetCommandState(UINT command, const CCommandSituation& situation);
// A game is being played or counted in the room shown: closing the program is refused then.
bool IsGameUnderWay(const CCommandSituation& situation);
