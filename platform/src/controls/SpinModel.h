#pragma once
// Up-down controls: a position in a range, changed by the arrows, shown in a buddy window.

#include "ControlModel.h"

namespace platform::detail {

class SpinModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  void SetPos(int pos);
  // One click on an arrow: UDN_DELTAPOS (the parent may refuse or change the delta), then the
  // new position and a scroll message.
  void Step(int delta);
  void ShowInBuddy();
  int ReadBuddy() const;

  int m_min{100};  // the system's default range runs downward
  int m_max{0};
  int m_pos{0};
  HWND m_buddy{nullptr};
};

}  // namespace platform::detail
