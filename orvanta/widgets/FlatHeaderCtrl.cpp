#include "orvanta/widgets/FlatHeaderCtrl.h"

#include "orvanta/widgets/FHDragWnd.h"
#include "orvanta/widgets/FHDropWnd.h"

#include <algorithm>

#include <platform/controls.h>
#include <platform/gdi.h>
#include <platform/resources.h>

BEGIN_MESSAGE_MAP(CFlatHeaderCtrl, CHeaderCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(HDM_INSERTITEM, OnInsertItem)
  ON_MESSAGE(HDM_DELETEITEM, OnDeleteItem)
  ON_MESSAGE(HDM_SETIMAGELIST, OnSetImageList)
  ON_MESSAGE(HDM_SETHOTDIVIDER, OnSetHotDivider)
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CFlatHeaderCtrl::CFlatHeaderCtrl() {
  m_font.CreateFont(12, 0, 4, 4, FW_THIN, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  OnSysColorChange();
}

CFlatHeaderCtrl::~CFlatHeaderCtrl() {
  // A header that goes while a column is being sized must not leave the cursor held.
  if (m_bResizing)
    ::ClipCursor(nullptr);
  DestroyDragWindows();
}

void CFlatHeaderCtrl::DestroyDragWindows() {
  if (m_pDragWnd && m_pDragWnd->GetSafeHwnd())
    m_pDragWnd->DestroyWindow();
  m_pDragWnd = nullptr;
  if (m_pDropWnd && m_pDropWnd->GetSafeHwnd())
    m_pDropWnd->DestroyWindow();
  m_pDropWnd = nullptr;
}

int CFlatHeaderCtrl::ShowDropIndicator(int index) {
  const int count = GetItemCount();
  if (index < 0 || index > count || count == 0) {
    if (m_pDropWnd && m_pDropWnd->GetSafeHwnd())
      m_pDropWnd->DestroyWindow();
    m_pDropWnd = nullptr;
    return index;
  }
  CRect client;
  GetClientRect(&client);
  if (!m_pDropWnd) {
    m_pDropWnd = new CFHDropWnd(kIndicatorColour);
    if (!m_pDropWnd->Create(client.Height())) {
      delete m_pDropWnd;
      m_pDropWnd = nullptr;
      return index;
    }
  }
  CRect heading;
  int x = 0;
  if (index == count) {
    GetItemRect(OrderToIndex(count - 1), &heading);
    x = heading.right;
  } else {
    GetItemRect(OrderToIndex(index), &heading);
    x = heading.left - 1;
  }
  CPoint point(x, client.CenterPoint().y);
  ClientToScreen(&point);
  m_pDropWnd->ShowAt(point.x, point.y);
  return index;
}

void CFlatHeaderCtrl::OnSysColorChange() {
  m_cr3DHighLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_cr3DShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_cr3DFace = ::GetSysColor(COLOR_BTNFACE);
  m_crBtnText = ::GetSysColor(COLOR_BTNTEXT);
}

// ---------------------------------------------------------------------------------------------
// Records and states

LRESULT CFlatHeaderCtrl::OnInsertItem(WPARAM wParam, LPARAM) {
  const int at = std::clamp(static_cast<int>(wParam), 0, static_cast<int>(m_records.size()));
  m_records.insert(m_records.begin() + at, HDITEMEX{});
  const LRESULT result = Default();
  if (result < 0)
    m_records.erase(m_records.begin() + at);
  return result;
}

LRESULT CFlatHeaderCtrl::OnDeleteItem(WPARAM wParam, LPARAM) {
  const LRESULT result = Default();
  const int index = static_cast<int>(wParam);
  if (result && index >= 0 && index < static_cast<int>(m_records.size()))
    m_records.erase(m_records.begin() + index);
  return result;
}

LRESULT CFlatHeaderCtrl::OnSetImageList(WPARAM, LPARAM lParam) {
  const LRESULT result = Default();
  m_nImageWidth = 0;
  m_nImageHeight = 0;
  int width = 0;
  int height = 0;
  if (lParam && ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(lParam), &width, &height)) {
    m_nImageWidth = width;
    m_nImageHeight = height;
  }
  return result;
}

int CFlatHeaderCtrl::ContentWidth(int index, const HDITEMEX& record) {
  char text[80] = "";
  HDITEM item{};
  item.mask = HDI_FORMAT | HDI_TEXT | HDI_BITMAP;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  GetItem(index, &item);
  int width = kSpacing;
  if (item.fmt & HDF_IMAGE)
    width += m_nImageWidth + kSpacing;
  if ((item.fmt & HDF_BITMAP) && item.hbm) {
    BITMAP info{};
    if (CBitmap::FromHandle(item.hbm)->GetBitmap(&info))
      width += info.bmWidth + kSpacing;
  }
  if (record.nStyle & HDITEMEX::kReserveSortSign)
    width += 8 + kSpacing;
  if ((item.fmt & HDF_STRING) && text[0]) {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_font);
    width += dc.GetTextExtent(text).cx + kSpacing;
    dc.SelectObject(old);
  }
  return width;
}

