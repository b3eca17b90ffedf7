#pragma once
// CMainFrame: the viewer's frame. It holds the tool bar and the status bar around the one view,
// keeps the smallest size the view allows, and switches full screen, where the caption and the
// menu lie above the visible screen.

#include "client/widgets/CoolMenuManager.h"
#include "client/widgets/ProgressStatusBar.h"
#include "platform/controlbars.h"
#include "platform/frames.h"

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
public:
  CMainFrame() = default;
  ~CMainFrame() override = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Smallest tracking size; a value below 1 keeps the one before.
  void SetMinTrackSize(int width, int height);
  // Full screen on or off (command F11).
  void ToggleFullScreen();

  bool IsFullScreen() const { return m_fullScreen != 0; }
  CSize GetMinTrackSize() const { return CSize(m_minWidth, m_minHeight); }
  CProgressStatusBar& GetStatusBar() { return m_statusBar; }
  // ---- owner-drawn menus ----
  CCoolMenuManager& GetMenuManager() { return m_menuManager; }

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnPaletteChanged(CWnd* focusWnd);
  BOOL OnQueryNewPalette();
  DECLARE_MESSAGE_MAP()

private:
  CProgressStatusBar m_statusBar;
  CToolBar m_toolBar;
  int m_minWidth{0};
  int m_minHeight{0};
  int m_fullScreen{0};
  int m_wasMaximised{0};
  // ---- owner-drawn menus ----
  CCoolMenuManager m_menuManager;  // draws the pop-ups with the tool bar's images
};
