// The view's commands and their enabling, the connection's refusals and the dialogs of the view.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "client/app/DelayTimeDlg.h"
#include "platform/cmdtarget.h"
#include "platform/testinput.h"

namespace {

using clienttest::ClickButton;
using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

// The enabled and checked state a command's update handler leaves.
struct CommandState {
  bool handled{false};
  bool enabled{true};
  int checked{0};
};

class ProbeCmdUI : public CCmdUI {
public:
  void Enable(BOOL on) override {
    m_bEnableChanged = TRUE;
    state.enabled = on != FALSE;
  }
  void SetCheck(int check) override { state.checked = check; }
  void SetText(LPCTSTR) override {}
  CommandState state;
};

CommandState Probe(CClientView& view, UINT id) {
  ProbeCmdUI ui;
  ui.m_nID = id;
  ui.state.handled = ui.DoUpdate(&view, FALSE) != FALSE;
  return ui.state;
}

const char* kGame =
    "am|001|b|pd|1999999000|010000|010000\n"
    "am|002|w|dp|1999999001|010000|010000\n"
    "am|003|b|pp|1999999002|010000|010000\n"
    "te|2|second\n"
    "eh\n";

TEST(ClientViewCommandsTest, NavigationClampsAndTheEnablingFollowsThePosition) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kGame, [&] { return view.IsHistoryComplete(); }));

  EXPECT_FALSE(Probe(view, ID_MOVE_NEXT).enabled);  // at the last move
  EXPECT_TRUE(Probe(view, ID_MOVE_FIRST).enabled);
  EXPECT_TRUE(Probe(view, ID_FILE_SAVE_AS).enabled);
  EXPECT_FALSE(Probe(view, ID_FILE_OPEN).enabled);  // connected
  EXPECT_FALSE(Probe(view, ID_CONNECT).enabled);
  EXPECT_TRUE(Probe(view, ID_DISCONNECT).enabled);
  EXPECT_TRUE(Probe(view, ID_GAME_INFO).enabled);
  EXPECT_FALSE(Probe(view, ID_DELAY_SETUP).enabled);  // no voice stream
  EXPECT_EQ(Probe(view, ID_VIEW_COORDINATE).checked, 1);

  view.OnMoveNext();  // at the last move: nothing
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);

  // A typed move beyond the game goes to the last one, a negative one to the start.
  view.SetDlgItemText(IDC_MOVE_EDIT, "99");
  view.JumpToTypedMove();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "3");
  view.SetDlgItemText(IDC_MOVE_EDIT, "-4");
  view.JumpToTypedMove();
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 0);
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "0");
  EXPECT_TRUE(Probe(view, ID_MOVE_NEXT).enabled);
  EXPECT_FALSE(Probe(view, ID_MOVE_PREV).enabled);

  // While the user looks back, new moves wait; back at the end they are shown together.
  view.OnMoveNext();
  ASSERT_TRUE(s.Relay("am|004|w|dd|1999999003|010000|010000\n",
                      [&] { return view.GetDelayQueue().GetMoveCount() == 4; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 3);
  view.OnMoveLast();
  platform::Clock::Advance(500);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 4);

  // The move box shows the position whichever way the board moves: each button, a move from the
  // relay, a number typed and sent; a number being typed stays until the person moves.
  s.frame->ShowWindow(SW_SHOW);
  s.IdleAsTheProgramDoes();
  const auto box = [&] { return Str(s.Text(IDC_MOVE_EDIT)); };
  EXPECT_EQ(box(), "4");
  const struct {
    int button;
    const char* shown;
  } steps[] = {{IDC_BTN_FIRST, "0"}, {IDC_BTN_NEXT, "1"}, {IDC_BTN_NEXT, "2"}, {IDC_BTN_LAST, "4"}, {IDC_BTN_PREV, "3"}};
  for (const auto& step : steps) {
    ClickButton(view, step.button);
    EXPECT_EQ(box(), step.shown) << step.button;
    EXPECT_EQ(box(), std::to_string(view.GetBoard().GetCurrentMove()));
  }
  ClickButton(view, IDC_BTN_LAST);
  ASSERT_TRUE(s.Relay("am|005|b|jj|1999999004|010000|010000\n", [&] { return view.GetBoard().GetLastMove() == 5; }));
  EXPECT_EQ(box(), "5");
  CWnd* edit = view.GetDlgItem(IDC_MOVE_EDIT);
  edit->SetFocus();
  edit->SendMessage(EM_SETSEL, 0, -1);
  platform::input::TypeText("2");
  ASSERT_TRUE(s.Relay("am|006|w|jd|1999999005|010000|010000\n", [&] { return view.GetBoard().GetLastMove() == 6; }));
  EXPECT_EQ(box(), "2");
  platform::input::PressKey(VK_RETURN);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 2);
  EXPECT_EQ(box(), "2");
  ClickButton(view, IDC_BTN_NEXT);
  EXPECT_EQ(box(), "3");
  // A number typed and left without Return, the person gone on to the question box: the box
  // shows the board again, and the moves that follow.
  ClickButton(view, IDC_BTN_LAST);
  edit->SetFocus();
  edit->SendMessage(EM_SETSEL, 0, -1);
  platform::input::TypeText("4");
  ClickButton(view, IDC_QUESTION_EDIT);
  EXPECT_EQ(box(), "6");
  ASSERT_TRUE(s.Relay("am|007|b|dj|1999999006|010000|010000\n", [&] { return view.GetBoard().GetLastMove() == 7; }));
  EXPECT_EQ(box(), "7");

  // Connecting anew starts an empty game: the box is empty until the first move arrives.
  view.OnDisconnectCommand();
  view.SendMessage(WM_COMMAND, ID_CONNECT, 0);
  ASSERT_TRUE(view.IsConnected());
  EXPECT_EQ(box(), "");
  ASSERT_TRUE(s.Relay("am|001|b|pd|1999999000|010000|010000\neh\n", [&] { return view.GetBoard().GetLastMove() == 1; }));
  EXPECT_EQ(box(), "1");
}

