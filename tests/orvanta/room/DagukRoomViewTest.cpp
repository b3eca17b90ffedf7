// The game room view in the main frame, hosting the real board control: a game from the server
// peer reaches the control and the view's panes, and the control's click goes out as a move.

#include <fstream>
#include <functional>

#include <platform/gdi.h>
#include <platform/preview.h>
#include <platform/testinput.h>
#include <platform/time.h>

#include "../app/MainFrameFixture.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/RoomCommands.h"
#include "orvanta/room/SelfPlayDlg.h"
#include "orvanta/widgets/MainMenu.h"
#include "orvanta/widgets/MenuButtonBank.h"
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
  // The user enters room 12, hosted by carol; the frame shows its game room view.
  void EnterRoom() {
    Server(5, 2, "|12|");
    Server(5, 3, "|12|hc|carol|Carol|3k|1|3|1|");
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    ASSERT_NE(nullptr, view);
  }
  // The game of carol and lee starts, with the time settings every test here uses.
  void StartEvenGame() {
    Server(5, 10, "||");
    Server(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
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

  // How many records the peer got with minor code minor and this payload.
  int Sent(const std::string& minor, const std::string& payload) {
    int n = 0;
    for (const PeerRecord& r : peer.Records())
      if (r.minor == minor && r.payload == payload) ++n;
    return n;
  }
  // How many records the peer got with minor code minor and a payload that starts with prefix.
  int SentStarting(const std::string& minor, const std::string& prefix) {
    int n = 0;
    for (const PeerRecord& r : peer.Records())
      if (r.minor == minor && r.payload.rfind(prefix, 0) == 0) ++n;
    return n;
  }
  void SelectObserver(const std::string& id) {
    CListCtrl* list = &view->GetObserverList();
    for (int row = 0; row < list->GetItemCount(); ++row)
      list->SetItemState(row, list->GetItemText(row, 2).str() == id ? LVIS_SELECTED : 0, LVIS_SELECTED);
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
  // Line after line, the output keeps its newest line in sight.
  CEdit* output = static_cast<CEdit*>(view->GetDlgItem(CDagukRoomView::kChatOutputId));
  for (int i = 0; i < 30; ++i) Server(5, 6, "|a|b|c|lee|e|f|line " + std::to_string(i) + "|");
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(output->m_hWnd, SB_VERT, &info));
  EXPECT_GT(output->GetFirstVisibleLine(), 0);
  EXPECT_EQ(output->GetFirstVisibleLine() + static_cast<int>(info.nPage), output->GetLineCount());

  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  std::string path = testsupport::SnapshotPath("orvanta_game_room.png");
  EXPECT_TRUE(platform::SaveSurfacePng(frame->m_hWnd, path.c_str()));
}

TEST_F(DagukRoomViewTest, ChatObserversCommandsAndThePrintedSheetOfARoom) {
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  Server(5, 10, "||");
  // The peer logs carol in with role "3", her host in the room.
  Server(5, 12, "|a|b|1|3|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
  Server(5, 11, "|POM|A|3|carol|Carol|3k|hl|lee|Lee|4k|1|h1|ann|Ann| 2k|1|");

  // The macros are edited while the room is shown: its list takes the ones that are not empty.
  frame->chatMacroAnswer = CSettingFiles::ChatMacros{"hello all", "", "good game"};
  frame->OnChattingMacro();
  CComboBox* input = &view->GetChatInput();
  ASSERT_EQ(2, input->GetCount());

  // Chat out: a typed line with Enter, a macro with F4; an empty Enter and F3 (empty) send nothing.
  ::SetFocus(::GetWindow(input->m_hWnd, GW_CHILD));  // the combo's edit
  platform::input::TypeText("hi lee");
  platform::input::PressKey(VK_RETURN);
  platform::input::PressKey(VK_RETURN);
  platform::input::PressKey(VK_F3);
  platform::input::PressKey(VK_F4);
  // Choosing from the opened list sends the entry and clears the choice.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CDagukRoomView::kChatInputId, CBN_DROPDOWN), (LPARAM)input->m_hWnd);
  platform::input::PressKey(VK_RETURN);  // the list is open: Enter does not send the edit
  input->SetCurSel(0);
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CDagukRoomView::kChatInputId, CBN_CLOSEUP), (LPARAM)input->m_hWnd);
  ASSERT_TRUE(PumpUntil([&] { return Sent("6", "|k|12|hello all|") == 1; }));
  PumpFor(40);
  EXPECT_EQ(1, Sent("6", "|k|12|hi lee|"));
  EXPECT_EQ(1, Sent("6", "|k|12|good game|"));
  EXPECT_EQ(0, Sent("6", "|k|12||"));
  EXPECT_EQ(-1, input->GetCurSel());
  CString typed;
  input->GetWindowText(typed);
  EXPECT_EQ("", typed.str());
  // Chat in: the other side's line shows at the end of the output.
  Server(5, 6, "|a|b|c|lee|e|f|thanks|");
  EXPECT_NE(std::string::npos, Text(CDagukRoomView::kChatOutputId).find("[lee]thanks"));

  // Observers: ann came with the room; dan joins and leaves; ann's grade is shown trimmed.
  CListCtrl* list = &view->GetObserverList();
  ASSERT_EQ(1, list->GetItemCount());
  EXPECT_EQ("ann-2k", list->GetItemText(0, 0).str());
  Server(5, 3, "|12|h4|dan|Dan|5k|1|2|0|");
  ASSERT_EQ(2, list->GetItemCount());
  EXPECT_EQ("dan", list->GetItemText(1, 2).str());
  EXPECT_TRUE(view->IsUserInRoom("dan", "h4"));
  EXPECT_EQ("/|lee|4k|hl|/|ann|2k|h1|/|dan|5k|h4|/", view->BuildRoomUserList().str());
  Server(5, 4, "|12|x|h4|dan|Dan|5k|");
  ASSERT_EQ(1, list->GetItemCount());
  EXPECT_FALSE(view->IsUserInRoom("dan", "h4"));

  // Commands on the selected observer: mail, barring from chat, information.
  view->RunRoomCommand(CRoomCommands::kSendMail);  // nobody selected: nothing
  SelectObserver("ann");
  view->RunRoomCommand(CRoomCommands::kSendMail);
  view->RunRoomCommand(CRoomCommands::kNoChatting);
  view->RunRoomCommand(CRoomCommands::kUserInfo);
  frame->Flush();
  ASSERT_TRUE(PumpUntil([&] { return Sent("3", "|h1|ann|") == 1; }));
  EXPECT_EQ(1, Sent("9", "|h1|ann|"));
  EXPECT_EQ(1, Sent("5", "|" + frame->GetLoginRole().str() + "|12|h1|ann|"));

  // The room's commands for the black player of a running game with both seats taken.
  const CRoomCommands::Situation s = view->CommandSituation();
  EXPECT_EQ(2, s.userColour);
  EXPECT_EQ(1, s.subStatus);
  EXPECT_FALSE(CRoomCommands::Of(CRoomCommands::kExit, s).enabled);
  EXPECT_FALSE(CRoomCommands::Of(CRoomCommands::kCountHouses, s).enabled);
  view->RunRoomCommand(CRoomCommands::kExit);           // disabled: no leave request
  view->RunRoomCommand(CRoomCommands::kCountHouses);    // disabled: no question
  // Advice: No sends nothing and keeps the setting; Yes permits, then refuses again.
  script.answers["Do you permit observer's advice?"] = IDNO;
  view->RunRoomCommand(CRoomCommands::kHint);
  EXPECT_FALSE(frame->IsObserverAdviceOn());
  script.answers["Do you permit observer's advice?"] = IDYES;
  view->RunRoomCommand(CRoomCommands::kHint);
  EXPECT_TRUE(frame->IsObserverAdviceOn());
  EXPECT_TRUE(CRoomCommands::Of(CRoomCommands::kHint, view->CommandSituation()).checked);
  script.answers["Do you wish to refuse observer's advice?"] = IDYES;
  view->RunRoomCommand(CRoomCommands::kHint);
  EXPECT_FALSE(frame->IsObserverAdviceOn());
  ASSERT_TRUE(PumpUntil([&] { return Sent("33", "|k|12|0|") == 1; }));
  EXPECT_EQ(1, Sent("33", "|k|12|1|"));
  EXPECT_FALSE(Shown("Do you wish to leave the game room?"));
  EXPECT_FALSE(Shown("Do you want counting?"));
  Server(5, 33, "|a|b|0|");
  EXPECT_TRUE(Shown("Observer's advice is not available."));

  // Black takes the white stone on the corner, passes once, and white takes the corner back:
  // the corner holds moves 2 and 8.
  const char* moves[] = {"B[ba]", "W[aa]", "B[ab]", "W[ca]", "B[tt]", "W[bb]", "B[dd]", "W[aa]"};
  for (int i = 0; i < 8; ++i) {
    std::string time = i % 2 ? "WL[60]" : "BL[60]";
    Server(5, 14, "|a|b|" + std::to_string(i + 1) + "|" + moves[i] + "|" + time + "|");
  }
  EXPECT_EQ(4, view->GetBoardControl().GetLastColor());
  CPrintInfo info;
  info.m_bDirect = TRUE;
  info.m_strOutputPrefix = testsupport::SnapshotPath("orvanta_room_sheet-").c_str();
  ASSERT_TRUE(view->RunPrintJob(info));
  EXPECT_EQ(8, view->GetStonePrinter().GetMoveCount());
  EXPECT_EQ(2, view->GetStonePrinter().FirstMove(0));
  ASSERT_EQ(1u, view->GetStonePrinter().LaterMoves(0).size());
  EXPECT_EQ(8, view->GetStonePrinter().LaterMoves(0)[0]);
  std::FILE* page = std::fopen(testsupport::SnapshotPath("orvanta_room_sheet-1.png").c_str(), "rb");
  ASSERT_NE(nullptr, page);
  std::fclose(page);

  // The same sheet in the print preview, in the frame in place of the room.
  ASSERT_TRUE(CPreviewView::ShowPreview(view));
  PumpFor(40);
  ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  EXPECT_TRUE(platform::SaveSurfacePng(frame->m_hWnd, testsupport::SnapshotPath("orvanta_room_sheet_preview.png").c_str()));
  auto* preview = dynamic_cast<CPreviewView*>(frame->GetActiveView());
  ASSERT_NE(nullptr, preview);
  preview->ClosePreview();
  PumpFor(40);
}

