#pragma once
// The window that shows one pop-up menu: lays its items out when created (owner-drawn items are
// measured by the owner), paints them, follows the mouse and the arrow keys with a highlight and
// ends with the command a person chose. Tracking (which window is open, sub-menus, closing) is the
// caller's.

#include <vector>

#include "../controls/ControlModel.h"
#include "platform/menus.h"

namespace platform::detail {

// What CreatePopupMenuWindow hands to the new window through its creation parameters.
struct PopupMenuCreation {
  HMENU menu{nullptr};
  HWND owner{nullptr};
};

class PopupMenuWindow : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

  HMENU Menu() const { return m_menu; }
  // The size the laid-out items need, frame included.
  SIZE Extent() const { return m_extent; }
  // The item under a client point; -1 for none.
  int ItemAt(POINT point) const;
  // The item's rectangle in client coordinates; false for a bad index.
  bool ItemRect(int index, RECT& rect) const;
  // Highlights an item (-1: none); separators are never highlighted. Tells the owner by WM_MENUSELECT.
  bool Highlight(int index);
  int Highlighted() const { return m_highlight; }
  // The command of the highlighted item when a person could choose it; 0 otherwise.
  UINT Command() const;
  bool Ended() const { return m_ended; }
  UINT Chosen() const { return m_chosen; }

private:
  struct Row {
    RECT rect{};
    bool ownerDrawn{false};
  };

  void Layout();
  // Width and height one item needs; owner-drawn items are measured by the owner.
  SIZE MeasureItem(UINT position, CDC& dc, int& labelWidth, int& acceleratorWidth);
  void PaintItem(CDC& dc, int index);
  void PaintOwnerDrawn(CDC& dc, int index, const MENUITEMINFO& info);
  void PaintSeparator(CDC& dc, const RECT& rect);
  void PaintText(CDC& dc, int index, const MENUITEMINFO& info, const CString& text);
  bool Choosable(int index) const;
  // Marks item index of the menu (MFS_HILITE) as highlighted or not, so that an owner answering
  // WM_MENUCHAR knows where the highlight is.
  void MarkHilite(int index, bool on) const;
  // The next item after from in direction step (+1 or -1) that can hold the highlight, wrapping.
  int NextHighlightable(int from, int step) const;
  void End(UINT command);
  void KeyDown(UINT key);
  // A typed letter: the item with that mnemonic is chosen (several: the next is highlighted); with
  // none the owner is asked by WM_MENUCHAR. True when the highlighted item's sub-menu should open.
  bool Character(char ch);
  // Carries out a WM_MENUCHAR answer; true when a sub-menu should open.
  bool FollowMenuCharAnswer(LRESULT answer);
  // Chooses item index as a letter does: its command, or its sub-menu (returns true).
  bool ChooseByKey(int index);

  HMENU m_menu{nullptr};
  HWND m_owner{nullptr};
  std::vector<Row> m_rows;  // one per item, in menu order
  SIZE m_extent{0, 0};
  int m_highlight{-1};
  bool m_ended{false};
  UINT m_chosen{0};
};

}  // namespace platform::detail
