#pragma once
// The list of a drop-down combo box, shown as its own pop-up window under the field while the
// list is dropped. It shows the combo box's items; the mouse moves its highlight and a release
// on an item picks it.

#include "ControlModel.h"

namespace platform::detail {

class ComboBoxModel;

class ComboListModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

  // Highlights the combo box's selection and scrolls it into view.
  void Reset();
  // The highlighted row, -1 for none.
  int Hot() const { return m_hot; }
  // The row under a client point; -1 for none.
  int ItemAt(POINT point) const;
  // A row's rectangle in client coordinates.
  RECT ItemRect(int index) const;

private:
  ComboBoxModel* Combo() const;
  int Count() const;
  int VisibleRows() const;
  void SetHot(int index);
  // Makes top the first row shown (kept within the items), the scroll bar following.
  void ScrollTo(int top);

  HWND m_combo{nullptr};
  int m_top{0};
  int m_hot{-1};
};

}  // namespace platform::detail
