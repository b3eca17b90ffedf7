// The game room view in the main frame, hosting the real board control: a game from the server
// peer reaches the control and the view's panes, and the control's click goes out as a move.

#include <platform/gdi.h>
#include <platform/testinput.h>
#include <platform/time.h>

#include "../connection/MainFrameFixture.h"
#include "orvanta/room/DagukRoomView.h"
#include "support/SnapshotPath.h"
#include "support/StolvexModuleHome.h"

namespace {

class DagukRoomViewTest : public MainFrameTest {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_control.Registered());
    LogIn();
    frame->SetWaitingRoomKey("1", "k");
    frame->ShowWindow(SW_SHOW);
    frame->MoveWindow(0, 0, 820, 800);
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
  }
  void Server(int major, int minor, const std::string& payload) {
    peer.Send({{GameServerPeer::Record(major, minor, payload), 0}});
    PumpFor(40);
  }
  // Centre of a point of the board control (no labels, unturned).
  POINT PointCentre(int row, int col) {
    RECT r{};
    ::GetClientRect(view->GetBoardControl().m_hWnd, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    return POINT{col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2};
  }
  std::string Text(int id) {
    CString text;
    view->GetDlgItemText(id, text);
    return text.str();
  }

  testsupport::StolvexModuleHome m_control;
  platform::ManualClockScope m_manual{1796810400};
  CDagukRoomView* view{nullptr};
};

}  // namespace

TEST_F(DagukRoomViewTest, AGameFromTheServerReachesTheBoardControlAndThePanes) {
  Server(5, 2, "|12|");
  Server(5, 3, "|12|hc|carol|Carol|3k|1|3|1|");
  // The frame switched its upper pane to the game room view, which hosts the control.
  ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
  ASSERT_NE(nullptr, view);
  ASSERT_NE(nullptr, view->GetRoom());
  EXPECT_EQ(view->GetRoom(), frame->GetGameRoom());
  EXPECT_EQ(0x42, view->GetRoom()->GetRoomState());
  Server(5, 10, "||");
  Server(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
  EXPECT_EQ("Even(6.5)", Text(CGameRoom::kCondition));
  EXPECT_EQ("carol", Text(CGameRoom::kBlackName));
  EXPECT_EQ("0 hr 1 min 0 sec", Text(CGameRoom::kWhiteMain));
  EXPECT_EQ(2, view->GetBoardControl().GetUserColor());

  Server(5, 14, "|a|b|1|B[pd]|BL[80]|");
  Server(5, 14, "|a|b|2|W[dd]|WL[78]|");
  // A click on the control becomes the move request; the stone waits for the server's echo.
  platform::input::Click(view->GetBoardControl().m_hWnd, PointCentre(15, 3));
  ASSERT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.minor == "14" && r.payload == "|k|12|B[dp]|BL[80]|") return true;
    return false;
  }));
  EXPECT_EQ(4, view->GetBoardControl().GetLastColor());
  Server(5, 14, "|a|b|3|B[dp]|BL[79]|");
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetMoveCounter() == 3; }));
  EXPECT_EQ(2, view->GetBoardControl().GetLastColor());
  EXPECT_EQ("It is opponent's turn.", Text(CGameRoom::kMessage));
  platform::Clock::Advance(5000);
  EXPECT_EQ("0 hr 0 min 53 sec", Text(CGameRoom::kWhiteMain));
  Server(5, 6, "|a|b|c|lee|e|f|good game|");
  EXPECT_NE(std::string::npos, Text(CGameRoom::kChatOutput).find("[lee]good game"));

  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  std::string path = testsupport::SnapshotPath("orvanta_game_room.png");
  EXPECT_TRUE(platform::SaveSurfacePng(frame->m_hWnd, path.c_str()));
}
