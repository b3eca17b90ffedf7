// The main menu pane's buttons through a session with the game server: laid out for the start
// screen, enabled by the login and the server's notice, changed by the pane's own waiting-room
// button, and disabled when the server goes away; then every button pressed on the screens that
// show it, with the records the server gets for each.

#include <platform/testinput.h>
#include <platform/time.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/MenuButtonLayout.h"
#include "orvanta/lobby/NegotiationDlg.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/room/CapturedStonesConfirmDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/widgets/MainMenu.h"
#include "support/StolvexModuleHome.h"

namespace {

using namespace MenuButton;

class MenuButtonsPeerTest : public MainFrameTest {
protected:
  BOOL Enabled(UINT id) { return frame->GetMainMenu()->GetButton(id)->IsWindowEnabled(); }
  CRect Place(UINT id) { return frame->GetMainMenu()->GetButtonRect(id); }
};

TEST_F(MenuButtonsPeerTest, ASessionEnablesAndDisablesTheScreenButtons) {
  CMainMenu* menu = frame->GetMainMenu();
  ASSERT_NE(menu, nullptr);
  // The start screen's first row starts at the template's margin, one button after another.
  const CMenuRows& rows = menu->GetRows();
  EXPECT_GT(rows.secondTop, rows.firstTop);
  EXPECT_EQ(Place(kWaitingRoomList).TopLeft(), CPoint(rows.left, rows.firstTop));
  EXPECT_EQ(Place(kRecordView).left, Place(kWaitingRoomList).right + CMenuButtonLayout::kGap);
  EXPECT_EQ(Place(kLeave).top, rows.secondTop);  // the start screen's leave ends row 2

  peer.ReplyAlways(1, 1, {{GameServerPeer::LoginAccepted("3"), 0}});
  LogIn();
  ASSERT_TRUE(PumpUntil([&] { return Enabled(kRecordView) && Enabled(kRankView); }));
  EXPECT_TRUE(Enabled(kLeave));

  // The login's other answers (the room list) come first; then the server's notice.
  ASSERT_TRUE(PumpUntil([&] { return peer.AllSent() && Enabled(kWaitingRoomList); }));
  peer.Send({{GameServerPeer::Record(3, 6, "|1|1|10|2|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return !Enabled(kWaitingRoomList); }));
  EXPECT_TRUE(Enabled(kGameRoom));

  // The pane's own waiting-room button: back to the room list, the game room off.
  menu->SendMessage(WM_COMMAND, kWaitingRoomList);
  EXPECT_TRUE(Enabled(kWaitingRoomList));
  EXPECT_FALSE(Enabled(kGameRoom));

  // A face swap keeps the button usable and sized to its new face.
  menu->SetButtonFace(kAskEnd, kCountingDoneFace);
  EXPECT_EQ(menu->GetButtonDrawState(kAskEnd), CSkinButton::kNormal);
  EXPECT_EQ(Place(kAskEnd).Width(), menu->GetButton(kAskEnd)->GetImageWidth());

  // The tool bar's connect button is the frame's connect/disconnect command.
  frame->SendMessage(WM_COMMAND, CMainFrame::kToolBarCommand);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_NE(frame->GetToolBar().GetStyle() & WS_VISIBLE, 0u);
  EXPECT_EQ(frame->GetToolBar().GetConnectImage(), CMainFrame::kConnectedImage);
  CToolBarCtrl& buttons = frame->GetToolBar().GetToolBar().GetToolBarCtrl();
  CRect connect;
  ASSERT_TRUE(buttons.GetItemRect(2, &connect));
  script.answers["Do you wish to disconnect?"] = IDNO;
  const LPARAM at = MAKELPARAM(connect.CenterPoint().x, connect.CenterPoint().y);
  buttons.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  buttons.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(Shown("Do you wish to disconnect?"));
  EXPECT_TRUE(frame->IsConnected());

  // The server goes away: every screen button and leave are off until the next login.
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  for (UINT id : {kWaitingRoomList, kRecordView, kRankView, kGameRoom, kLeave})
    EXPECT_FALSE(Enabled(id)) << id;
  // The loop's idle update, as the application runs it, gives the connect button its offline plug.
  platform::SetIdleHook([this](long count) {
    if (count == 0) frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    return FALSE;
  });
  EXPECT_TRUE(PumpUntil([&] { return frame->GetToolBar().GetConnectImage() == CMainFrame::kDisconnectedImage; }));
  platform::SetIdleHook(nullptr);
}

// The screens' own views (the game room's with the real board control) behind a logged-in frame.
class MenuCommandsPeerTest : public MainFrameTest {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_control.Registered());
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
    frame->RegisterView(CMainFrame::kRankView, RUNTIME_CLASS(CTirvoRankView));
    frame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CTirvoGiboView));
    frame->ShowWindow(SW_SHOW);
    frame->MoveWindow(0, 0, 820, 800);
    LogIn();
    script.answerDialog = [this](UINT id, CWnd* wnd) -> INT_PTR {
      if (id == CCapturedStonesConfirmDlg::kTemplateId) return stonesAnswer;
      if (id == CNegotiationDlg::kTemplateId && negotiation) return negotiation(wnd);
      return IDCANCEL;
    };
  }
  // Records from the server; returns once condition holds (the frame's own answers are in).
  void Serve(int major, int minor, const std::string& payload, const std::function<bool()>& condition) {
    peer.Send({{GameServerPeer::Record(major, minor, payload), 0}});
    ASSERT_TRUE(PumpUntil(condition)) << major << "," << minor << " " << payload;
  }
  // The frame sent (major, minor) with payload since record from.
  bool SentSince(std::size_t from, const std::string& major, const std::string& minor, const std::string& payload) {
    const std::vector<PeerRecord> records = peer.Records();
    for (std::size_t i = from; i < records.size(); ++i)
      if (records[i].major == major && records[i].minor == minor && records[i].payload == payload) return true;
    return false;
  }
  std::vector<std::string> Since(std::size_t from) const {
    std::vector<std::string> sent;
    const std::vector<PeerRecord> records = peer.Records();
    for (std::size_t i = from; i < records.size(); ++i)
      sent.push_back(records[i].major + "," + records[i].minor + "," + records[i].payload);
    return sent;
  }
  CDagukRoomView* RoomView() const { return dynamic_cast<CDagukRoomView*>(frame->GetContentView()); }
  static void SelectOnly(CListCtrl& list, int column, const std::string& text) {
    for (int row = 0; row < list.GetItemCount(); ++row)
      list.SetItemState(row, list.GetItemText(row, column).str() == text ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  // The waiting room's users and rooms (11 public, 12 private).
  void FillWaitingRoom() {
    Serve(3, 3, "|1|x|2|3|bob|Bob|1D|3|lee|Lee|4K|",
          [&] { return frame->GetWaitingRoomView() && frame->GetWaitingRoomView()->GetUserList().GetItemCount() == 2; });
    Serve(5, 1,
          "|1|x|2|11|Room 11|x|amy|x|3K|x|bob|x|1D|2|12|1|1|3K|12|Room 12|x|cid|x|1D|x||x|1D|2|0|3|2|1D|R3key|",
          [&] { return frame->GetWaitingRoomView()->GetRoomList().GetItemCount() == 2; });
  }
  // The point of the board control at row and column (no labels, unturned).
  POINT PointCentre(int row, int col) {
    RECT r{};
    ::GetClientRect(RoomView()->GetBoardControl().m_hWnd, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    return POINT{col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2};
  }

  testsupport::StolvexModuleHome m_control;
  platform::ManualClockScope m_manual{1796810400};
  INT_PTR stonesAnswer{IDCANCEL};
  std::function<INT_PTR(CWnd*)> negotiation;  // answers the conditions dialog; Cancel without it
};

// A row of a page: count records numbered down from first.
std::string RecordPage(int first, int count) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int n = first; n > first - count; --n) {
    const std::string number = std::to_string(n);
    payload += number + "|2026-12-01|x|b" + number + "|B|1D|y|w" + number + "|W|1K|100|B+R|";
  }
  return payload;
}

// count ranking rows from rank first: user u<rank> of waiting room K<rank>.
std::string RankRows(int first, int count) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int rank = first; rank < first + count; ++rank) {
    const std::string r = std::to_string(rank);
    payload += r + "|" + r + "|K" + r + "|u" + r + "|5D|A|900|" + r + "|0|1|";
  }
  return payload;
}

