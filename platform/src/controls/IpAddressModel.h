#pragma once
// IP address fields: four numbers 0-255, or blank.

#include "ControlModel.h"

namespace platform::detail {

class IpAddressModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  void Show();

  BYTE m_fields[4]{0, 0, 0, 0};
  bool m_blank{true};
};

}  // namespace platform::detail
