#include "TreeModel.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "ImageListStore.h"
#include "platform/dialogs.h"

namespace platform::detail {

bool TreeModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case TVM_INSERTITEM:
      result = lParam ? reinterpret_cast<LRESULT>(Insert(*reinterpret_cast<TVINSERTSTRUCT*>(lParam))) : 0;
      break;
    case TVM_DELETEITEM: result = Delete(reinterpret_cast<HTREEITEM>(lParam)); break;
    case TVM_GETCOUNT: result = static_cast<LRESULT>(m_all.size()); return true;
    case TVM_SELECTITEM: result = Select(reinterpret_cast<HTREEITEM>(lParam), TVC_UNKNOWN); break;
    case TVM_GETNEXTITEM: result = reinterpret_cast<LRESULT>(Next(reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam))); return true;
    case TVM_GETITEM: result = lParam && GetItem(*reinterpret_cast<TVITEM*>(lParam)); return true;
    case TVM_SETITEM: result = lParam && SetItem(*reinterpret_cast<TVITEM*>(lParam)); break;
    case TVM_EXPAND: {
      Node* node = Find(reinterpret_cast<HTREEITEM>(lParam));
      if (!node) { result = FALSE; return true; }
      result = Expand(node, static_cast<UINT>(wParam), false);
      break;
    }
    case TVM_SETIMAGELIST:
      result = reinterpret_cast<LRESULT>(m_images);
      m_images = reinterpret_cast<HIMAGELIST>(lParam);
      break;
    default: return HandleInput(message, wParam, lParam, result);
  }
  Redraw();
  return true;
}

bool TreeModel::HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_LBUTTONDOWN: {
      ::SetFocus(Hwnd());
      Node* node = NodeAt(point);
      if (OnButton(node, point)) {
        Expand(node, TVE_TOGGLE, true);
      } else if (node && point.x >= ItemLeft(node) - (m_images ? 0 : 2)) {
        Select(ItemOf(node), TVC_BYMOUSE);
      }
      NMHDR hdr{};
      Notify(hdr, NM_CLICK);
      Redraw();
      return true;
    }
    case WM_LBUTTONDBLCLK: {
      // A second click on a button is a click of its own; elsewhere the parent may take the
      // double click, and otherwise it opens or closes the item.
      Node* node = NodeAt(point);
      if (OnButton(node, point)) {
        Expand(node, TVE_TOGGLE, true);
        return true;
      }
      NMHDR hdr{};
      if (Notify(hdr, NM_DBLCLK)) return true;
      node = NodeAt(point);
      if (node && !node->children.empty() && point.x >= ItemLeft(node) - 2) Expand(node, TVE_TOGGLE, true);
      Redraw();
      return true;
    }
    case WM_KEYDOWN: KeyDown(static_cast<UINT>(wParam)); return true;
    case WM_CHAR:
      if (wParam == '+' && m_selected) Expand(m_selected, TVE_EXPAND, true);
      else if (wParam == '-' && m_selected) Expand(m_selected, TVE_COLLAPSE, true);
      else return false;
      Redraw();
      return true;
    case WM_MOUSEWHEEL: {
      int rows = static_cast<int>(Rows().size());
      int notches = -static_cast<SHORT>(HIWORD(wParam)) * kWheelLines / WHEEL_DELTA;
      m_top = std::clamp(m_top + notches, 0, std::max(0, rows - VisibleRows()));
      Redraw();
      return true;
    }
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Redraw(); return false;
    default: return false;
  }
}

void TreeModel::KeyDown(UINT key) {
  std::vector<Node*> rows = Rows();
  if (rows.empty()) return;
  auto at = std::find(rows.begin(), rows.end(), m_selected);
  int index = at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
  Node* target = nullptr;
  switch (key) {
    case VK_DOWN: target = rows[static_cast<std::size_t>(std::min(index + 1, static_cast<int>(rows.size()) - 1))]; break;
    case VK_UP: target = rows[static_cast<std::size_t>(std::max(index - 1, 0))]; break;
    case VK_HOME: target = rows.front(); break;
    case VK_END: target = rows.back(); break;
    case VK_RIGHT:
      if (!m_selected || m_selected->children.empty()) break;
      if (!(m_selected->state & TVIS_EXPANDED)) Expand(m_selected, TVE_EXPAND, true);
      else target = m_selected->children.front().get();
      break;
    case VK_LEFT:
      if (!m_selected) break;
      if ((m_selected->state & TVIS_EXPANDED) && !m_selected->children.empty()) Expand(m_selected, TVE_COLLAPSE, true);
      else if (m_selected->parent != &m_root) target = m_selected->parent;
      break;
    case VK_ADD:
      if (m_selected) Expand(m_selected, TVE_EXPAND, true);
      break;
    case VK_SUBTRACT:
      if (m_selected) Expand(m_selected, TVE_COLLAPSE, true);
      break;
    default: return;
  }
  if (target) Select(ItemOf(target), TVC_BYKEYBOARD);
  EnsureSelectedVisible();
  Redraw();
}