TEST_F(DagukRoomViewTest, UserInformationWithoutAChosenObserverAsksForTheId) {
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  const std::string role = frame->GetLoginRole().str();
  struct Case {
    const char* typed;   // nullptr: the dialog is cancelled
    const char* asked;   // the information request's payload, nullptr for none
  };
  // The typed ID goes out on the user's own host; a separator typed into it is left out.
  const Case cases[] = {{"bob", "bob"}, {nullptr, nullptr}, {"b|o/b", "bob"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed ? c.typed : "(cancelled)");
    std::string caption;
    script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
      if (id != CSearchUserDlg::kTemplateId) return IDCANCEL;
      CString text;
      wnd->GetWindowText(text);
      caption = text.str();
      if (!c.typed) return IDCANCEL;
      wnd->SetDlgItemText(CSearchUserDlg::kTextEdit, c.typed);
      return IDOK;
    };
    const size_t before = peer.Records().size();
    const std::string request = "|" + role + "|" + (c.asked ? c.asked : "") + "|";
    const int sentBefore = Sent("3", request);
    view->RunRoomCommand(CRoomCommands::kUserInfo);
    frame->Flush();
    EXPECT_EQ(Cp949("사용자 정보"), caption);
    if (c.asked) {
      ASSERT_TRUE(PumpUntil([&] { return Sent("3", request) == sentBefore + 1; }));
    } else {
      PumpFor(40);
      EXPECT_EQ(before, peer.Records().size());
    }
  }
}