void CFlatHeaderCtrl::SyncRecords() { m_records.resize(static_cast<std::size_t>(std::max(0, GetItemCount()))); }

BOOL CFlatHeaderCtrl::SetItemEx(int index, const HDITEMEX& record) {
  if (index < 0 || index >= static_cast<int>(m_records.size()))
    return FALSE;
  HDITEM item{};
  item.mask = HDI_WIDTH;
  if (!GetItem(index, &item))
    return FALSE;
  int width = item.cxy;
  if (record.nStyle & HDITEMEX::kFitContent)
    width = ContentWidth(index, record);
  if (!(record.nStyle & HDITEMEX::kFixed) && record.iMinWidth <= record.iMaxWidth)
    width = std::clamp(width, record.iMinWidth, record.iMaxWidth);
  if (width != item.cxy) {
    item.cxy = width;
    SetItem(index, &item);
  }
  m_records[static_cast<std::size_t>(index)] = record;
  return TRUE;
}

void CFlatHeaderCtrl::WidenToContent() {
  for (int index = 0; index < GetItemCount(); ++index) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    GetItem(index, &item);
    HDITEMEX record;
    GetItemEx(index, record);
    const int needed = ContentWidth(index, record);
    if (item.cxy > 0 && item.cxy < needed) {
      item.cxy = needed;
      SetItem(index, &item);
    }
  }
}

BOOL CFlatHeaderCtrl::GetItemEx(int index, HDITEMEX& record) const {
  if (index < 0 || index >= static_cast<int>(m_records.size()))
    return FALSE;
  record = m_records[static_cast<std::size_t>(index)];
  return TRUE;
}

void CFlatHeaderCtrl::InitColumnStates(int count) { m_columnStates.assign(static_cast<std::size_t>(std::max(0, count)), -1); }

int CFlatHeaderCtrl::GetColumnState(int column) const {
  if (column < 0 || column >= static_cast<int>(m_columnStates.size()))
    return -1;
  return m_columnStates[static_cast<std::size_t>(column)];
}

int CFlatHeaderCtrl::EffectiveDropIndex(int dropIndex, int draggedOrder) {
  return dropIndex == draggedOrder || dropIndex == draggedOrder + 1 ? -1 : dropIndex;
}

std::vector<int> CFlatHeaderCtrl::MoveInOrder(const std::vector<int>& order, int draggedOrder, int dropIndex) {
  const int count = static_cast<int>(order.size());
  if (draggedOrder < 0 || draggedOrder >= count || dropIndex < 0 || dropIndex > count)
    return order;
  std::vector<int> moved = order;
  const int column = moved[static_cast<std::size_t>(draggedOrder)];
  moved.erase(moved.begin() + draggedOrder);
  const int at = dropIndex > draggedOrder ? dropIndex - 1 : dropIndex;
  moved.insert(moved.begin() + at, column);
  return moved;
}

// ---------------------------------------------------------------------------------------------
// Mouse

void CFlatHeaderCtrl::HitTestAt(CPoint point) {
  HDHITTESTINFO info{};
  info.pt = point;
  m_nHitItem = HitTest(&info);
  m_nHitFlags = info.flags;
  HDITEMEX record;
  m_bResizable = m_nHitItem >= 0 && GetItemEx(m_nHitItem, record) && !(record.nStyle & HDITEMEX::kFixed);
}

BOOL CFlatHeaderCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if ((m_nHitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) && !m_bResizable) {
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  return CHeaderCtrl::OnSetCursor(wnd, hitTest, message);
}

void CFlatHeaderCtrl::OnLButtonDown(UINT flags, CPoint point) {
  HitTestAt(point);
  if (m_nHitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    if (!m_bResizable)
      return;  // a fixed column is never sized
    m_bResizing = TRUE;
    ClipToWidthLimits(point);
    CHeaderCtrl::OnLButtonDown(flags, point);
    return;
  }
  if (m_nHitItem >= 0) {
    m_pressPoint = point;
    m_bPressed = TRUE;
    if (m_nHitItem < static_cast<int>(m_columnStates.size())) {
      int& state = m_columnStates[static_cast<std::size_t>(m_nHitItem)];
      state = NextColumnState(state);
    }
    m_nLastPressed = m_nHitItem;
    m_pressedItem = HDITEM{};
    m_pressedItem.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE | HDI_ORDER;
    m_pressedItem.pszText = m_pressedText;
    m_pressedItem.cchTextMax = sizeof m_pressedText;
    GetItem(m_nHitItem, &m_pressedItem);
    SetCapture();
  }
  Invalidate(FALSE);
}

