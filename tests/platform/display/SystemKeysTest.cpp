// Which key messages a key makes with the modifiers held: Alt turns keys into system keys,
// which menus and accelerators take and typing never sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/windows.h"

namespace {

namespace input = platform::input;

struct KeyMessage {
  UINT message;
  WPARAM wParam;
  bool altContext;  // bit 29 of the key data
  bool operator==(const KeyMessage&) const = default;
};

std::vector<KeyMessage>* g_heard = nullptr;

LRESULT KeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_SYSCOMMAND) {
    g_heard->push_back({message, wParam, (lParam & (LPARAM{1} << 29)) != 0});
    if (message != WM_SYSKEYDOWN) return 0;  // Alt+F4 goes on to the default
  }
  if (message == WM_CLOSE) return 0;
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

class SystemKeysTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, "SystemKeysTest", &wc)) {
      wc.lpfnWndProc = KeyProc;
      wc.lpszClassName = "SystemKeysTest";
      ::RegisterClass(&wc);
    }
    g_heard = &heard;
    window = ::CreateWindowEx(0, "SystemKeysTest", "Keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
    ::SetFocus(window);
  }
  void TearDown() override {
    for (UINT vk : {VK_MENU, VK_CONTROL, VK_SHIFT}) input::SetModifier(vk, false);
    ::DestroyWindow(window);
    g_heard = nullptr;
  }
  std::vector<KeyMessage> heard;
  HWND window{nullptr};
};

TEST_F(SystemKeysTest, AltMakesSystemKeysAndCharactersF10TooButNotCtrlAlt) {
  struct Case {
    const char* name;
    std::vector<UINT> held;
    UINT key;
    std::vector<KeyMessage> expected;
  };
  const std::vector<Case> cases = {
      {"plain letter", {}, 'G', {{WM_KEYDOWN, 'G', false}, {WM_CHAR, 'g', false}, {WM_KEYUP, 'G', false}}},
      {"Alt+letter", {VK_MENU}, 'G', {{WM_SYSKEYDOWN, 'G', true}, {WM_SYSCHAR, 'g', true}, {WM_SYSKEYUP, 'G', true}}},
      {"F10", {}, VK_F10, {{WM_SYSKEYDOWN, VK_F10, false}, {WM_SYSKEYUP, VK_F10, false}}},
      {"Ctrl+Alt+letter", {VK_CONTROL, VK_MENU}, 'G', {{WM_KEYDOWN, 'G', true}, {WM_CHAR, 0x07, true}, {WM_KEYUP, 'G', true}}},
      {"Alt+F4", {VK_MENU}, VK_F4,
       {{WM_SYSKEYDOWN, VK_F4, true}, {WM_SYSCOMMAND, SC_CLOSE, false}, {WM_SYSKEYUP, VK_F4, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    heard.clear();
    for (UINT vk : c.held) input::SetModifier(vk, true);
    input::PressKey(c.key);
    for (UINT vk : c.held) input::SetModifier(vk, false);
    EXPECT_EQ(heard, c.expected);
  }
  // The Alt key itself is a system key, down and up.
  heard.clear();
  input::PressKey(VK_MENU);
  EXPECT_EQ(heard, (std::vector<KeyMessage>{{WM_SYSKEYDOWN, VK_MENU, false}, {WM_SYSKEYUP, VK_MENU, true}}));
}

}  // namespace
