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
  // Ends a press on an arrow: the repeat stops, SB_ENDSCROLL in the scroll message of the
  // control's orientation.
  void Release();
  // An arrow held down steps again, faster the longer it is held, while the pointer stays on it.
  void Repeat();
  // The arrow under a client point: 1 the raising one, -1 the other.
  int ArrowAt(POINT point) const;
  void SendScroll(WORD code);
  // The arrow halves: the one that raises the position (up, or right when horizontal) first.
  void Halves(const RECT& client, RECT& raise, RECT& lower) const;
  void ShowInBuddy();
  int ReadBuddy() const;

  int m_min{100};  // the system's default range runs downward
  int m_max{0};
  int m_pos{0};
  HWND m_buddy{nullptr};
  int m_pressed{0};  // the arrow held down: 1 the raising one, -1 the other, 0 none
  bool m_over{false};          // the pointer is on the arrow held down
  DWORD m_pressedAt{0};        // tick count when the arrow was pressed
};

}  // namespace platform::detail
