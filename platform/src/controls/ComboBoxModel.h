#pragma once
// Combo boxes: drop-down (with an edit child, id 1001) and drop list, extended UI, CBN_* codes.

#include "ControlModel.h"
#include "ItemList.h"

namespace platform::detail {

class ComboBoxModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool HasEdit() const { return (Style() & 0x3) != CBS_DROPDOWNLIST; }
  HWND Edit() const { return ::GetDlgItem(Hwnd(), kComboEditId); }
  void CreateEdit();
  bool HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleState(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void SetSelection(int index);
  // A selection the user made: the edit shows it, CBN_SELCHANGE follows.
  void UserSelect(int index);
  void Drop(bool drop);
  void KeyDown(UINT key);

  ItemList m_items;
  int m_current{-1};
  bool m_dropped{false};
  bool m_extendedUi{false};
  bool m_showingSelection{false};  // the edit's text follows the list selection
  int m_itemHeight{16};
};

}  // namespace platform::detail
