#include "HeaderModel.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "ImageListStore.h"

namespace platform::detail {
namespace {

constexpr int kDividerSlop = 4;  // pixels either side of a divider that grab it
constexpr int kDragStart = 5;    // pixels the mouse moves before a press becomes a drag

}  // namespace

bool HeaderModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (HandleItems(message, wParam, lParam, result)) return true;
  return HandleMouse(message, wParam, lParam);
}

bool HeaderModel::HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  int index = static_cast<int>(wParam);
  switch (message) {
    case HDM_GETITEMCOUNT: result = Count(); return true;
    case HDM_INSERTITEM: result = lParam ? Insert(index, *reinterpret_cast<HDITEM*>(lParam)) : -1; break;
    case HDM_DELETEITEM: result = Erase(index); break;
    case HDM_GETITEM: result = lParam && Fetch(index, *reinterpret_cast<HDITEM*>(lParam)); return true;
    case HDM_SETITEM:
      if (index < 0 || index >= Count() || !lParam) { result = FALSE; return true; }
      Apply(m_items[static_cast<std::size_t>(index)], index, *reinterpret_cast<HDITEM*>(lParam));
      result = TRUE;
      break;
    case HDM_GETITEMRECT:
      if (index < 0 || index >= Count() || !lParam) { result = FALSE; return true; }
      *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
      result = TRUE;
      return true;
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (!info) { result = -1; return true; }
      info->iItem = HitTest(info->pt, info->flags);
      result = info->iItem;
      return true;
    }
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (!layout || !layout->prc || !layout->pwpos) { result = FALSE; return true; }
      RECT& r = *layout->prc;
      int height = (Style() & HDS_HIDDEN) ? 0 : Height();
      *layout->pwpos = WINDOWPOS{Hwnd(), nullptr, r.left, r.top, r.right - r.left, height, SWP_NOZORDER};
      r.top += height;
      result = TRUE;
      return true;
    }
    case HDM_SETIMAGELIST:
      result = reinterpret_cast<LRESULT>(m_images);
      m_images = reinterpret_cast<HIMAGELIST>(lParam);
      break;
    case HDM_GETIMAGELIST: result = reinterpret_cast<LRESULT>(m_images); return true;
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out || index != Count()) { result = FALSE; return true; }
      std::copy(m_order.begin(), m_order.end(), out);
      result = TRUE;
      return true;
    }
    case HDM_SETORDERARRAY: {
      const int* in = reinterpret_cast<const int*>(lParam);
      result = in && index == Count() && SetOrder(std::vector<int>(in, in + index));
      break;
    }
    case HDM_ORDERTOINDEX: result = index >= 0 && index < Count() ? m_order[static_cast<std::size_t>(index)] : index; return true;
    case HDM_SETHOTDIVIDER:
      m_hotDivider = wParam ? DividerAt(CPoint(lParam)) : static_cast<int>(lParam);
      if (m_hotDivider < 0 || m_hotDivider > Count()) m_hotDivider = -1;
      result = m_hotDivider;
      break;
    default: return false;
  }
  Redraw();
  return true;
}

int HeaderModel::Insert(int index, const HDITEM& in) {
  if (index < 0) return -1;
  index = std::min(index, Count());
  for (int& i : m_order) {
    if (i >= index) ++i;
  }
  m_items.insert(m_items.begin() + index, Item{});
  m_order.insert(m_order.begin() + index, index);
  Apply(m_items[static_cast<std::size_t>(index)], index, in);
  return index;
}

bool HeaderModel::Erase(int index) {
  if (index < 0 || index >= Count()) return false;
  m_items.erase(m_items.begin() + index);
  m_order.erase(m_order.begin() + OrderOf(index));
  for (int& i : m_order) {
    if (i > index) --i;
  }
  return true;
}

void HeaderModel::Apply(Item& item, int index, const HDITEM& in) {
  if (in.mask & HDI_WIDTH) item.width = std::max(0, in.cxy);
  if (in.mask & HDI_TEXT) item.text = in.pszText ? in.pszText : "";
  if (in.mask & HDI_FORMAT) item.format = in.fmt;
  if (in.mask & HDI_LPARAM) item.data = in.lParam;
  if (in.mask & HDI_BITMAP) item.bitmap = in.hbm;
  if (in.mask & HDI_IMAGE) item.image = in.iImage;
  if (in.mask & HDI_ORDER) MoveInOrder(index, in.iOrder);
}

bool HeaderModel::Fetch(int index, HDITEM& out) const {
  if (index < 0 || index >= Count()) return false;
  const Item& item = m_items[static_cast<std::size_t>(index)];
  if (out.mask & HDI_WIDTH) out.cxy = item.width;
  if ((out.mask & HDI_TEXT) && out.pszText && out.cchTextMax > 0) {
    std::size_t n = std::min(item.text.size(), static_cast<std::size_t>(out.cchTextMax - 1));
    std::memcpy(out.pszText, item.text.data(), n);
    out.pszText[n] = '\0';
  }
  if (out.mask & HDI_FORMAT) out.fmt = item.format;
  if (out.mask & HDI_LPARAM) out.lParam = item.data;
  if (out.mask & HDI_BITMAP) out.hbm = item.bitmap;
  if (out.mask & HDI_IMAGE) out.iImage = item.image;
  if (out.mask & HDI_ORDER) out.iOrder = OrderOf(index);
  return true;
}

