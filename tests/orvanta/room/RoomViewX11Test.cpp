// The game room on an X server, used as a person uses it: the board and panel where they belong,
// the stones as the X window shows them, the pane tips under the mouse and a double click on a
// player's name.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <platform/display.h>
#include <platform/gdi.h>
#include <platform/time.h>

#include "../app/MainFrameFixture.h"
#include "orvanta/room/DagukRoomView.h"
#include "platform/display/XvfbServer.h"
#include "support/NativeWindowOrigin.h"
#include "support/SnapshotPath.h"
#include "support/StolvexModuleHome.h"
#include "platform/display/XPointerKeys.h"  // last but Xlib: its macros

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

std::uint32_t RgbOf(unsigned long pixel, const Visual& visual) {
  auto channel = [pixel](unsigned long mask) -> std::uint32_t {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
  };
  return channel(visual.red_mask) << 16 | channel(visual.green_mask) << 8 | channel(visual.blue_mask);
}

int Light(std::uint32_t rgb) { return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3; }

class RoomViewX11Test : public MainFrameTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    m_displayName = name;
    ASSERT_TRUE(m_control.Registered());
  }
  void TearDown() override {
    platform::display::UseHeadless();
    if (m_observer) XCloseDisplay(m_observer);
  }
  void Server(int minor, const std::string& payload) {
    peer.Send({{GameServerPeer::Record(5, minor, payload), 0}});
    PumpFor(40);
  }
  // The room of a game with two stones, then the frame shown on the X server.
  void EnterGameOnX() {
    LogIn();
    frame->SetWaitingRoomKey("1", "k");
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
    Server(2, "|12|");
    Server(3, "|12|hc|carol|Carol|3k|1|3|1|");
    ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    ASSERT_NE(nullptr, view);
    Server(10, "||");
    Server(12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
    // Black (the user) goes into byo-yomi with his move; white has main time left.
    Server(14, "|a|b|1|B[pd]|BL[15]|");
    Server(14, "|a|b|2|W[dd]|WL[78]|");
    ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetMoveCounter() == 2; }));
    frame->EndWaitCapture();
    ASSERT_TRUE(platform::display::UseX11Display(m_displayName.c_str()));
    m_observer = XOpenDisplay(m_displayName.c_str());
    ASSERT_NE(m_observer, nullptr);
    frame->SetWindowPos(nullptr, 0, 0, 820, 700, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    Redraw();
  }
  void Redraw() { frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN); }
  // What the frame's X window shows now.
  platform::Surface Grab() {
    platform::display::Sync();
    platform::PumpMessages();
    platform::display::Sync();
    const Window native = platform::display::NativeWindowOf(frame->m_hWnd);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, native, &attributes);
    XImage* image = XGetImage(m_observer, native, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    platform::Surface shot(attributes.width, attributes.height);
    if (!image) return shot;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) shot.Row(y)[x] = RgbOf(XGetPixel(image, x, y), *attributes.visual);
    XDestroyImage(image);
    return shot;
  }
  // A point of a child window in the coordinates of the frame's X window.
  POINT InFrame(CWnd& child, POINT point) {
    child.ClientToScreen(&point);
    const POINT origin = testsupport::NativeWindowOrigin(m_observer, frame->m_hWnd);
    return POINT{point.x - origin.x, point.y - origin.y};
  }
  POINT BoardPoint(int row, int col, int below = 0) {
    CRect r;
    view->GetBoardControl().GetClientRect(&r);
    const int px = r.Width() / 19, py = r.Height() / 19;
    POINT p{col * px + px / 2 + (r.Width() % 19) / 2, row * py + py / 2 + (r.Height() % 19) / 2 + below};
    return InFrame(view->GetBoardControl(), p);
  }
  POINT PaneCentre(UINT id) {
    CWnd* pane = view->GetDlgItem(static_cast<int>(id));
    CRect r;
    pane->GetClientRect(&r);
    return InFrame(*pane, r.CenterPoint());
  }
  static std::uint32_t At(const platform::Surface& shot, POINT p) { return shot.Row(p.y)[p.x]; }
  void SendMotion(POINT p) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = platform::display::NativeWindowOf(frame->m_hWnd);
    event.xmotion.root = DefaultRootWindow(m_observer);
    event.xmotion.x = p.x;
    event.xmotion.y = p.y;
    event.xmotion.same_screen = True;
    XSendEvent(m_observer, event.xmotion.window, False, PointerMotionMask, &event);
    XSync(m_observer, False);
  }
  void SendButton(POINT p, bool press, Time time) {
    XEvent event{};
    event.xbutton.type = press ? ButtonPress : ButtonRelease;
    event.xbutton.window = platform::display::NativeWindowOf(frame->m_hWnd);
    event.xbutton.root = DefaultRootWindow(m_observer);
    event.xbutton.x = p.x;
    event.xbutton.y = p.y;
    event.xbutton.time = time;
    event.xbutton.button = Button1;
    event.xbutton.state = press ? 0 : Button1Mask;
    event.xbutton.same_screen = True;
    XSendEvent(m_observer, event.xbutton.window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
    XSync(m_observer, False);
  }

  // Whether the chat pane shows the line that holds text: among the lines in sight, with ink on
  // its row of the X window.
  bool ChatShows(const platform::Surface& shot, const std::string& text) {
    auto* edit = static_cast<CEdit*>(view->GetDlgItem(CDagukRoomView::kChatOutputId));
    int line = -1;
    for (int i = edit->GetLineCount() - 1; i >= 0 && line < 0; --i) {
      char buffer[256] = {};
      const int n = edit->GetLine(i, buffer, sizeof buffer - 1);
      if (std::string(buffer, static_cast<std::size_t>(std::max(n, 0))).find(text) != std::string::npos) line = i;
    }
    const int first = edit->GetFirstVisibleLine();
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(edit->m_hWnd, SB_VERT, &info);
    if (line < first || line >= first + static_cast<int>(info.nPage)) return false;
    TEXTMETRIC tm{};
    {
      CClientDC dc(edit);
      if (auto font = reinterpret_cast<HGDIOBJ>(edit->SendMessage(WM_GETFONT))) dc.SelectObject(font);
      dc.GetTextMetrics(&tm);
    }
    CRect client;
    edit->GetClientRect(&client);
    const int top = 3 + (line - first) * tm.tmHeight;
    const POINT ground = InFrame(*edit, POINT{client.right - 3, top + tm.tmHeight / 2});
    const std::uint32_t paper = At(shot, ground);
    int ink = 0;
    for (int y = top; y < top + tm.tmHeight && y < client.bottom; ++y) {
      for (int x = 2; x < client.right - 6; ++x) {
        const std::uint32_t p = At(shot, InFrame(*edit, POINT{x, y}));
        ink += std::abs(Light(p) - Light(paper)) > 60;
      }
    }
    return ink > 10;
  }

  std::string m_displayName;
  Display* m_observer{nullptr};
  testsupport::StolvexModuleHome m_control;
  platform::ManualClockScope m_manual{1796810400};
  CDagukRoomView* view{nullptr};
};

}  // namespace

