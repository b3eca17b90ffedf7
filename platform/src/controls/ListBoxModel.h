#pragma once
// List boxes: single, multiple and extended selection, item data, notifications with LBS_NOTIFY.

#include "ControlModel.h"
#include "ItemList.h"

namespace platform::detail {

class ListBoxModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool Multi() const { return (Style() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
  bool HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleSelection(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
  void Select(int index);
  void UserSelect(int index);
  int ItemAt(POINT point) const;
  RECT ItemRect(int index) const;

  ItemList m_items;
  int m_current{-1};
  int m_top{0};
  int m_itemHeight{16};
};

}  // namespace platform::detail