TEST_F(DagukRoomViewTest, TheClockLampOfTheSideToMoveIsLit) {
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  constexpr COLORREF kLit = RGB(230, 40, 30);
  // The centre of the lamp left of a clock caption, as the view's surface shows it now (and,
  // with repaint, after the whole view is painted again).
  auto lamp = [&](int area, bool repaint) {
    if (repaint) ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    const CRect caption = view->GetCaptionArea(area);
    CClientDC dc(view);
    return dc.GetPixel(caption.left - 8, caption.top + 12) == kLit;
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    short lit;  // 2 black, 4 white, 0 none
  };
  const Step steps[] = {
      {"entered, no clock", [] {}, 0},
      {"clock started, black to play", [&] { Server(5, 10, "||"); Server(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|"); }, 2},
      {"black played", [&] { Server(5, 14, "|a|b|1|B[pd]|BL[60]|"); }, 4},
      {"a second later", [&] { platform::Clock::Advance(1000); PumpFor(10); }, 4},
      {"white played", [&] { Server(5, 14, "|a|b|2|W[dd]|WL[59]|"); }, 2},
      {"clock stopped for an undo request",
       [&] {
         script.answers["Do you wish to request undoing your last move?"] = IDYES;
         frame->AskUndo();
       },
       0},
      {"clock started again", [&] { frame->StartRoomClock(); }, 2},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(step.lit, view->GetLitClockLamp());
    for (bool repaint : {false, true}) {
      EXPECT_EQ(step.lit == 2, lamp(7, repaint)) << "black lamp, repaint " << repaint;
      EXPECT_EQ(step.lit == 4, lamp(8, repaint)) << "white lamp, repaint " << repaint;
    }
  }
}

TEST_F(DagukRoomViewTest, TheStudyBoardOfTheRoomsGameReloadsTheMovesPlayedSince) {
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  StartEvenGame();
  Server(5, 14, "|a|b|1|B[pd]|BL[60]|");
  Server(5, 14, "|a|b|2|W[dd]|WL[60]|");
  Server(5, 14, "|a|b|3|B[pp]|BL[60]|");
  CGiboRecord& roomRecord = view->GetRoom()->GetRecord();
  ASSERT_EQ(3, roomRecord.GetTotalMoves());
  bool opened = false;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    auto* study = dynamic_cast<CSelfPlayDlg*>(wnd);
    if (id != CSelfPlayDlg::kTemplateId || !study) return IDCANCEL;
    opened = true;
    auto press = [&](UINT button) {
      study->SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)::GetDlgItem(study->m_hWnd, button));
    };
    CString title;
    study->GetWindowText(title);
    EXPECT_EQ(Cp949("참고도"), title);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(study->m_hWnd, CSelfPlayDlg::kReload)));
    CStolvex& board = study->GetBoard();
    EXPECT_EQ(3, board.GetLogicalPos());

    // White answers in the room while the board is open; the board has its own copy until reloaded.
    Server(5, 14, "|a|b|4|W[dp]|WL[58]|");
    EXPECT_EQ(4, roomRecord.GetTotalMoves());
    EXPECT_EQ(3, study->GetGameRecord().GetTotalMoves());
    EXPECT_EQ(3, board.GetLogicalPos());
    press(CSelfPlayDlg::kReload);
    EXPECT_EQ(4, study->GetGameRecord().GetTotalMoves());
    EXPECT_EQ(4, board.GetLogicalPos());
    EXPECT_EQ(4, board.GetLastColor());

    // A study stone stays on the board; reloading leaves the study for the room's position.
    RECT r{};
    ::GetClientRect(board.m_hWnd, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    platform::input::Click(board.m_hWnd, POINT{9 * px + px / 2 + (r.right % 19) / 2, 9 * py + py / 2 + (r.bottom % 19) / 2});
    EXPECT_TRUE(study->IsStudyMode());
    EXPECT_EQ(5, board.GetLogicalPos());
    press(CSelfPlayDlg::kReload);
    EXPECT_FALSE(study->IsStudyMode());
    EXPECT_EQ(4, board.GetLogicalPos());
    return CSelfPlayDlg::kClose;
  };
  frame->OnMenuButton(1207);
  EXPECT_TRUE(opened);
  // The study changed nothing of the room's game.
  EXPECT_EQ(4, roomRecord.GetTotalMoves());
  EXPECT_EQ(4, view->GetBoardControl().GetLogicalPos());
}

