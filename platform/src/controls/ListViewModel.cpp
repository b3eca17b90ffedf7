#include "ListViewModel.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "ImageListStore.h"
#include "platform/controls_imagelist.h"

namespace platform::detail {
namespace {

// Hit-test answers for points beside the rows (the scroll bar's side, the other side).
constexpr UINT kHitRightOfRows = 0x20, kHitLeftOfRows = 0x40;

constexpr int kStateIconWidth = 16;
constexpr UINT kCheckedImage = 2;
constexpr UINT kUncheckedImage = 1;
// Pixels one horizontal scroll-bar line moves the columns.
constexpr int kLineWidth = 8;


}  // namespace

bool ListViewModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleItems(message, wParam, lParam, result) || HandleColumns(message, wParam, lParam, result) ||
         HandleView(message, wParam, lParam, result) || HandleInput(message, wParam, lParam, result);
}

bool ListViewModel::HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int index = static_cast<int>(wParam);
  auto* item = reinterpret_cast<LVITEM*>(lParam);
  switch (message) {
    case LVM_GETITEMCOUNT: result = Count(); return true;
    case LVM_INSERTITEM: result = item ? InsertRow(*item) : -1; break;
    case LVM_SETITEM: result = item && SetRow(*item); break;
    case LVM_GETITEM: result = item && GetRow(*item); return true;
    case LVM_SETITEMTEXT:
      if (!item || !Valid(index)) { result = FALSE; return true; }
      item->iItem = index;
      item->mask = LVIF_TEXT;
      result = SetRow(*item);
      break;
    case LVM_GETITEMTEXT:
      result = item ? CopyText(index, item->iSubItem, item->pszText, item->cchTextMax) : 0;
      return true;
    case LVM_SETITEMSTATE: result = item && SetState(index, item->state, item->stateMask); return true;
    case LVM_GETITEMSTATE: result = Valid(index) ? m_rows[static_cast<std::size_t>(index)].state & static_cast<UINT>(lParam) : 0; return true;
    case LVM_DELETEITEM: result = DeleteRow(index); break;
    case LVM_DELETEALLITEMS: DeleteAll(); result = TRUE; break;
    case LVM_GETNEXTITEM: result = NextItem(index, static_cast<UINT>(LOWORD(lParam))); return true;
    case LVM_GETSELECTEDCOUNT:
      result = std::count_if(m_rows.begin(), m_rows.end(), [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; });
      return true;
    case LVM_FINDITEM: result = lParam ? Find(index, *reinterpret_cast<LVFINDINFO*>(lParam)) : -1; return true;
    case LVM_SORTITEMS:
      Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
      result = lParam != 0;
      break;
    case LVM_GETSELECTIONMARK: result = m_selectionMark; return true;
    case LVM_SETSELECTIONMARK:
      result = m_selectionMark;
      m_selectionMark = static_cast<int>(lParam);
      return true;
    default: return false;
  }
  Changed();
  return true;
}

bool ListViewModel::HandleColumns(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int column = static_cast<int>(wParam);
  auto* col = reinterpret_cast<LVCOLUMN*>(lParam);
  switch (message) {
    case LVM_INSERTCOLUMN: {
      if (!col) { result = -1; return true; }
      HDITEM h{HDI_FORMAT | HDI_LPARAM, 0, nullptr, nullptr, 0, HDF_STRING | (col->mask & LVCF_FMT ? col->fmt & HDF_JUSTIFYMASK : 0), 0, -1, 0};
      if (col->mask & LVCF_WIDTH) { h.mask |= HDI_WIDTH; h.cxy = col->cx; }
      if (col->mask & LVCF_TEXT) { h.mask |= HDI_TEXT; h.pszText = col->pszText; }
      if (col->mask & LVCF_IMAGE) { h.mask |= HDI_IMAGE; h.iImage = col->iImage; h.fmt |= HDF_IMAGE; }
      if (col->mask & LVCF_ORDER) { h.mask |= HDI_ORDER; h.iOrder = col->iOrder; }
      result = ::SendMessage(m_header, HDM_INSERTITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&h));
      if (result >= 0) {
        ++m_columns;
        for (Row& row : m_rows) row.texts.insert(row.texts.begin() + std::min<std::size_t>(static_cast<std::size_t>(result), row.texts.size()), std::string());
      }
      break;
    }
    case LVM_DELETECOLUMN:
      result = ::SendMessage(m_header, HDM_DELETEITEM, wParam, 0);
      if (result) {
        --m_columns;
        for (Row& row : m_rows) {
          if (static_cast<std::size_t>(column) < row.texts.size()) row.texts.erase(row.texts.begin() + column);
        }
      }
      break;
    case LVM_GETCOLUMN:
    case LVM_SETCOLUMN: {
      if (!col || column < 0 || column >= m_columns) { result = FALSE; return true; }
      HDITEM h{};
      if (col->mask & LVCF_WIDTH) { h.mask |= HDI_WIDTH; h.cxy = col->cx; }
      if (col->mask & LVCF_TEXT) { h.mask |= HDI_TEXT; h.pszText = col->pszText; h.cchTextMax = col->cchTextMax; }
      if (col->mask & LVCF_FMT) { h.mask |= HDI_FORMAT; h.fmt = HDF_STRING | (col->fmt & HDF_JUSTIFYMASK); }
      if (col->mask & LVCF_IMAGE) { h.mask |= HDI_IMAGE; h.iImage = col->iImage; }
      if (col->mask & LVCF_ORDER) { h.mask |= HDI_ORDER; h.iOrder = col->iOrder; }
      bool get = message == LVM_GETCOLUMN;
      result = ::SendMessage(m_header, get ? HDM_GETITEM : HDM_SETITEM, wParam, reinterpret_cast<LPARAM>(&h));
      if (get) {
        if (col->mask & LVCF_WIDTH) col->cx = h.cxy;
        if (col->mask & LVCF_FMT) col->fmt = h.fmt & HDF_JUSTIFYMASK;
        if (col->mask & LVCF_SUBITEM) col->iSubItem = column;
        if (col->mask & LVCF_IMAGE) col->iImage = h.iImage;
        if (col->mask & LVCF_ORDER) col->iOrder = h.iOrder;
        return true;
      }
      break;
    }
    case LVM_GETCOLUMNWIDTH: {
      HDITEM h{};
      h.mask = HDI_WIDTH;
      result = ::SendMessage(m_header, HDM_GETITEM, wParam, reinterpret_cast<LPARAM>(&h)) ? h.cxy : 0;
      return true;
    }
    case LVM_SETCOLUMNWIDTH: {
      HDITEM h{};
      h.mask = HDI_WIDTH;
      const int asked = static_cast<SHORT>(LOWORD(lParam));
      h.cxy = asked == LVSCW_AUTOSIZE || asked == LVSCW_AUTOSIZE_USEHEADER
                  ? FittingWidth(static_cast<int>(wParam), asked == LVSCW_AUTOSIZE_USEHEADER)
                  : std::max(0, asked);
      result = ::SendMessage(m_header, HDM_SETITEM, wParam, reinterpret_cast<LPARAM>(&h));
      break;
    }
    case LVM_GETHEADER: result = reinterpret_cast<LRESULT>(m_header); return true;
    case LVM_SETCOLUMNORDERARRAY: result = ::SendMessage(m_header, HDM_SETORDERARRAY, wParam, lParam); break;
    case LVM_GETCOLUMNORDERARRAY: result = ::SendMessage(m_header, HDM_GETORDERARRAY, wParam, lParam); return true;
    default: return false;
  }
  Changed();
  return true;
}