bool TreeModel::Expand(Node* node, UINT code, bool byPerson) {
  code &= TVE_TOGGLE;
  bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !(node->state & TVIS_EXPANDED));
  if (expand == ((node->state & TVIS_EXPANDED) != 0)) return true;
  if (byPerson && node->children.empty()) return false;
  NMTREEVIEW nm{};
  nm.action = expand ? TVE_EXPAND : TVE_COLLAPSE;
  FillItem(node, nm.itemNew);
  NMTREEVIEW after = nm;
  if (byPerson && Notify(nm.hdr, TVN_ITEMEXPANDING)) return false;
  if (!Find(ItemOf(node))) return false;  // the parent deleted it meanwhile
  node->state = expand ? node->state | TVIS_EXPANDED : node->state & ~TVIS_EXPANDED;
  if (!expand) {
    // A selection inside what closes moves up to the item that closed.
    for (Node* p = m_selected ? m_selected->parent : nullptr; p; p = p->parent) {
      if (p == node) {
        Select(ItemOf(node), TVC_UNKNOWN);
        break;
      }
    }
  }
  int rows = static_cast<int>(Rows().size());
  m_top = std::clamp(m_top, 0, std::max(0, rows - VisibleRows()));
  if (byPerson) {
    FillItem(node, after.itemNew);
    Notify(after.hdr, TVN_ITEMEXPANDED);
  }
  Redraw();
  return true;
}

TreeModel::Node* TreeModel::Find(HTREEITEM item) const {
  auto* node = reinterpret_cast<Node*>(item);
  return std::find(m_all.begin(), m_all.end(), node) == m_all.end() ? nullptr : node;
}

HTREEITEM TreeModel::Insert(const TVINSERTSTRUCT& insert) {
  Node* parent = insert.hParent == TVI_ROOT || !insert.hParent ? &m_root : Find(insert.hParent);
  if (!parent) return nullptr;
  auto node = std::make_unique<Node>();
  node->parent = parent;
  const TVITEM& item = insert.item;
  if ((item.mask & TVIF_TEXT) && item.pszText) node->text = item.pszText;
  if (item.mask & TVIF_PARAM) node->data = item.lParam;
  if (item.mask & TVIF_IMAGE) node->image = item.iImage;
  if (item.mask & TVIF_SELECTEDIMAGE) node->selectedImage = item.iSelectedImage;
  if (item.mask & TVIF_STATE) node->state = item.state & item.stateMask & ~TVIS_SELECTED;
  auto& siblings = parent->children;
  auto at = siblings.end();
  if (insert.hInsertAfter == TVI_FIRST) {
    at = siblings.begin();
  } else if (insert.hInsertAfter == TVI_SORT) {
    at = std::find_if(siblings.begin(), siblings.end(), [&](const auto& s) { return ::strcasecmp(s->text.c_str(), node->text.c_str()) > 0; });
  } else if (insert.hInsertAfter != TVI_LAST) {
    auto after = std::find_if(siblings.begin(), siblings.end(), [&](const auto& s) { return ItemOf(s.get()) == insert.hInsertAfter; });
    if (after != siblings.end()) at = after + 1;
  }
  Node* raw = node.get();
  siblings.insert(at, std::move(node));
  m_all.push_back(raw);
  return ItemOf(raw);
}

void TreeModel::Forget(Node& node) {
  for (auto& child : node.children) Forget(*child);
  NMTREEVIEW nm{};
  FillItem(&node, nm.itemOld);
  Notify(nm.hdr, TVN_DELETEITEM);
  if (m_selected == &node) m_selected = nullptr;
  m_all.erase(std::remove(m_all.begin(), m_all.end(), &node), m_all.end());
}

bool TreeModel::Delete(HTREEITEM item) {
  if (item == TVI_ROOT || !item) {
    for (auto& child : m_root.children) Forget(*child);
    m_root.children.clear();
    return true;
  }
  Node* node = Find(item);
  if (!node) return false;
  Forget(*node);
  auto& siblings = node->parent->children;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [&](const auto& s) { return s.get() == node; }), siblings.end());
  return true;
}