TEST_F(RoomViewX11Test, TheRoomAsAPersonSeesAndUsesIt) {
  EnterGameOnX();
  // The board is the largest square left of the panel, centred in the client width less 285.
  CRect client;
  view->GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  CRect board;
  view->GetBoardControl().GetWindowRect(&board);
  view->ScreenToClient(&board);
  const int side = std::min(w - 285, h);
  EXPECT_EQ(CRect((w - 285 - side) / 2, (h - side) / 2, (w - 285 - side) / 2 + side, (h - side) / 2 + side), board);
  // The panel's panes from its left edge at W - 285.
  const int p = w - 285;
  struct Place {
    UINT id;
    CRect rect;
  };
  for (const Place& place : {Place{CGameRoom::kWhiteName, CRect(p + 5, 4, p + 140, 24)},
                             Place{CGameRoom::kBlackName, CRect(p + 150, 4, p + 280, 24)},
                             Place{CGameRoom::kWhiteMain, CRect(p + 36, 138, p + 136, 158)},
                             Place{CGameRoom::kMessage, CRect(p + 10, 291, p + 280, 311)},
                             Place{CDagukRoomView::kChatOutputId, CRect(p + 24, 318, p + 264, h - 23)}}) {
    CRect r;
    view->GetDlgItem(static_cast<int>(place.id))->GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_EQ(place.rect, r) << place.id;
  }
  EXPECT_EQ(CRect(p + 148, 4, p + 295, 24), view->GetCaptionArea(1));
  EXPECT_EQ(CRect(p + 10, 291, p + 280, 311), view->GetCaptionArea(10));

  // The stones as the X window shows them: black dark at pd, white light at dd, an empty point
  // neither.
  platform::Surface shot = Grab();
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-game-room.png").c_str()));
  const int third = (board.Height() / 19) / 3;
  EXPECT_LT(Light(At(shot, BoardPoint(3, 15, third))), 90);
  EXPECT_GT(Light(At(shot, BoardPoint(3, 3, third))), 170);
  // The captured counts in yellow on their dark face.
  const std::uint32_t captured = At(shot, InFrame(*view->GetDlgItem(CGameRoom::kBlackCaptured), POINT{2, 2}));
  EXPECT_EQ(RGB(72, 50, 19), RGB((captured >> 16) & 0xFF, (captured >> 8) & 0xFF, captured & 0xFF));

  // The mouse over a name pane shows its tip, over a captured pane that pane's.
  CToolTipCtrl& tip = view->GetToolTip();
  SendMotion(PaneCentre(CGameRoom::kBlackName));
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip.m_hWnd) != FALSE; }));
  CString text;
  tip.GetWindowText(text);
  EXPECT_EQ("Double Click, you can view user information.", text.str());
  SendMotion(PaneCentre(CGameRoom::kWhiteCaptured));
  ASSERT_TRUE(PumpUntil([&] {
    tip.GetWindowText(text);
    return text == "Captured White Stones" && ::IsWindowVisible(tip.m_hWnd);
  }));

  // A double click on the white player's name asks the server about lee.
  const POINT white = PaneCentre(CGameRoom::kWhiteName);
  SendButton(white, true, 1000);
  SendButton(white, false, 1040);
  SendButton(white, true, 1120);
  SendButton(white, false, 1160);
  EXPECT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.major == "10" && r.minor == "3" && r.payload == "|hl|lee|") return true;
    return false;
  }));
}

