// The enabled state of the frame's commands, rule by rule, and the frame's update handlers that
// apply them (connect/disconnect also names itself and brings an offline frame home).

#include "orvanta/app/CommandStates.h"
#include "orvanta/app/MainFrameFixture.h"

namespace {

using namespace OrvantaCommand;

constexpr UINT kRoom = CMainFrame::kGameRoomView;
constexpr UINT kStart = CMainFrame::kStartView;

CCommandSituation Situation(BOOL connected, UINT view, WORD state = 1, WORD flags = 0, int move = 0,
                            int threshold = 0) {
  CCommandSituation s;
  s.connected = connected;
  s.activeView = view;
  s.roomState = state;
  s.screenFlags = flags;
  s.moveNumber = move;
  s.undoThreshold = threshold;
  return s;
}

TEST(CommandStatesTest, EachRuleEnablesOnlyInItsSituation) {
  struct Case {
    UINT command;
    CCommandSituation situation;
    int expected;
  };
  const Case cases[] = {
      // Connect/disconnect: unchanged in a running game room without any of 0x111.
      {kConnect, Situation(TRUE, kRoom, 0x0042), -1},
      {kConnect, Situation(TRUE, kRoom, 0x0101), 1},
      {kConnect, Situation(TRUE, kStart), 1},
      {kConnect, Situation(FALSE, kRoom, 0x0042), 1},
      // Screen commands.
      {kWaitingRoomList, Situation(TRUE, kStart), 0},
      {kWaitingRoomList, Situation(TRUE, CMainFrame::kWaitingRoomView), 1},
      {kWaitingRoomList, Situation(FALSE, CMainFrame::kWaitingRoomView), 0},
      {kRecordView, Situation(TRUE, CMainFrame::kRecordListView), 0},
      {kRecordView, Situation(TRUE, CMainFrame::kRankView), 1},
      {kRankView, Situation(TRUE, CMainFrame::kRankView), 0},
      {kToGameRoom, Situation(TRUE, kStart, 1, 4), 1},
      {kToGameRoom, Situation(TRUE, kStart, 1, 2), 0},
      {kToGameRoom, Situation(TRUE, kRoom, 1, 4), 0},
      {kToGameRoom, Situation(FALSE, kStart, 1, 4), 0},
      // Game-room commands.
      {kLeaveRoom, Situation(TRUE, kRoom, 0x0010), 1},
      {kLeaveRoom, Situation(TRUE, kRoom, 0x0042), 0},
      {kLeaveRoom, Situation(TRUE, kStart, 0x0010), 0},
      {kAskDraw, Situation(TRUE, kRoom, 0x0042), 1},
      {kAskDraw, Situation(TRUE, kRoom, 0x003E), 0},  // low byte below 64
      {kPauseContinue, Situation(TRUE, kRoom, 0x0142), 1},
      {kResign, Situation(TRUE, kRoom, 16), 0},
      {kResign, Situation(TRUE, kRoom, 0x0082), 1},
      {kResign, Situation(TRUE, kRoom, 0x0002), 0},
      {kAskUndo, Situation(TRUE, kRoom, 0x0042, 0, 5, 5), 1},
      {kAskUndo, Situation(TRUE, kRoom, 0x0042, 0, 4, 5), 0},
      {kAskEnd, Situation(TRUE, kRoom, 0x0044), 1},
      {kAskEnd, Situation(TRUE, kRoom, 0x003F), 0},  // 63 is not above 63
      {kCapturedStones, Situation(TRUE, kRoom, 0x0044), 1},
      {kAskCounting, Situation(TRUE, kRoom, 0x0042), 0},
      {kReplay, Situation(TRUE, kStart, 0x0050), 1},
      {kReplay, Situation(TRUE, kStart, 0x0010), 0},
      {kNegotiate, Situation(TRUE, kRoom, 0x0201), 1},
      {kOpenFile, Situation(TRUE, kRoom, 0x0202), 0},
      {kOpenLocalRecord, Situation(TRUE, kStart, 0x0201), 0},
      {kSequence, Situation(TRUE, kRoom, 0x0042), 1},
      {kConsultDiagram, Situation(TRUE, kRoom, 0x0041), 0},
      {kInviteUser, Situation(TRUE, kRoom, 0x0042), -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetCommandState(c.command, c.situation), c.expected)
        << c.command << " connected " << c.situation.connected << " view " << c.situation.activeView << " state "
        << c.situation.roomState;
}

using MainFrameCommandTest = MainFrameTest;

// A command-state pass over one command of the frame.
struct Probe : CCmdUI {
  int enabled{-1};
  CString text;
  void Enable(BOOL on) override { enabled = on ? 1 : 0; }
  void SetText(LPCTSTR value) override { text = value; }
};

Probe Update(CMainFrame* frame, UINT id) {
  Probe probe;
  probe.m_nID = id;
  probe.DoUpdate(frame, FALSE);
  return probe;
}

TEST_F(MainFrameCommandTest, TheUpdateHandlersApplyTheRulesAndBringAnOfflineFrameHome) {
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  Probe connect = Update(frame, kConnect);
  EXPECT_EQ(connect.text, Cp949("접속(&C)"));
  EXPECT_EQ(connect.enabled, 1);
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_EQ(frame->GetConnectImage(), CMainFrame::kDisconnectedImage);
  EXPECT_EQ(Update(frame, kWaitingRoomList).enabled, 0);

  LogIn();
  frame->SwitchView(CMainFrame::kGameRoomView);
  frame->SetRoomStateWord(0x0042);
  connect = Update(frame, kConnect);
  EXPECT_EQ(connect.text, Cp949("접속해제(&E)"));
  EXPECT_EQ(connect.enabled, -1);
  EXPECT_EQ(frame->GetConnectImage(), CMainFrame::kConnectedImage);
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kGameRoomView);
  EXPECT_EQ(Update(frame, kAskDraw).enabled, 1);
  EXPECT_EQ(Update(frame, kLeaveRoom).enabled, 0);
  EXPECT_EQ(Update(frame, kWaitingRoomList).enabled, 1);
}

}  // namespace