void CFlatHeaderCtrl::ClipToWidthLimits(CPoint point) {
  HDITEMEX record;
  CRect heading;
  if (!GetItemEx(m_nHitItem, record) || record.iMinWidth > record.iMaxWidth || !GetItemRect(m_nHitItem, &heading))
    return;
  // The cursor keeps its distance from the heading's right edge while the width stays in limits.
  const int offset = point.x - heading.right;
  CPoint lowest(heading.left + record.iMinWidth + offset, 0);
  CPoint highest(heading.left + record.iMaxWidth + offset, 0);
  ClientToScreen(&lowest);
  ClientToScreen(&highest);
  CRect clip;
  ::GetClipCursor(&clip);
  clip.left = lowest.x;
  clip.right = highest.x + 1;
  ::ClipCursor(&clip);
}

void CFlatHeaderCtrl::OnLButtonDblClk(UINT flags, CPoint point) {
  HitTestAt(point);
  if ((m_nHitFlags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) && !m_bResizable)
    return;  // no fitting of a fixed column either
  CHeaderCtrl::OnLButtonDblClk(flags, point);
}

LRESULT CFlatHeaderCtrl::NotifyDrag(UINT code, int item) {
  CWnd* parent = GetParent();
  if (!parent)
    return 0;
  NMHEADER notify{};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = code;
  notify.iItem = item;
  notify.iButton = code == HDN_BEGINDRAG ? 1 : 0;
  notify.pitem = &m_pressedItem;
  return parent->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CFlatHeaderCtrl::OnMouseMove(UINT flags, CPoint point) {
  if (m_bResizing) {
    CHeaderCtrl::OnMouseMove(flags, point);
    return;
  }
  if (!m_bPressed) {
    HitTestAt(point);
    CHeaderCtrl::OnMouseMove(flags, point);
    return;
  }
  if (!m_bDragging) {
    if (!(GetStyle() & HDS_DRAGDROP) || (std::abs(point.x - m_pressPoint.x) <= kDragDistance &&
                                         std::abs(point.y - m_pressPoint.y) <= kDragDistance))
      return;
    // A parent that answers the begin moves the column itself: no floating heading then.
    if (!NotifyDrag(HDN_BEGINDRAG, m_nLastPressed)) {
      CRect heading;
      GetItemRect(m_nLastPressed, &heading);
      ClientToScreen(&heading);
      auto* image = new CFHDragWnd;
      if (image->Create(heading, this, m_nLastPressed, m_pressedItem))
        m_pDragWnd = image;
      else
        delete image;
    }
    m_bDragging = TRUE;
  }
  if (m_pDragWnd) {
    CPoint screen = point;
    ClientToScreen(&screen);
    m_pDragWnd->CentreOn(screen);
  }
  int drop = DropOrderAt(point);
  ::SetCursor(::LoadCursor(nullptr, drop >= 0 ? IDC_ARROW : IDC_NO));
  drop = EffectiveDropIndex(drop, m_pressedItem.iOrder);
  if (drop != m_nDropIndex) {
    m_nDropIndex = drop;
    SetHotDivider(drop);
  }
}

int CFlatHeaderCtrl::DropOrderAt(CPoint point) {
  HDHITTESTINFO info{};
  info.pt = point;
  const int over = HitTest(&info);
  if (over < 0 || !(info.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)))
    return -1;
  CRect rect;
  GetItemRect(over, &rect);
  HDITEM item{};
  item.mask = HDI_ORDER;
  GetItem(over, &item);
  return item.iOrder + (point.x > rect.CenterPoint().x ? 1 : 0);
}

LRESULT CFlatHeaderCtrl::OnSetHotDivider(WPARAM byPoint, LPARAM value) {
  if (byPoint) {
    const CPoint point(static_cast<short>(LOWORD(static_cast<DWORD>(value))),
                       static_cast<short>(HIWORD(static_cast<DWORD>(value))));
    return ShowDropIndicator(DropOrderAt(point));
  }
  return ShowDropIndicator(static_cast<int>(value));
}