TEST_F(DagukRoomViewTest, AReviewedFilesPlayerIsAskedAboutOnTheWireWhileConnected) {
  const std::string path = m_folder.Path() + "/kim.sgf";
  {
    std::ofstream out(path, std::ios::binary);
    out << "(;GM[1]SZ[19]PB[k1:kim:x: 5d]PW[k2:lee:y: 6d]KM[6.5];B[pd];W[dd])";
  }
  script.fileAnswer = path;
  bool reviewed = false;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    auto* review = dynamic_cast<CGameReviewDlg*>(wnd);
    if (id != CGameReviewDlg::kTemplateId || !review) return IDCANCEL;
    reviewed = true;
    MSG click{::GetDlgItem(review->m_hWnd, CGameReviewDlg::kWhiteName), WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 3), 0, {0, 0}};
    EXPECT_TRUE(review->PreTranslateMessage(&click));
    return CGameReviewDlg::kClose;
  };
  frame->OnFileOpen();
  EXPECT_TRUE(reviewed);
  ASSERT_TRUE(PumpUntil([&] { return Sent("3", "|k2|lee|") == 1; }));
}

TEST_F(DagukRoomViewTest, TheInviteCommandListsTheWaitingUsersInTheRoomsInvitationWindow) {
  peer.Send({{GameServerPeer::WaitingRoomList({"1|Free", "3|Kyu room", "5|Pro"}), 0}});
  ASSERT_TRUE(PumpUntil([&] { return !frame->GetWaitingRoomTable().GetEntries().empty(); }));
  frame->RememberWaitingRoom(1, "k", "Free");
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  frame->GetLoginRecord()->m_strRoomText1 = "pw";

  // The invite button asks for the waiting room's users; the window waits for them.
  frame->OnMenuButton(1201);
  ASSERT_TRUE(PumpUntil([&] { return Sent("3", "|k|5|") == 1; }));
  EXPECT_EQ(nullptr, view->GetInviteDlg());
  Server(3, 3, "|1|x|2|3|amy|Amy|5K|5|cy|Cy|2K|");
  CInviteDlg* invite = view->GetInviteDlg();
  ASSERT_NE(nullptr, invite);
  ASSERT_TRUE(::IsWindowVisible(invite->m_hWnd));
  CListCtrl& list = invite->GetList();
  ASSERT_EQ(2, list.GetItemCount());
  EXPECT_EQ("amy", list.GetItemText(0, 0).str());
  EXPECT_EQ("Kyu room", list.GetItemText(0, 3).str());
  EXPECT_EQ("Pro", list.GetItemText(1, 3).str());

  // The user picked with a double-click is invited with the message; the window hides.
  invite->SetDlgItemText(CInviteDlg::kMessageEdit, "a game?");
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  NMHDR click{list.m_hWnd, CInviteDlg::kUserList, NM_DBLCLK};
  invite->SendMessage(WM_NOTIFY, CInviteDlg::kUserList, reinterpret_cast<LPARAM>(&click));
  ASSERT_TRUE(PumpUntil([&] { return Sent("12", "|k|12|pw|5|cy|a game?|") == 1; }));
  EXPECT_FALSE(::IsWindowVisible(invite->m_hWnd));

  // The next list shows the same window again with the new users only.
  frame->OnMenuButton(1201);
  ASSERT_TRUE(PumpUntil([&] { return Sent("3", "|k|5|") == 2; }));
  Server(3, 3, "|1|x|1|3|bo|Bo|1D|");
  EXPECT_EQ(invite, view->GetInviteDlg());
  EXPECT_TRUE(::IsWindowVisible(invite->m_hWnd));
  ASSERT_EQ(1, list.GetItemCount());
  EXPECT_EQ("bo", list.GetItemText(0, 0).str());

  // The window goes with the room.
  const HWND window = invite->m_hWnd;
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  PumpFor(40);
  EXPECT_FALSE(::IsWindow(window));
}