// Choosing lee in the conditions dialog, with the colour and condition radios given (0 keeps the
// dialog's own).
std::function<INT_PTR(CWnd*)> ChooseLee(UINT colourRadio, UINT conditionRadio) {
  return [=](CWnd* wnd) -> INT_PTR {
    if (auto* list = dynamic_cast<CListCtrl*>(wnd->GetDlgItem(CNegotiationDlg::kUserList))) {
      for (int row = 0; row < list->GetItemCount(); ++row)
        list->SetItemState(row, list->GetItemText(row, 2) == "lee" ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    using N = CNegotiationDlg;
    const std::pair<UINT, std::vector<UINT>> groups[] = {
        {colourRadio, {N::kBlackColourRadio, N::kWhiteColourRadio, N::kAutoColourRadio}},
        {conditionRadio, {N::kEvenRadio, N::kBlackRadio, N::kHandicapRadio}}};
    for (const auto& [chosen, group] : groups) {
      if (!chosen) continue;
      for (UINT radio : group) wnd->CheckDlgButton(static_cast<int>(radio), radio == chosen ? BST_CHECKED : BST_UNCHECKED);
      wnd->SendMessage(WM_COMMAND, MAKEWPARAM(chosen, BN_CLICKED), 0);
    }
    return IDOK;
  };
}

TEST_F(MenuCommandsPeerTest, EveryButtonReachesItsRequestOnTheScreensThatShowIt) {
  CMainMenu* menu = frame->GetMainMenu();
  ASSERT_NE(menu, nullptr);
  struct Step {
    const char* what;
    std::function<void()> prepare;  // brings the screen up; without a button it is the command
    UINT button;
    std::vector<std::string> sent;  // "major,minor,payload" in order
    std::vector<std::string> told;  // messages shown
  };
  const Step steps[] = {
      // The start screen: no waiting room entered yet, no list, no room.
      {"start: back to a waiting room never entered", nullptr, kWaitingRoom, {}, {}},
      {"start: next page without a list", nullptr, kNextPage, {}, {}},
      {"start: replay outside the game room", nullptr, kReview, {}, {}},
      {"start: negotiation outside the game room", nullptr, kNegotiate, {}, {}},
      {"start: user information of nobody", nullptr, kUserInformation, {}, {}},
      // The waiting room.
      {"waiting room: user information of the selected user",
       [&] {
         peer.Send({{GameServerPeer::WaitingRoomList({"1|Free", "2|Dan room", "3|Kyu room"}), 0}});
         ASSERT_TRUE(PumpUntil([&] { return !frame->GetWaitingRoomTable().GetEntries().empty(); }));
         frame->EnterRoomFromStartView("1", "2", "Dan room");
         const std::size_t from = peer.RecordCount();
         Serve(3, 1, "|2|", [&] { return frame->GetWaitingRoomView() && SentSince(from, "5", "1", "|2|50|"); });
         FillWaitingRoom();
         SelectOnly(frame->GetWaitingRoomView()->GetUserList(), 0, "bob");
       },
       kUserInformation, {"10,3,|3|bob|"}, {}},
      {"waiting room: join without a selected room",
       [&] { SelectOnly(frame->GetWaitingRoomView()->GetRoomList(), 1, ""); }, kJoinRoom, {},
       {"Select game room you wish to enter."}},
      // The ranking the server sends: the waiting room is left for it.
      {"ranking: the next page with the rank filter",
       [&] {
         frame->SetRankFilter("|1|3|");
         const std::size_t from = peer.RecordCount();
         Serve(10, 1, RankRows(1, 50), [&] {
           return frame->GetRankView() && frame->GetRankView()->GetList().GetItemCount() == 50 &&
                  SentSince(from, "3", "2", "|2|");
         });
       },
       kNextPage, {"10,1,|51|50|1|3|"}, {}},
      {"ranking: user information of the selected row",
       [&] {
         Serve(10, 1, RankRows(51, 2), [&] { return frame->GetRankView()->GetList().GetItemCount() == 52; });
         SelectOnly(frame->GetRankView()->GetList(), 2, "u2(5D-A)");
       },
       kUserInformation, {"10,3,|K2|u2|"}, {}},
      {"ranking: user information of no row", [&] { SelectOnly(frame->GetRankView()->GetList(), 2, ""); },
       kUserInformation, {}, {}},
      {"ranking: join is the waiting room's", nullptr, kJoinRoom, {}, {}},
      // The record list, asked for from the ranking.
      {"ranking: the record view asks for the first page", nullptr, kRecordView, {"6,1,|-1|50|"}, {}},
      {"records: the next page",
       [&] { Serve(6, 1, RecordPage(200, 50), [&] { return frame->GetRecordListView() && frame->GetRecordListView()->GetList().GetItemCount() == 50; }); },
       kNextPage, {"6,1,|150|50|"}, {}},
      {"records: the next page of a search",
       [&] {
         const std::size_t from = peer.RecordCount();
         frame->GetRecordListView()->StartSearch("|LI|b7|");
         ASSERT_TRUE(PumpUntil([&] { return SentSince(from, "6", "2", "|-1|50|LI|b7|"); }));
         Serve(6, 2, RecordPage(90, 50), [&] { return frame->GetRecordListView()->GetNextKey() == "40"; });
       },
       kNextPage, {"6,2,|40|50|LI|b7|"}, {}},
      {"records: cancel search does nothing", nullptr, kCancelSearch, {}, {}},
      {"records: no user information here", nullptr, kUserInformation, {}, {}},
      {"records: back to the waiting room last entered", nullptr, kWaitingRoom, {"3,1,|2|"}, {}},
      // The waiting room again: a public room joined.
      {"waiting room: the selected room joined",
       [&] {
         const std::size_t from = peer.RecordCount();
         Serve(3, 1, "|2|", [&] { return frame->GetWaitingRoomView() && SentSince(from, "5", "1", "|2|50|"); });
         FillWaitingRoom();
         SelectOnly(frame->GetWaitingRoomView()->GetRoomList(), 1, "11");
       },
       kJoinRoom, {"3,2,|2|", "4,3,|2|11||"}, {}},
      // The game room: carol plays black against lee, ann watches.
      {"game room: replay asked with the user's role and ID",
       [&] {
         ReleaseCapture();
         const std::size_t from = peer.RecordCount();
         Serve(5, 3, "|11|3|carol|Carol|3k|1|3|1|", [&] { return RoomView() && SentSince(from, "4", "10", "|2|11|"); });
         Serve(5, 10, "||", [] { return true; });
         Serve(5, 12, "|a|b|1|3|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|",
               [&] { return SentSince(from, "4", "11", "|2|11|O|"); });
         Serve(5, 11, "|POM|A|3|carol|Carol|3k|hl|lee|Lee|4k|1|h1|ann|Ann|2k|1|",
               [&] { return RoomView()->GetObserverList().GetItemCount() == 1; });
       },
       kReview, {"4,27,|2|11||3|carol|"}, {}},
      {"game room: user information of the selected observer",
       [&] { SelectOnly(RoomView()->GetObserverList(), 2, "ann"); }, kUserInformation, {"10,3,|h1|ann|"}, {}},
      {"game room: negotiation, the conditions as they open",
       [&] { negotiation = ChooseLee(0, 0); }, kNegotiate, {"4,12,|2|11|lee|hl|1|0|6.500000|1800|30|3|2|"}, {}},
      {"game room: negotiation, white with a handicap",
       [&] { negotiation = ChooseLee(CNegotiationDlg::kWhiteColourRadio, CNegotiationDlg::kHandicapRadio); },
       kNegotiate, {"4,12,|2|11|lee|hl|2|2|0.000000|1800|30|3|1|"}, {}},
      {"game room: negotiation cancelled", [&] { negotiation = nullptr; }, kNegotiate, {}, {}},
      {"game room: no next page here", nullptr, kNextPage, {}, {}},
      // Captured stones: declined, then none chosen (the board starts choosing), then one chosen.
      {"game room: captured stones declined",
       [&] {
         Serve(5, 14, "|a|b|1|B[pd]|BL[80]|", [] { return true; });
         Serve(5, 14, "|a|b|2|W[dc]|WL[78]|", [&] { return RoomView()->GetRoom()->GetMoveCounter() == 2; });
         stonesAnswer = IDCANCEL;
       },
       kSendStones, {}, {}},
      {"game room: captured stones with none chosen", [&] { stonesAnswer = IDOK; }, kDesignateStones, {},
       {"Designate captured stones."}},
      {"game room: the chosen stone sent",
       [&] {
         ASSERT_EQ(8192, RoomView()->GetBoardControl().GetGameMode());
         platform::input::Click(RoomView()->GetBoardControl().m_hWnd, PointCentre(2, 3));
         PumpFor(20);
       },
       kSendStones, {"4,17,|2|11|1|dc|"}, {}},
      // A second observer makes the room too full to negotiate in.
      {"game room: negotiation in a full room",
       [&] {
         negotiation = ChooseLee(0, 0);
         Serve(5, 3, "|11|h4|dan|Dan|5k|1|2|0|", [&] { return RoomView()->GetObserverList().GetItemCount() == 2; });
       },
       kNegotiate, {}, {"In negotiating"}},
      {"the rank query goes out as it is", [&] { frame->SendRankQuery("|a|b|"); }, 0, {"10,4,|a|b|"}, {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.prepare && step.button) step.prepare();
    const std::size_t before = peer.RecordCount();
    script.shown.clear();
    if (step.button)
      menu->SendMessage(WM_COMMAND, step.button);
    else if (step.prepare)
      step.prepare();
    if (!step.sent.empty())
      PumpUntil([&] { return peer.RecordCount() >= before + step.sent.size(); });
    PumpFor(60);
    EXPECT_EQ(Since(before), step.sent);
    EXPECT_EQ(script.shown, step.told);
    ReleaseCapture();
  }
  for (const CString& call : frame->GetPendingCalls())
    EXPECT_NE(call.Left(10), "MenuButton") << call.str();
}

}  // namespace
