#include "MessageBoxIcon.h"

#include "platform/msgbox.h"

namespace platform::detail {
namespace {

// A bold sign centred in the icon's square.
void DrawSign(CDC& dc, const char* sign, int x, int y, COLORREF color, int height) {
  CFont font;
  font.CreateFont(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Sans");
  CFont* old = dc.SelectObject(&font);
  int oldMode = dc.SetBkMode(TRANSPARENT);
  COLORREF oldColor = dc.SetTextColor(color);
  RECT box{x, y + 1, x + kMessageBoxIconSize, y + kMessageBoxIconSize + 1};
  dc.DrawText(sign, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SetTextColor(oldColor);
  dc.SetBkMode(oldMode);
  dc.SelectObject(old);
}

void DrawDisc(CDC& dc, int x, int y, COLORREF fill, COLORREF edge) {
  CBrush brush(fill);
  CPen pen(PS_SOLID, 1, edge);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Ellipse(x + 1, y + 1, x + kMessageBoxIconSize - 1, y + kMessageBoxIconSize - 1);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

}  // namespace

bool DrawMessageBoxIcon(CDC& dc, UINT iconKind, int x, int y) {
  const COLORREF white = RGB(255, 255, 255);
  switch (iconKind & MB_ICONMASK) {
    case MB_ICONSTOP:
      DrawDisc(dc, x, y, RGB(212, 32, 32), RGB(128, 0, 0));
      DrawSign(dc, "X", x, y, white, 22);
      return true;
    case MB_ICONQUESTION:
      DrawDisc(dc, x, y, RGB(40, 96, 200), RGB(0, 40, 128));
      DrawSign(dc, "?", x, y, white, 24);
      return true;
    case MB_ICONEXCLAMATION: {
      POINT points[3] = {{x + kMessageBoxIconSize / 2, y + 1},
                         {x + kMessageBoxIconSize - 1, y + kMessageBoxIconSize - 2},
                         {x + 1, y + kMessageBoxIconSize - 2}};
      CBrush brush(RGB(250, 204, 20));
      CPen pen(PS_SOLID, 1, RGB(128, 96, 0));
      CBrush* oldBrush = dc.SelectObject(&brush);
      CPen* oldPen = dc.SelectObject(&pen);
      dc.Polygon(points, 3);
      dc.SelectObject(oldPen);
      dc.SelectObject(oldBrush);
      DrawSign(dc, "!", x, y + 4, RGB(0, 0, 0), 20);
      return true;
    }
    case MB_ICONINFORMATION:
      DrawDisc(dc, x, y, RGB(40, 96, 200), RGB(0, 40, 128));
      DrawSign(dc, "i", x, y, white, 24);
      return true;
    default: return false;
  }
}

}  // namespace platform::detail
