#pragma once
// CHoverButton: the view's picture button. Its bitmap is a vertical strip of three images
// (normal, mouse over, disabled); the button shows the one its state calls for and follows the
// mouse by holding the capture while the pointer is over it.

#include "platform/controls.h"
#include "platform/gdi.h"

class CHoverButton : public CButton {
public:
  enum State { kNormal = 0, kHover = 1, kDisabled = 2 };

  CHoverButton() = default;
  ~CHoverButton() override = default;

  // Cuts bitmap resource id into its three images and makes the button owner-drawn; FALSE when
  // the resource cannot be loaded.
  BOOL LoadBitmap(UINT id);
  // Resizes the window to one image without moving it.
  void SizeToImage();
  // Enables or disables the window and brings the drawn state in line, repainting on a change.
  void EnableButton(BOOL enable);

  int GetDrawState() const { return m_state; }
  CSize GetImageSize() const { return m_imageSize; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
  void PostNcDestroy() override;
  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnKillFocus(CWnd* newWnd);
  // Colour requests get no brush: the button paints all of itself.
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  DECLARE_MESSAGE_MAP()

private:
  void Enter();
  void Leave();
  void FreeImages();

  BOOL m_hover{FALSE};
  int m_state{kNormal};
  CSize m_imageSize{0, 0};
  CBitmap m_images[3];  // normal, mouse over, disabled
  CPalette m_palette;
};