// Accepts only a permutation of the item indexes: anything else would lose or repeat columns.
bool HeaderModel::SetOrder(const std::vector<int>& order) {
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < Count(); ++i) {
    if (sorted[static_cast<std::size_t>(i)] != i) return false;
  }
  m_order = order;
  return true;
}

void HeaderModel::MoveInOrder(int index, int position) {
  position = std::clamp(position, 0, Count() - 1);
  m_order.erase(m_order.begin() + OrderOf(index));
  m_order.insert(m_order.begin() + position, index);
}

int HeaderModel::OrderOf(int index) const {
  auto it = std::find(m_order.begin(), m_order.end(), index);
  return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

int HeaderModel::Height() const {
  if (m_height == 0) {
    CWindowDC dc(nullptr);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    m_height = tm.tmHeight + 6;
  }
  return m_height;
}

RECT HeaderModel::ItemRect(int index) const {
  int position = OrderOf(index);
  if (position < 0) return RECT{0, 0, 0, 0};
  int left = 0;
  for (int p = 0; p < position; ++p) left += m_items[static_cast<std::size_t>(m_order[static_cast<std::size_t>(p)])].width;
  return RECT{left, 0, left + m_items[static_cast<std::size_t>(index)].width, Client().bottom};
}

int HeaderModel::HitTest(POINT point, UINT& flags) const {
  RECT client = Client();
  flags = 0;
  if (point.y < client.top) flags |= HHT_ABOVE;
  if (point.y >= client.bottom) flags |= HHT_BELOW;
  if (point.x < client.left) flags |= HHT_TOLEFT;
  if (point.x >= client.right) flags |= HHT_TORIGHT;
  if (flags) return -1;
  // A divider wins over the item under it, the later item's divider over an earlier one's.
  for (int p = Count() - 1; p >= 0; --p) {
    int index = m_order[static_cast<std::size_t>(p)];
    RECT r = ItemRect(index);
    if (std::abs(point.x - r.right) <= kDividerSlop) {
      flags = HHT_ONDIVIDER;
      return index;
    }
  }
  for (int index = 0; index < Count(); ++index) {
    RECT r = ItemRect(index);
    if (point.x >= r.left && point.x < r.right) {
      flags = HHT_ONHEADER;
      return index;
    }
  }
  flags = HHT_NOWHERE;
  return -1;
}

int HeaderModel::DropOrderAt(POINT point) const {
  for (int p = 0; p < Count(); ++p) {
    RECT r = ItemRect(m_order[static_cast<std::size_t>(p)]);
    if (point.x >= r.left && point.x < r.right) return point.x > (r.left + r.right) / 2 ? p + 1 : p;
  }
  return -1;
}

// The divider (0 to count) nearest to point.x: the left edge of the item at that order position.
int HeaderModel::DividerAt(POINT point) const {
  int best = 0;
  int bestDistance = std::abs(point.x);
  int x = 0;
  for (int p = 0; p < Count(); ++p) {
    x += m_items[static_cast<std::size_t>(m_order[static_cast<std::size_t>(p)])].width;
    if (std::abs(point.x - x) < bestDistance) {
      best = p + 1;
      bestDistance = std::abs(point.x - x);
    }
  }
  return best;
}

LRESULT HeaderModel::NotifyHeader(UINT code, int index, int button, HDITEM* item) {
  NMHEADER nm{};
  nm.iItem = index;
  nm.iButton = button;
  nm.pitem = item;
  return Notify(nm.hdr, code);
}

bool HeaderModel::HandleMouse(UINT message, WPARAM, LPARAM lParam) {
  CPoint point(lParam);
  switch (message) {
    case WM_LBUTTONDOWN: MouseDown(point); return true;
    case WM_MOUSEMOVE: MouseMove(point); return true;
    case WM_LBUTTONUP: MouseUp(point); return true;
    case WM_LBUTTONDBLCLK: {
      UINT flags = 0;
      int index = HitTest(point, flags);
      if (index >= 0) NotifyHeader(flags == HHT_ONDIVIDER ? HDN_DIVIDERDBLCLICK : HDN_ITEMDBLCLICK, index);
      return true;
    }
    case WM_CAPTURECHANGED:
      m_mode = Mode::None;
      return true;
    default: return false;
  }
}

void HeaderModel::MouseDown(POINT point) {
  UINT flags = 0;
  int index = HitTest(point, flags);
  if (index < 0) return;
  m_active = index;
  m_downAt = point;
  if (flags == HHT_ONDIVIDER) {
    HDITEM item{HDI_WIDTH, m_items[static_cast<std::size_t>(index)].width, nullptr, nullptr, 0, 0, 0, 0, 0};
    if (NotifyHeader(HDN_BEGINTRACK, index, 0, &item)) return;  // the parent forbids resizing
    m_startWidth = item.cxy;
    m_mode = Mode::Tracking;
  } else {
    m_mode = Mode::Pressed;
  }
  ::SetCapture(Hwnd());
}

void HeaderModel::MouseMove(POINT point) {
  if (m_mode == Mode::Tracking) {
    HDITEM item{HDI_WIDTH, std::max(0, m_startWidth + point.x - m_downAt.x), nullptr, nullptr, 0, 0, 0, 0, 0};
    if (NotifyHeader(HDN_TRACK, m_active, 0, &item)) return;
    if (NotifyHeader(HDN_ITEMCHANGING, m_active, 0, &item)) return;
    m_items[static_cast<std::size_t>(m_active)].width = item.cxy;
    NotifyHeader(HDN_ITEMCHANGED, m_active, 0, &item);
    Redraw();
  } else if (m_mode == Mode::Pressed && (Style() & HDS_DRAGDROP) && std::abs(point.x - m_downAt.x) >= kDragStart) {
    HDITEM item{HDI_ORDER, 0, nullptr, nullptr, 0, 0, 0, 0, OrderOf(m_active)};
    m_mode = NotifyHeader(HDN_BEGINDRAG, m_active, 0, &item) ? Mode::None : Mode::Dragging;
    if (m_mode == Mode::None && ::GetCapture() == Hwnd()) ::ReleaseCapture();
  }
  if (m_mode == Mode::Dragging) {
    int drop = DropOrderAt(point);
    m_hotDivider = drop;
    Redraw();
  }
}

void HeaderModel::MouseUp(POINT point) {
  Mode mode = m_mode;
  m_mode = Mode::None;
  if (::GetCapture() == Hwnd()) ::ReleaseCapture();
  if (mode == Mode::Tracking) {
    HDITEM item{HDI_WIDTH, m_items[static_cast<std::size_t>(m_active)].width, nullptr, nullptr, 0, 0, 0, 0, 0};
    NotifyHeader(HDN_ENDTRACK, m_active, 0, &item);
  } else if (mode == Mode::Dragging) {
    EndDrag(point);
  } else if (mode == Mode::Pressed) {
    UINT flags = 0;
    if (HitTest(point, flags) == m_active && flags == HHT_ONHEADER) NotifyHeader(HDN_ITEMCLICK, m_active);
  }
}

// The parent hears where the column goes (iOrder) and may refuse by answering nonzero.
void HeaderModel::EndDrag(POINT point) {
  int drop = DropOrderAt(point);
  int from = OrderOf(m_active);
  int target = drop < 0 ? -1 : (drop > from ? drop - 1 : drop);
  m_hotDivider = -1;
  HDITEM item{HDI_ORDER, 0, nullptr, nullptr, 0, 0, 0, 0, target < 0 ? from : target};
  if (NotifyHeader(HDN_ENDDRAG, m_active, 0, &item) == 0 && target >= 0) MoveInOrder(m_active, item.iOrder);
  Redraw();
}

void HeaderModel::Paint(CDC& dc, const RECT& client) {
  FillFace(dc, client);
  bool enabled = ::IsWindowEnabled(Hwnd()) != FALSE;
  for (int index = 0; index < Count(); ++index) {
    const Item& item = m_items[static_cast<std::size_t>(index)];
    RECT r = ItemRect(index);
    // A column narrowed to nothing shows nothing: no edge, no ellipsis spilling onto its neighbour.
    if (r.right <= r.left) continue;
    bool pressed = m_active == index && m_mode == Mode::Pressed;
    RECT frame = r;
    dc.DrawEdge(&frame, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if ((item.format & HDF_IMAGE) && m_images && item.image >= 0) {
      DrawImage(m_images, item.image, dc, frame.left + 2, frame.top, ILD_TRANSPARENT);
      frame.left += ImageSize(m_images).cx + 4;
    }
    if (item.format & HDF_OWNERDRAW) {
      DRAWITEMSTRUCT draw{ODT_HEADER, static_cast<UINT>(Id()), static_cast<UINT>(index), ODA_DRAWENTIRE,
                          pressed ? ODS_SELECTED : 0u, Hwnd(), dc.GetSafeHdc(), r, static_cast<ULONG_PTR>(item.data)};
      HWND parent = ::GetParent(Hwnd());
      if (parent) ::SendMessage(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
      continue;
    }
    UINT align = (item.format & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                 : (item.format & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER : DT_LEFT;
    frame.left += 4;
    frame.right -= 4;
    if (frame.right <= frame.left) continue;
    DrawLabel(dc, CString(item.text.c_str()), frame, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX,
              enabled);
  }
  if (m_hotDivider >= 0) {
    int x = 0;
    for (int p = 0; p < m_hotDivider && p < Count(); ++p) x += m_items[static_cast<std::size_t>(m_order[static_cast<std::size_t>(p)])].width;
    dc.FillSolidRect(x - 1, 0, 2, client.bottom, RGB(0, 0, 0));
  }
}

}  // namespace platform::detail
