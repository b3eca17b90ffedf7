#pragma once
// A visible top-level window that records what its controls tell it.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace controls_test {

struct Heard {
  UINT message;
  int id;
  int code;  // WM_COMMAND notification code or NMHDR code
};

class ControlHost : public CWnd {
public:
  std::vector<Heard> heard;
  std::vector<DRAWITEMSTRUCT> drawItems;
  // Returned to every WM_NOTIFY.
  LRESULT notifyAnswer{0};
  // Called with every WM_NOTIFY, to look at the structure while it lives.
  std::function<void(NMHDR*)> onNotify;

  int Count(UINT message, int code) const {
    int n = 0;
    for (const Heard& h : heard) n += h.message == message && h.code == code ? 1 : 0;
    return n;
  }
  void Forget() {
    heard.clear();
    drawItems.clear();
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam) heard.push_back({message, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))});
    if (message == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      heard.push_back({message, static_cast<int>(hdr->idFrom), static_cast<int>(hdr->code)});
      if (onNotify) onNotify(hdr);
      return notifyAnswer;
    }
    if (message == WM_DRAWITEM) {
      drawItems.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A fixture with a visible 400 by 300 host window of class Host for the controls under test;
// every window is gone and the queue empty after each test.
template <class Host>
class HostedTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  Host host;
};

using ControlTest = HostedTest<ControlHost>;

}  // namespace controls_test
