#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class EditTest : public ControlTest {
protected:
  void Make(DWORD style) {
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 200, 100), &host, 20));
    edit.SetFocus();
    host.Forget();
  }
  CString Text() const {
    CString text;
    edit.GetWindowText(text);
    return text;
  }
  CEdit edit;
};

TEST_F(EditTest, TypingChangesTextAndNotifiesEachChange) {
  Make(ES_AUTOHSCROLL);
  input::TypeText("ab");
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(host.Count(WM_COMMAND, EN_CHANGE), 2);
  input::PressKey(VK_BACK);
  EXPECT_EQ(Text(), "a");
  EXPECT_TRUE(edit.GetModify());
  edit.SetWindowText("new");
  EXPECT_EQ(host.Count(WM_COMMAND, EN_CHANGE), 4);
  EXPECT_FALSE(edit.GetModify());
}

TEST_F(EditTest, LimitRefusesTypingButCutsProgrammaticText) {
  Make(ES_AUTOHSCROLL);
  edit.SetLimitText(3);
  EXPECT_EQ(edit.GetLimitText(), 3u);
  input::TypeText("abcd");
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(host.Count(WM_COMMAND, EN_MAXTEXT), 1);
  edit.SetSel(1, 2);
  edit.ReplaceSel("XYZ");
  EXPECT_EQ(Text(), "aXc");
  // WM_SETTEXT is not limited.
  edit.SetWindowText("longer");
  EXPECT_EQ(Text(), "longer");
}

TEST_F(EditTest, PasswordKeepsTheRealTextAndReadOnlyRefusesInput) {
  Make(ES_PASSWORD);
  EXPECT_EQ(edit.GetPasswordChar(), '*');
  input::TypeText("pw");
  EXPECT_EQ(Text(), "pw");
  edit.SetReadOnly(TRUE);
  input::TypeText("x");
  input::PressKey(VK_BACK);
  EXPECT_EQ(Text(), "pw");
  EXPECT_NE(edit.GetStyle() & ES_READONLY, 0u);
}

TEST_F(EditTest, SelectionIsClampedAndReplaceSelMovesTheCaret) {
  Make(0);
  edit.SetWindowText("hello");
  edit.SetSel(0, -1);
  int start = 0, end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 5);
  edit.SetSel(99, 120);
  edit.GetSel(start, end);
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 5);
  edit.ReplaceSel(" world");
  EXPECT_EQ(Text(), "hello world");
  edit.GetSel(start, end);
  EXPECT_EQ(start, 11);
}

TEST_F(EditTest, MultiLineCountsLinesAndScrollsWithinThem) {
  Make(ES_MULTILINE | ES_WANTRETURN);
  EXPECT_EQ(edit.GetLineCount(), 1);
  edit.SetWindowText("one\r\ntwo\r\nthree");
  EXPECT_EQ(edit.GetLineCount(), 3);
  EXPECT_EQ(edit.LineIndex(2), 10);
  EXPECT_EQ(edit.LineLength(10), 5);
  EXPECT_EQ(edit.LineFromChar(5), 1);
  char buffer[16] = {};
  EXPECT_EQ(edit.GetLine(1, buffer, sizeof buffer), 3);
  EXPECT_EQ(std::string(buffer, 3), "two");
  char tiny[2] = {};
  EXPECT_EQ(edit.GetLine(2, tiny, sizeof tiny), 2);  // never past the buffer
  edit.LineScroll(edit.GetLineCount());
  EXPECT_EQ(edit.GetFirstVisibleLine(), 2);
  edit.LineScroll(-10);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
  EXPECT_TRUE(edit.FmtLines(TRUE));
  edit.SetSel(-1, -1);
  edit.SetSel(15, 15);
  input::PressKey(VK_RETURN);
  EXPECT_EQ(edit.GetLineCount(), 4);
  input::PressKey(VK_BACK);
  EXPECT_EQ(Text(), "one\r\ntwo\r\nthree");
}

TEST_F(EditTest, SingleLineIgnoresReturn) {
  Make(0);
  input::TypeText("a");
  input::PressKey(VK_RETURN);
  EXPECT_EQ(Text(), "a");
  EXPECT_EQ(edit.GetLineCount(), 1);
}

}  // namespace
