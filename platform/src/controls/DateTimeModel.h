#pragma once
// The date-time picker: a validated SYSTEMTIME, or no value when DTS_SHOWNONE allows it.

#include "ControlModel.h"
#include "platform/controls_datetime.h"

namespace platform::detail {

class DateTimeModel : public ControlModel {
public:
  explicit DateTimeModel(HWND hwnd);
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

  // A real calendar date and time of day, from 1601 on.
  static bool IsValid(const SYSTEMTIME& st);

private:
  LRESULT Get(SYSTEMTIME* out) const;
  LRESULT Set(WPARAM flag, const SYSTEMTIME* in);
  // The user moves the date by days and the parent hears of it.
  void StepDays(int days);
  void TellParent();
  CString DisplayText() const;

  SYSTEMTIME m_value{};
  bool m_none{false};
};

}  // namespace platform::detail
