#pragma once
// CMainMenu: the lower pane of the main frame, a strip holding the command buttons of every
// screen and, at its left end, the rotating advert banner. Which buttons show depends on the view
// in the upper pane; where they stand is the frame's layout per screen, read from the pane's
// template rows; which are enabled follows the server's events. Every click is the main frame's
// action, except "receive again", which loads the game room anew from the server.

#include <array>

#include <platform/controls_tooltip.h>
#include <platform/formview.h>

#include "orvanta/widgets/BannerRotation.h"
#include "orvanta/widgets/GifAnimCtrl.h"
#include "orvanta/widgets/MenuButtonBank.h"
#include "orvanta/widgets/SkinButton.h"

class CMainMenuHost;

class CMainMenu : public CFormView, public CMenuButtonBank {
  DECLARE_DYNCREATE(CMainMenu)
public:
  static constexpr UINT kTemplateId = 276;
  static constexpr UINT kBannerId = 1461;
  static constexpr UINT kBannerTimer = 100;
  static constexpr UINT kBannerPeriodMs = 10000;
  static constexpr int kMaxBanners = CBannerRotation::kMaxBanners;
  static constexpr int kButtonCount = 33;
  // A button of the pane: its control id and the strip it starts with (0: none).
  struct ButtonInfo {
    UINT id;
    UINT image;
  };
  static const std::array<ButtonInfo, kButtonCount> kButtons;
  // Visibility of a button for a view: 1 shown, 0 hidden, -1 untouched.
  static int ButtonVisibility(UINT viewId, UINT buttonId);

  CMainMenu();
  ~CMainMenu() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override;
  BOOL PreTranslateMessage(MSG* msg) override;

  void SetBannerSlot(int index, const CString& name);
  void SetBannerLink(int index, const CString& link);
  void SetBannerCount(int count);
  void SetBannerShown(BOOL shown);
  // Shows the first banner and, while connected, starts the rotation.
  void LoadBannerImages();
  // Stops the rotation and shows the banner of the current slot.
  void RestartBanner();
  // Shows the buttons of the view in the upper pane and hides the others.
  void ShowButtonsForView(UINT viewId);
  // The rows the frame lays the buttons out in (from the template's button 1192 and 1196).
  const CMenuRows& GetRows() const { return m_rows; }
  // Button 1240: the game room in the upper pane is loaded anew from the server and the room's
  // buttons are set for its phase.
  void OnBtnReceiveAgain();

  // --- CMenuButtonBank ---
  void EnableButton(UINT id, BOOL enable) override;
  void ShowButton(UINT id, BOOL show) override;
  void SetButtonFace(UINT id, UINT bitmap) override;
  int GetButtonDrawState(UINT id) const override;
  CRect GetButtonRect(UINT id) const override;
  void MoveButton(UINT id, int x, int y) override;

  CSkinButton* GetButton(UINT id);
  const CSkinButton* GetButton(UINT id) const;
  CGifAnimCtrl& GetBanner() { return m_banner; }
  int GetBannerCount() const { return m_rotation.GetCount(); }
  BOOL IsBannerShown() const { return m_bBannerShown; }
  BOOL IsRotating() const { return m_nBannerTimer != 0; }
  // The slot whose banner is on display (the one before the next to load).
  int GetShownBanner() const { return m_rotation.Shown(); }
  // The path of banner image name: the working folder's "image" folder.
  static CString BannerPath(const CString& folder, const CString& name);
  // The link of the banner on display with every '\' turned into '/'.
  CString GetShownLink() const;

protected:
  void OnTimer(UINT_PTR id);
  void OnClose();
  void OnSize(UINT type, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaint();
  LRESULT OnBannerClick(WPARAM wParam, LPARAM lParam);
  void OnButton(UINT id);
  // In the game room only: the room's pop-up menu (sound).
  void OnContextMenu(CWnd* wnd, CPoint point);
  DECLARE_MESSAGE_MAP()

private:
  CMainMenuHost* GetMainFrame() const;
  // Places and shows the banner control, which tells this pane of clicks and shows the hand.
  void PrepareBanner();
  // Loads the banner of the current slot into the control and moves to the next slot.
  void ShowCurrentBanner();

  CGifAnimCtrl m_banner;
  std::array<CSkinButton, kButtonCount> m_buttons;
  UINT_PTR m_nBannerTimer{0};
  std::array<CString, kMaxBanners> m_bannerImages;
  std::array<CString, kMaxBanners> m_bannerLinks;
  CBitmap m_left;
  CBitmap m_middle;
  CBitmap m_right;
  CSize m_leftSize;
  CSize m_middleSize;
  CSize m_rightSize;
  CBannerRotation m_rotation;
  BOOL m_bBannerShown{FALSE};
  CToolTipCtrl m_toolTip;
  CMenuRows m_rows;
};
