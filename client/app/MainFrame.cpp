#include "client/app/MainFrame.h"

#include "client/resources/ClientIds.h"
#include "platform/gdi.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_GETMINMAXINFO()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
END_MESSAGE_MAP()

namespace {

// The frame's edges as the system draws them.
struct FrameMetrics {
  int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  int borderWidth = ::GetSystemMetrics(SM_CXFRAME);
  int borderHeight = ::GetSystemMetrics(SM_CYFRAME);
  int caption = ::GetSystemMetrics(SM_CYCAPTION);
  int menu = ::GetSystemMetrics(SM_CYMENU);
};

}  // namespace

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  const DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
  if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, barStyle) || !m_toolBar.LoadToolBar(IDR_MAINFRAME)) return -1;
  if (!m_statusBar.Create(this)) return -1;
  m_menuManager.AttachToFrame(this);
  m_menuManager.AddToolbarImages(IDR_MAINFRAME);
  // The menu texts carry their own key names.
  m_menuManager.m_bAccelText = FALSE;
  m_bAutoMenuEnable = FALSE;
  return 0;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  // The view sets the whole caption itself.
  cs.style &= ~FWS_ADDTOTITLE;
  return TRUE;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  const FrameMetrics m;
  if (m_fullScreen) {
    info->ptMaxPosition.y = -(m.borderHeight + m.caption + m.menu);
    info->ptMaxSize.y = m.screenHeight + 2 * m.borderHeight + m.caption + m.menu;
    info->ptMaxTrackSize.y = info->ptMaxSize.y;
  } else if (m_minWidth > 0 && m_minHeight > 0) {
    info->ptMinTrackSize.x = m_minWidth;
    info->ptMinTrackSize.y = m_minHeight;
  }
  info->ptMaxPosition.x = -m.borderWidth;
  info->ptMaxSize.x = m.screenWidth + 2 * m.borderWidth;
  info->ptMaxTrackSize.x = info->ptMaxSize.x;
}

void CMainFrame::SetMinTrackSize(int width, int height) {
  if (width >= 1) m_minWidth = width;
  if (height >= 1) m_minHeight = height;
}

void CMainFrame::ToggleFullScreen() {
  const FrameMetrics m;
  m_fullScreen = !m_fullScreen;
  if (m_fullScreen) {
    m_wasMaximised = IsZoomed();
    if (m_wasMaximised) {
      SetWindowPos(nullptr, -m.borderWidth, -(m.borderHeight + m.caption + m.menu), m.screenWidth + 2 * m.borderWidth,
                   m.screenHeight + 2 * m.borderHeight + m.caption + m.menu, SWP_NOZORDER);
    } else {
      ShowWindow(SW_MAXIMIZE);
    }
  } else if (m_wasMaximised) {
    SetWindowPos(nullptr, -m.borderWidth, -m.borderHeight, m.screenWidth + 2 * m.borderWidth,
                 m.screenHeight + 2 * m.borderHeight, SWP_NOZORDER);
  } else {
    ShowWindow(SW_RESTORE);
  }
}

void CMainFrame::OnPaletteChanged(CWnd* focusWnd) {
  if (CView* view = GetActiveView()) {
    view->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(focusWnd ? focusWnd->GetSafeHwnd() : nullptr), 0);
  }
  Default();
}

BOOL CMainFrame::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
