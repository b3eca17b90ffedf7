// A person trying Orvanta against the demo server: the game-server peer answers from the README's
// demo script, the program shows its windows on an X server, and every step is a click or a key
// sent through that server, to the end where the game is saved from the menu bar through the file
// dialog and opened again. The program runs its idle processing as it does in its own loop, with
// both bars shown, and every click is answered on the screen within a second. Pictures of the
// waiting room and the game are written as snapshots.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <platform/display.h>
#include <platform/gdi.h>

#include "orvanta/app/CommandStates.h"
#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/InvitationDlg.h"
#include "orvanta/lobby/NoticeDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/widgets/MainMenu.h"
#include "orvanta/widgets/MenuButtonBank.h"
#include "peers/orvanta/GameServerScript.h"
#include "platform/display/XvfbServer.h"
#include "support/NativeWindowOrigin.h"
#include "support/StolvexModuleHome.h"
// Last: it brings in Xlib, whose macros would clash with the names above.
#include "platform/dialogs/ScreenPerson.h"

namespace {

constexpr UINT kDriveTimer = 0x7D0;
constexpr const char* kUserId = "minsu";

class DemoServerX11Test;
DemoServerX11Test* g_test = nullptr;

using screentest::FileLine;
using screentest::FileNameFocused;
using screentest::FileNameShown;
using screentest::ShownDialog;

// The review dialog, once it is shown.
CGameReviewDlg* ShownReview() {
  auto* review = dynamic_cast<CGameReviewDlg*>(CWnd::FromHandlePermanent(::GetActiveWindow()));
  return review && review->IsWindowVisible() ? review : nullptr;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
// The moves of a record's text in order ("B[pd]", "W[dd]", ...).
std::vector<std::string> PlayedMoves(const std::string& text) {
  std::vector<std::string> moves;
  for (std::size_t at = text.find(';'); at != std::string::npos; at = text.find(';', at + 1)) {
    std::size_t end = text.find(']', at);
    if (end != std::string::npos && at + 2 < text.size() && (text[at + 1] == 'B' || text[at + 1] == 'W') &&
        text[at + 2] == '[')
      moves.push_back(text.substr(at + 1, end - at));
  }
  return moves;
}

// The centre of point (row, col) on the 19-line board control board, in its client coordinates.
CPoint PointOnBoard(HWND board, int row, int col) {
  CRect r;
  ::GetClientRect(board, &r);
  const int px = r.right / 19, py = r.bottom / 19;
  return CPoint(col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2);
}

class DemoServerX11Test : public MainFrameTest {
public:
  // The program's document under the frame: the game is saved from it.
  DemoServerX11Test() : MainFrameTest(WithDocument{}) {}

  // Answers the modal dialogs as a person would, one step a tick: the login dialog gets an ID and
  // a password typed into it, the notice is closed with OK.
  void DriveDialogs() {
    const HWND active = ::GetActiveWindow();
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(active));
    // A question in a message box: the person takes its default button, Yes, with Enter.
    if (!dialog && active && active != frame->m_hWnd && ::IsWindowVisible(active) && m_keysForBoxes) {
      if (++m_boxTicks % 25 == 1)
        m_person->Key(active, XK_Return);
      return;
    }
    if (!dialog || !dialog->m_hWnd)
      return;
    const HWND top = dialog->m_hWnd;
    if (dialog->GetTemplateId() == CNoticeDlg::kTemplateId || dialog->GetTemplateId() == CInvitationDlg::kTemplateId) {
      Click(::GetDlgItem(top, IDOK));
      return;
    }
    if (dialog->GetTemplateId() != 179)
      return;
    const HWND id = ::GetDlgItem(top, static_cast<int>(CLoginProfile::kIdEdit));
    const HWND password = ::GetDlgItem(top, static_cast<int>(CLoginProfile::kPasswordEdit));
    // A login that does not get through in time is cancelled: the test then fails instead of
    // waiting in the dialog for ever.
    if (++m_loginTicks > 750) {
      ::SendMessage(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    if (!Fill(top, id, m_userId) && !Fill(top, password, "pw"))
      Click(::GetDlgItem(top, IDOK));
  }

protected:
  // One step of filling edit with text: a click into it, then the keys of what is missing (again
  // when keys went astray for a while). FALSE once the edit holds text.
  bool Fill(HWND top, HWND edit, const std::string& text) {
    const std::string shown = Text(edit);
    if (shown == text)
      return false;
    if (::GetFocus() != edit) {
      Click(edit);
    } else if (text.compare(0, shown.size(), shown) != 0) {
      ::SetWindowText(edit, "");  // a stray key: start the field over
    } else if (shown != m_lastShown) {
      m_lastShown = shown;  // keys are still arriving
      m_stalledTicks = 0;
    } else if (m_typedInto != edit || ++m_stalledTicks > 25) {
      Type(top, text.substr(shown.size()).c_str());
      m_typedInto = edit;
      m_stalledTicks = 0;
    }
    return true;
  }

protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty())
      GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    ASSERT_TRUE(m_control.Registered());
    std::ifstream file(ORVANTA_PEER_SCRIPTS "/demo.txt");
    std::string error;
    ASSERT_TRUE(m_script.Load(file, error)) << error;
    m_script.Install(peer);
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
    frame->RegisterView(CMainFrame::kForumView, RUNTIME_CLASS(CAssociationView));
    frame->RegisterView(CMainFrame::kBulletinBoardView, RUNTIME_CLASS(CPlacardView));
    ASSERT_TRUE(platform::display::UseX11Display(name.c_str()));
    m_person.emplace(name);
    ASSERT_TRUE(m_person->Ready());
    // All of it on the screen: a window partly off the screen cannot be read back.
    frame->SetWindowPos(nullptr, 0, 0, 800, 700, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    // The idle turn of the program's own loop: command states, bars and their pictures.
    platform::SetIdleHook([this](long count) { return m_app->OnIdle(count); });
    g_test = this;
    ::SetTimer(frame->m_hWnd, kDriveTimer, 20, [](HWND, UINT, UINT_PTR, DWORD) {
      if (g_test)
        g_test->DriveDialogs();
    });
  }
  void TearDown() override {
    platform::SetIdleHook(nullptr);
    g_test = nullptr;
    if (::IsWindow(frameHandle()))
      ::KillTimer(frameHandle(), kDriveTimer);
    platform::display::UseHeadless();
    m_person.reset();
  }

  static std::string Text(HWND hwnd) {
    char text[64] = {};
    ::GetWindowText(hwnd, text, sizeof text);
    return text;
  }
  // A click at client point of hwnd (its centre without one) through the X server.
  void Click(HWND hwnd, std::optional<CPoint> point = std::nullopt) {
    if (point) {
      m_person->Click(hwnd, *point);
    } else {
      m_person->Click(hwnd);
    }
  }
  void Type(HWND top, const char* text) { m_person->Type(top, text); }
  bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000) {
    return PumpUntil([&] {
      platform::display::Sync();
      return condition();
    }, timeoutMs);
  }
  // What a click made the program show, there within a second.
  bool Answered(const std::function<bool()>& condition) { return WaitFor(condition, 1000); }
  // Where the server shows the frame's X window, and its size.
  CRect NativeFrameRect() {
    platform::display::Sync();
    ::Display* observer = XOpenDisplay(platform::testing::TestDisplayName().c_str());
    if (!observer)
      return CRect();
    const POINT origin = testsupport::NativeWindowOrigin(observer, frame->m_hWnd);
    XWindowAttributes attributes{};
    XGetWindowAttributes(observer, static_cast<Window>(platform::display::NativeWindowOf(frame->m_hWnd)), &attributes);
    XCloseDisplay(observer);
    return CRect(origin.x, origin.y, origin.x + attributes.width, origin.y + attributes.height);
  }
  // Writes what the frame's X window shows, fully painted, as the picture name.
  bool Picture(const char* name) {
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    platform::display::Sync();
    platform::PumpMessages();
    return m_person->Snapshot(frame->m_hWnd, name);
  }
  static int FindRow(CListCtrl& list, int column, const CString& text) {
    for (int row = 0; row < list.GetItemCount(); ++row)
      if (list.GetItemText(row, column) == text)
        return row;
    return -1;
  }
  // The person's move at (row, col), answered by demo: the room's counter grows by two.
  bool PlayMove(CDagukRoomView* view, int row, int col) {
    const int before = view->GetRoom()->GetMoveCounter();
    const HWND board = view->GetBoardControl().m_hWnd;
    Click(board, PointOnBoard(board, row, col));
    return WaitFor([&] { return view->GetRoom()->GetMoveCounter() >= before + 2; });
  }
  CDagukRoomView* ShownGame() {
    CDagukRoomView* view = nullptr;
    WaitFor([&] {
      view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
      return view && view->GetRoom() && (view->GetRoom()->GetRoomState() & 0x42) == 0x42;
    });
    return view;
  }
  void ClickMenu(UINT id) { Click(frame->GetMainMenu()->GetButton(id)->m_hWnd); }
  // The waiting room of a start-screen button, with its users and rooms listed.
  CTirvoDListView* EnterFromStart(int button) {
    COrvantaView* start = nullptr;
    if (!WaitFor([&] { return (start = frame->GetStartView()) && start->GetRoomButtonCount() == 4; }))
      return nullptr;
    Click(start->GetRoomButton(button)->m_hWnd);
    CTirvoDListView* lobby = nullptr;
    WaitFor([&] { return (lobby = frame->GetWaitingRoomView()) && lobby->GetRoomList().GetItemCount() == 3; });
    return lobby;
  }
  // Room 7 chosen in the waiting room's list and joined with the menu pane's button.
  CDagukRoomView* JoinRoom7(CTirvoDListView* lobby) {
    CListCtrl& rooms = lobby->GetRoomList();
    const int room = FindRow(rooms, 1, "7");
    CRect row;
    rooms.GetItemRect(room, &row, LVIR_BOUNDS);
    Click(rooms.m_hWnd, CPoint(row.left + 40, row.CenterPoint().y));
    if (!WaitFor([&] { return rooms.GetNextItem(-1, LVNI_SELECTED) == room; }))
      return nullptr;
    ClickMenu(MenuButton::kJoinRoom);
    return ShownGame();
  }
  std::string Title() const {
    char text[128] = {};
    ::GetWindowText(frame->m_hWnd, text, sizeof text);
    return text;
  }

  std::vector<std::string> Moves() const {
    std::vector<std::string> moves;
    for (const PeerRecord& r : peer.Records())
      if (r.Is(4, 14))
        moves.push_back(r.payload.substr(0, r.payload.find("|BL[")));
    return moves;
  }

  std::string m_userId{kUserId};  // what the person types as the ID
  bool m_keysForBoxes{false};  // message boxes are answered with Enter
  int m_boxTicks{0};
  testsupport::StolvexModuleHome m_control;
  GameServerScript m_script;
  std::optional<screentest::ScreenPerson> m_person;  // every click and key, through the X server
  int m_loginTicks{0};
  int m_stalledTicks{0};
  std::string m_lastShown;  // what the edit being filled held at the last tick
  HWND m_typedInto{nullptr};  // the edit keys were last typed into
};

TEST_F(DemoServerX11Test, APersonLogsInShowsTheBarsJoinsARoomPlaysFiveMovesGoesBigScreenAndSaves) {
  // The login dialog, typed into and confirmed through the X server.
  frame->RunLoginPass();
  ASSERT_TRUE(WaitFor([&] { return frame->IsConnected() && peer.RecordCount() >= 2; }));
  EXPECT_EQ(peer.Records()[1].payload, "|minsu|pw|");
  COrvantaView* start = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    start = frame->GetStartView();
    return start && start->GetRoomButtonCount() == 4 && frame->IsNoticeShown();
  }));

  // View > Tool Bar from the menu bar: the tool bar and the status bar both show, and the program
  // goes on answering with them shown.
  frame->EndWaitCapture();
  bool barsShown = false;
  m_person->ThenChoose(OrvantaCommand::kToolBar);
  ASSERT_TRUE(m_person->Drive([&] {
    m_person->ClickMenuTitle(frame->m_hWnd, 3);
    barsShown = Answered([&] {
      return frame->GetToolBar().IsWindowVisible() && frame->GetStatusBar().IsWindowVisible() &&
             !screentest::ShownPopupMenu();
    });
  }));
  ASSERT_TRUE(barsShown);
  EXPECT_TRUE(Picture("orvanta-demo-bars.png"));

  // The first waiting room: its users and its rooms, each in its columns.
  Click(start->GetRoomButton(0)->m_hWnd);
  CTirvoDListView* lobby = nullptr;
  ASSERT_TRUE(Answered([&] {
    lobby = frame->GetWaitingRoomView();
    return lobby && lobby->GetUserList().GetItemCount() == 6 && lobby->GetRoomList().GetItemCount() == 3;
  }));
  CListCtrl& users = lobby->GetUserList();
  const int alice = FindRow(users, 0, "alice");
  ASSERT_GE(alice, 0);
  EXPECT_EQ(users.GetItemText(alice, 1), "5D");
  EXPECT_EQ(users.GetItemText(alice, 2), Cp949("앨리스"));
  EXPECT_EQ(users.GetItemText(alice, 3), Cp949("한빛 대기실"));
  CListCtrl& rooms = lobby->GetRoomList();
  const int room = FindRow(rooms, 1, "7");
  ASSERT_GE(room, 0);
  EXPECT_EQ(rooms.GetItemText(room, 4), "demo(2D)");
  EXPECT_EQ(rooms.GetItemText(room, 8), Cp949("같이 두실 분!"));
  EXPECT_EQ(rooms.GetItemText(room, 2), "Wait");
  EXPECT_TRUE(Picture("orvanta-demo-waiting-room.png"));

  // Room 7: chosen in the list, joined with the menu pane's button.
  CRect row;
  rooms.GetItemRect(room, &row, LVIR_BOUNDS);
  Click(rooms.m_hWnd, CPoint(row.left + 40, row.CenterPoint().y));
  ASSERT_TRUE(Answered([&] { return frame->GetWaitingRoomView() == lobby && rooms.GetNextItem(-1, LVNI_SELECTED) == room; }));
  Click(frame->GetMainMenu()->GetButton(MenuButton::kJoinRoom)->m_hWnd);
  CDagukRoomView* view = nullptr;
  ASSERT_TRUE(Answered([&] {
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    return view && view->GetRoom() && view->GetRoom()->GetRoomState() == 0x42;
  }));
  EXPECT_EQ(view->GetRoom()->GetPaneText(CGameRoom::kWhiteName), "demo");

  // Five moves clicked on the board; each comes back played and demo answers it.
  const HWND board = view->GetBoardControl().m_hWnd;
  const std::pair<int, int> points[] = {{3, 15}, {15, 3}, {9, 15}, {3, 3}, {15, 15}};
  for (int i = 0; i < 5; ++i) {
    Click(board, PointOnBoard(board, points[i].first, points[i].second));
    ASSERT_TRUE(Answered([&] { return view->GetRoom()->GetMoveCounter() == 2 * (i + 1); })) << "move " << i + 1;
  }
  EXPECT_EQ(Moves(), (std::vector<std::string>{"|1|7|B[pd]", "|1|7|B[dp]", "|1|7|B[pj]", "|1|7|B[dd]", "|1|7|B[pp]"}));
  EXPECT_EQ(view->GetRoom()->GetRecord().GetTotalMoves(), 10);
  EXPECT_EQ(view->GetBoardControl().GetLastColor(), 4);
  EXPECT_NE(view->GetRoom()->GetChatText().Find("[demo]"), -1);
  EXPECT_TRUE(Picture("orvanta-demo-game.png"));

  // Big Screen (F11): the room covers the whole screen, no caption, no border; F11 again puts the
  // frame back where it was, with its menu bar.
  const CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  const CRect shown = NativeFrameRect();
  CRect placed;
  frame->GetWindowRect(&placed);
  m_person->Key(frame->m_hWnd, XK_F11);
  ASSERT_TRUE(Answered([&] { return frame->IsFullScreen() && NativeFrameRect() == screen; }))
      << "shown at " << NativeFrameRect().left << "," << NativeFrameRect().top << " " << NativeFrameRect().Width()
      << "x" << NativeFrameRect().Height();
  EXPECT_EQ(frame->GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
  CRect client;
  frame->GetClientRect(&client);
  EXPECT_EQ(client.Size(), screen.Size());
  EXPECT_TRUE(Picture("orvanta-demo-big-screen.png"));
  m_person->Key(frame->m_hWnd, XK_F11);
  ASSERT_TRUE(Answered([&] { return !frame->IsFullScreen() && NativeFrameRect() == shown; }));
  CRect back;
  frame->GetWindowRect(&back);
  EXPECT_EQ(back, placed);
  EXPECT_NE(::GetMenu(frame->m_hWnd), nullptr);

  // The game saved from the menu bar through the on-screen file dialog: a name typed, Enter.
  screentest::ScreenPerson& person = *m_person;
  const std::string saved = m_folder.Path() + "/demo.sgf";
  person.ThenChoose(ID_FILE_SAVE);
  person.Then([] { return FileNameFocused("Save As"); }, [&] { person.Type(ShownDialog("Save As"), "demo.sgf"); });
  person.Then([] { return FileNameShown("Save As") == "demo.sgf"; },
              [&] {
                EXPECT_TRUE(person.Snapshot(ShownDialog("Save As"), "orvanta-demo-save.png"));
                person.Key(ShownDialog("Save As"), XK_Return);
              });
  ASSERT_TRUE(person.Drive([&] {
    person.ClickMenuTitle(frame->m_hWnd, 0);
    WaitFor([&] { return std::filesystem::exists(saved) && !ShownDialog("Save As"); });
  }));
  const std::string text = Contents(saved);
  EXPECT_EQ(text.rfind("(;FF[4]GM[1]SZ[19]", 0), 0u) << text;
  const std::vector<std::string> played = PlayedMoves(text);
  ASSERT_EQ(played.size(), 10u) << text;
  EXPECT_EQ(played[0], "B[pd]");
  EXPECT_EQ(played[2], "B[dp]");
  EXPECT_EQ(played[4], "B[pj]");
  EXPECT_EQ(played[6], "B[dd]");
  EXPECT_EQ(played[8], "B[pp]");
  EXPECT_EQ(played[9], "W[jj]");
  EXPECT_NE(text.find("\r\n"), std::string::npos);  // a file's lines end in CR LF

  // Open Play Record picks it in the dialog and shows it for review, every move and both players.
  CGameReviewDlg* review = nullptr;
  int reviewMoves = -1;
  CString black, white;
  person.ThenChoose(ID_FILE_OPEN);
  person.Then([] { return FileLine("Open", "demo.sgf") >= 0; },
              [&] { person.ClickFileLine("Open", "demo.sgf", true); });
  person.Then([&] { return (review = ShownReview()) != nullptr; },
              [&] {
                reviewMoves = review->GetRecord().GetTotalMoves();
                review->GetDlgItemText(static_cast<int>(CGameReviewDlg::kBlackName), black);
                review->GetDlgItemText(static_cast<int>(CGameReviewDlg::kWhiteName), white);
                person.Click(review->GetDlgItem(static_cast<int>(CGameReviewDlg::kClose))->m_hWnd);
              });
  ASSERT_TRUE(person.Drive([&] {
    person.ClickMenuTitle(frame->m_hWnd, 0);
    WaitFor([&] { return reviewMoves >= 0 && !ShownReview(); });
  }));
  EXPECT_EQ(reviewMoves, 10);
  EXPECT_EQ(black, kUserId);
  EXPECT_EQ(white, "demo");
}

