#include "client/model/BoardCoordinates.h"

#include "client/widgets/DrawUtilities.h"
#include "client/model/BadukCtrl.h"

void DrawBoardCoordinates(CDC* dc, CWnd* parent, CBadukCtrl* board, COLORREF colour) {
  if (dc == nullptr || parent == nullptr || board == nullptr || board->GetSafeHwnd() == nullptr) return;
  CRect r;
  board->GetWindowRect(&r);
  parent->ScreenToClient(&r);

  const int saved = dc->SaveDC();
  CFont font;
  font.Attach(reinterpret_cast<HGDIOBJ>(CreateDeviceFont(dc, Cp949("굴림"), 78, 78, 0, true)));
  dc->SelectObject(&font);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(colour);
  // The labels are wider than their boxes once they have two digits: let them overflow.
  constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
  CString label;
  for (int n = 1; n <= 19; ++n) {
    const int y = r.top + board->CellCentre(1, n).y;
    CRect box(r.right, y - 10, r.right + 10, y + 10);
    label.Format("%d", n);
    dc->DrawText(label, &box, kFormat);
  }
  for (int n = 1; n <= 19; ++n) {
    const int x = r.left + board->CellCentre(n, 1).x;
    CRect box(x - 10, r.bottom, x + 10, r.bottom + 10);
    label.Format("%c", 'A' + n - 1);
    dc->DrawText(label, &box, kFormat);
  }
  dc->RestoreDC(saved);
}
