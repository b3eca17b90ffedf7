#include "orvanta/room/StepSkinButton.h"

#include <platform/gdi.h>

void CStepSkinButton::DrawItem(LPDRAWITEMSTRUCT item) {
  if (GetImageWidth() == 0) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  CRect client;
  GetClientRect(&client);
  // The picture may be smaller than the button: what is around it (and a pressed look's frame,
  // once released) goes back to the dialog's background first.
  CWnd* parent = GetParent();
  HBRUSH background = parent ? reinterpret_cast<HBRUSH>(parent->SendMessage(
                                   WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(item->hDC), reinterpret_cast<LPARAM>(m_hWnd)))
                             : nullptr;
  ::FillRect(item->hDC, &client, background ? background : ::GetSysColorBrush(COLOR_3DFACE));
  const bool pressed = (item->itemState & ODS_SELECTED) && !(GetStyle() & WS_DISABLED);
  if (!pressed) {
    CSkinButton::DrawItem(item);
    return;
  }
  const int saved = dc->SaveDC();
  dc->OffsetViewportOrg(1, 1);
  CSkinButton::DrawItem(item);
  dc->RestoreDC(saved);
  dc->Draw3dRect(&client, kPressedShadow, RGB(0xFF, 0xFF, 0xFF));
}

void ShowStepButtonImage(CStepSkinButton& button, UINT image) {
  if (!button.m_hWnd) return;
  button.LoadBitmaps(image);
  button.Invalidate(TRUE);
}

void LoadStepButtonImages(std::span<CStepSkinButton> buttons, std::span<const StepDialogButton> table) {
  for (std::size_t i = 0; i < buttons.size() && i < table.size(); ++i) {
    if (!buttons[i].m_hWnd) continue;
    buttons[i].LoadBitmaps(table[i].image);
    buttons[i].SizeToBitmap();
  }
}