// The parent hears of the change and may refuse it; TVN_SELCHANGED arrives before this returns.
bool TreeModel::Select(HTREEITEM item, UINT action) {
  Node* node = item ? Find(item) : nullptr;
  if (item && !node) return false;
  if (node == m_selected) return true;
  NMTREEVIEW nm{};
  nm.action = action;
  FillItem(m_selected, nm.itemOld);
  FillItem(node, nm.itemNew);
  NMTREEVIEW changed = nm;
  if (Notify(nm.hdr, TVN_SELCHANGING)) return false;
  if (m_selected) m_selected->state &= ~TVIS_SELECTED;
  m_selected = item ? Find(item) : nullptr;  // the parent may have deleted it meanwhile
  if (m_selected) m_selected->state |= TVIS_SELECTED;
  Notify(changed.hdr, TVN_SELCHANGED);
  return true;
}

HTREEITEM TreeModel::Next(HTREEITEM item, UINT relation) const {
  if (relation == TVGN_ROOT) return m_root.children.empty() ? nullptr : ItemOf(m_root.children.front().get());
  if (relation == TVGN_CARET) return ItemOf(m_selected);
  const Node* node = item == TVI_ROOT ? &m_root : Find(item);
  if (!node) return nullptr;
  if (relation == TVGN_CHILD) return node->children.empty() ? nullptr : ItemOf(node->children.front().get());
  if (relation == TVGN_PARENT) return node->parent == &m_root ? nullptr : ItemOf(node->parent);
  if (!node->parent) return nullptr;
  const auto& siblings = node->parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& s) { return s.get() == node; });
  if (relation == TVGN_NEXT) return it + 1 == siblings.end() ? nullptr : ItemOf((it + 1)->get());
  if (relation == TVGN_PREVIOUS) return it == siblings.begin() ? nullptr : ItemOf((it - 1)->get());
  return nullptr;
}

bool TreeModel::SetItem(const TVITEM& item) {
  Node* node = Find(item.hItem);
  if (!node) return false;
  if ((item.mask & TVIF_TEXT) && item.pszText) node->text = item.pszText;
  if (item.mask & TVIF_PARAM) node->data = item.lParam;
  if (item.mask & TVIF_IMAGE) node->image = item.iImage;
  if (item.mask & TVIF_SELECTEDIMAGE) node->selectedImage = item.iSelectedImage;
  if (item.mask & TVIF_STATE) node->state = (node->state & ~(item.stateMask & ~TVIS_SELECTED)) | (item.state & item.stateMask & ~TVIS_SELECTED);
  return true;
}

