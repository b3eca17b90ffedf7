#pragma once
// A message box a person answers: a window of its own with the text and one button per answer,
// run in a nested message loop while its owner is disabled.

#include <vector>

#include "platform/geometry.h"
#include "platform/strings.h"
#include "platform/types.h"

namespace platform::detail {

struct MessageBoxButton {
  int id{0};            // IDOK, IDYES, ...
  const char* label{""};
};

class MessageBoxWindow {
public:
  // buttons left to right; defaultIndex is the one that has the focus first; cancelId is what
  // closing the box and Escape answer (0: only a button answers, as in a Yes/No box); iconKind is an MB_ICON* kind shown left of the text (0: none).
  // The buttons answer the dialog keyboard (IsDialogMessage): Tab, the arrows, Space, Return,
  // Escape and their underlined letters.
  MessageBoxWindow(CString text, CString caption, std::vector<MessageBoxButton> buttons, std::size_t defaultIndex,
                   int cancelId, UINT iconKind = 0);
  ~MessageBoxWindow();
  MessageBoxWindow(const MessageBoxWindow&) = delete;
  MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

  // Shows the box over owner (a window of it, or null) and waits for an answer; returns the
  // button, or cancelId (else the default button) when the program is asked to quit meanwhile.
  int Run(HWND owner);

  // The box's window while it runs (tests).
  HWND Window() const { return m_hwnd; }

private:
  static LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND owner);
  SIZE MeasureText() const;
  void CreateButtons(int top, int width);
  void Paint();
  void Answer(int id);

  CString m_text;
  CString m_caption;
  std::vector<MessageBoxButton> m_buttons;
  std::size_t m_defaultIndex{0};
  int m_cancelId{0};
  HWND m_hwnd{nullptr};
  RECT m_textRect{0, 0, 0, 0};
  UINT m_iconKind{0};
  bool m_hasIcon{false};
  int m_result{0};
  bool m_answered{false};
};

}  // namespace platform::detail