TEST_F(RoomViewX11Test, TheServersCountMarksOnlyTerritoryOnTheBoard) {
  EnterGameOnX();
  // The Confirm question is answered from timer steps while its loop runs: the clock runs for real.
  platform::Clock::SetManual(false);
  // An even game: every entry "0" but one black point at row 5, column 12.
  std::string owners(361, '0');
  owners[12 * 19 + 5] = '1';
  auto question = [] {
    CDialog* shown = platform::CurrentModalDialog();
    return shown && ::IsWindowVisible(shown->m_hWnd) ? shown->m_hWnd : HWND{};
  };
  // What the board shows while the question waits for the user, who then declines.
  platform::Surface shot;
  platform::testing::TimedSteps steps({{[&] { return question() != nullptr; },
                                        [&] {
                                          Redraw();
                                          shot = Grab();
                                          ::SendMessage(question(), WM_COMMAND, IDCANCEL, 0);
                                        }}},
                                      [&] {
                                        if (HWND q = question()) ::SendMessage(q, WM_COMMAND, IDCANCEL, 0);
                                      });
  Server(44, "|a|b|RE[B+0.5]|" + owners + "|1|2|1|2|6.5|");
  ASSERT_TRUE(PumpUntil([&] { return steps.Done(); }));
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-count.png").c_str()));
  CRect r;
  view->GetBoardControl().GetClientRect(&r);
  const int off = (r.Width() / 19) / 3;
  // Just beside a point's centre (clear of its grid lines) the mark shows; in a cell's corner the
  // bare board.
  auto beside = [&](int row, int col) {
    const POINT p = BoardPoint(row, col);
    return At(shot, POINT{p.x + 2, p.y + 2});
  };
  auto bare = [&](int row, int col) {
    const POINT p = BoardPoint(row, col);
    return At(shot, POINT{p.x + off, p.y + off});
  };
  EXPECT_LT(Light(beside(5, 12)), 90);
  // Points nobody owns look like the bare board round them (its grain aside).
  for (auto [row, col] : {std::pair{9, 5}, std::pair{17, 1}, std::pair{14, 8}})
    EXPECT_NEAR(Light(bare(row, col)), Light(beside(row, col)), 30) << row << "," << col;
}

