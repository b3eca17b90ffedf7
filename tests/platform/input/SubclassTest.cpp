#include <gtest/gtest.h>

#include <vector>

#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/windows.h"

namespace {

struct Seen {
  HWND hwnd;
  UINT message;
  const char* by;
};

std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

WNDPROC g_previous = nullptr;

// A C-style subclass procedure: notes the message, swallows WM_USER + 1, passes the rest on.
LRESULT HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({hwnd, message, "hook"});
  if (message == WM_USER + 1) return 99;
  return ::CallWindowProc(g_previous, hwnd, message, wParam, lParam);
}

class RecordingWnd : public CWnd {
public:
  const MSG* currentInHandler{nullptr};
  UINT currentMessage{0};

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Log().push_back({m_hWnd, message, "object"});
    if (message == WM_USER + 2) {
      currentInHandler = GetCurrentMessage();
      currentMessage = currentInHandler ? currentInHandler->message : 0;
      return 7;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class SubclassTest : public ::testing::Test {
protected:
  void SetUp() override {
    Log().clear();
    g_previous = nullptr;
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
};

std::vector<Seen> For(HWND hwnd, UINT message) {
  std::vector<Seen> out;
  for (const Seen& s : Log()) {
    if (s.hwnd == hwnd && s.message == message) out.push_back(s);
  }
  return out;
}

TEST_F(SubclassTest, ProcedureOverAnObjectSeesMessagesFirst) {
  RecordingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  g_previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(wnd.m_hWnd, GWL_WNDPROC));
  ASSERT_NE(g_previous, nullptr);
  EXPECT_EQ(::SetWindowLongPtr(wnd.m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc)),
            reinterpret_cast<LONG_PTR>(g_previous));
  EXPECT_EQ(::GetWindowLongPtr(wnd.m_hWnd, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(HookProc));

  Log().clear();
  EXPECT_EQ(wnd.SendMessage(WM_USER + 2), 7);
  auto seen = For(wnd.m_hWnd, WM_USER + 2);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_STREQ(seen[0].by, "hook");
  EXPECT_STREQ(seen[1].by, "object");
  EXPECT_EQ(wnd.currentMessage, WM_USER + 2u);

  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 99);  // swallowed: the object never hears it
  EXPECT_EQ(For(wnd.m_hWnd, WM_USER + 1).size(), 1u);

  // Putting the previous procedure back removes the hook.
  ::SetWindowLongPtr(wnd.m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
  Log().clear();
  wnd.SendMessage(WM_USER + 2);
  seen = For(wnd.m_hWnd, WM_USER + 2);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_STREQ(seen[0].by, "object");
}

TEST_F(SubclassTest, RawWindowSubclassChainsToTheClassProcedureAndEndsWithNcDestroy) {
  HWND hwnd = ::CreateWindowEx(0, "AfxWnd", "raw", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  g_previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc)));
  ::SetWindowText(hwnd, "changed");
  char text[16];
  ::GetWindowText(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "changed");  // the default procedure still did its work
  EXPECT_EQ(For(hwnd, WM_SETTEXT).size(), 1u);

  Log().clear();
  ::DestroyWindow(hwnd);
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log().back().message, WM_NCDESTROY);
  EXPECT_EQ(For(hwnd, WM_DESTROY).size(), 1u);
  EXPECT_EQ(For(hwnd, WM_NCDESTROY).size(), 1u);
}

// A parent that keeps F-keys from its children and watches what it lets through.
class FilterWnd : public CWnd {
public:
  int filtered{0};
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F3) {
      ++filtered;
      return TRUE;
    }
    return FALSE;
  }
};

class KeyChild : public CWnd {
public:
  std::vector<UINT> keys;
  std::vector<UINT> chars;
  bool preTranslated{false};
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) preTranslated = true;
    return FALSE;
  }

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEYDOWN) keys.push_back(static_cast<UINT>(wParam));
    if (message == WM_CHAR) chars.push_back(static_cast<UINT>(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST_F(SubclassTest, KeysPassThePreTranslateChainFromFocusUpward) {
  FilterWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
  KeyChild child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 5));
  child.SetFocus();
  platform::input::PressKey(VK_F3);
  platform::input::PressKey('A');
  EXPECT_EQ(parent.filtered, 1);
  ASSERT_EQ(child.keys.size(), 1u);
  EXPECT_EQ(child.keys[0], static_cast<UINT>('A'));
  EXPECT_TRUE(child.preTranslated);
  EXPECT_FALSE(child.chars.empty());  // translated after passing the filters

  // A disabled window gets no keys or clicks.
  child.keys.clear();
  child.EnableWindow(FALSE);
  platform::input::PressKey('B');
  platform::input::Click(child.m_hWnd, POINT{5, 5});
  EXPECT_TRUE(child.keys.empty());
}

}  // namespace