TEST_F(DagukRoomViewTest, TheByoYomiSecondsBlinkOnTheRoomsOwnTimers) {
  ASSERT_NO_FATAL_FAILURE(EnterRoom());
  StartEvenGame();
  // Black (the user) is in byo-yomi after his move; white answers, so black's seconds run.
  Server(5, 14, "|a|b|1|B[pd]|BL[15]|");
  Server(5, 14, "|a|b|2|W[dd]|WL[78]|");
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetMoveCounter() == 2; }));
  // What the frame's window shows at a point of one of its children.
  auto shown = [&](CWnd& child, POINT p) {
    child.UpdateWindow();
    child.ClientToScreen(&p);
    frame->ScreenToClient(&p);
    CClientDC dc(frame);
    return dc.GetPixel(p);
  };
  CWnd* seconds = view->GetDlgItem(CGameRoom::kBlackSeconds);
  // The pane's ground, in its corner away from the text.
  auto face = [&] {
    CRect r;
    seconds->GetClientRect(&r);
    return shown(*seconds, POINT{r.right - 3, r.bottom - 3});
  };
  // The room's timers run: the clock's tick starts the blink, every blink tick flips the look.
  platform::Clock::Advance(1000);
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetClock(2).GetSeconds() < 10; }));
  bool sawRed = false, sawPlain = false;
  for (int tick = 0; tick < 4; ++tick) {
    platform::Clock::Advance(CGameRoom::kBlinkMs);
    PumpFor(40);
    const bool red = face() == CDagukRoomView::kBlinkFace;
    EXPECT_EQ(view->GetRoom()->IsPaneBlinking(2) != FALSE, red) << tick;
    (red ? sawRed : sawPlain) = true;
  }
  EXPECT_TRUE(sawRed);
  EXPECT_TRUE(sawPlain);
}

