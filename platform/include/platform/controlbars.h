#pragma once
// Control bars of a frame: the status bar along the bottom and the tool bar along the top. Each
// takes its strip in the frame's layout (WM_SIZEPARENT) and brings its panes or buttons up to
// date with their commands when the application is idle (WM_IDLEUPDATECMDUI).

#include <vector>

// gdi_objects.h first: the tool bar control names CBitmap without declaring it.
#include "platform/gdi_objects.h"
#include "platform/controls_statusbar.h"
#include "platform/controls_toolbar.h"
#include "platform/controls_tooltip.h"
#include "platform/frames.h"
#include "platform/resources.h"

// The command id standing for a separator in indicator and button lists.
constexpr UINT ID_SEPARATOR = 0;

// Control bar styles, given with the window styles when a bar is made (the low word): tool tips
// for its buttons, the buttons' prompts on the status bar while the pointer is over them, and
// the others kept for the programs that ask for them (docked at the top, a size of its own).
constexpr DWORD CBRS_TOOLTIPS = 0x0010, CBRS_SIZE_DYNAMIC = 0x0400, CBRS_TOP = 0x2000, CBRS_FLYBY = 0x8000;

class CControlBar : public CWnd {
public:
  // Runs target's update handlers over the bar's elements.
  virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
  // Thickness of the bar's strip in pixels.
  virtual int GetBarHeight() const = 0;

protected:
  // Creates the bar window as child id of parent; atBottom places it along the bottom edge.
  BOOL CreateBar(CWnd* parent, DWORD style, UINT id, bool atBottom);
  // Fits the bar's control to its new size.
  virtual void OnBarResized(int cx, int cy) = 0;
  LRESULT OnSizeParent(WPARAM, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM);
  void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  bool m_atBottom{false};
};

class CStatusBar : public CControlBar {
public:
  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_STATUS_BAR);
  // One pane per id: ID_SEPARATOR is a pane that stretches, any other id shows its string
  // resource. FALSE (the pane left empty) when a string is missing.
  BOOL SetIndicators(const UINT* ids, int count);
  BOOL SetPaneText(int index, LPCTSTR text);
  CString GetPaneText(int index) const;
  UINT GetItemID(int index) const;
  int CommandToIndex(UINT id) const;
  // The pane's rectangle in the bar's client coordinates.
  void GetItemRect(int index, LPRECT rect) const;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  int GetBarHeight() const override { return 20; }

  // A pane's command and text; a disabled pane shows no text.
  struct Pane {
    UINT id{ID_SEPARATOR};
    CString text;
    bool enabled{true};
    int width{0};
  };
  // Shows pane index as its state says.
  void ShowPane(int index);

protected:
  void OnBarResized(int cx, int cy) override;

private:
  void LayoutPanes();

  CStatusBarCtrl m_ctrl;
  std::vector<Pane> m_panes;
};

class CToolBar : public CControlBar {
public:
  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_TOOLBAR);
  // The same with the button control's own style (TBSTYLE_FLAT: edges only under the pointer).
  BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                const RECT& borders = RECT{0, 0, 0, 0}, UINT id = AFX_IDW_TOOLBAR);
  // Buttons and images of tool bar resource id (and bitmap resource id when there is one).
  BOOL LoadToolBar(UINT id);
  // One button per id, images in order; ID_SEPARATOR makes a separator. ids null: separators.
  BOOL SetButtons(const UINT* ids, int count);
  UINT GetItemID(int index) const;
  int CommandToIndex(UINT id) const { return m_ctrl.CommandToIndex(id); }
  void GetItemRect(int index, LPRECT rect) const;
  CToolBarCtrl& GetToolBarCtrl() { return m_ctrl; }
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  int GetBarHeight() const override { return m_sizeButton.cy + 6; }
  // Shows the tip and the status-bar prompt of the button under the pointer.
  BOOL PreTranslateMessage(MSG* msg) override;

protected:
  void OnBarResized(int cx, int cy) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A button's click is the command of the frame that holds the bar (through a rebar too).
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
  void RemoveButtons();
  // One tip per button, the text after the "\n" of its command's prompt.
  void AddTips();
  // The prompt of the button under point (m_ctrl's client coordinates) on the status bar, or
  // the text there before when there is none (index -1).
  void ShowPrompt(int index);
  // Takes the tip and prompt away once the pointer has left the bar.
  void CheckPointer();

  CToolBarCtrl m_ctrl;
  DWORD m_barStyle{0};  // CBRS_* bits
  CToolTipCtrl m_tips;
  int m_tipIds{0};       // tools added, ids 1 to this
  int m_prompted{-1};    // the button whose prompt shows
  CString m_restText;    // the status text the prompt replaced
  CSize m_sizeButton{23, 22};
  CBitmap m_bitmap;
};

namespace platform {

// A tool bar resource: image and button size, and the buttons' commands (ID_SEPARATOR between
// groups).
struct ToolBarTemplate {
  int width{16};
  int height{15};
  std::vector<UINT> items;
};
void AddToolBarResource(ResourceModule& module, UINT id, ToolBarTemplate toolBar);

}  // namespace platform
