#include "platform/formview.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FrameTestSupport.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/display/XvfbServer.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace frametest {
namespace {

constexpr UINT IDD_FORM = 412;
constexpr UINT IDC_NAME = 1001;
constexpr UINT IDC_COUNT = 1002;
constexpr UINT IDC_GO = 1003;

class CNameForm : public CFormView {
  DECLARE_DYNCREATE(CNameForm)
public:
  CNameForm() : CFormView(IDD_FORM) {}
  CString m_name{"alice"};
  int m_count{7};
  int m_clicks{0};

protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, IDC_NAME, m_name);
    DDX_Text(dx, IDC_COUNT, m_count);
  }
  void OnGo() { ++m_clicks; }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CNameForm, CFormView)

BEGIN_MESSAGE_MAP(CNameForm, CFormView)
  ON_BN_CLICKED(IDC_GO, OnGo)
END_MESSAGE_MAP()

class FormViewTest : public FrameFixture {
protected:
  FormViewTest() {
    platform::DialogTemplate tmpl;
    tmpl.cx = 200;
    tmpl.cy = 100;
    tmpl.items.push_back({"Edit", IDC_NAME, 10, 10, 80, 12, WS_VISIBLE | WS_TABSTOP, 0, ""});
    tmpl.items.push_back({"Edit", IDC_COUNT, 10, 30, 40, 12, WS_VISIBLE | WS_TABSTOP, 0, ""});
    tmpl.items.push_back({"Button", IDC_GO, 10, 50, 40, 14, WS_VISIBLE, 0, "Go"});
    platform::AddDialogTemplate(*platform::CurrentResourceModule(), IDD_FORM, tmpl);
    m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr);
  }
  CNameForm* MakeForm() {
    auto* form = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
    if (!form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_parent, 1)) return nullptr;
    return form;
  }
  CWnd m_parent;
};

TEST_F(FormViewTest, TemplateControlsAreMadeAndLoadedFromTheMembers) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->GetDlgItem(IDC_NAME), nullptr);
  ASSERT_NE(form->GetDlgItem(IDC_GO), nullptr);
  form->OnInitialUpdate();
  CString text;
  form->GetDlgItemText(IDC_NAME, text);
  EXPECT_EQ(text, "alice");
  form->GetDlgItemText(IDC_COUNT, text);
  EXPECT_EQ(text, "7");
  EXPECT_GT(form->GetTotalSize().cx, 0);
}

TEST_F(FormViewTest, SavingReadsTheControlsAndABadNumberChangesNothing) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  form->SetDlgItemText(IDC_NAME, "bob");
  form->SetDlgItemText(IDC_COUNT, "12");
  ASSERT_TRUE(form->UpdateData(TRUE));
  EXPECT_EQ(form->m_name, "bob");
  EXPECT_EQ(form->m_count, 12);

  m_script.buttons = {IDOK};
  form->SetDlgItemText(IDC_NAME, "carol");
  form->SetDlgItemText(IDC_COUNT, "many");
  EXPECT_FALSE(form->UpdateData(TRUE));
  EXPECT_EQ(form->m_name, "bob");
  EXPECT_EQ(form->m_count, 12);
}

TEST_F(FormViewTest, ButtonClicksReachTheFormsMap) {
  CNameForm* form = MakeForm();
  ASSERT_NE(form, nullptr);
  HWND button = form->GetDlgItem(IDC_GO)->m_hWnd;
  form->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(form->m_clicks, 1);
}

TEST_F(FormViewTest, AFormSmallerThanItsTemplateScrollsItsControls) {
  auto* form = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
  ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 60), &m_parent, 1));
  EXPECT_EQ(form->GetStyle() & (WS_VSCROLL | WS_HSCROLL), static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL));
  CRect before;
  form->GetDlgItem(IDC_GO)->GetWindowRect(&before);
  form->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
  const int moved = form->GetScrollPosition().y;
  EXPECT_GT(moved, 0);
  EXPECT_EQ(form->GetScrollPos(SB_VERT), moved);
  CRect after;
  form->GetDlgItem(IDC_GO)->GetWindowRect(&after);
  EXPECT_EQ(after.TopLeft(), CPoint(before.left, before.top - moved));
  // As large as its template, the form has no bars and its controls are back where they began.
  form->MoveWindow(0, 0, form->GetTotalSize().cx, form->GetTotalSize().cy);
  EXPECT_FALSE(form->GetStyle() & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_EQ(form->GetScrollPosition(), CPoint(0, 0));
  form->GetDlgItem(IDC_GO)->GetWindowRect(&after);
  EXPECT_EQ(after.TopLeft(), before.TopLeft());
}

TEST_F(FormViewTest, MissingTemplateFailsCreationWithoutALeak) {
  class CNoTemplateForm : public CFormView {
  public:
    CNoTemplateForm() : CFormView(999) {}
  };
  auto* form = new CNoTemplateForm;
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_parent, 2));
}

