#pragma once
// What the widget tests share: the program's resources in a module of their own, and a visible
// top-level window that hosts the widget and records the commands and notifications it hears.

#include <gtest/gtest.h>

#include <vector>

#include <platform/controls.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/resources.h>
#include <platform/windows.h>

#include "orvanta/resources/OrvantaResources.h"

namespace widgets_test {

struct Heard {
  UINT message;
  int id;
  int code;
};

class WidgetHost : public CWnd {
public:
  std::vector<Heard> heard;
  LRESULT notifyAnswer{0};

  int Count(UINT message, int code) const {
    int n = 0;
    for (const Heard& h : heard)
      n += h.message == message && h.code == code ? 1 : 0;
    return n;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && lParam)
      heard.push_back({message, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))});
    if (message == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      heard.push_back({message, static_cast<int>(hdr->idFrom), static_cast<int>(hdr->code)});
      return notifyAnswer;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class WidgetTest : public ::testing::Test {
protected:
  WidgetTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-widget-tests");
    static const bool registered = RegisterOrvantaResources(module.Handle());
    (void)registered;
    m_scope.emplace(module.Handle());
    m_module = &module;
  }
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300, nullptr, nullptr));
  }
  void TearDown() override {
    if (host.GetSafeHwnd())
      host.DestroyWindow();
    platform::PumpMessages();
  }
  // The colour at client point (x, y) of window as painted now.
  static COLORREF PixelAt(CWnd& window, int x, int y) {
    window.Invalidate(FALSE);
    window.UpdateWindow();
    CClientDC dc(&window);
    return dc.GetPixel(x, y);
  }

  platform::ResourceModule* m_module{nullptr};
  WidgetHost host;

private:
  std::optional<platform::ResourceScope> m_scope;
};

}  // namespace widgets_test