TEST_F(RoomViewX11Test, TheChatPaneShowsItsNewestLinesAndTheMacroKeysWorkAfterAMessage) {
  EnterGameOnX();
  Server(6, "|a|b|c|lee|e|f|Good luck carol|");
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetChatText().Find("Good luck") >= 0; }));
  EXPECT_TRUE(ChatShows(Grab(), "[lee]Good luck carol"));
  // Thirty lines later the newest is in sight, and the bar still has its thumb at the end.
  for (int i = 1; i <= 30; ++i) Server(6, "|a|b|c|lee|e|f|line " + std::to_string(i) + "|");
  ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetChatText().Find("line 30") >= 0; }));
  platform::Surface shot = Grab();
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-room-chat.png").c_str()));
  EXPECT_TRUE(ChatShows(shot, "[lee]line 30"));
  EXPECT_TRUE(ChatShows(shot, "[lee]line 29"));
  EXPECT_FALSE(ChatShows(shot, "Good luck"));
  CWnd* chat = view->GetDlgItem(CDagukRoomView::kChatOutputId);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(chat->m_hWnd, SB_VERT, &info));
  EXPECT_EQ(info.nPos + static_cast<int>(info.nPage) - 1, info.nMax);
  // The person scrolls back a line with the bar: line 29 is still there, the line before it too.
  chat->SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_TRUE(ChatShows(Grab(), "[lee]line 28"));

  // The count's result line shows while its message waits; the person closes the message.
  platform::Clock::SetManual(false);
  auto box = [&]() -> HWND {
    HWND active = ::GetActiveWindow();
    return active && active != frame->m_hWnd && ::IsWindowVisible(active) ? active : HWND{};
  };
  bool resultShown = false;
  platform::testing::TimedSteps steps({{[&] { return box() != nullptr; },
                                        [&] {
                                          resultShown = ChatShows(Grab(), "Result:");
                                          ::SendMessage(box(), WM_COMMAND, IDOK, 0);
                                        }}},
                                      [&] {
                                        if (HWND b = box()) ::SendMessage(b, WM_COMMAND, IDOK, 0);
                                      });
  const std::string owners(361, '0');
  Server(45, "|a|b|1|RE[B+4.5]|" + owners + "|60|3|50|2|6.5|");
  ASSERT_TRUE(PumpUntil([&] { return steps.Done(); }));
  EXPECT_TRUE(resultShown);
  EXPECT_TRUE(ChatShows(Grab(), "Result:"));

  // With the message gone, F2 sends the first chat macro wherever the keyboard went.
  platform::testing::XPointerKeys keys(m_displayName);
  ASSERT_TRUE(keys.Ready());
  const std::string hello = Cp949("안녕하세요.");
  auto macroSent = [&] {
    for (const PeerRecord& r : peer.Records())
      if (r.payload.find(hello) != std::string::npos) return true;
    return false;
  };
  ASSERT_FALSE(macroSent());
  keys.Key(frame->m_hWnd, XK_F2);
  EXPECT_TRUE(PumpUntil(macroSent));
}

TEST_F(RoomViewX11Test, ThePanelFitsTheProgramsOwnSizeAndTheBackdropFollowsALargerOne) {
  EnterGameOnX();
  frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  Redraw();
  Grab();
  CRect client;
  view->GetClientRect(&client);
  // Every pane of the panel lies inside the view.
  for (UINT id : std::initializer_list<UINT>{CGameRoom::kWhiteName, CGameRoom::kBlackName, CGameRoom::kWhiteSecond, CGameRoom::kBlackSecond,
                  CGameRoom::kBlackCaptured, CGameRoom::kWhiteCaptured, CGameRoom::kBlackMain, CGameRoom::kWhiteMain,
                  CGameRoom::kBlackPeriods, CGameRoom::kWhitePeriods, CGameRoom::kObserverList, CGameRoom::kMessage,
                  static_cast<UINT>(CDagukRoomView::kChatOutputId)}) {
    CRect r;
    view->GetDlgItem(static_cast<int>(id))->GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_LE(r.right, client.right) << id;
    EXPECT_GE(r.left, 0) << id;
  }
  // The observer list shows its first three columns whole.
  auto* observers = static_cast<CListCtrl*>(view->GetDlgItem(CGameRoom::kObserverList));
  CRect list;
  observers->GetClientRect(&list);
  EXPECT_LE(observers->GetColumnWidth(0) + observers->GetColumnWidth(1) + observers->GetColumnWidth(2), list.Width());
  // The greeting fits its line.
  CWnd* message = view->GetDlgItem(CGameRoom::kMessage);
  CRect line;
  message->GetClientRect(&line);
  {
    CClientDC dc(message);
    if (auto font = reinterpret_cast<HGDIOBJ>(message->SendMessage(WM_GETFONT))) dc.SelectObject(font);
    const CSize extent = dc.GetTextExtent(CDagukRoomView::kGreeting);
    EXPECT_LE(extent.cx, line.Width());
  }

  // Larger: the desk and the panel's backdrop reach the new edges.
  // (The tests' X screen is 1024 x 768: all of the frame stays on it, to be read back.)
  frame->SetWindowPos(nullptr, 0, 0, 1020, 760, SWP_NOZORDER);
  platform::Surface shot = Grab();
  view->GetClientRect(&client);
  ASSERT_GT(client.Width(), 900);
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-room-large.png").c_str()));
  const std::uint32_t desk = At(shot, InFrame(*view, POINT{4, client.bottom - 4}));
  EXPECT_EQ(RGB(81, 68, 37), RGB((desk >> 16) & 0xFF, (desk >> 8) & 0xFF, desk & 0xFF));
  const std::uint32_t panel = At(shot, InFrame(*view, POINT{client.right - 4, client.bottom - 40}));
  const std::uint32_t panelTop = At(shot, InFrame(*view, POINT{client.right - 4, 60}));
  EXPECT_EQ(panelTop, panel);
  EXPECT_EQ(CDagukRoomView::kBackdrop, RGB((panel >> 16) & 0xFF, (panel >> 8) & 0xFF, panel & 0xFF));
}