bool TreeModel::GetItem(TVITEM& item) const {
  Node* node = Find(item.hItem);
  if (!node) return false;
  if ((item.mask & TVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    std::size_t n = std::min(node->text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::memcpy(item.pszText, node->text.data(), n);
    item.pszText[n] = '\0';
  }
  if (item.mask & TVIF_PARAM) item.lParam = node->data;
  if (item.mask & TVIF_IMAGE) item.iImage = node->image;
  if (item.mask & TVIF_SELECTEDIMAGE) item.iSelectedImage = node->selectedImage;
  if (item.mask & TVIF_STATE) item.state = node->state & item.stateMask;
  if (item.mask & TVIF_CHILDREN) item.cChildren = node->children.empty() ? 0 : 1;
  return true;
}

void TreeModel::FillItem(const Node* node, TVITEM& item) const {
  item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
  item.hItem = ItemOf(const_cast<Node*>(node));
  item.lParam = node ? node->data : 0;
  item.state = node ? node->state : 0;
}

void TreeModel::Visible(Node& node, std::vector<Node*>& out) {
  for (auto& child : node.children) {
    out.push_back(child.get());
    if (child->state & TVIS_EXPANDED) Visible(*child, out);
  }
}

std::vector<TreeModel::Node*> TreeModel::Rows() {
  std::vector<Node*> rows;
  Visible(m_root, rows);
  return rows;
}

TreeModel::Node* TreeModel::NodeAt(POINT point) {
  std::vector<Node*> rows = Rows();
  if (point.y < 0) return nullptr;
  int index = m_top + point.y / m_rowHeight;
  return index < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(index)] : nullptr;
}

bool TreeModel::OnButton(const Node* node, POINT point) const {
  if (!node) return false;
  RECT box = ButtonRect(node, point.y / m_rowHeight);
  ::InflateRect(&box, 2, 2);  // a little room around the small box
  return ::PtInRect(&box, point) != FALSE;
}

int TreeModel::VisibleRows() const {
  RECT client = Client();
  return std::max(1, static_cast<int>(client.bottom - client.top) / m_rowHeight);
}

void TreeModel::EnsureSelectedVisible() {
  std::vector<Node*> rows = Rows();
  auto at = std::find(rows.begin(), rows.end(), m_selected);
  if (at == rows.end()) return;
  int index = static_cast<int>(at - rows.begin());
  m_top = std::clamp(m_top, index - VisibleRows() + 1, index);
}

int TreeModel::Level(const Node* node) const {
  int depth = 0;
  for (Node* p = node->parent; p && p != &m_root; p = p->parent) ++depth;
  return depth + ((Style() & TVS_LINESATROOT) && (Style() & (TVS_HASLINES | TVS_HASBUTTONS)) ? 1 : 0);
}

int TreeModel::ItemLeft(const Node* node) const { return 3 + Level(node) * m_indent; }

RECT TreeModel::ButtonRect(const Node* node, int row) const {
  int level = Level(node);
  if (!(Style() & TVS_HASBUTTONS) || node->children.empty() || level == 0) return RECT{0, 0, 0, 0};
  int cx = 3 + (level - 1) * m_indent + m_indent / 2;
  int cy = row * m_rowHeight + m_rowHeight / 2;
  return RECT{cx - 4, cy - 4, cx + 5, cy + 5};
}

void TreeModel::PaintLines(CDC& dc, const Node* node, int top) {
  const COLORREF grey = RGB(128, 128, 128);
  auto dottedV = [&](int x, int y0, int y1) {
    for (int y = y0 + ((y0 + x) & 1); y < y1; y += 2) dc.SetPixel(x, y, grey);
  };
  auto hasNext = [](const Node* n) { return n->parent && n->parent->children.back().get() != n; };
  int level = Level(node);
  int mid = top + m_rowHeight / 2;
  // Each ancestor still followed by a sibling carries its line through this row.
  int k = level - 1;
  for (const Node* a = node->parent; a && a->parent && k >= 1; a = a->parent, --k) {
    if (hasNext(a)) dottedV(3 + (k - 1) * m_indent + m_indent / 2, top, top + m_rowHeight);
  }
  if (level == 0) return;
  int cx = 3 + (level - 1) * m_indent + m_indent / 2;
  bool first = node->parent == &m_root && node->parent->children.front().get() == node;
  dottedV(cx, first ? mid : top, hasNext(node) ? top + m_rowHeight : mid + 1);
  for (int x = cx + 2; x < ItemLeft(node) - 1; x += 2) dc.SetPixel(x, mid, grey);
}

void TreeModel::Paint(CDC& dc, const RECT& client) {
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  std::vector<Node*> rows = Rows();
  bool focused = ::GetFocus() == Hwnd();
  int y = 0;
  for (std::size_t i = static_cast<std::size_t>(std::max(m_top, 0)); i < rows.size(); ++i) {
    Node* node = rows[i];
    if (Style() & TVS_HASLINES) PaintLines(dc, node, y);
    RECT box = ButtonRect(node, y / m_rowHeight);
    if (box.right > box.left) {
      dc.FillSolidRect(&box, ::GetSysColor(COLOR_WINDOW));
      CBrush frame(RGB(128, 128, 128));
      dc.FrameRect(&box, &frame);
      int cx = (box.left + box.right) / 2;
      int cy = (box.top + box.bottom) / 2;
      COLORREF sign = ::GetSysColor(COLOR_WINDOWTEXT);
      for (int x = box.left + 2; x < box.right - 2; ++x) dc.SetPixel(x, cy, sign);
      if (!(node->state & TVIS_EXPANDED)) {
        for (int yy = box.top + 2; yy < box.bottom - 2; ++yy) dc.SetPixel(cx, yy, sign);
      }
    }
    int x = ItemLeft(node);
    if (m_images) {
      DrawImage(m_images, node == m_selected ? node->selectedImage : node->image, dc, x, y, ILD_TRANSPARENT);
      x += ImageSize(m_images).cx + 2;
    }
    int width = dc.GetTextExtent(node->text.c_str(), static_cast<int>(node->text.size())).cx;
    RECT label{x, y + 1, x + width + 4, y + m_rowHeight - 1};
    bool marked = node == m_selected && (focused || (Style() & TVS_SHOWSELALWAYS));
    if (marked) dc.FillSolidRect(&label, ::GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF old = dc.SetTextColor(::GetSysColor(marked && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = label;
    text.left += 2;
    dc.DrawText(node->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(old);
    dc.SetBkMode(oldMode);
    if (node == m_selected && focused) dc.DrawFocusRect(&label);
    y += m_rowHeight;
    if (y >= client.bottom) break;
  }
}

}  // namespace platform::detail
