#pragma once
// IP address fields: four numbers 0-255, each of which may be blank. A person types digits into
// the current field; ".", Right and Left move between fields, BackSpace goes back over them. A
// field entered by the keyboard's focus, a click, "." or a full field before it is selected, so
// that what is typed replaces it; a number over 255 becomes 255 and a message says so.

#include <string>

#include "ControlModel.h"

namespace platform::detail {

class IpAddressModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
  bool Blank() const;
  // Puts four numbers (or blanks) in and tells no one: the program's own changes.
  void SetFields(const int values[4]);
  // A person's change: the text follows, EN_CHANGE and IPN_FIELDCHANGED go to the parent.
  void FieldEdited(int field);
  // Makes field current, its text selected when select; leaving a field tells the parent its number.
  void MoveTo(int field, bool select = false);
  void TypeDigit(char digit);
  // Tells the person that value was more than a field holds.
  void ReportTooLarge(int value);
  void BackSpace();
  // Where field i is drawn (client coordinates).
  RECT FieldRect(int field) const;
  void Show();

  std::string m_fields[4];  // digits as typed, "" for blank
  int m_current{0};         // the field keys go to
  bool m_selected{false};   // the current field's text is selected: a digit replaces it
  bool m_caretOn{false};
};

}  // namespace platform::detail
