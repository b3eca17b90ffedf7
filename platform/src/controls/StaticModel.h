#pragma once
// Static text, frames and bitmaps; with SS_NOTIFY clicks reach the parent.

#include "ControlModel.h"

namespace platform::detail {

class StaticModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  DWORD Kind() const { return Style() & SS_TYPEMASK; }
  void PaintBitmap(CDC& dc);

  HANDLE m_image{nullptr};
  HICON m_icon{nullptr};
};

}  // namespace platform::detail