// A person goes through every place by clicks: a waiting room, the forum, its board and back by
// the waiting-room list, the waiting room again and a game room with a move, its review, leaving
// it, another waiting room, and a room joined by an invitation with a move (the rejoined game at
// login is the next test). The peer checks each request against the place it put the person in.
TEST_F(DemoServerX11Test, EveryPlaceAPersonVisitsNamesItselfInItsRequests) {
  frame->RunLoginPass();
  ASSERT_TRUE(WaitFor([&] { return frame->GetStartView() && frame->IsNoticeShown(); }));
  frame->EndWaitCapture();
  m_keysForBoxes = true;  // the leave question is answered Yes

  // The first waiting room, then the forum through the start screen, its board, and the
  // waiting-room list back to the start screen.
  ASSERT_NE(EnterFromStart(0), nullptr);
  ClickMenu(MenuButton::kLeave);
  COrvantaView* start = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (start = frame->GetStartView()) && start->GetRoomButtonCount() == 4; }));
  Click(start->GetRoomButton(3)->m_hWnd);
  CAssociationView* forum = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (forum = frame->GetForumView()) && forum->GetList().GetItemCount() == 2; }));
  CRect row;
  forum->GetList().GetItemRect(0, &row, LVIR_BOUNDS);
  Click(forum->GetList().m_hWnd, CPoint(row.left + 20, row.CenterPoint().y));
  ASSERT_TRUE(WaitFor([&] { return forum->GetButtonCount() == 3; }));
  Click(forum->GetButton(1)->m_hWnd);
  ASSERT_TRUE(WaitFor([&] { return frame->GetBoardView() != nullptr; }));
  ClickMenu(MenuButton::kWaitingRoomList);

  // The first waiting room again: its requests, the room's and the move name it, not the board.
  CTirvoDListView* lobby = EnterFromStart(0);
  ASSERT_NE(lobby, nullptr);
  EXPECT_NE(Title().find(Cp949("한빛 대기실")), std::string::npos) << Title();
  CDagukRoomView* view = JoinRoom7(lobby);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(PlayMove(view, 3, 15));
  EXPECT_EQ(Moves().back(), "|1|7|B[pd]");

  // The person resigns, asks for the game's review in the room, then leaves: back to the
  // waiting room the room was joined from.
  ClickMenu(MenuButton::kResign);
  // The result's message box is closed first.
  ASSERT_TRUE(WaitFor([&] {
    return frame->GetMainMenu()->GetButton(MenuButton::kReview)->IsWindowEnabled() && ::GetActiveWindow() == frame->m_hWnd;
  }));
  ClickMenu(MenuButton::kReview);
  ASSERT_TRUE(WaitFor([&] {
    const std::vector<PeerRecord> sent = peer.Records();
    return std::any_of(sent.begin(), sent.end(), [](const PeerRecord& r) { return r.Is(4, 27) && r.payload == "|1|7||3|minsu|"; });
  }));
  ClickMenu(MenuButton::kLeave);
  ASSERT_TRUE(WaitFor([&] { return (lobby = frame->GetWaitingRoomView()) && lobby->GetRoomList().GetItemCount() == 3; }));
  EXPECT_NE(Title().find(Cp949("한빛 대기실")), std::string::npos) << Title();

  // Another waiting room; demo invites the person into room 7, where the seat cell reads
  // "demo(2D)": the invitation is accepted and a move is played there.
  ClickMenu(MenuButton::kLeave);
  lobby = EnterFromStart(1);
  ASSERT_NE(lobby, nullptr);
  EXPECT_NE(Title().find(Cp949("은하수 대기실")), std::string::npos) << Title();
  peer.Send({{GameServerPeer::Record(1, 12, "|2|7||3|demo|" + std::string(Cp949("데모")) + "|2D|hi|x|"), 0}});
  view = ShownGame();
  ASSERT_NE(view, nullptr);
  const std::vector<PeerRecord> records = peer.Records();
  EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const PeerRecord& r) { return r.Is(4, 3) && r.payload == "|2|7||"; }));
  ASSERT_TRUE(PlayMove(view, 15, 3));
  EXPECT_EQ(Moves().back(), "|2|7|B[dp]");
  EXPECT_TRUE(peer.PlaceFaults().empty());
}

