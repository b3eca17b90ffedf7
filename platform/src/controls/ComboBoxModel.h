#pragma once
// Combo boxes: drop-down (with an edit child, id 1001) and drop list, extended UI, CBN_* codes.
// F4, Alt+Down and Alt+Up open and close the list; Escape closes it as no choice.

#include "ControlModel.h"
#include "ItemList.h"

namespace platform::detail {

class ComboBoxModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

  // What the dropped list shows.
  const ItemList& Items() const { return m_items; }
  int Current() const { return m_current; }
  int ItemHeight() const { return m_itemHeight; }
  // A pick in the dropped list: the selection changes as a user's, then the list closes.
  void ChooseFromList(int index);

private:
  bool HasEdit() const { return (Style() & 0x3) != CBS_DROPDOWNLIST; }
  HWND Edit() const { return ::GetDlgItem(Hwnd(), kComboEditId); }
  void CreateEdit();
  bool HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleState(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void SetSelection(int index);
  // A selection the user made: the edit shows it, CBN_SELCHANGE follows.
  void UserSelect(int index);
  // Opens or closes the list; a close that is no choice (Escape) ends with CBN_SELENDCANCEL.
  void Drop(bool drop, bool accept = true);
  void KeyDown(UINT key);
  bool Simple() const { return (Style() & 0x3) == CBS_SIMPLE; }
  int FieldHeight() const { return m_fieldItemHeight + 6; }
  // The closed combo box is only as high as its field; a taller size asked for (a template's
  // rectangle, MoveWindow) is the height with the list dropped.
  void KeepFieldHeight(WINDOWPOS& pos);
  // Screen rectangle of the field with the list dropped below it.
  RECT DroppedRect() const;
  // Shows the list as its own pop-up window under the field, or hides it.
  void ShowList(bool show);
  void PlaceEdit();

  ItemList m_items;
  int m_current{-1};
  bool m_dropped{false};
  bool m_extendedUi{false};
  bool m_showingSelection{false};  // the edit's text follows the list selection
  int m_itemHeight{16};       // rows of the list
  int m_fieldItemHeight{16};  // text line of the field (CB_SETITEMHEIGHT with index -1)
  int m_droppedHeight{0};     // field and list together, from the size the combo box was given
  HWND m_list{nullptr};       // the dropped list's pop-up window, made on first drop
};

}  // namespace platform::detail
