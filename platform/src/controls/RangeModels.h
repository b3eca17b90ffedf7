#pragma once
// Progress bars and trackbars: a position inside a range.

#include "ControlModel.h"

namespace platform::detail {

class ProgressModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  // Sets the position within the range; returns the previous one.
  int SetPos(int pos);

  int m_min{0};
  int m_max{100};
  int m_pos{0};
  int m_step{10};
};

// A trackbar tells its parent each move with WM_HSCROLL (WM_VSCROLL when vertical) and
// TB_ENDTRACK when the user lets go.
class TrackbarModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool Vertical() const { return (Style() & TBS_VERT) != 0; }
  void SetPos(int pos);
  // Moves by the user: the position changes, then the parent hears code.
  void UserMove(int pos, UINT code);
  void Tell(UINT code);
  int PosAt(POINT point) const;
  RECT Thumb() const;

  int m_min{0};
  int m_max{100};
  int m_pos{0};
  int m_line{1};
  int m_page{20};
  bool m_dragging{false};
};

}  // namespace platform::detail