// "다시받기" (1240) loads the room's game again from the server in each phase of the game: the
// room asks for its data, the buttons are those of the phase, and once the server's answer is on
// the board the user goes on as before: plays and gets his turn, goes on after the recess, or
// asks for the review of the ended game.
TEST_F(DagukRoomViewTest, ReceivingTheGameAgainKeepsThePhaseAndTheUserPlaysOn) {
  using namespace MenuButton;
  struct Case {
    const char* name;
    std::function<void()> reachPhase;
    int phase;
    std::vector<UINT> enabled;
    std::vector<UINT> disabled;
    UINT faceOf;  // a button whose face the phase sets, and the face
    UINT face;
  };
  const std::vector<UINT> navigation = {kWaitingRoomList, kRecordView, kRankView, kGameRoom, kNegotiate};
  const Case cases[] = {
      {"playing", [] {}, 1, {kInvite, kAskDraw, kResign, kAskUndo, kAskEnd, kReceiveAgain, kSequence, kPause},
       {kSendStones, kAskCounting, kStalemate, kTryPlacing, kReview, kSelectRecord, kLeave}, kPause, kPauseFace},
      {"in recess", [&] { Server(5, 23, "|a|b|1|"); }, 2,
       {kInvite, kAskDraw, kResign, kAskUndo, kAskEnd, kReceiveAgain, kSequence, kPause},
       {kSendStones, kAskCounting, kStalemate, kTryPlacing, kReview, kSelectRecord, kLeave, kGiveUpMove}, kPause,
       kPauseFace},
      {"ended", [&] { Server(5, 38, "|a|b|x|hl|lee|"); }, 6,
       {kInvite, kReceiveAgain, kSequence, kTryPlacing, kReview, kLeave},
       {kAskDraw, kResign, kAskUndo, kAskEnd, kSendStones, kAskCounting, kGiveUpMove, kStalemate, kPause,
        kSelectRecord},
       0, 0},
  };
  const std::string stored = "|FF[4];GM[1];SZ[19];PB[hc:carol:c3:3k];PW[hl:lee:l3:4k];RE[?];TM[60];OT[10:2];KM[6.5];HA[0]|";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(EnterRoom());
    StartEvenGame();
    Server(5, 14, "|a|b|1|B[pd]|BL[80]|");
    Server(5, 14, "|a|b|2|W[dd]|WL[78]|");
    c.reachPhase();
    CGameRoom* room = view->GetRoom();
    ASSERT_EQ(c.phase, room->GetSubStatus());
    const WORD word = room->GetRoomState();
    const LONG mode = view->GetBoardControl().GetGameMode();

    const int asked = Sent("9", "|k|12|");
    const int ready = Sent("10", "|k|12|");
    CMainMenu* menu = frame->GetMainMenu();
    platform::input::Click(menu->GetButton(kReceiveAgain)->m_hWnd, CPoint(5, 5));
    ASSERT_TRUE(PumpUntil([&] { return Sent("9", "|k|12|") == asked + 1 && Sent("10", "|k|12|") == ready + 1; }));
    for (UINT id : c.enabled) EXPECT_TRUE(menu->GetButton(id)->IsWindowEnabled()) << id;
    for (UINT id : c.disabled) EXPECT_FALSE(menu->GetButton(id)->IsWindowEnabled()) << id;
    for (UINT id : navigation) EXPECT_FALSE(menu->GetButton(id)->IsWindowEnabled()) << id;
    if (c.faceOf) {
      EXPECT_EQ(c.face, menu->GetButton(c.faceOf)->GetBitmapId());
    }
    EXPECT_EQ(word, room->GetRoomState());
    EXPECT_EQ(2, view->GetBoardControl().GetUserColor());
    if (c.phase == 1) {
      EXPECT_TRUE(room->IsClockRunning());
      EXPECT_EQ("Playing", Text(CGameRoom::kMessage));
      EXPECT_FALSE(frame->IsDeferringMoves());
    }

    // The server's answer: the game's record and its moves.
    Server(5, 9, stored);
    Server(5, 10, "|;B[pd]BL[80];W[dd]WL[78]|");
    ASSERT_TRUE(PumpUntil([&] { return room->GetMoveCounter() == 2; }));
    EXPECT_EQ("carol", Text(CGameRoom::kBlackName));
    EXPECT_EQ("lee", Text(CGameRoom::kWhiteName));
    EXPECT_EQ(word, room->GetRoomState());
    EXPECT_EQ(mode, view->GetBoardControl().GetGameMode());

    if (c.phase == 1) {
      // carol plays, the server echoes, lee answers: carol's turn again.
      platform::input::Click(view->GetBoardControl().m_hWnd, PointCentre(15, 15));
      ASSERT_TRUE(PumpUntil([&] { return SentStarting("14", "|k|12|B[pp]|") == 1; }));
      Server(5, 14, "|a|b|3|B[pp]|BL[79]|");
      Server(5, 14, "|a|b|4|W[dp]|WL[77]|");
      ASSERT_TRUE(PumpUntil([&] { return room->GetMoveCounter() == 4; }));
      EXPECT_EQ("It is your turn.", Text(CGameRoom::kMessage));
      // lee resigns: carol, black, has won.
      Server(5, 43, "|a|b|x|lee|");
      EXPECT_EQ(0x50, room->GetRoomState());
    } else if (c.phase == 2) {
      // lee agrees to go on: the game runs again with carol as black, and she plays.
      Server(5, 25, "|a|b|1|");
      EXPECT_EQ("Game is processing again.", Text(CGameRoom::kMessage));
      EXPECT_EQ(0x42, room->GetRoomState());
      platform::input::Click(view->GetBoardControl().m_hWnd, PointCentre(15, 15));
      ASSERT_TRUE(PumpUntil([&] { return SentStarting("14", "|k|12|B[pp]|") == 2; }));
      Server(5, 14, "|a|b|3|B[pp]|BL[79]|");
      Server(5, 14, "|a|b|4|W[dp]|WL[77]|");
      EXPECT_EQ("It is your turn.", Text(CGameRoom::kMessage));
      Server(5, 43, "|a|b|x|lee|");
    } else {
      // The ended game's review is asked for.
      const std::size_t asked = peer.RecordCount();
      platform::input::Click(menu->GetButton(kReview)->m_hWnd, CPoint(5, 5));
      ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > asked; }));
      EXPECT_EQ("27", peer.Records().back().minor);
      EXPECT_EQ(0u, peer.Records().back().payload.find("|k|12|")) << peer.Records().back().payload;
    }
    // Out of the room for the next case.
    Server(5, 4, "|x|y|3|carol|");
    frame->SwitchView(CMainFrame::kWaitingRoomView);
  }
}

