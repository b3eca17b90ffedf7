#pragma once
// CSkinButton: an owner-drawn push button painted from one of three state images (normal, mouse
// over, disabled) cut from a single bitmap strip, with an optional label over the image.

#include <memory>

#include <platform/controls_basic.h>
#include <platform/controls_tooltip.h>
#include <platform/gdi_objects.h>

class CSkinButton : public CButton {
public:
  enum State { kNormal = 0, kHover = 1, kDisabled = 2 };

  CSkinButton();
  ~CSkinButton() override;

  // Cuts bitmap resource id into the three state images; FALSE (no images) when it does not load.
  BOOL LoadBitmaps(UINT id);
  // Sizes the window to one state image.
  void SizeToBitmap();
  // Enables or disables the window and shows the matching image at once.
  BOOL EnableWindow(BOOL enable = TRUE);
  void SetText(const CString& text);
  // The text of the button's tool tip; the tip is made with the first text (the window must exist).
  void SetTipText(const CString& text);
  // The tool tip's text ("" without one).
  CString GetTipText() const;
  void FreeImages();

  int GetState() const { return m_nState; }
  // Back to the normal drawn state (a disabled button stays disabled), repainted.
  void SetNormalState() { ShowState(kNormal); }
  int GetImageWidth() const { return m_nImageWidth; }
  int GetImageHeight() const { return m_nImageHeight; }
  // The bitmap the images were last cut from (0 before the first load).
  UINT GetBitmapId() const { return m_nBitmapId; }
  // Source row of state image index in a strip whose images are height rows high.
  static int SourceRow(int index, int height) { return index == 2 ? 2 * height + 2 : index * height; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Lets the tool tip see the mouse over the button.
  BOOL PreTranslateMessage(MSG* msg) override;
  void PostNcDestroy() override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
  BOOL OnEraseBkgnd(CDC* dc);
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnKillFocus(CWnd* newWnd);
  DECLARE_MESSAGE_MAP()

private:
  // Goes to state (disabled stays disabled) and repaints.
  void ShowState(int state);

  CFont m_labelFont;
  BOOL m_bTracking{FALSE};  // holds the capture while the pointer is over it
  BOOL m_bHasLabel{FALSE};
  int m_nState{kNormal};
  int m_nImageWidth{0};
  int m_nImageHeight{0};
  UINT m_nBitmapId{0};
  CBitmap m_normal;
  CBitmap m_hover;
  CBitmap m_disabled;
  CString m_strLabel;
  std::unique_ptr<CToolTipCtrl> m_pTip;
};