void CFlatHeaderCtrl::EndDrag(CPoint) {
  const LRESULT refused = NotifyDrag(HDN_ENDDRAG, m_nLastPressed);
  const int count = GetItemCount();
  if (!refused && m_nDropIndex >= 0 && m_nDropIndex <= count && count > 0) {
    std::vector<int> order(static_cast<std::size_t>(count));
    GetOrderArray(order.data(), count);
    std::vector<int> moved = MoveInOrder(order, m_pressedItem.iOrder, m_nDropIndex);
    SetOrderArray(count, moved.data());
  }
  DestroyDragWindows();
  m_bDragging = FALSE;
  m_nDropIndex = -1;
  SetHotDivider(-1);
  Invalidate(FALSE);
}

void CFlatHeaderCtrl::OnLButtonUp(UINT flags, CPoint point) {
  if (m_bResizing) {
    m_bResizing = FALSE;
    ::ClipCursor(nullptr);
    CHeaderCtrl::OnLButtonUp(flags, point);
    return;
  }
  const BOOL pressed = m_bPressed;
  m_bPressed = FALSE;
  if (GetCapture() == this)
    ReleaseCapture();
  if (m_bDragging) {
    EndDrag(point);
    return;
  }
  if (pressed && m_nLastPressed >= 0) {
    CRect rect;
    GetItemRect(m_nLastPressed, &rect);
    InvalidateRect(&rect, FALSE);
    // A press released on its own heading is the click the list's owner sorts by.
    if (rect.PtInRect(point) && GetParent()) {
      NMHEADER notify{};
      notify.hdr.hwndFrom = m_hWnd;
      notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
      notify.hdr.code = HDN_ITEMCLICK;
      notify.iItem = m_nLastPressed;
      GetParent()->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Painting

BOOL CFlatHeaderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CFlatHeaderCtrl::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty())
    return;
  CDC dc;
  dc.CreateCompatibleDC(&paint);
  CBitmap buffer;
  buffer.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
  CBitmap* oldBuffer = dc.SelectObject(&buffer);
  dc.FillSolidRect(&client, m_cr3DFace);
  const int count = GetItemCount();
  int x = 0;
  for (int order = 0; order < count; ++order) {
    const int index = OrderToIndex(order);
    char text[80] = "";
    HDITEM item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    GetItem(index, &item);
    CRect rect(x, 0, x + item.cxy, client.bottom);
    x += item.cxy;
    // A hidden column (width 0) draws nothing, not even an ellipsis for its caption.
    if (item.cxy <= 0)
      continue;
    if (item.fmt & HDF_OWNERDRAW) {
      DRAWITEMSTRUCT draw{};
      draw.CtlType = ODT_HEADER;
      draw.itemID = static_cast<UINT>(index);
      draw.itemAction = ODA_DRAWENTIRE;
      draw.hwndItem = m_hWnd;
      draw.hDC = dc.GetSafeHdc();
      draw.rcItem = rect;
      DrawItem(&draw);
    } else {
      CRect inner = rect;
      inner.DeflateRect(kSpacing, 0);
      m_nPaintItem = index;
      DrawItem(&dc, inner, item, FALSE, FALSE);
      m_nPaintItem = -1;
      if (m_bPressed && !m_bDragging && index == m_nLastPressed)
        dc.InvertRect(&rect);
    }
    if (order < count - 1) {
      dc.FillSolidRect(rect.right - 2, 2, 1, rect.Height() - 4, m_cr3DShadow);
      dc.FillSolidRect(rect.right - 1, 2, 1, rect.Height() - 4, m_cr3DHighLight);
    }
  }
  dc.Draw3dRect(0, 0, std::min<LONG>(x, client.right), client.Height(), m_cr3DHighLight, m_cr3DShadow);
  paint.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
  dc.SelectObject(oldBuffer);
}

void CFlatHeaderCtrl::DrawItem(CDC* dc, CRect rect, const HDITEM& item, BOOL, BOOL) {
  CFont* oldFont = dc->SelectObject(&m_font);
  const COLORREF oldColour = dc->SetTextColor(m_crText);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const int justify = item.fmt & HDF_JUSTIFYMASK;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                      (justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT);
  HIMAGELIST images = GetImageList();
  if ((item.fmt & HDF_IMAGE) && images && rect.Width() >= 1) {
    const int width = std::min<int>(m_nImageWidth, rect.Width());
    ImageList_Draw(images, item.iImage, dc->GetSafeHdc(), rect.left, rect.top + (rect.Height() - m_nImageHeight) / 2,
                   ILD_TRANSPARENT);
    if (m_nPaintItem == m_nLastPressed)
      rect.left += width + kSpacing;
  }
  if (((item.fmt & HDF_STRING) || item.pszText) && rect.Width() > 0) {
    if (item.pszText && item.pszText[0])
      dc->DrawText(item.pszText, -1, &rect, format);
  }
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldColour);
  dc->SelectObject(oldFont);
}