bool ListViewModel::HandleView(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE: CreateHeader(); return false;
    case WM_SETREDRAW:
      m_redrawOff = wParam == 0;
      if (!m_redrawOff) Changed();
      return false;
    case WM_SIZE:
      PlaceHeader();
      SyncScrollBars();
      return false;
    case WM_NOTIFY: return lParam && HandleHeaderNotify(*reinterpret_cast<NMHDR*>(lParam), lParam, result);
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      result = m_extended;
      SetExtended(wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF, static_cast<DWORD>(lParam));
      break;
    case LVM_GETEXTENDEDLISTVIEWSTYLE: result = m_extended; return true;
    case LVM_SETIMAGELIST:
      if (wParam > LVSIL_STATE) { result = 0; return true; }
      result = reinterpret_cast<LRESULT>(m_images[wParam]);
      m_images[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
      if (wParam == LVSIL_SMALL) m_rowHeight = std::max(m_rowHeight, ImageSize(m_images[wParam]).cy + 1);
      break;
    case LVM_GETIMAGELIST: result = wParam <= LVSIL_STATE ? reinterpret_cast<LRESULT>(m_images[wParam]) : 0; return true;
    case LVM_SETBKCOLOR: m_background = static_cast<COLORREF>(lParam); result = TRUE; break;
    case LVM_GETITEMRECT:
    case LVM_GETSUBITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      int index = static_cast<int>(wParam);
      if (!rect || !Valid(index)) { result = FALSE; return true; }
      int subItem = message == LVM_GETSUBITEMRECT ? rect->top : -1;
      if (message == LVM_GETSUBITEMRECT && (subItem < 0 || subItem >= std::max(1, m_columns))) { result = FALSE; return true; }
      *rect = RowRect(index, subItem, static_cast<UINT>(rect->left));
      result = TRUE;
      return true;
    }
    case LVM_HITTEST: result = lParam ? HitTest(*reinterpret_cast<LVHITTESTINFO*>(lParam)) : -1; return true;
    case LVM_GETTOPINDEX: result = m_top; return true;
    case LVM_GETCOUNTPERPAGE: result = PageRows(false); return true;
    case LVM_ENSUREVISIBLE: {
      int index = static_cast<int>(wParam);
      int page = PageRows(true);
      if (Valid(index) && index < m_top) Scroll(index - m_top);
      if (Valid(index) && index >= m_top + page) Scroll(index - m_top - page + 1);
      result = Valid(index);
      return true;
    }
    case LVM_SCROLL: {
      // A partial row cannot be the top: pixels are rounded to the nearest whole row (half a row up).
      int dy = static_cast<int>(lParam);
      int rows = (std::abs(dy) + RowHeight() / 2) / RowHeight() * (dy < 0 ? -1 : 1);
      Scroll(rows, static_cast<int>(wParam));
      result = TRUE;
      return true;
    }
    case LVM_REDRAWITEMS: result = TRUE; break;
    default: return false;
  }
  Changed();
  return true;
}