TEST(ClientViewCommandsTest, AutoViewStepsOnTheTimerAndStopsAtTheLastMove) {
  Session s;
  s.script.onDialog = [](UINT templateId, HWND) -> std::optional<INT_PTR> {
    return templateId == IDD_AUTOVIEWTIME ? std::optional<INT_PTR>(IDOK) : std::nullopt;
  };
  s.Start();
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kGame, [&] { return view.IsHistoryComplete(); }));
  view.OnMoveFirst();
  view.OnAutoView();
  ASSERT_TRUE(view.IsAutoViewRunning());
  EXPECT_EQ(view.GetAutoViewInterval(), 3000);  // the dialog's default
  platform::Clock::Advance(3500);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 1);
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "1");
  platform::Clock::Advance(3500);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 2);
  EXPECT_EQ(Str(s.Text(IDC_COMMENT_PANE)), "[002] second\r\n");
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "2");
  platform::Clock::Advance(7000);
  EXPECT_EQ(view.GetBoard().GetCurrentMove(), 3);
  EXPECT_EQ(Str(s.Text(IDC_MOVE_EDIT)), "3");
  EXPECT_FALSE(view.IsAutoViewRunning());
}

TEST(ClientViewCommandsTest, ButtonBarHidesTheMoveEditToo) {
  Session s;
  s.Start();
  CClientView& view = *s.view;
  ASSERT_TRUE(view.GetDlgItem(IDC_MOVE_EDIT)->IsWindowVisible());
  view.SendMessage(WM_COMMAND, ID_VIEW_BUTTONBAR, 0);
  EXPECT_FALSE(view.IsButtonBarShown());
  EXPECT_FALSE(view.GetDlgItem(IDC_MOVE_EDIT)->IsWindowVisible());
  EXPECT_FALSE(view.GetDlgItem(IDC_BTN_EXIT)->IsWindowVisible());
  EXPECT_EQ(Probe(view, ID_VIEW_BUTTONBAR).checked, 0);
  view.SendMessage(WM_COMMAND, ID_VIEW_BUTTONBAR, 0);
  EXPECT_TRUE(view.GetDlgItem(IDC_MOVE_EDIT)->IsWindowVisible());
}

TEST(ClientViewCommandsTest, ConnectionRefusalsLeaveTheViewUsable) {
  {
    // Cancel in the login dialog: no connection and no message.
    Session s;
    s.script.login = false;
    s.Start();
    ASSERT_NE(s.view, nullptr);
    EXPECT_FALSE(s.view->IsConnected());
    EXPECT_TRUE(s.script.messages.empty());
    EXPECT_TRUE(Probe(*s.view, ID_CONNECT).enabled);
  }
  {
    // A refused login closes the socket, so Connect works again at once.
    Session s;
    s.peer.SetLoginReply("ua|no\n");
    s.Start();
    EXPECT_FALSE(s.view->IsConnected());
    ASSERT_FALSE(s.script.messages.empty());
    EXPECT_EQ(s.script.messages.back(), "Confirm user's id and password.");
  }
  {
    Session s;
    GetClientConfig().SetClientPort(0);
    s.Start();
    EXPECT_FALSE(s.view->IsConnected());
    ASSERT_FALSE(s.script.messages.empty());
    EXPECT_EQ(s.script.messages.back(), "Configuration of Server connection is invalid. Retry Configuration.");
  }
}

