#include "TreeModel.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "ImageListStore.h"

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
      UINT code = static_cast<UINT>(wParam) & TVE_TOGGLE;
      bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !(node->state & TVIS_EXPANDED));
      node->state = expand ? node->state | TVIS_EXPANDED : node->state & ~TVIS_EXPANDED;
      result = TRUE;
      break;
    }
    case TVM_SETIMAGELIST:
      result = reinterpret_cast<LRESULT>(m_images);
      m_images = reinterpret_cast<HIMAGELIST>(lParam);
      break;
    case WM_LBUTTONDOWN: {
      ::SetFocus(Hwnd());
      Node* node = NodeAt(CPoint(lParam));
      if (node) Select(ItemOf(node), TVC_BYMOUSE);
      NMHDR hdr{};
      Notify(hdr, NM_CLICK);
      return true;
    }
    case WM_LBUTTONDBLCLK: {
      NMHDR hdr{};
      Notify(hdr, NM_DBLCLK);
      return true;
    }
    default: return false;
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

TreeModel::Node* TreeModel::NodeAt(POINT point) {
  std::vector<Node*> rows;
  Visible(m_root, rows);
  int index = point.y / m_rowHeight;
  return point.y >= 0 && index < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(index)] : nullptr;
}

void TreeModel::Paint(CDC& dc, const RECT& client) {
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  std::vector<Node*> rows;
  Visible(m_root, rows);
  int y = 0;
  for (Node* node : rows) {
    int depth = 0;
    for (Node* p = node->parent; p && p != &m_root; p = p->parent) ++depth;
    int x = 4 + depth * 16;
    if (m_images) {
      DrawImage(m_images, node == m_selected ? node->selectedImage : node->image, dc, x, y, ILD_TRANSPARENT);
      x += ImageSize(m_images).cx + 2;
    }
    RECT label{x, y, client.right, y + m_rowHeight};
    if (node == m_selected) dc.FillSolidRect(&label, ::GetSysColor(COLOR_HIGHLIGHT));
    int oldMode = dc.SetBkMode(TRANSPARENT);
    COLORREF old = dc.SetTextColor(::GetSysColor(node == m_selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc.DrawText(node->text.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(old);
    dc.SetBkMode(oldMode);
    y += m_rowHeight;
    if (y >= client.bottom) break;
  }
}

}  // namespace platform::detail
