#pragma once
// Header controls: items (width, text, format, bitmap, image, data) shown in an order array,
// hit testing, divider tracking, drag reordering and the hot divider.

#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class HeaderModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

  int Count() const { return static_cast<int>(m_items.size()); }
  // Rectangle of item index (client coordinates); empty for a bad index.
  RECT ItemRect(int index) const;
  // Item at point and what part of it (HHT_*); -1 when none.
  int HitTest(POINT point, UINT& flags) const;
  int Height() const;

private:
  struct Item {
    std::string text;
    int width{0};
    int format{HDF_LEFT | HDF_STRING};
    LPARAM data{0};
    HBITMAP bitmap{nullptr};
    int image{-1};
  };
  enum class Mode { None, Pressed, Dragging, Tracking };

  bool HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
  int Insert(int index, const HDITEM& item);
  bool Erase(int index);
  void Apply(Item& item, int index, const HDITEM& in);
  bool Fetch(int index, HDITEM& out) const;
  bool SetOrder(const std::vector<int>& order);
  void MoveInOrder(int index, int position);
  int OrderOf(int index) const;
  // Order position a column dropped at point would take; -1 off the items.
  int DropOrderAt(POINT point) const;
  int DividerAt(POINT point) const;
  LRESULT NotifyHeader(UINT code, int index, int button = 0, HDITEM* item = nullptr);
  void MouseDown(POINT point);
  void MouseMove(POINT point);
  void MouseUp(POINT point);
  void EndDrag(POINT point);

  std::vector<Item> m_items;
  std::vector<int> m_order;  // item index at each display position
  HIMAGELIST m_images{nullptr};
  int m_hotDivider{-1};
  Mode m_mode{Mode::None};
  int m_active{-1};   // item pressed, dragged or resized
  POINT m_downAt{0, 0};
  mutable int m_height{0};  // measured once: the system font it follows does not change
  int m_startWidth{0};
};

}  // namespace platform::detail