TEST(ClientViewCommandsTest, DelayDialogShowsDragsAndAppliesOnRelease) {
  Session s;
  s.script.voice = true;
  s.Start();
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("mu|rtsp://relay/x.rm\neh\n", [&] { return view.IsHistoryComplete(); }));
  EXPECT_TRUE(Probe(view, ID_DELAY_SETUP).enabled);
  view.OnDelaySetup();
  ASSERT_TRUE(view.IsDelayDialogOpen());
  EXPECT_EQ(Probe(view, ID_DELAY_SETUP).checked, 1);
  CWnd* dialog = view.GetDelayDialog();
  ASSERT_NE(dialog, nullptr);
  CWnd* slider = dialog->GetDlgItem(IDC_DELAY_SLIDER);
  EXPECT_EQ(Str([&] { CString t; dialog->GetDlgItemText(IDC_DELAY_VALUE, t); return t; }()), "00 : 00 : 00");
  // Dragging to 480 shows two minutes; the queue changes only when the slider is let go.
  slider->SendMessage(TBM_SETPOS, TRUE, 480);
  dialog->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 480), reinterpret_cast<LPARAM>(slider->GetSafeHwnd()));
  CString shown;
  dialog->GetDlgItemText(IDC_DELAY_VALUE, shown);
  EXPECT_EQ(Str(shown), "00 : 02 : 00");
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 0);
  dialog->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(slider->GetSafeHwnd()));
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 120);

  // The upright spin: each click on its lower arrow steps once (a vertical scroll), the slider
  // follows and the delay shows; the release (SB_ENDSCROLL, as the control sends it) applies it.
  CWnd* spin = dialog->GetDlgItem(IDC_DELAY_SPIN);
  ASSERT_NE(spin, nullptr);
  CRect spinRect;
  spin->GetClientRect(&spinRect);
  spin->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spinRect.Width() / 2, spinRect.Height() - 2));
  EXPECT_EQ(slider->SendMessage(TBM_GETPOS), 479);
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 120);  // not yet let go
  spin->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(spinRect.Width() / 2, spinRect.Height() - 2));
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 121);
  for (int i = 0; i < 4; ++i) {
    spin->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spinRect.Width() / 2, spinRect.Height() - 2));
    spin->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(spinRect.Width() / 2, spinRect.Height() - 2));
  }
  EXPECT_EQ(slider->SendMessage(TBM_GETPOS), 475);
  dialog->GetDlgItemText(IDC_DELAY_VALUE, shown);
  EXPECT_EQ(Str(shown), "00 : 02 : 05");
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 125);
  // The upper arrow goes back towards no delay.
  spin->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spinRect.Width() / 2, 1));
  spin->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(spinRect.Width() / 2, 1));
  EXPECT_EQ(slider->SendMessage(TBM_GETPOS), 476);
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 124);

  // It opened at the view's top left, not over the frame's menu and tool bar.
  CRect placed;
  dialog->GetWindowRect(&placed);
  CPoint viewOrigin(0, 0);
  view.ClientToScreen(&viewOrigin);
  EXPECT_EQ(placed.TopLeft(), viewOrigin);
  // Its Close button asks the view, which closes it.
  dialog->SendMessage(WM_COMMAND, IDOK, 0);
  platform::PumpMessages();
  EXPECT_FALSE(view.IsDelayDialogOpen());
  EXPECT_EQ(CDelayTimeDlg::FormatDuration(600), "00 : 10 : 00");
}

TEST(ClientViewCommandsTest, ViewChangeTurnsTheBoardAndBack) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kGame, [&] { return view.IsHistoryComplete(); }));
  CBadukCtrl& board = view.GetBoard();
  const CPoint upperRight = board.CellCentre(16, 4);  // black's first stone, "pd"
  const CPoint lowerLeft = board.CellCentre(4, 16);   // white's, "dp"

  view.SendMessage(WM_COMMAND, ID_VIEW_CHANGE, 0);
  EXPECT_TRUE(board.GetHalfTurn());
  EXPECT_EQ(board.CellCentre(16, 4), lowerLeft);
  EXPECT_EQ(board.HitTest(lowerLeft), CPoint(16, 4));
  EXPECT_EQ(board.GetLastMove(), 3);  // the game is untouched

  view.SendMessage(WM_COMMAND, ID_VIEW_CHANGE, 0);
  EXPECT_FALSE(board.GetHalfTurn());
  EXPECT_EQ(board.CellCentre(16, 4), upperRight);
}

}  // namespace

