// Painting of the owner-drawn menu items: image box, check frame, selection and text.
#include <algorithm>

#include "client/widgets/CoolMenuManager.h"
#include "client/widgets/MenuItemRecord.h"

namespace {

COLORREF Sys(int index) { return static_cast<COLORREF>(::GetSysColor(index)); }

// A check mark of two strokes, centred in rect.
void DrawCheckMark(CDC& dc, const CRect& rect, COLORREF colour) {
  CPen pen(PS_SOLID, 1, colour);
  CPen* old = dc.SelectObject(&pen);
  const CPoint c = rect.CenterPoint();
  for (int thick = 0; thick < 2; ++thick) {
    dc.MoveTo(c.x - 3, c.y - 1 + thick);
    dc.LineTo(c.x - 1, c.y + 1 + thick);
    dc.LineTo(c.x + 4, c.y - 4 + thick);
  }
  dc.SelectObject(old);
}

}  // namespace

BOOL CCoolMenuManager::OnDrawItem(LPDRAWITEMSTRUCT draw) {
  if (draw == nullptr || draw->CtlType != ODT_MENU) return FALSE;
  const CMenuItemRecord* record = RecordOf(draw->itemData);
  if (record == nullptr) return FALSE;
  CDC* dc = CDC::FromHandle(draw->hDC);
  if (dc == nullptr) return FALSE;
  CRect item(draw->rcItem);
  if (record->type & MFT_SEPARATOR) {
    CRect line = item;
    line.top += line.Height() / 2;
    dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    return TRUE;
  }
  const bool disabled = (draw->itemState & ODS_GRAYED) != 0;
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  const bool checked = (draw->itemState & ODS_CHECKED) != 0;
  CRect box(CPoint(item.left, item.top + (item.Height() - m_buttonSize.cy) / 2), m_buttonSize);
  bool boxDrawn = false;

  if (record->imageIndex >= 0 && m_imageList.GetSafeHandle() != nullptr) {
    const CPoint at(box.left + (box.Width() - m_imageSize.cx) / 2, box.top + (box.Height() - m_imageSize.cy) / 2);
    if (!disabled) {
      dc->FillSolidRect(&box, Sys(checked && !selected ? COLOR_3DLIGHT : COLOR_MENU));
      if (selected || checked) {
        CRect edge = box;
        dc->DrawEdge(&edge, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      }
      m_imageList.Draw(dc, record->imageIndex, at, ILD_TRANSPARENT);
    } else {
      dc->FillSolidRect(&box, Sys(COLOR_MENU));
      DrawEmbossed(*dc, record->imageIndex, at);
    }
    boxDrawn = true;
  } else {
    const HBITMAP bitmap = CheckBitmapOf(*draw, *record, checked);
    if (checked || bitmap != nullptr) {
      DrawCheckFrame(*dc, box, selected, bitmap);
      boxDrawn = true;
    }
  }

  if (selected || (draw->itemAction & ODA_SELECT)) {
    CRect fill = item;
    if (boxDrawn) fill.left += box.Width();
    dc->FillSolidRect(&fill, Sys(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  }

  CRect text = item;
  text.left += box.Width() + 2;
  text.right -= box.Width();
  CFont* oldFont = dc->SelectObject(EnsureMenuFont());
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF grey = Sys(COLOR_GRAYTEXT);
  const COLORREF background = Sys(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  if (disabled && (!selected || grey == background)) {
    // The raised white copy that makes grey text read as engraved.
    dc->SetTextColor(Sys(COLOR_3DHILIGHT));
    CRect offset = text;
    offset.OffsetRect(1, 1);
    DrawItemText(*dc, *record, offset, DT_SINGLELINE | DT_VCENTER);
  }
  dc->SetTextColor(disabled ? grey : Sys(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  DrawItemText(*dc, *record, text, DT_SINGLELINE | DT_VCENTER);
  dc->SetBkMode(oldMode);
  dc->SelectObject(oldFont);
  return TRUE;
}

void CCoolMenuManager::DrawItemText(CDC& dc, const CMenuItemRecord& record, CRect rect, UINT format) {
  const CString& text = record.text;
  const int tab = text.Find('\t');
  const CString left = tab >= 0 ? text.Left(tab) : text;
  dc.DrawText(left, &rect, format | DT_LEFT);
  if (tab > 0) {
    const CString right = text.Mid(tab + 1);
    dc.DrawText(right, &rect, format | DT_RIGHT);
  }
}

void CCoolMenuManager::DrawEmbossed(CDC& dc, int index, CPoint at) {
  // The image on white; its non-white pixels are drawn once in the highlight colour one pixel
  // down and right, then in the shadow colour in place.
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap picture;
  picture.CreateCompatibleBitmap(&dc, m_imageSize.cx, m_imageSize.cy);
  CBitmap* old = memory.SelectObject(&picture);
  memory.FillSolidRect(0, 0, m_imageSize.cx, m_imageSize.cy, RGB(255, 255, 255));
  m_imageList.Draw(&memory, index, CPoint(0, 0), ILD_TRANSPARENT);
  if (m_bDisabledByDrawState) {
    memory.SelectObject(old);
    dc.DrawState(at, m_imageSize, &picture, DST_BITMAP | DSS_DISABLED);
    return;
  }
  const COLORREF light = Sys(COLOR_3DHILIGHT);
  const COLORREF shadow = Sys(COLOR_3DSHADOW);
  for (int pass = 0; pass < 2; ++pass) {
    const int shift = pass == 0 ? 1 : 0;
    for (int y = 0; y < m_imageSize.cy; ++y) {
      for (int x = 0; x < m_imageSize.cx; ++x) {
        const COLORREF c = memory.GetPixel(x, y);
        if (!m_bEmbossInColor) {
          // Monochrome copy: only the dark half of the picture counts.
          const int lightness = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
          if (lightness >= 192) continue;
        } else if (c == RGB(255, 255, 255)) {
          continue;
        }
        dc.SetPixel(at.x + x + shift, at.y + y + shift, pass == 0 ? light : shadow);
      }
    }
  }
  memory.SelectObject(old);
}

HBITMAP CCoolMenuManager::CheckBitmapOf(const DRAWITEMSTRUCT& draw, const CMenuItemRecord& record,
                                        bool checked) {
  MENUITEMINFO info{};
  info.fMask = MIIM_CHECKMARKS;
  const HMENU menu = reinterpret_cast<HMENU>(draw.hwndItem);
  if (menu == nullptr || !::GetMenuItemInfo(menu, draw.itemID, FALSE, &info)) return nullptr;
  if (!checked) return info.hbmpUnchecked;
  if (info.hbmpChecked != nullptr) return info.hbmpChecked;
  if (!(record.type & MFT_RADIOCHECK)) return nullptr;
  if (m_radioDot.GetSafeHandle() != nullptr) return static_cast<HBITMAP>(m_radioDot);
  return nullptr;
}

void CCoolMenuManager::DrawCheckFrame(CDC& dc, CRect box, bool selected, HBITMAP bitmap) {
  const COLORREF background = Sys(selected ? COLOR_MENU : COLOR_3DLIGHT);
  BITMAP info{};
  CBitmap* picture = bitmap ? CBitmap::FromHandle(bitmap) : nullptr;
  if (picture == nullptr || !picture->GetBitmap(&info)) {
    const int side = ::GetSystemMetrics(SM_CXMENUCHECK);
    CRect mark = box;
    if (box.Width() > side) {
      mark = CRect(CPoint(box.left + (box.Width() - side) / 2, box.top + (box.Height() - side) / 2), CSize(side, side));
    }
    dc.FillSolidRect(&mark, background);
    DrawCheckMark(dc, mark, Sys(COLOR_MENUTEXT));
    if (box.Width() > side) mark.InflateRect(1, 1);
    dc.DrawEdge(&mark, BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  // A smaller bitmap sits centred at its own size; a larger one fills the box, cut around its centre.
  const bool wider = box.Width() > info.bmWidth;
  CRect mark = box;
  CPoint from(0, 0);
  if (wider) {
    mark = CRect(CPoint(box.left + (box.Width() - info.bmWidth) / 2, box.top + (box.Height() - info.bmHeight) / 2),
                 CSize(info.bmWidth, info.bmHeight));
  } else {
    from = CPoint((info.bmWidth - box.Width()) / 2, std::max(0, (info.bmHeight - box.Height()) / 2));
  }
  CDC memory;
  if (memory.CreateCompatibleDC(&dc)) {
    CBitmap* old = memory.SelectObject(picture);
    const COLORREF oldBack = dc.SetBkColor(background);
    const COLORREF oldText = dc.SetTextColor(Sys(COLOR_MENUTEXT));
    dc.BitBlt(mark.left, mark.top, mark.Width(), mark.Height(), &memory, from.x, from.y, SRCCOPY);
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBack);
    memory.SelectObject(old);
  }
  if (wider) mark.InflateRect(1, 1);
  dc.DrawEdge(&mark, BDR_SUNKENOUTER, BF_RECT);
}
