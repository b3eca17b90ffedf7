#pragma once
// Tool bars: a row of buttons showing images cut from a bitmap strip, each with a command id
// that reaches the parent as WM_COMMAND when clicked.

#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class ToolBarModel : public ControlModel {
public:
  explicit ToolBarModel(HWND hwnd) : ControlModel(hwnd) {}
  ~ToolBarModel() override;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool HandleButtons(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleMouse(UINT message, LPARAM lParam);
  int IndexOf(int command) const;
  RECT ButtonRect(int index) const;
  // A button's width: the button size within the width limits.
  int ButtonWidth() const;
  int ButtonAt(POINT point) const;
  int AddBitmap(int count, const TBADDBITMAP* add);
  // Sets or clears state bits of the button with command, repainting only when the state
  // changes; false when there is none.
  bool SetStateBits(int command, BYTE bits, bool on);
  // The button under the pointer (-1: none); a flat bar raises it.
  void SetHot(int index);

  std::vector<TBBUTTON> m_buttons;
  HIMAGELIST m_images{nullptr};
  bool m_ownsImages{false};
  HIMAGELIST m_hotImages{nullptr};  // shown by a pressed button; never owned
  int m_minWidth{0};                // the buttons' width limits (0: none)
  int m_maxWidth{0};
  SIZE m_bitmapSize{16, 15};
  SIZE m_buttonSize{23, 22};
  int m_pressed{-1};
  int m_hot{-1};  // the button under the pointer
  static constexpr UINT_PTR kHotTimer = 0x7B01;
};

}  // namespace platform::detail
