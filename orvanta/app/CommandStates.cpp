#include "orvanta/app/CommandStates.h"

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/ScreenFlags.h"

namespace {

int State(bool enabled) { return enabled ? 1 : 0; }

}  // namespace

int GetCommandState(UINT command, const CCommandSituation& s) {
  using namespace OrvantaCommand;
  const bool inRoom = s.activeView == CMainFrame::kGameRoomView;
  const int low = s.roomState & 0xFF;
  switch (command) {
    case kConnect:
      if (s.connected && inRoom)
        return (s.roomState & 0x111) != 0 ? 1 : -1;
      return 1;
    case kWaitingRoomList:
      return State(s.connected && s.activeView != CMainFrame::kStartView);
    case kRecordView:
      return State(s.connected && s.activeView != CMainFrame::kRecordListView);
    case kRankView:
      return State(s.connected && s.activeView != CMainFrame::kRankView);
    case kToGameRoom:
      return State(s.connected && !inRoom && (s.screenFlags & kScreenGameRoom) != 0);
    case kLeaveRoom:
      return State(inRoom && (s.roomState & 0x111) != 0);
    case kAskDraw:
    case kPauseContinue:
      return State(inRoom && (low & 0x02) != 0 && low >= 64);
    case kResign:
      if (inRoom && s.roomState == 16)
        return 0;
      return State(inRoom && (low & 0x02) != 0 && (low & 0xC0) != 0);
    case kAskUndo:
      return State(inRoom && (low & 0x02) != 0 && low >= 64 && s.moveNumber >= s.undoThreshold);
    case kAskEnd:
      return State(inRoom && (low & 0x06) != 0 && low > 63);
    case kCapturedStones:
    case kAskCounting:
      return State(inRoom && (low & 0x04) != 0 && low > 63);
    case kReplay:
      return State((low & 0x10) != 0 && (low & 0xC0) != 0);
    case kNegotiate:
    case kOpenFile:
    case kOpenLocalRecord:
      return State(inRoom && s.roomState == 0x201);
    case kSequence:
    case kConsultDiagram:
      return State((low & 0x01) == 0);
    // The commands that talk to the server.
    case kSearchUser:
    case kInviteUserMenu:
    case kSearchUserMenu:
    case kUserInformation:
    case kSendMessage:
    case kMemoBox:
    case kEnvironment:
    case kSendMemo:
    case kMyInformation:
      return State(s.connected);
    case kAppExit:
      return State(!IsGameUnderWay(s));
    default:
      return -1;
  }
}

bool IsGameUnderWay(const CCommandSituation& s) {
  return s.activeView == CMainFrame::kGameRoomView && (s.roomState & 0x0006) != 0;
}
