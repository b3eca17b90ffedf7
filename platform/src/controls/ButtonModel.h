#pragma once
// Push buttons, check boxes, radio buttons, group boxes and owner-drawn buttons.

#include "ControlModel.h"

namespace platform::detail {

class ButtonModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  DWORD Kind() const { return Style() & BS_TYPEMASK; }
  bool IsCheckKind() const;
  bool IsRadioKind() const;
  void SetPushed(bool pushed);
  void MouseDown();
  void MouseMove(POINT point);
  void MouseUp(POINT point);
  // What a completed click does: toggles auto buttons, then BN_CLICKED to the parent.
  void Click();
  void UncheckGroupRadios();
  void PaintOwnerDrawn(CDC& dc, const RECT& client);
  void PaintPush(CDC& dc, const RECT& client);
  // The BS_BITMAP picture centred in area (embossed while disabled).
  void PaintImage(CDC& dc, const RECT& area);
  void PaintCheck(CDC& dc, const RECT& client);
  void PaintGroup(CDC& dc, const RECT& client);

  UINT m_check{BST_UNCHECKED};
  bool m_pushed{false};
  bool m_tracking{false};  // left button went down on this button and is still down
  bool m_focus{false};
  HANDLE m_image{nullptr};
};

}  // namespace platform::detail
