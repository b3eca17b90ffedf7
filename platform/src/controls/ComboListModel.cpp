#include "ComboListModel.h"

#include <algorithm>

#include "ComboBoxModel.h"

namespace platform::detail {
namespace {

constexpr int kBorder = 1;
constexpr int kWheelRows = 3;  // rows one wheel notch scrolls

}  // namespace

bool ComboListModel::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      m_combo = cs ? static_cast<HWND>(cs->lpCreateParams) : nullptr;
      return false;
    }
    case WM_MOUSEACTIVATE: result = MA_NOACTIVATE; return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: SetHot(ItemAt(point)); return true;
    case WM_LBUTTONUP: {
      int index = ItemAt(point);
      ComboBoxModel* combo = Combo();
      if (index >= 0 && combo) combo->ChooseFromList(index);
      return true;
    }
    case WM_MOUSEWHEEL: {
      int rows = static_cast<SHORT>(HIWORD(wParam)) > 0 ? -kWheelRows : kWheelRows;
      ScrollTo(m_top + rows);
      return true;
    }
    case WM_VSCROLL: {
      int page = VisibleRows();
      switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(m_top - 1); break;
        case SB_LINEDOWN: ScrollTo(m_top + 1); break;
        case SB_PAGEUP: ScrollTo(m_top - page); break;
        case SB_PAGEDOWN: ScrollTo(m_top + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
          ::GetScrollInfo(Hwnd(), SB_VERT, &info);
          ScrollTo(info.nTrackPos);
          break;
        }
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(Count()); break;
        default: break;
      }
      return true;
    }
    default: return false;
  }
}

ComboBoxModel* ComboListModel::Combo() const { return ModelAs<ComboBoxModel>(m_combo); }

int ComboListModel::Count() const {
  ComboBoxModel* combo = Combo();
  return combo ? combo->Items().Count() : 0;
}

int ComboListModel::VisibleRows() const {
  ComboBoxModel* combo = Combo();
  int height = static_cast<int>(Client().bottom) - 2 * kBorder;
  return combo ? std::max(1, height / combo->ItemHeight()) : 1;
}

void ComboListModel::Reset() {
  ComboBoxModel* combo = Combo();
  m_hot = combo ? combo->Current() : -1;
  int rows = VisibleRows();
  if (m_hot >= 0 && m_hot < m_top) m_top = m_hot;
  if (m_hot >= m_top + rows) m_top = m_hot - rows + 1;
  ScrollTo(m_top);
}

void ComboListModel::ScrollTo(int top) {
  int rows = VisibleRows();
  m_top = std::clamp(top, 0, std::max(0, Count() - rows));
  if (::GetWindowLong(Hwnd(), GWL_STYLE) & WS_VSCROLL) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count() - 1),
                    static_cast<UINT>(rows), m_top, 0};
    ::SetScrollInfo(Hwnd(), SB_VERT, &info, TRUE);
  }
  Redraw();
}

void ComboListModel::SetHot(int index) {
  if (index == m_hot) return;
  m_hot = index;
  Redraw();
}

RECT ComboListModel::ItemRect(int index) const {
  ComboBoxModel* combo = Combo();
  int height = combo ? combo->ItemHeight() : 1;
  int top = kBorder + (index - m_top) * height;
  return RECT{kBorder, top, static_cast<int>(Client().right) - kBorder, top + height};
}

int ComboListModel::ItemAt(POINT point) const {
  RECT client = Client();
  if (point.x < kBorder || point.x >= client.right - kBorder || point.y < kBorder || point.y >= client.bottom - kBorder) return -1;
  for (int i = m_top; i < Count() && i < m_top + VisibleRows(); ++i) {
    RECT r = ItemRect(i);
    if (point.y >= r.top && point.y < r.bottom) return i;
  }
  return -1;
}

void ComboListModel::Paint(CDC& dc, const RECT& client) {
  dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  dc.Draw3dRect(&client, ::GetSysColor(COLOR_WINDOWFRAME), ::GetSysColor(COLOR_WINDOWFRAME));
  ComboBoxModel* combo = Combo();
  if (!combo) return;
  for (int i = m_top; i < Count(); ++i) {
    RECT row = ItemRect(i);
    if (row.top >= client.bottom - kBorder) break;
    DrawItemRow(dc, row, combo->Items().At(i).text.c_str(), i == m_hot);
  }
}

}  // namespace platform::detail
