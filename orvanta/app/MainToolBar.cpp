#include "orvanta/app/MainToolBar.h"

#include <platform/gdi.h>

#include "orvanta/resources/OrvantaBitmaps.h"

const UINT CMainToolBar::kCommands[kButtonCount] = {
    57601,  // open a play record
    57603,  // save the play record
    57610,  // connect / disconnect
    32793,  // search user
    32798,  // send message
    32806,  // memo box
    32809,  // environment
    57669,  // help
};

BOOL CMainToolBar::CreateBars(CWnd* parent) {
  if (!Create(parent, WS_CHILD | WS_VISIBLE, kReBarId))
    return FALSE;
  if (!m_toolBar.Create(this, WS_CHILD | WS_VISIBLE, kToolBarId))
    return FALSE;
  CToolBarCtrl& ctrl = m_toolBar.GetToolBarCtrl();
  ctrl.ModifyStyle(0, TBSTYLE_FLAT);
  ctrl.SetBitmapSize(CSize(16, 16));
  ctrl.SetButtonSize(CSize(23, 22));
  ctrl.SetButtonWidth(kMinButtonWidth, kMaxButtonWidth);
  // A tool bar without its pictures still has its buttons.
  if (m_images.Create(kToolBarImages, 16, kImageCount, kToolBarMask))
    ctrl.SetImageList(&m_images);
  if (m_hotImages.Create(kToolBarHotImages, 16, kImageCount, kToolBarMask))
    ctrl.SetHotImageList(&m_hotImages);
  if (!m_toolBar.SetButtons(kCommands, kButtonCount))
    return FALSE;
  return AddBar(&m_toolBar, nullptr, nullptr, kBandStyle);
}

void CMainToolBar::SetConnectImage(int image) {
  if (m_toolBar.GetSafeHwnd())
    m_toolBar.GetToolBarCtrl().ChangeBitmap(static_cast<int>(kCommands[2]), image);
}

int CMainToolBar::GetConnectImage() const {
  auto& self = const_cast<CMainToolBar&>(*this);
  return m_toolBar.GetSafeHwnd() ? self.m_toolBar.GetToolBarCtrl().GetBitmap(static_cast<int>(kCommands[2])) : -1;
}
