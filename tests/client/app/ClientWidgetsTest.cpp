// The viewer's small windows: picture buttons, the log edit, the status bar, the frame's sizes and
// the login dialog's refusals.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "client/widgets/HoverButton.h"
#include "client/app/LoginDlg.h"
#include "client/widgets/LogEdit.h"
#include "client/widgets/ProgressStatusBar.h"
#include "platform/testinput.h"

namespace {

using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

TEST(ClientWidgetsTest, HoverButtonStatesFollowEnablingAndTheMouse) {
  Session s;
  s.script.login = false;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  auto* button = dynamic_cast<CHoverButton*>(CWnd::FromHandlePermanent(::GetDlgItem(s.view->GetSafeHwnd(), IDC_BTN_SEQ)));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetImageSize(), CSize(56, 22));
  CRect rect;
  button->GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 56);  // sized to one of the strip's three images
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kNormal);
  platform::input::MouseMove(button->GetSafeHwnd(), CPoint(5, 5));
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kHover);
  EXPECT_EQ(CWnd::GetCapture(), button);
  platform::input::MouseMove(button->GetSafeHwnd(), CPoint(200, 5));
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kNormal);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);
  button->EnableButton(FALSE);
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kDisabled);
  platform::input::MouseMove(button->GetSafeHwnd(), CPoint(5, 5));
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kDisabled);
  button->EnableButton(TRUE);
  EXPECT_EQ(button->GetDrawState(), CHoverButton::kNormal);
  // The button paints all of itself: a colour request gets no brush.
  CClientDC dc(button);
  EXPECT_EQ(button->SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                reinterpret_cast<LPARAM>(button->GetSafeHwnd())),
            0);
}

// The pane keeps its last 2000 characters, a double-byte character counting as one and never
// cut in half, whatever mix of one- and two-byte characters came before.
TEST(ClientWidgetsTest, LogEditKeepsItsLastTwoThousandCharacters) {
  Session s;
  s.script.login = false;
  s.Start();
  CLogEdit log;
  // No wrapping: soft line breaks would count among the characters kept.
  ASSERT_TRUE(log.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL, CRect(0, 0, 200, 80), s.view, 4000));
  log.Init(s.view);
  const std::string ga = "\xB0\xA1";  // one Hangul syllable, two bytes
  auto repeat = [](const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
  };
  struct Case {
    const char* name;
    std::string before;  // what the pane holds
    std::string kept;    // what stays of it before the new line
  };
  const Case cases[] = {
      {"single bytes", std::string(2500, 'a'), std::string(2000, 'a')},
      {"exactly the limit", std::string(2000, 'b'), std::string(2000, 'b')},
      // 1002 characters in 2003 bytes: cut by bytes, the pane would start on a trail byte.
      {"double bytes over the limit in bytes only", repeat(ga, 1001) + "z", repeat(ga, 1001) + "z"},
      {"double bytes over the limit", "z" + repeat(ga, 2000), repeat(ga, 2000)},
      {"mixed", std::string(300, 'c') + repeat(ga, 1800), std::string(200, 'c') + repeat(ga, 1800)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.SetWindowText(c.before.c_str());
    log.AppendAndScroll("new line\r\n");
    CString text;
    log.GetWindowText(text);
    EXPECT_EQ(Str(text), c.kept + "new line\r\n");
  }
  log.Clear();
  CString text;
  log.GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
  log.DestroyWindow();
}

TEST(ClientWidgetsTest, StatusBarShowsProgressAndTheColourToMove) {
  Session s;
  s.script.login = false;
  s.Start();
  CProgressStatusBar& bar = s.frame->GetStatusBar();
  EXPECT_EQ(Str(bar.GetProgressText()), "progress :   0");
  bar.SetProgress(1234);
  EXPECT_EQ(Str(bar.GetProgressText()), "progress : 1234");
  // What the panes show once painted: the count in blue, the stone of the colour to move.
  s.frame->ShowWindow(SW_SHOW);
  const auto stoneCentre = [&] {
    bar.UpdateWindow();
    CRect pane;
    bar.GetItemRect(2, &pane);
    CClientDC dc(&bar);
    const COLORREF c = dc.GetPixel(pane.CenterPoint());
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
  };
  bar.SetNextColor(1, false);
  EXPECT_GT(stoneCentre(), 3 * 200);  // white
  bar.SetNextColor(2, false);
  EXPECT_LT(stoneCentre(), 3 * 80);  // black
  CRect progressPane;
  bar.GetItemRect(1, &progressPane);
  int blue = 0;
  {
    CClientDC dc(&bar);
    for (int y = progressPane.top; y < progressPane.bottom; ++y) {
      for (int x = progressPane.left; x < progressPane.right; ++x) {
        const COLORREF c = dc.GetPixel(x, y);
        blue += GetBValue(c) > GetRValue(c) + 60 ? 1 : 0;
      }
    }
  }
  EXPECT_GT(blue, 20);
  EXPECT_EQ(s.frame->GetTitle(), "Ondrivo Client");
  // The frame keeps the smallest size the view asked for and ignores a value below 1.
  const CSize least = s.frame->GetMinTrackSize();
  EXPECT_GT(least.cx, 0);
  s.frame->SetMinTrackSize(0, 700);
  EXPECT_EQ(s.frame->GetMinTrackSize(), CSize(least.cx, 700));
  MINMAXINFO info{};
  s.frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, least.cx);
  EXPECT_EQ(info.ptMinTrackSize.y, 700);
}

TEST(ClientWidgetsTest, LoginRefusesEmptyEntriesAndReadsTheMode) {
  Session s;
  s.script.login = false;
  s.Start();
  struct Case {
    const char* user;
    const char* password;
    const char* message;  // null: accepted
  };
  const Case cases[] = {{"", "", "Enter user id and password."},
                        {"", "pw", "Enter user id."},
                        {"bob", "", "Enter user password."},
                        {"bob", "pw", nullptr}};
  for (const Case& c : cases) {
    bool accepted = false;
    CLoginDlg login(s.view);
    // Filled and confirmed as a person would: OK pressed in the dialog itself.
    struct Filler : platform::UiScript {
      const Case* c;
      bool* accepted;
      std::optional<INT_PTR> OnModalDialog(UINT, CDialog* d, HWND dialog) override {
        ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_USER), c->user);
        ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_PASSWORD), c->password);
        ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_VOICE), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_TEXT), BM_SETCHECK, BST_UNCHECKED, 0);
        d->SendMessage(WM_COMMAND, IDOK, 0);
        *accepted = !::IsWindow(dialog) || !::IsWindowVisible(dialog);
        return *accepted ? std::optional<INT_PTR>() : std::optional<INT_PTR>(IDCANCEL);
      }
      std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
        shown = text;
        return IDOK;
      }
      std::string shown;
    } filler;
    filler.c = &c;
    filler.accepted = &accepted;
    platform::ScopedUiScript scope(&filler);
    const INT_PTR result = login.DoModal();
    if (c.message) {
      EXPECT_EQ(filler.shown, c.message);
      EXPECT_EQ(result, IDCANCEL);
    } else {
      EXPECT_TRUE(filler.shown.empty());
      EXPECT_EQ(result, IDOK);
      EXPECT_EQ(Str(login.m_strUserName), "bob");
      EXPECT_EQ(login.m_nExplainMode, CLoginDlg::kVoiceExplanation);
    }
  }
}

}  // namespace
