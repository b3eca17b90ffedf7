#pragma once
// A UI script for dialog tests: each modal dialog is answered by the test's function (IDCANCEL
// without one), and each message box is kept and answered with one button.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <platform/uiscript.h>

class AnsweringScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT, CDialog* dialog, HWND wnd) override {
    return answer ? answer(CWnd::FromHandle(wnd), dialog) : IDCANCEL;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.push_back(text);
    return button;
  }

  std::function<INT_PTR(CWnd*, CDialog*)> answer;
  std::vector<std::string> shown;  // message box texts, in order
  int button{IDOK};                // what every message box answers
};
