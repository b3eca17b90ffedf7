// The keys of a text field typed through the X server: Delete, Home, End and the arrows edit and
// move, and no key without a character ever types one, in single-line and multi-line edits and
// in a combo box's edit.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "../display/X11Session.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/strings.h"
#include "platform/windows.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

enum class Field { SingleLine, MultiLine, ComboEdit };

struct Case {
  const char* name;
  Field field;
  std::string initial;  // code page 949; the caret starts at 0
  std::vector<unsigned long> keys;
  std::string expected;
};

// Keys that act and never type, pressed where they must change nothing.
const std::vector<unsigned long> kSilentKeys = {XK_Insert, XK_F1, XK_F5, XK_F12, XK_Escape, XK_Prior, XK_Next};

std::vector<unsigned long> Then(std::vector<unsigned long> keys, const std::vector<unsigned long>& more) {
  keys.insert(keys.end(), more.begin(), more.end());
  return keys;
}

class X11EditKeysTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!m_x.Open()) GTEST_SKIP() << "no X server";
    ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "Chat", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 100, 460, 320, nullptr,
                                 nullptr));
    m_x.Settle();
  }

  platform::testing::X11Session m_x;
  CWnd m_frame;
};

TEST_F(X11EditKeysTest, EditingKeysGiveExactlyTheExpectedText) {
  const std::vector<Case> cases = {
      {"single-line", Field::SingleLine, "",
       Then({XK_a, XK_b, XK_c, XK_d, XK_Home, XK_Delete, XK_Right, XK_Delete, XK_End, XK_BackSpace, XK_Up, XK_Down},
            kSilentKeys),
       "b"},
      // Delete takes a whole double-byte character, the arrows step over one.
      {"korean", Field::SingleLine, Cp949("흑백 무승부"),
       {XK_Delete, XK_End, XK_Left, XK_Left, XK_Delete, XK_KP_Delete}, Cp949("백 무")},
      {"multi-line", Field::MultiLine, "ab\r\ncd",
       Then({XK_Down, XK_End, XK_BackSpace, XK_Up, XK_Delete, XK_Home, XK_x}, kSilentKeys), "xa\r\nc"},
      {"combo", Field::ComboEdit, "",
       Then({XK_a, XK_b, XK_c, XK_Home, XK_Delete, XK_End, XK_Left, XK_Delete}, kSilentKeys), "b"},
  };
  int id = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND field = nullptr;
    CEdit edit;
    CComboBox combo;
    CRect where(10, 10, 300, c.field == Field::MultiLine ? 120 : 34);
    if (c.field == Field::ComboEdit) {
      ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(10, 10, 300, 200),
                               &m_frame, ++id));
      field = ::GetWindow(combo.m_hWnd, GW_CHILD);
    } else {
      DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER |
                    (c.field == Field::MultiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL : ES_AUTOHSCROLL);
      ASSERT_TRUE(edit.Create(style, where, &m_frame, ++id));
      field = edit.m_hWnd;
    }
    ASSERT_NE(field, nullptr);
    ::SetWindowText(field, c.initial.c_str());
    ::SendMessage(field, EM_SETSEL, 0, 0);
    ::SetFocus(field);
    m_x.Settle();
    // Sent one at a time: each key is a person's separate press.
    for (unsigned long key : c.keys) m_x.Keys(m_frame.m_hWnd, {key});
    // A marker typed last, at the very end, tells when everything before it has been handled.
    m_x.Keys(m_frame.m_hWnd, {XK_End}, ControlMask);
    m_x.Keys(m_frame.m_hWnd, {XK_z});
    std::string expected = c.expected + "z";
    std::string text;
    EXPECT_TRUE(m_x.WaitFor([&] {
      char buffer[256] = {};
      ::GetWindowText(field, buffer, sizeof buffer);
      text = buffer;
      return text.size() >= expected.size() && text.back() == 'z';
    }));
    EXPECT_EQ(text, expected);
    if (combo.m_hWnd) combo.DestroyWindow();
    if (edit.m_hWnd) edit.DestroyWindow();
  }
}

}  // namespace
