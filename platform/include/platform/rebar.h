#pragma once
// CReBar: a control bar along the top of a frame that holds other windows (usually a tool bar) as
// bands, one under the other, each as wide as the bar after its gripper. The frame's layout gives
// the bar the bands' total height; the bar places its bands and brings the control bars among
// them up to date with their commands when the application is idle.

#include <vector>

#include "platform/controlbars.h"

// Band styles (the bar keeps them; the gripper and child-edge bits change the drawing).
constexpr DWORD RBBS_BREAK = 0x0001, RBBS_FIXEDSIZE = 0x0002, RBBS_CHILDEDGE = 0x0004, RBBS_HIDDEN = 0x0008,
                RBBS_NOVERT = 0x0010, RBBS_FIXEDBMP = 0x0020, RBBS_VARIABLEHEIGHT = 0x0040,
                RBBS_GRIPPERALWAYS = 0x0080, RBBS_NOGRIPPER = 0x0100;

class CReBar : public CControlBar {
public:
  // Width of a band's gripper, left of its child.
  static constexpr int kGripperWidth = 8;

  using CWnd::Create;
  BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_REBAR);
  // Makes child (a window of this bar) the next band; FALSE for a null or foreign window.
  BOOL AddBar(CWnd* child, LPCTSTR text = nullptr, CBitmap* background = nullptr,
              DWORD bandStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
  int GetBandCount() const { return static_cast<int>(m_bands.size()); }
  DWORD GetBandStyle(int index) const;
  // The band's rectangle in the bar's client coordinates (empty for a bad index).
  CRect GetBandRect(int index) const;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  int GetBarHeight() const override;

protected:
  void OnBarResized(int cx, int cy) override;
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

private:
  struct Band {
    CWnd* child{nullptr};
    DWORD style{0};
  };
  int BandHeight(const Band& band) const;
  int ChildLeft(const Band& band) const;

  std::vector<Band> m_bands;
};
