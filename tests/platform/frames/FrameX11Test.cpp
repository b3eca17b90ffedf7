// Document frames under X: the caption a frame asks for before it is created, and View > Toolbar
// and View > Status Bar worked from the keyboard with their check marks.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../display/X11Session.h"
#include "FrameTestSupport.h"
#include "platform/controlbars.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace frametest {
namespace {

// A frame that shows its own title alone, as a program's main frame asks before creation, with a
// tool bar and a status bar.
class CPlainTitleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CPlainTitleFrame)
public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return TRUE;
  }
  CToolBar m_toolBar;
  CStatusBar m_statusBar;

protected:
  int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    if (!m_toolBar.Create(this) || !m_toolBar.LoadToolBar(IDR_MAINFRAME)) return -1;
    if (!m_statusBar.Create(this)) return -1;
    RecalcLayout();
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPlainTitleFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CPlainTitleFrame, CFrameWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

// The test application with a chosen frame class.
class CFrameChoiceApp : public CWinApp {
public:
  explicit CFrameChoiceApp(CRuntimeClass* frameClass) : CWinApp("FrameTester"), m_frameClass(frameClass) {}
  BOOL InitInstance() override {
    SetRegistryKey("Frame Tests");
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc), m_frameClass,
                                          RUNTIME_CLASS(CFirstView)));
    CCommandLineInfo info;
    return ProcessShellCommand(info);
  }

private:
  CRuntimeClass* m_frameClass;
};

using platform::testing::MenuOpen;

class FrameX11Test : public FrameFixture {
protected:
  void SetUp() override {
    if (!m_x.Open()) GTEST_SKIP() << "no X server";
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    m_app.reset();
  }

  CFrameWnd* Start(CRuntimeClass* frameClass) {
    m_app = std::make_unique<CFrameChoiceApp>(frameClass);
    if (!m_app->InitInstance()) return nullptr;
    m_x.Settle();
    return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  }

  std::unique_ptr<CFrameChoiceApp> m_app;
  platform::testing::X11Session m_x;
};

TEST_F(FrameX11Test, TheCaptionIsWhatTheFrameAskedForBeforeCreation) {
  struct Case {
    CRuntimeClass* frameClass;
    const char* title;
  };
  for (Case c : {Case{RUNTIME_CLASS(CPlainTitleFrame), "Tester"}, Case{RUNTIME_CLASS(CTestFrame), "Untitled - Tester"}}) {
    SCOPED_TRACE(c.title);
    CFrameWnd* frame = Start(c.frameClass);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(m_x.WaitFor([&] { return m_x.Title(frame->m_hWnd) == c.title; })) << m_x.Title(frame->m_hWnd);
    // The frame's own style bits stay out of the window's style.
    EXPECT_EQ(frame->GetStyle() & (FWS_ADDTOTITLE | FWS_PREFIXTITLE), 0u);
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();  // the main frame's end asked the loop to quit
    m_app.reset();
  }
}

TEST_F(FrameX11Test, ViewMenuHidesAndShowsTheBarsAndChecksTheirItems) {
  auto* frame = dynamic_cast<CPlainTitleFrame*>(Start(RUNTIME_CLASS(CPlainTitleFrame)));
  ASSERT_NE(frame, nullptr);
  HMENU bar = ::CreateMenu();
  HMENU view = ::CreatePopupMenu();
  ::AppendMenu(view, MF_STRING, ID_VIEW_TOOLBAR, "&Toolbar");
  ::AppendMenu(view, MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar");
  ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
  ::SetMenu(frame->m_hWnd, bar);
  frame->SetFocus();
  m_x.Settle();
  auto checked = [&](UINT id) { return (::GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  auto shown = [&](CWnd& w) { return (w.GetStyle() & WS_VISIBLE) != 0; };
  struct Step {
    unsigned long letter;
    UINT id;
    bool checkedWhenOpened;  // what the item shows before the letter chooses it
  };
  // Each bar goes away and comes back; the pane takes the room it leaves.
  for (Step s : {Step{XK_t, ID_VIEW_TOOLBAR, true}, Step{XK_t, ID_VIEW_TOOLBAR, false},
                 Step{XK_s, ID_VIEW_STATUS_BAR, true}, Step{XK_s, ID_VIEW_STATUS_BAR, false}}) {
    SCOPED_TRACE(s.id);
    CWnd& barWindow = s.id == ID_VIEW_TOOLBAR ? static_cast<CWnd&>(frame->m_toolBar) : frame->m_statusBar;
    bool before = shown(barWindow);
    bool seenChecked = !s.checkedWhenOpened;
    platform::testing::ActWhen choose(MenuOpen, [&] {
      seenChecked = checked(s.id);
      m_x.Keys(frame->m_hWnd, {s.letter});
    }, [] { ::ReleaseCapture(); });  // a menu that stays open is closed, and the test fails
    m_x.Keys(frame->m_hWnd, {XK_v}, Mod1Mask);
    EXPECT_TRUE(m_x.WaitFor([&] { return choose.Acted() && !MenuOpen() && shown(barWindow) != before; }));
    EXPECT_EQ(seenChecked, s.checkedWhenOpened);
    CWnd* pane = frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST));
    CRect paneRect, client;
    pane->GetWindowRect(&paneRect);
    frame->ScreenToClient(&paneRect);
    frame->GetClientRect(&client);
    bool toolBarShown = shown(frame->m_toolBar), statusShown = shown(frame->m_statusBar);
    EXPECT_EQ(paneRect.top == 0, !toolBarShown);
    EXPECT_EQ(paneRect.bottom == client.bottom, !statusShown);
  }
  ::SetMenu(frame->m_hWnd, nullptr);
  ::DestroyMenu(bar);
}

}  // namespace
}  // namespace frametest
