// Korean text in edits: input method text arriving whole, editing by whole characters, and the
// clipboard between edits.
#include <string>
#include <vector>

#include "ControlHost.h"
#include "platform/controls.h"
#include "platform/strings.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

// A window that records the characters it is sent, as a chat box of a program would see them.
class CharacterSink : public CWnd {
public:
  explicit CharacterSink(bool wantsWholeCharacters) : m_whole(wantsWholeCharacters) {}
  std::vector<std::pair<UINT, WPARAM>> got;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR || (message == WM_IME_CHAR && m_whole)) {
      got.emplace_back(message, wParam);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }

private:
  bool m_whole;
};

class EditKoreanTest : public ControlTest {
protected:
  void Make(CEdit& edit, DWORD style, int id, int top = 10) {
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | style, CRect(10, top, 300, top + 80), &host, static_cast<UINT>(id)));
  }
  static std::string Text(const CEdit& edit) {
    CString text;
    edit.GetWindowText(text);
    return text.str();
  }
  static std::pair<int, int> Selection(const CEdit& edit) {
    int start = 0, end = 0;
    edit.GetSel(start, end);
    return {start, end};
  }
  // Whether every byte of text belongs to a whole character of code page 949.
  static bool Whole(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
      unsigned char ch = static_cast<unsigned char>(text[i]);
      int length = Cp949CharLength(text, i);
      if (ch >= 0x80 && length != 2) return false;
      i += static_cast<std::size_t>(length);
    }
    return true;
  }
  CEdit first;
  CEdit second;
};

TEST_F(EditKoreanTest, ComposedTextArrivesAsWholeCharactersAndUnsupportedOnesAreDropped) {
  Make(first, ES_AUTOHSCROLL, 20);
  first.SetFocus();
  input::ComposeText("바둑 game 😀한 판");  // the emoji has no code page 949 form
  EXPECT_EQ(Text(first), Cp949("바둑 game 한 판"));
  EXPECT_TRUE(first.GetModify());

  // A window that does not take WM_IME_CHAR gets the two bytes as WM_CHAR, lead byte first;
  // one that does gets the character at once.
  std::string han = Cp949("한");
  auto lead = static_cast<unsigned char>(han[0]);
  auto trail = static_cast<unsigned char>(han[1]);
  for (bool whole : {false, true}) {
    SCOPED_TRACE(whole ? "WM_IME_CHAR" : "WM_CHAR");
    CharacterSink sink(whole);
    ASSERT_TRUE(sink.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host.m_hWnd, nullptr));
    sink.SetFocus();
    input::ComposeText("a한\xF0\x9F\x98\x80");
    std::vector<std::pair<UINT, WPARAM>> expected{{WM_CHAR, 'a'}};
    if (whole) {
      expected.emplace_back(WM_IME_CHAR, static_cast<WPARAM>(lead << 8 | trail));
    } else {
      expected.emplace_back(WM_CHAR, lead);
      expected.emplace_back(WM_CHAR, trail);
    }
    EXPECT_EQ(sink.got, expected);
    sink.DestroyWindow();
  }
}

