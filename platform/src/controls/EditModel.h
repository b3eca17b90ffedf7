#pragma once
// Single- and multi-line edits: the text, selection, limit, password character and scroll line.

#include "ControlModel.h"

namespace platform::detail {

class EditModel : public ControlModel {
public:
  explicit EditModel(HWND hwnd);
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool Multiline() const { return (Style() & ES_MULTILINE) != 0; }
  bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
  bool HandleText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleSelection(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleLines(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
  void SetText(const std::string& text);
  // Replaces the selection; typed text that would pass the limit is refused with EN_MAXTEXT,
  // programmatic text is cut to fit. Notifies when the text changed.
  void ReplaceSelection(std::string text, bool typed);
  void TypeChar(char ch);
  void KeyDown(UINT key);
  void SetSelection(int start, int end);
  void Changed();
  // Starting offsets of every line ("\r\n" ends a line).
  std::vector<int> LineStarts() const;
  int LineOf(int offset) const;
  std::string Shown() const;

  std::string m_text;
  int m_selStart{0};
  int m_selEnd{0};
  UINT m_limit{0x7FFFFFFE};
  char m_password{0};
  int m_firstLine{0};
  bool m_modified{false};
  bool m_fmtLines{false};
};

}  // namespace platform::detail
