#include "platform/msgbox.h"

#include <string>
#include <vector>

#include "../display/MessageBoxWindow.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/strings.h"
#include "platform/uiscript.h"
#include "platform/windows.h"

namespace platform {
namespace {

// The buttons of each box type, left to right.
std::vector<int> Buttons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

const char* ButtonName(int button) {
  switch (button) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "?";
  }
}

// The text on a button of the box shown to a person; its underlined letter presses it.
const char* ButtonLabel(int button) {
  switch (button) {
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return ButtonName(button);
  }
}

std::string Describe(const char* text, const char* caption, int button) {
  std::string d = "[" + Cp949ToUtf8(caption ? caption : "") + "] \"" + Cp949ToUtf8(text ? text : "") + "\" -> ";
  return d + ButtonName(button);
}

// Shows the box for a person to answer (owner disabled meanwhile); the close box answers Cancel
// where the box has it, or OK on a box with that one button, and so does Escape; a box with
// neither (Yes/No) takes no answer but a button.
int ShowMessageBoxWindow(HWND owner, const char* text, const char* caption, UINT type) {
  std::vector<detail::MessageBoxButton> buttons;
  int cancel = 0;
  for (int id : Buttons(type)) {
    buttons.push_back(detail::MessageBoxButton{id, ButtonLabel(id)});
    if (id == IDCANCEL) cancel = IDCANCEL;
  }
  if (buttons.size() == 1 && buttons.front().id == IDOK) cancel = IDOK;
  std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
  detail::MessageBoxWindow box(text ? text : "", caption ? caption : "", std::move(buttons), defaultIndex, cancel,
                               type & MB_ICONMASK);
  return box.Run(owner);
}

}  // namespace

int DefaultMessageBoxButton(UINT type) {
  std::vector<int> buttons = Buttons(type);
  std::size_t index = (type & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

bool MessageBoxHasButton(UINT type, int button) {
  for (int b : Buttons(type)) {
    if (b == button) return true;
  }
  return false;
}

// Puts the box to the UI script; the default button when nobody answers or the answer is not
// one of the box's buttons.
int AskMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  if (display::IsInteractive()) return ShowMessageBoxWindow(owner, text, caption, type);
  UiScript* script = GetUiScript();
  std::optional<int> answer = script ? script->OnMessageBox(text ? text : "", caption ? caption : "", type) : std::nullopt;
  int fallback = DefaultMessageBoxButton(type);
  if (!answer) {
    LogUnanswered("message box", Describe(text, caption, fallback).c_str());
    return fallback;
  }
  if (!MessageBoxHasButton(type, *answer)) {
    std::string detail = Describe(text, caption, fallback) + " (the script's button " + std::to_string(*answer) +
                         " is not on this box)";
    LogUnanswered("message box", detail.c_str());
    return fallback;
  }
  return *answer;
}

}  // namespace platform

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return platform::AskMessageBox(::GetActiveWindow(), text, platform::AppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
  CString text;
  AfxLoadStringResource(promptId, text);  // a missing string shows an empty box, logged like any other
  return AfxMessageBox(text, type, helpId == static_cast<UINT>(-1) ? promptId : helpId);
}

int MessageBox(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
  return platform::AskMessageBox(owner, text, caption ? caption : "Error", type);
}