TEST_F(EditKoreanTest, CaretKeysBackspaceDeleteAndSelectionMoveOverWholeCharacters) {
  Make(first, ES_AUTOHSCROLL, 20);
  first.SetFocus();
  // Offsets: 가 0-1, a 2, 나 3-4, 다 5-6.
  first.SetWindowText(Cp949("가a나다"));
  first.SetSel(7, 7);
  std::vector<int> stops;
  for (int i = 0; i < 5; ++i) {
    input::PressKey(VK_LEFT);
    stops.push_back(Selection(first).first);
  }
  EXPECT_EQ(stops, (std::vector<int>{5, 3, 2, 0, 0}));
  for (int i = 0; i < 2; ++i) input::PressKey(VK_RIGHT);
  EXPECT_EQ(Selection(first), std::make_pair(3, 3));

  input::SetModifier(VK_SHIFT, true);
  input::PressKey(VK_RIGHT);
  EXPECT_EQ(Selection(first), std::make_pair(3, 5));  // 나 selected
  input::PressKey(VK_LEFT);
  input::PressKey(VK_LEFT);
  EXPECT_EQ(Selection(first), std::make_pair(2, 3));  // back across the anchor: a selected
  input::SetModifier(VK_SHIFT, false);

  // A selection asked for inside characters takes the characters they start.
  first.SetSel(1, 4);
  EXPECT_EQ(Selection(first), std::make_pair(0, 3));

  first.SetSel(7, 7);
  input::PressKey(VK_BACK);
  EXPECT_EQ(Text(first), Cp949("가a나"));
  first.SetSel(0, 0);
  input::PressKey(VK_DELETE);
  EXPECT_EQ(Text(first), Cp949("a나"));
  input::PressKey(VK_END);
  input::PressKey(VK_BACK);
  input::PressKey(VK_BACK);
  EXPECT_EQ(Text(first), "");

  // Bytes typed one at a time: a lead byte goes in only with its trail byte; a lead byte
  // followed by something else is no character and is dropped.
  std::string ga = Cp949("가");
  input::TypeText((ga + "x").c_str());
  ::SendMessage(first.m_hWnd, WM_CHAR, static_cast<unsigned char>(ga[0]), 1);
  EXPECT_EQ(Text(first), ga + "x");
  input::TypeText("1");  // not a trail byte
  EXPECT_EQ(Text(first), ga + "x1");
  EXPECT_TRUE(Whole(Text(first)));
}

TEST_F(EditKoreanTest, MultiLineEditTakesLineBreaksAsOneCharacter) {
  Make(first, ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL, 20);
  first.SetFocus();
  first.SetWindowText(Cp949("한\r\n글"));
  first.SetSel(4, 4);  // before 글
  input::PressKey(VK_LEFT);
  EXPECT_EQ(Selection(first), std::make_pair(2, 2));
  input::PressKey(VK_LEFT);
  EXPECT_EQ(Selection(first), std::make_pair(0, 0));
  first.SetSel(3, 3);  // between '\r' and '\n': the break's start
  EXPECT_EQ(Selection(first), std::make_pair(2, 2));
  input::PressKey(VK_DELETE);
  EXPECT_EQ(Text(first), Cp949("한글"));
}

TEST_F(EditKoreanTest, CopyAndPasteBetweenEditsKeepCharactersWhole) {
  Make(first, ES_AUTOHSCROLL, 20);
  Make(second, ES_MULTILINE | ES_AUTOHSCROLL, 21, 100);
  first.SetWindowText(Cp949("흑 백 대국"));
  first.SetFocus();
  first.SetSel(2, 7);  // " 백 "
  input::SetModifier(VK_CONTROL, true);
  input::PressKey('C');
  second.SetFocus();
  input::PressKey('V');
  input::PressKey('V');
  input::SetModifier(VK_CONTROL, false);
  EXPECT_EQ(Text(second), Cp949(" 백  백 "));
  EXPECT_EQ(Text(first), Cp949("흑 백 대국"));

  // Cut removes; a paste past the limit is cut at a character boundary, never inside one.
  first.SetFocus();
  first.SetSel(0, 2);
  ::SendMessage(first.m_hWnd, WM_CUT, 0, 0);
  EXPECT_EQ(Text(first), Cp949(" 백 대국"));
  second.SetWindowText("");
  second.SetLimitText(3);
  second.SetFocus();
  ::SendMessage(first.m_hWnd, EM_SETSEL, 0, -1);
  ::SendMessage(first.m_hWnd, WM_COPY, 0, 0);
  ::SendMessage(second.m_hWnd, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(second), Cp949(" 백"));
  EXPECT_GE(host.Count(WM_COMMAND, EN_MAXTEXT), 1);

  // A single-line edit takes the first line of text with line breaks; a password is not copied.
  first.SetWindowText(Cp949("첫줄\r\n둘째"));
  first.SetSel(0, -1);
  ::SendMessage(first.m_hWnd, WM_COPY, 0, 0);
  CEdit password;
  Make(password, ES_PASSWORD | ES_AUTOHSCROLL, 22, 200);
  password.SetFocus();
  ::SendMessage(password.m_hWnd, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(password), Cp949("첫줄"));
  password.SetSel(0, -1);
  ::SendMessage(password.m_hWnd, WM_COPY, 0, 0);
  second.SetLimitText(0);
  second.SetWindowText("");
  ::SendMessage(second.m_hWnd, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(second), Cp949("첫줄\r\n둘째"));
}

}  // namespace