TEST_F(DemoServerX11Test, HanaGoesBackToHerUnfinishedGameAndPlaysOn) {
  m_userId = "hana";
  m_keysForBoxes = true;
  frame->RunLoginPass();
  // The resume question is answered Yes; the room comes with the game's six moves on the board.
  CDagukRoomView* view = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    return view && view->GetRoom() && view->GetRoom()->GetMoveCounter() == 6 &&
           view->GetRoom()->GetPaneText(CGameRoom::kStatus) == "In Playing";
  }));
  m_keysForBoxes = false;
  // The room was joined by the login reply's texts.
  const std::vector<PeerRecord> records = peer.Records();
  EXPECT_TRUE(std::any_of(records.begin(), records.end(),
                          [](const PeerRecord& r) { return r.Is(5, 3) && r.payload == "|1|7|7|"; }));
  CGameRoom& room = *view->GetRoom();
  EXPECT_EQ(room.GetPaneText(CGameRoom::kBlackName), "hana");
  EXPECT_EQ(room.GetPaneText(CGameRoom::kWhiteName), "demo");
  EXPECT_EQ(room.GetRecord().GetTotalMoves(), 6);
  EXPECT_EQ(view->GetBoardControl().GetLastColor(), 4);
  EXPECT_TRUE(Picture("orvanta-demo-resumed-game.png"));

  // hana plays on: each click goes to the server in the room, and demo answers.
  const HWND board = view->GetBoardControl().m_hWnd;
  const std::pair<int, int> points[] = {{9, 3}, {15, 9}};
  for (int i = 0; i < 2; ++i) {
    Click(board, PointOnBoard(board, points[i].first, points[i].second));
    ASSERT_TRUE(WaitFor([&] { return room.GetMoveCounter() == 6 + 2 * (i + 1); })) << "move " << i + 1;
  }
  std::vector<std::string> moves;
  for (const PeerRecord& r : peer.Records())
    if (r.Is(5, 14)) moves.push_back(r.payload.substr(0, r.payload.find("|BL[")));
  EXPECT_EQ(moves, (std::vector<std::string>{"|1|7|B[dj]", "|1|7|B[jp]"}));
  EXPECT_EQ(room.GetRecord().GetTotalMoves(), 10);
  EXPECT_NE(room.GetChatText().Find("[demo]"), -1);
  EXPECT_TRUE(Picture("orvanta-demo-resumed-play.png"));

  // Leaving the rejoined room after resigning goes to the waiting room the login reply named, by
  // name and key.
  m_keysForBoxes = true;
  ClickMenu(MenuButton::kResign);
  ASSERT_TRUE(WaitFor([&] { return frame->GetMainMenu()->GetButton(MenuButton::kLeave)->IsWindowEnabled(); }));
  ClickMenu(MenuButton::kLeave);
  CTirvoDListView* lobby = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (lobby = frame->GetWaitingRoomView()) && lobby->GetRoomList().GetItemCount() == 3; }));
  EXPECT_NE(Title().find(Cp949("한빛 대기실")), std::string::npos) << Title();
  const std::vector<PeerRecord> after = peer.Records();
  EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](const PeerRecord& r) { return r.Is(5, 4) && r.payload == "|1|7|"; }));
  EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](const PeerRecord& r) { return r.Is(3, 1) && r.payload == "|1|"; }));
}

}  // namespace