TEST_F(FormViewTest, AControlThatIsNotRegisteredFailsTheForm) {
  platform::ScopedPlatformHome home;  // an empty registry
  platform::DialogTemplate tmpl;
  tmpl.cx = 100;
  tmpl.cy = 60;
  tmpl.items.push_back({"{0B0C0D0E-1111-2222-3333-444455556666}", 1421, 0, 0, 60, 40, WS_VISIBLE, 0, ""});
  platform::AddDialogTemplate(*platform::CurrentResourceModule(), 998, tmpl);
  class CHostForm : public CFormView {
  public:
    CHostForm() : CFormView(998) {}
  };
  auto* form = new CHostForm;
  EXPECT_FALSE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 60), &m_parent, 3));
}

using platform::testing::OnTheXServer;

class FormViewX11Test : private OnTheXServer, public FormViewTest {
protected:
  void SetUp() override {
    if (!available) GTEST_SKIP() << "no X server";
    platform::Clock::SetManual(false);
  }
  void TearDown() override { platform::DestroyAllWindows(); }
  // Where the Go button shows on the screen.
  CPoint GoAt(CNameForm* form) {
    CRect rect;
    form->GetDlgItem(IDC_GO)->GetWindowRect(&rect);
    return rect.TopLeft();
  }
  // Whether the X server shows the dark strokes of the Go button's caption in the form.
  bool GoCaptionShown(CNameForm* form) {
    CRect rect;
    form->GetDlgItem(IDC_GO)->GetWindowRect(&rect);
    form->ScreenToClient(&rect);
    const platform::Surface shown = input->Shown(form->m_hWnd);
    rect.IntersectRect(&rect, CRect(0, 0, shown.width, shown.height));
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if ((shown.Row(y)[x] & 0xFFFFFF) < 0x404040) return true;
    return false;
  }
  using OnTheXServer::input;
};

TEST_F(FormViewX11Test, TheBarsOfAFormSmallerThanItsTemplateMoveItsControls) {
  auto* form = static_cast<CNameForm*>(RUNTIME_CLASS(CNameForm)->CreateObject());
  ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 90), &m_parent, 1));
  m_parent.ShowWindow(SW_SHOW);
  m_parent.UpdateWindow();
  ASSERT_TRUE(form->GetStyle() & WS_VSCROLL);
  auto wait = [](const std::function<bool()>& pred) { return platform::testing::XPointerKeys::WaitFor(pred); };
  const CPoint start = GoAt(form);
  CRect client;
  form->GetClientRect(&client);
  const int barX = client.right + ::GetSystemMetrics(SM_CXVSCROLL) / 2;
  const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  // The button starts below the part of the form that shows.
  ASSERT_TRUE(wait([&] { return input->Shown(form->m_hWnd).width > 0; }));
  EXPECT_FALSE(GoCaptionShown(form));

  // The thumb, dragged from the top of the track to the bottom, carries the controls up.
  input->Button(form->m_hWnd, CPoint(barX, arrow + 2), true);
  // The bar holds the mouse from the press on; moves sent before the press is seen would not be its.
  ASSERT_TRUE(wait([&] { return ::GetCapture() == form->m_hWnd; }));
  input->Move(form->m_hWnd, CPoint(barX, client.bottom + 40), Button1Mask);
  input->Button(form->m_hWnd, CPoint(barX, client.bottom + 40), false, Button1Mask);
  const int last = form->GetTotalSize().cy - client.Height();
  ASSERT_TRUE(wait([&] { return form->GetScrollPosition().y == last && GoCaptionShown(form); }));
  EXPECT_EQ(GoAt(form), CPoint(start.x, start.y - last));
  EXPECT_EQ(form->GetScrollPos(SB_VERT), last);

  // The up arrow steps them back down (a line, or more should the press be held a while).
  input->Click(form->m_hWnd, CPoint(barX, arrow / 2));
  ASSERT_TRUE(wait([&] { return form->GetScrollPosition().y < last; }));
  const int stepped = form->GetScrollPosition().y;
  EXPECT_EQ(GoAt(form), CPoint(start.x, start.y - stepped));
  // A notch of the wheel over the form: three lines (a hundredth of the form each) further back.
  const int line = std::max<int>(form->GetTotalSize().cy / 100, 1);
  input->Wheel(form->m_hWnd, CPoint(client.right - 5, client.bottom - 5), 1);
  ASSERT_TRUE(wait([&] { return form->GetScrollPosition().y == std::max(stepped - 3 * line, 0); }));
  EXPECT_EQ(GoAt(form), CPoint(start.x, start.y - form->GetScrollPosition().y));
  platform::SaveSurfacePng(input->ShownWhole(m_parent.m_hWnd), testsupport::SnapshotPath("x11_form_scrolled.png").c_str());
}

}  // namespace
}  // namespace frametest
