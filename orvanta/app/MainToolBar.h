#pragma once
// CMainToolBar: the main frame's tool bar, a rebar holding one flat tool bar of eight buttons
// with 16-pixel images, a second set of which shows while a button is pressed. Its third button
// is connect/disconnect, whose image tells whether the program is connected.

#include <platform/controlbars.h>
#include <platform/rebar.h>

class CMainToolBar : public CReBar {
public:
  static constexpr UINT kReBarId = 59396;
  static constexpr UINT kToolBarId = 59392;
  static constexpr int kImageCount = 10;
  // Every button is kept between these widths.
  static constexpr int kMinButtonWidth = 15;
  static constexpr int kMaxButtonWidth = 45;
  static constexpr int kButtonCount = 8;
  // The band style of the tool bar: gripper always shown, background fixed.
  static constexpr DWORD kBandStyle = 160;
  // The buttons' commands, left to right.
  static const UINT kCommands[kButtonCount];

  // The rebar along the top of parent and the tool bar in it; FALSE when either fails.
  BOOL CreateBars(CWnd* parent);
  // The image of the connect/disconnect button (9 connected, 2 not).
  void SetConnectImage(int image);
  int GetConnectImage() const;
  CToolBar& GetToolBar() { return m_toolBar; }

private:
  CToolBar m_toolBar;
  CImageList m_images;
  CImageList m_hotImages;
};