bool ListViewModel::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      if (!OnRows(CPoint(lParam))) {
        // Only a list holding the capture sees presses off its rows (its scroll bar, its header,
        // other windows): they belong to what lies there.
        PassClickOn(message, wParam, CPoint(lParam));
        return true;
      }
      ClickRow(CPoint(lParam), static_cast<UINT>(wParam),
               message == WM_LBUTTONDOWN ? NM_CLICK : message == WM_LBUTTONDBLCLK ? NM_DBLCLK : NM_RCLICK);
      return true;
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollBy(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
      return true;
    case WM_MOUSEWHEEL:
      // The list scrolls itself: no WM_VSCROLL passes through its window procedure, so owners that
      // watch scroll-bar messages see only what the bar sends.
      Scroll(WheelRows(static_cast<SHORT>(HIWORD(wParam))), 0);
      return true;
    case WM_SETFOCUS: {
      NMHDR hdr{};
      Notify(hdr, NM_SETFOCUS);
      Redraw();
      return true;
    }
    case WM_KILLFOCUS: {
      NMHDR hdr{};
      Notify(hdr, NM_KILLFOCUS);
      Redraw();
      return true;
    }
    default: return false;
  }
}

void ListViewModel::CreateHeader() {
  DWORD style = WS_CHILD | HDS_BUTTONS | ((Style() & LVS_NOCOLUMNHEADER) ? 0 : WS_VISIBLE);
  m_header = ::CreateWindowEx(0, "SysHeader32", "", style, 0, 0, Client().right, 0, Hwnd(), nullptr, nullptr, nullptr);
  PlaceHeader();
  HWND parent = ::GetParent(Hwnd());
  if (parent && (Style() & LVS_OWNERDRAWFIXED)) {
    MEASUREITEMSTRUCT measure{ODT_LISTVIEW, static_cast<UINT>(Id()), 0, 0, static_cast<UINT>(m_rowHeight), 0};
    ::SendMessage(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    m_rowHeight = std::max(1, static_cast<int>(measure.itemHeight));
  }
}

int ListViewModel::HeaderHeight() const {
  if (!m_header || (Style() & LVS_NOCOLUMNHEADER)) return 0;
  RECT r{0, 0, Client().right, 0x7FFF};
  WINDOWPOS pos{};
  HDLAYOUT layout{&r, &pos};
  ::SendMessage(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  return pos.cy;
}

// Header notifications: a heading click is a column click; the rest go on to our parent.
bool ListViewModel::HandleHeaderNotify(NMHDR& hdr, LPARAM lParam, LRESULT& result) {
  if (hdr.hwndFrom != m_header) return false;
  auto& header = reinterpret_cast<NMHEADER&>(hdr);
  if (hdr.code == HDN_ITEMCLICK) {
    if (!(Style() & LVS_NOSORTHEADER)) NotifyItem(LVN_COLUMNCLICK, -1, header.iItem);
    result = 0;
    return true;
  }
  if (hdr.code == HDN_BEGINDRAG && !(m_extended & LVS_EX_HEADERDRAGDROP)) {
    result = TRUE;
    return true;
  }
  if (hdr.code == HDN_ITEMCHANGED || hdr.code == HDN_ENDDRAG) Changed();
  HWND parent = ::GetParent(Hwnd());
  result = parent ? ::SendMessage(parent, WM_NOTIFY, hdr.idFrom, lParam) : 0;
  return true;
}

void ListViewModel::SetExtended(DWORD mask, DWORD style) {
  DWORD old = m_extended;
  m_extended = (m_extended & ~mask) | (style & mask);
  if (m_header) {
    LONG headerStyle = ::GetWindowLong(m_header, GWL_STYLE);
    headerStyle = (m_extended & LVS_EX_HEADERDRAGDROP) ? (headerStyle | HDS_DRAGDROP) : (headerStyle & ~static_cast<LONG>(HDS_DRAGDROP));
    ::SetWindowLong(m_header, GWL_STYLE, headerStyle);
  }
  // Turning check boxes on shows every item unchecked.
  if (!(old & LVS_EX_CHECKBOXES) && Checkboxes()) {
    for (Row& row : m_rows) {
      if (!(row.state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(kUncheckedImage);
    }
  }
}

int ListViewModel::InsertRow(const LVITEM& item) {
  if (item.iSubItem != 0) return -1;
  int index = std::clamp(item.iItem, 0, Count());
  Row row;
  row.texts.resize(static_cast<std::size_t>(std::max(1, m_columns)));
  if ((item.mask & LVIF_TEXT) && item.pszText) row.texts[0] = item.pszText;
  if (item.mask & LVIF_PARAM) row.data = item.lParam;
  if (item.mask & LVIF_IMAGE) row.image = item.iImage;
  if (item.mask & LVIF_INDENT) row.indent = item.iIndent;
  if (item.mask & LVIF_STATE) row.state = item.state & item.stateMask;
  if (Checkboxes() && !(row.state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(kUncheckedImage);
  if (Style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
    bool descending = (Style() & LVS_SORTDESCENDING) != 0;
    index = 0;
    while (index < Count()) {
      int c = ::strcasecmp(m_rows[static_cast<std::size_t>(index)].texts[0].c_str(), row.texts[0].c_str());
      if (descending ? c < 0 : c > 0) break;
      ++index;
    }
  }
  m_rows.insert(m_rows.begin() + index, std::move(row));
  if (m_selectionMark >= index) ++m_selectionMark;
  NotifyItem(LVN_INSERTITEM, index, 0);
  return index;
}

bool ListViewModel::SetRow(const LVITEM& item) {
  if (!Valid(item.iItem) || item.iSubItem < 0 || item.iSubItem >= std::max(1, m_columns)) return false;
  Row& row = m_rows[static_cast<std::size_t>(item.iItem)];
  if (item.mask & LVIF_TEXT) {
    if (row.texts.size() <= static_cast<std::size_t>(item.iSubItem)) row.texts.resize(static_cast<std::size_t>(item.iSubItem) + 1);
    row.texts[static_cast<std::size_t>(item.iSubItem)] = item.pszText ? item.pszText : "";
  }
  if (item.iSubItem != 0) return true;
  if (item.mask & LVIF_PARAM) row.data = item.lParam;
  if (item.mask & LVIF_IMAGE) row.image = item.iImage;
  if (item.mask & LVIF_INDENT) row.indent = item.iIndent;
  if (item.mask & LVIF_STATE) return SetState(item.iItem, item.state, item.stateMask);
  return true;
}

bool ListViewModel::GetRow(LVITEM& item) const {
  if (!Valid(item.iItem)) return false;
  const Row& row = m_rows[static_cast<std::size_t>(item.iItem)];
  if (item.mask & LVIF_TEXT) CopyText(item.iItem, item.iSubItem, item.pszText, item.cchTextMax);
  if (item.mask & LVIF_PARAM) item.lParam = row.data;
  if (item.mask & LVIF_IMAGE) item.iImage = row.image;
  if (item.mask & LVIF_INDENT) item.iIndent = row.indent;
  if (item.mask & LVIF_STATE) item.state = row.state & item.stateMask;
  return true;
}

int ListViewModel::CopyText(int index, int subItem, LPSTR buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!Valid(index) || subItem < 0) return 0;
  const Row& row = m_rows[static_cast<std::size_t>(index)];
  if (static_cast<std::size_t>(subItem) >= row.texts.size()) return 0;
  const std::string& text = row.texts[static_cast<std::size_t>(subItem)];
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

bool ListViewModel::DeleteRow(int index) {
  if (!Valid(index)) return false;
  NotifyItem(LVN_DELETEITEM, index, 0);
  if (!Valid(index)) return false;  // the parent may have changed the list meanwhile
  m_rows.erase(m_rows.begin() + index);
  if (m_selectionMark == index) m_selectionMark = -1;
  if (m_selectionMark > index) --m_selectionMark;
  m_top = std::clamp(m_top, 0, std::max(0, Count() - 1));
  return true;
}

void ListViewModel::DeleteAll() {
  if (m_rows.empty()) return;
  // A parent that answers nonzero does not want one LVN_DELETEITEM per row.
  if (!NotifyItem(LVN_DELETEALLITEMS, -1, 0)) {
    for (int i = 0; i < Count(); ++i) NotifyItem(LVN_DELETEITEM, i, 0);
  }
  m_rows.clear();
  m_top = 0;
  m_selectionMark = -1;
}

bool ListViewModel::ChangeState(int index, UINT state, UINT mask) {
  UINT old = m_rows[static_cast<std::size_t>(index)].state;
  UINT next = (old & ~mask) | (state & mask);
  if (next == old) return true;
  NMLISTVIEW nm{};
  nm.iItem = index;
  nm.uChanged = LVIF_STATE;
  nm.uOldState = old;
  nm.uNewState = next;
  nm.lParam = m_rows[static_cast<std::size_t>(index)].data;
  NMLISTVIEW changed = nm;
  if (Notify(nm.hdr, LVN_ITEMCHANGING)) return false;
  if (!Valid(index)) return false;  // the parent deleted it meanwhile
  m_rows[static_cast<std::size_t>(index)].state = next;
  Notify(changed.hdr, LVN_ITEMCHANGED);
  Redraw();
  return true;
}

bool ListViewModel::SetState(int index, UINT state, UINT mask) {
  if (index != -1 && !Valid(index)) return false;
  bool ok = true;
  if (index != -1 && (mask & state & LVIS_FOCUSED)) {
    for (int i = 0; i < Count(); ++i) {
      if (i != index) ChangeState(i, 0, LVIS_FOCUSED);
    }
  }
  if (index != -1 && (mask & state & LVIS_SELECTED) && (Style() & LVS_SINGLESEL)) {
    for (int i = 0; i < Count(); ++i) {
      if (i != index) ChangeState(i, 0, LVIS_SELECTED);
    }
  }
  if (index == -1) {
    UINT allMask = mask & ~LVIS_FOCUSED;  // one item at most has the focus
    if ((Style() & LVS_SINGLESEL) && (state & LVIS_SELECTED)) allMask &= ~LVIS_SELECTED;
    for (int i = 0; i < Count(); ++i) ok = ChangeState(i, state, allMask) && ok;
    return ok;
  }
  if (mask & state & LVIS_SELECTED) m_selectionMark = index;
  return ChangeState(index, state, mask);
}

int ListViewModel::NextItem(int start, UINT flags) const {
  UINT wanted = (flags & LVNI_SELECTED ? LVIS_SELECTED : 0) | (flags & LVNI_FOCUSED ? LVIS_FOCUSED : 0);
  for (int i = std::max(0, start + 1); i < Count(); ++i) {
    if ((m_rows[static_cast<std::size_t>(i)].state & wanted) == wanted) return i;
  }
  return -1;
}

int ListViewModel::Find(int start, const LVFINDINFO& info) const {
  for (int i = std::max(0, start + 1); i < Count(); ++i) {
    const Row& row = m_rows[static_cast<std::size_t>(i)];
    if ((info.flags & LVFI_PARAM) && row.data == info.lParam) return i;
    if ((info.flags & LVFI_STRING) && info.psz) {
      bool partial = (info.flags & LVFI_PARTIAL) != 0;
      const char* text = row.texts[0].c_str();
      if (partial ? ::strncasecmp(text, info.psz, std::strlen(info.psz)) == 0 : ::strcasecmp(text, info.psz) == 0) return i;
    }
  }
  return -1;
}

// A bottom-up merge sort on row positions: every step stays inside the list whatever the
// comparison answers, so a comparison that is not a consistent ordering cannot make it fail.
// The rows stay where they are until the end, so the comparison may read the control.
void ListViewModel::Sort(PFNLVCOMPARE compare, LPARAM sortData) {
  if (!compare || m_rows.size() < 2) return;
  std::vector<std::size_t> order(m_rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<LPARAM> data;
  for (const Row& row : m_rows) data.push_back(row.data);
  std::vector<std::size_t> merged(order.size());
  for (std::size_t width = 1; width < order.size(); width *= 2) {
    for (std::size_t left = 0; left < order.size(); left += 2 * width) {
      std::size_t mid = std::min(left + width, order.size());
      std::size_t end = std::min(left + 2 * width, order.size());
      std::size_t a = left, b = mid, out = left;
      while (a < mid && b < end) merged[out++] = compare(data[order[a]], data[order[b]], sortData) > 0 ? order[b++] : order[a++];
      while (a < mid) merged[out++] = order[a++];
      while (b < end) merged[out++] = order[b++];
    }
    order.swap(merged);
  }
  std::vector<Row> sorted;
  sorted.reserve(m_rows.size());
  for (std::size_t i : order) sorted.push_back(std::move(m_rows[i]));
  m_rows = std::move(sorted);
}

RECT ListViewModel::ColumnRect(int column) const {
  RECT r{0, 0, 0, 0};
  if (!m_header || !::SendMessage(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r))) {
    return RECT{0, 0, 0, 0};
  }
  ::OffsetRect(&r, -m_left, 0);
  return r;
}

int ListViewModel::Width() const {
  int width = 0;
  for (int c = 0; c < m_columns; ++c) width = std::max(width, static_cast<int>(ColumnRect(c).right));
  return m_columns ? width : Client().right;
}

RECT ListViewModel::RowRect(int index, int subItem, UINT part) const {
  int top = HeaderHeight() + (index - m_top) * RowHeight();
  RECT row{0, top, Width(), top + RowHeight()};
  if (subItem > 0) {
    RECT column = ColumnRect(subItem);
    return RECT{column.left, top, column.right, top + RowHeight()};
  }
  RECT first = m_columns ? ColumnRect(0) : row;
  int iconLeft = first.left + (Checkboxes() || m_images[LVSIL_STATE] ? kStateIconWidth : 0);
  int iconRight = iconLeft + (m_images[LVSIL_SMALL] ? ImageSize(m_images[LVSIL_SMALL]).cx : 0);
  switch (part) {
    case LVIR_ICON: return RECT{iconLeft, top, iconRight, row.bottom};
    case LVIR_LABEL: return RECT{iconRight, top, subItem == 0 ? first.right : row.right, row.bottom};
    case LVIR_SELECTBOUNDS: return RECT{iconLeft, top, (m_extended & LVS_EX_FULLROWSELECT) ? row.right : first.right, row.bottom};
    default: return subItem == 0 ? RECT{first.left, top, first.right, row.bottom} : row;
  }
}

int ListViewModel::FittingWidth(int column, bool withHeading) const {
  MeasuringDC measuring(*this);
  CDC* dc = measuring.get();
  if (!dc || column < 0 || column >= m_columns) return 0;
  int widest = 0;
  for (const Row& row : m_rows) {
    if (static_cast<std::size_t>(column) < row.texts.size())
      widest = std::max(widest, static_cast<int>(dc->GetTextExtent(CString(row.texts[static_cast<std::size_t>(column)].c_str())).cx));
  }
  // A cell's text stands 4 pixels in and 2 short of its right edge; the first column's label
  // follows its state image and icon.
  int width = widest + 6;
  if (column == 0) {
    const RECT bounds = RowRect(m_top, 0, LVIR_BOUNDS);
    width += RowRect(m_top, 0, LVIR_LABEL).left - bounds.left;
  }
  if (!withHeading) return width;
  char text[256] = "";
  HDITEM h{};
  h.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  h.pszText = text;
  h.cchTextMax = sizeof text;
  if (!::SendMessage(m_header, HDM_GETITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&h))) return width;
  // A heading's text, in the header's own font, stands 4 pixels inside its raised edge on each
  // side, after any image.
  const ControlModel* headerModel = FindModel(m_header);
  std::optional<MeasuringDC> headerMeasuring;
  if (headerModel) headerMeasuring.emplace(*headerModel);
  CDC* headerDc = headerMeasuring && headerMeasuring->get() ? headerMeasuring->get() : dc;
  int heading = static_cast<int>(headerDc->GetTextExtent(CString(text)).cx) + 12;
  const auto images = reinterpret_cast<HIMAGELIST>(::SendMessage(m_header, HDM_GETIMAGELIST, 0, 0));
  if ((h.fmt & HDF_IMAGE) && images && h.iImage >= 0) heading += ImageSize(images).cx + 4;
  return std::max(width, heading);
}

UINT ListViewModel::ColumnAlignment(int column) const {
  HDITEM h{};
  h.mask = HDI_FORMAT;
  if (!m_header || !::SendMessage(m_header, HDM_GETITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&h)))
    return DT_LEFT;
  const int justify = h.fmt & HDF_JUSTIFYMASK;
  return justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT;
}

bool ListViewModel::OnRows(POINT point) const {
  const RECT client = Client();
  return point.x >= client.left && point.x < client.right && point.y >= HeaderHeight() && point.y < client.bottom;
}

void ListViewModel::PassClickOn(UINT message, WPARAM keys, POINT point) {
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  POINT screen = point;
  ::ClientToScreen(Hwnd(), &screen);
  HWND target = ::WindowFromPoint(screen);
  if (!target) return;
  const LPARAM onScreen = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
  const LRESULT hit = ::SendMessage(target, WM_NCHITTEST, 0, onScreen);
  if (hit == HTCLIENT) {
    // Off the rows but in the list's own client area (its header hidden, say): nothing else lies
    // there, and the list would only pass the press on again.
    if (target == Hwnd()) return;
    POINT local = screen;
    ::ScreenToClient(target, &local);
    ::SendMessage(target, message, keys, MAKELPARAM(static_cast<WORD>(local.x), static_cast<WORD>(local.y)));
  } else if (hit != HTNOWHERE && hit != HTERROR) {
    // A scroll bar takes a double click as one more press.
    const UINT press = message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message;
    ::SendMessage(target, press - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), onScreen);
  }
}

int ListViewModel::HitTest(LVHITTESTINFO& info) const {
  info.iItem = -1;
  info.iSubItem = 0;
  info.flags = LVHT_NOWHERE;
  int headerBottom = HeaderHeight();
  if (info.pt.y < headerBottom) {
    info.flags = LVHT_ABOVE;
    return -1;
  }
  // Rows end at the client area's edges: what lies beyond (a scroll bar) is no row.
  const RECT client = Client();
  if (info.pt.x < client.left || info.pt.x >= client.right || info.pt.y >= client.bottom) {
    info.flags = info.pt.x < client.left ? kHitLeftOfRows : info.pt.x >= client.right ? kHitRightOfRows : LVHT_BELOW;
    return -1;
  }
  int index = m_top + (info.pt.y - headerBottom) / RowHeight();
  if (!Valid(index)) {
    info.flags = LVHT_BELOW;
    return -1;
  }
  RECT row = RowRect(index, -1, LVIR_BOUNDS);
  if (info.pt.x < row.left || info.pt.x >= row.right) return -1;
  for (int c = 0; c < m_columns; ++c) {
    RECT column = ColumnRect(c);
    if (info.pt.x >= column.left && info.pt.x < column.right) info.iSubItem = c;
  }
  RECT icon = RowRect(index, 0, LVIR_ICON);
  RECT first = RowRect(index, 0, LVIR_BOUNDS);
  if (info.iSubItem == 0 && info.pt.x < icon.left && info.pt.x >= first.left) {
    info.flags = LVHT_ONITEMSTATEICON;
  } else if (info.iSubItem == 0 && info.pt.x < icon.right && info.pt.x >= icon.left) {
    info.flags = LVHT_ONITEMICON;
  } else {
    info.flags = LVHT_ONITEMLABEL;
  }
  info.iItem = index;
  return index;
}

void ListViewModel::ClickRow(POINT point, UINT keys, UINT code) {
  ::SetFocus(Hwnd());
  LVHITTESTINFO hit{point, 0, -1, 0};
  int index = HitTest(hit);
  if (index >= 0 && code == NM_CLICK && hit.flags == LVHT_ONITEMSTATEICON && Checkboxes()) {
    UINT image = (m_rows[static_cast<std::size_t>(index)].state & LVIS_STATEIMAGEMASK) >> 12;
    ChangeState(index, INDEXTOSTATEIMAGEMASK(image == kCheckedImage ? kUncheckedImage : kCheckedImage), LVIS_STATEIMAGEMASK);
  } else if (index >= 0 && (keys & MK_CONTROL) && code == NM_CLICK && !(Style() & LVS_SINGLESEL)) {
    UINT selected = m_rows[static_cast<std::size_t>(index)].state & LVIS_SELECTED;
    SetState(index, (selected ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else if (index >= 0 && !(code == NM_RCLICK && (m_rows[static_cast<std::size_t>(index)].state & LVIS_SELECTED))) {
    for (int i = 0; i < Count(); ++i) {
      if (i != index) ChangeState(i, 0, LVIS_SELECTED);
    }
    SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else if (index < 0 && code == NM_CLICK) {
    SetState(-1, 0, LVIS_SELECTED);
  }
  NotifyItem(code, index, hit.iSubItem, point);
}

void ListViewModel::KeyDown(UINT key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  Notify(nm.hdr, LVN_KEYDOWN);
  int focused = NextItem(-1, LVNI_FOCUSED);
  switch (key) {
    case VK_DOWN: MoveFocus(focused < 0 ? 0 : std::min(focused + 1, Count() - 1)); break;
    case VK_UP: MoveFocus(focused < 0 ? 0 : std::max(focused - 1, 0)); break;
    case VK_PRIOR: MoveFocus(focused < 0 ? 0 : std::max(focused - PageRows(true), 0)); break;
    case VK_NEXT: MoveFocus(focused < 0 ? 0 : std::min(focused + PageRows(true), Count() - 1)); break;
    case VK_LEFT: ScrollBy(SB_HORZ, SB_LINELEFT, 0); break;
    case VK_RIGHT: ScrollBy(SB_HORZ, SB_LINERIGHT, 0); break;
    case VK_HOME: MoveFocus(0); break;
    case VK_END: MoveFocus(Count() - 1); break;
    case VK_SPACE:
      if (Checkboxes() && focused >= 0) {
        UINT image = (m_rows[static_cast<std::size_t>(focused)].state & LVIS_STATEIMAGEMASK) >> 12;
        ChangeState(focused, INDEXTOSTATEIMAGEMASK(image == kCheckedImage ? kUncheckedImage : kCheckedImage), LVIS_STATEIMAGEMASK);
      }
      break;
    case VK_RETURN: {
      NMHDR hdr{};
      Notify(hdr, NM_RETURN);
      break;
    }
    default: break;
  }
}

void ListViewModel::MoveFocus(int index) {
  if (!Valid(index)) return;
  for (int i = 0; i < Count(); ++i) {
    if (i != index) ChangeState(i, 0, LVIS_SELECTED);
  }
  SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  LRESULT ignored = 0;
  HandleView(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), 0, ignored);
}

void ListViewModel::Scroll(int rows, int pixels) {
  m_top += rows;
  m_left += pixels;
  Changed();
}

void ListViewModel::ScrollBy(int bar, UINT code, int thumb) {
  bool vertical = bar == SB_VERT;
  int line = vertical ? 1 : kLineWidth;
  int page = vertical ? PageRows(true) : std::max(1, static_cast<int>(Client().right));
  int pos = vertical ? m_top : m_left;
  int end = vertical ? Count() : ContentWidth();
  int target = pos;
  switch (code) {
    case SB_LINEUP: target = pos - line; break;
    case SB_LINEDOWN: target = pos + line; break;
    case SB_PAGEUP: target = pos - page; break;
    case SB_PAGEDOWN: target = pos + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = thumb; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = end; break;
    default: return;  // SB_ENDSCROLL and unknown codes move nothing
  }
  if (vertical) {
    Scroll(target - pos, 0);
  } else {
    Scroll(0, target - pos);
  }
}

int ListViewModel::WheelRows(int delta) { return -delta * kWheelLines / WHEEL_DELTA; }

int ListViewModel::PageRows(bool ensureOne) const {
  int rows = (static_cast<int>(Client().bottom) - HeaderHeight()) / RowHeight();
  return std::max(ensureOne ? 1 : 0, rows);
}

int ListViewModel::ContentWidth() const { return m_columns ? Width() + m_left : static_cast<int>(Client().right); }

void ListViewModel::PlaceHeader() {
  if (!m_header) return;
  // The header scrolls with the columns: it starts left of the client area by the offset.
  CRect wanted(-m_left, 0, static_cast<int>(Client().right), HeaderHeight());
  CRect now;
  ::GetWindowRect(m_header, &now);
  ::ScreenToClient(Hwnd(), reinterpret_cast<POINT*>(&now.left));
  ::ScreenToClient(Hwnd(), reinterpret_cast<POINT*>(&now.right));
  if (now.EqualRect(&wanted)) return;  // rows come and go far more often than the header moves
  ::MoveWindow(m_header, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom, TRUE);
}

void ListViewModel::SyncScrollBars() {
  if (m_syncing) return;
  m_syncing = true;
  // Showing or hiding one bar changes the client area and so the other bar's page: settle in a few rounds.
  for (int round = 0; round < 3; ++round) {
    int width = ContentWidth();
    m_top = std::clamp(m_top, 0, std::max(0, Count() - PageRows(true)));
    m_left = std::clamp(m_left, 0, std::max(0, width - static_cast<int>(Client().right)));
    PlaceHeader();
    if (Style() & LVS_NOSCROLL) break;
    LONG before = ::GetWindowLong(Hwnd(), GWL_STYLE);
    SCROLLINFO rows{sizeof(SCROLLINFO), SIF_ALL & ~SIF_TRACKPOS, 0, std::max(0, Count() - 1),
                    static_cast<UINT>(PageRows(true)), m_top, 0};
    ::SetScrollInfo(Hwnd(), SB_VERT, &rows, FALSE);
    SCROLLINFO pixels{sizeof(SCROLLINFO), SIF_ALL & ~SIF_TRACKPOS, 0, std::max(0, width - 1),
                      static_cast<UINT>(std::max(0, static_cast<int>(Client().right))), m_left, 0};
    ::SetScrollInfo(Hwnd(), SB_HORZ, &pixels, FALSE);
    if (::GetWindowLong(Hwnd(), GWL_STYLE) == before) break;
  }
  m_syncing = false;
}

void ListViewModel::Changed() {
  if (m_redrawOff) return;
  SyncScrollBars();
  Redraw();
}

LRESULT ListViewModel::NotifyItem(UINT code, int index, int subItem, POINT point) {
  NMITEMACTIVATE nm{};
  nm.iItem = index;
  nm.iSubItem = subItem;
  nm.ptAction = point;
  if (Valid(index)) nm.lParam = m_rows[static_cast<std::size_t>(index)].data;
  return Notify(nm.hdr, code);
}

void ListViewModel::Paint(CDC& dc, const RECT& client) {
  COLORREF background = m_background == CLR_NONE ? ::GetSysColor(COLOR_WINDOW) : m_background;
  // Rows lie at fixed steps below the first; the header is asked for its layout once.
  const RECT first = m_top < Count() ? RowRect(m_top, -1, LVIR_BOUNDS) : RECT{0, 0, 0, 0};
  const int rowHeight = RowHeight();
  int end = m_top;
  while (end < Count() && first.top + (end - m_top) * rowHeight < client.bottom) ++end;
  const bool ownerDrawn = (Style() & LVS_OWNERDRAWFIXED) != 0;
  // An owner-drawn row paints its whole rectangle, so the ground is laid only around the rows.
  const int saved = ownerDrawn ? dc.SaveDC() : 0;
  if (ownerDrawn && end > m_top) {
    dc.ExcludeClipRect(first.left, first.top, first.right, first.top + (end - m_top) * rowHeight);
  }
  RECT r = client;
  dc.FillSolidRect(&r, background);
  if (ownerDrawn) dc.RestoreDC(saved);
  for (int i = m_top; i < end; ++i) {
    const int top = first.top + (i - m_top) * rowHeight;
    if (ownerDrawn) {
      PaintOwnerDrawnRow(dc, i, RECT{first.left, top, first.right, top + rowHeight});
    } else {
      PaintRow(dc, i, client);
    }
  }
}

void ListViewModel::PaintOwnerDrawnRow(CDC& dc, int index, const RECT& bounds) {
  const Row& row = m_rows[static_cast<std::size_t>(index)];
  DRAWITEMSTRUCT item{ODT_LISTVIEW, static_cast<UINT>(Id()), static_cast<UINT>(index), ODA_DRAWENTIRE,
                      (row.state & LVIS_SELECTED ? ODS_SELECTED : 0u) | (row.state & LVIS_FOCUSED ? ODS_FOCUS : 0u),
                      Hwnd(), dc.GetSafeHdc(), bounds, static_cast<ULONG_PTR>(row.data)};
  HWND parent = ::GetParent(Hwnd());
  if (parent) ::SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void ListViewModel::PaintRow(CDC& dc, int index, const RECT&) {
  const Row& row = m_rows[static_cast<std::size_t>(index)];
  bool selected = (row.state & LVIS_SELECTED) && (::GetFocus() == Hwnd() || (Style() & LVS_SHOWSELALWAYS));
  RECT bounds = RowRect(index, 0, LVIR_BOUNDS);
  if (selected) {
    RECT highlight = RowRect(index, 0, LVIR_SELECTBOUNDS);
    dc.FillSolidRect(&highlight, ::GetSysColor(::GetFocus() == Hwnd() ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  }
  UINT stateImage = (row.state & LVIS_STATEIMAGEMASK) >> 12;
  if (stateImage && m_images[LVSIL_STATE]) {
    DrawImage(m_images[LVSIL_STATE], static_cast<int>(stateImage) - 1, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
  } else if (stateImage && Checkboxes()) {
    RECT box{bounds.left + 2, bounds.top + 2, bounds.left + 14, bounds.top + 14};
    dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (stateImage == kCheckedImage ? DFCS_CHECKED : 0));
  }
  if (m_images[LVSIL_SMALL] && row.image >= 0) {
    RECT icon = RowRect(index, 0, LVIR_ICON);
    DrawImage(m_images[LVSIL_SMALL], row.image, dc, icon.left, icon.top, selected ? ILD_BLEND50 : ILD_TRANSPARENT);
  }
  int oldMode = dc.SetBkMode(TRANSPARENT);
  for (int c = 0; c < std::max(1, m_columns); ++c) {
    RECT cell = c == 0 ? RowRect(index, 0, LVIR_LABEL) : RowRect(index, c, LVIR_BOUNDS);
    bool highlighted = selected && (c == 0 || (m_extended & LVS_EX_FULLROWSELECT));
    dc.SetTextColor(::GetSysColor(highlighted && ::GetFocus() == Hwnd() ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    cell.left += 4;
    cell.right -= 2;
    // A column too narrow for any text (a hidden one, width 0) shows nothing, not an ellipsis.
    if (static_cast<std::size_t>(c) < row.texts.size() && cell.right > cell.left) {
      // A cell's text stands as its column's heading does, so that values line up under it.
      const UINT align = ColumnAlignment(c);
      dc.DrawText(row.texts[static_cast<std::size_t>(c)].c_str(), -1, &cell, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (m_extended & LVS_EX_GRIDLINES) {
      RECT line = c == 0 ? RowRect(index, 0, LVIR_BOUNDS) : RowRect(index, c, LVIR_BOUNDS);
      dc.Draw3dRect(&line, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNFACE));
    }
  }
  dc.SetBkMode(oldMode);
}

}  // namespace platform::detail