// The opponent's request is being asked when the connection goes: the room and its view go with
// it, the question's answer sends nothing into the new connection, and the person, logged in
// again, plays in a room anew. Every question of the room, one after another.
TEST_F(DagukRoomViewTest, ARoomQuestionOutlivedByTheConnectionAnswersNothing) {
  const struct {
    int minor;  // of the request (5, minor) and of its answer (4, minor)
    const char* question;
  } asks[] = {{16, "Opponent requests undo(retraction).\nDo you agree?"},
              {24, "Opponent requests a pause game.\nDo you agree?"},
              {26, "There is a request for continued play.\nDo you accept?"},
              {42, "Opponent requests to continue the game.\nDo you agree?"}};
  for (const auto& ask : asks) {
    SCOPED_TRACE(ask.question);
    ASSERT_NO_FATAL_FAILURE(EnterRoom());
    StartEvenGame();
    const int connection = peer.Records().back().connection;
    script.answers[ask.question] = IDYES;
    script.logins.push_back({"carol", "pw9", 0, IDOK});
    script.onMessageBox = [&](const std::string&) {
      if (script.shown.back() == ask.question) {
        peer.CloseConnection();
        PumpUntil([&] { return frame->IsConnected() && Pairs(connection + 1).size() >= 6; });
      }
    };
    Server(5, ask.minor, "|a|b|");
    ASSERT_TRUE(PumpUntil([&] { return frame->IsConnected() && Pairs(connection + 1).size() >= 6; }));
    script.onMessageBox = nullptr;
    EXPECT_TRUE(Shown(ask.question));
    EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
    for (const PeerRecord& r : peer.Records())
      EXPECT_FALSE(r.major == "4" && r.minor == std::to_string(ask.minor)) << r.raw;
    frame->SetWaitingRoomKey("1", "k");
  }
}