// Keys pressed in the room's dialogs and questions are theirs: F2-F9 send no chat line, F11 leaves
// the frame where it is and Ctrl+S opens no Save As, in Search User, the opponent's undo question
// and the review dialog. Each is then answered by its own keys, and with all of them gone F2 in
// the room sends its macro again.
TEST_F(RoomViewX11Test, KeysPressedInTheRoomsDialogsAndQuestionsStayInThem) {
  EnterGameOnX();
  platform::Clock::SetManual(false);
  platform::testing::XPointerKeys keys(m_displayName);
  ASSERT_TRUE(keys.Ready());
  platform::display::Sync();
  CRect place;
  frame->GetWindowRect(&place);
  const CGiboRecord record = view->GetRoom()->GetRecord();
  // The window over the frame that has the keyboard, null while none is.
  auto over = [&]() -> HWND {
    HWND active = ::GetActiveWindow();
    if (!active || active == frame->m_hWnd || !::IsWindowVisible(active)) return nullptr;
    HWND focus = ::GetFocus();
    return focus && (focus == active || ::IsChild(active, focus)) ? active : nullptr;
  };
  auto sentSince = [&](std::size_t from, const char* minor) {
    std::vector<std::string> payloads;
    const std::vector<PeerRecord> records = peer.Records();
    for (std::size_t i = from; i < records.size(); ++i)
      if (records[i].major == "5" && records[i].minor == minor) payloads.push_back(records[i].payload);
    return payloads;
  };
  struct Case {
    const char* what;
    std::function<void()> show;
    std::vector<std::pair<KeySym, unsigned>> answer;  // the keys that then close it
  };
  const std::vector<Case> cases = {
      {"Search User", [&] { frame->SendMessage(WM_COMMAND, CMainFrame::kSearchUserCommand); }, {{XK_Escape, 0}}},
      // Escape leaves the question open; Return answers its default, Yes.
      {"the undo question", [&] { Server(16, "|a|b|"); }, {{XK_Escape, 0}, {XK_Return, 0}}},
      {"the review dialog", [&] { frame->ShowRecordForReview(record); }, {{XK_Escape, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t before = peer.Records().size();
    platform::testing::TimedSteps steps({{[&] { return over() != nullptr; },
                                          [&] {
                                            HWND shown = over();
                                            for (KeySym key = XK_F2; key <= XK_F9; ++key) keys.Key(shown, key);
                                            keys.Key(shown, XK_F11);
                                            keys.Key(shown, XK_s, ControlMask);
                                            for (auto [key, state] : c.answer) keys.Key(shown, key, state);
                                          }},
                                         {[&] { return over() == nullptr; }, [] {}}},
                                        [&] {
                                          if (HWND shown = over()) ::PostMessage(shown, WM_COMMAND, IDCANCEL, 0);
                                        });
    c.show();
    ASSERT_TRUE(PumpUntil([&] { return steps.Done(); }, 30000)) << steps.StepsDone();
    // F2 in the room now sends its macro: the line arrives after any the dialog's keys sent.
    keys.Key(frame->m_hWnd, XK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !sentSince(before, "6").empty(); }, 30000));
    EXPECT_EQ(sentSince(before, "6").size(), 1u) << "the dialog's keys sent " << sentSince(before, "6").front();
    CRect now;
    frame->GetWindowRect(&now);
    EXPECT_EQ(now, place);
    EXPECT_FALSE(frame->IsZoomed());
    EXPECT_TRUE(::IsWindowEnabled(frame->m_hWnd));
  }
  // The question was answered by Return, not declined by Escape.
  std::vector<std::string> answers;
  for (const PeerRecord& r : peer.Records())
    if (r.minor == "16") answers.push_back(r.payload);
  EXPECT_EQ(answers, std::vector<std::string>{"|a|b|1|"});
}
