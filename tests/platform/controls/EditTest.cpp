#include "platform/controls.h"

#include <string>
#include <vector>

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
  // Three lines fit: a scroll by the line count has nowhere to go.
  edit.LineScroll(edit.GetLineCount());
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
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


TEST_F(EditTest, ALineScrollStopsWithTheLastLineOnTheBottomRow) {
  Make(ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "line " + std::to_string(i) + "\r\n";
  edit.SetWindowText(text.c_str());
  const int count = edit.GetLineCount();  // the empty line after the last break counts
  ASSERT_EQ(count, 31);
  // As a chat pane follows its newest line: to the end, then on by the whole count.
  edit.SetSel(static_cast<int>(text.size()), static_cast<int>(text.size()));
  edit.SendMessage(EM_SCROLLCARET);
  edit.LineScroll(count);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(::GetScrollInfo(edit.m_hWnd, SB_VERT, &info));
  const int page = static_cast<int>(info.nPage);
  ASSERT_GT(page, 1);
  ASSERT_LT(page, count);
  // The last page is shown whole, "line 30" on it, and the thumb sits at the bar's end.
  EXPECT_EQ(edit.GetFirstVisibleLine(), count - page);
  EXPECT_EQ(info.nPos, count - page);
  EXPECT_EQ(info.nPos + page - 1, info.nMax);
  edit.LineScroll(5);
  EXPECT_EQ(edit.GetFirstVisibleLine(), count - page);
  // The person scrolls back a line with the bar's arrow; a program's scroll back by three too.
  edit.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(edit.GetFirstVisibleLine(), count - page - 1);
  edit.LineScroll(-3);
  EXPECT_EQ(edit.GetFirstVisibleLine(), count - page - 4);
}
TEST_F(EditTest, SingleLineIgnoresReturn) {
  Make(0);
  input::TypeText("a");
  input::PressKey(VK_RETURN);
  EXPECT_EQ(Text(), "a");
  EXPECT_EQ(edit.GetLineCount(), 1);
  // Nor a tab, which reaches it as a character where no dialog takes the key first.
  input::PressKey(VK_TAB);
  input::TypeText("\tb");
  EXPECT_EQ(Text(), "ab");
}

// A multi-line edit without horizontal scrolling wraps at its width.
class EditWrapTest : public EditTest {
protected:
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < edit.GetLineCount(); ++i) {
      char buffer[512] = {};
      int n = edit.GetLine(i, buffer, sizeof buffer - 1);
      lines.emplace_back(buffer, static_cast<std::size_t>(n));
    }
    return lines;
  }
  int TextWidth(const std::string& text) {
    CDC* dc = edit.GetDC();
    int width = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx;
    edit.ReleaseDC(dc);
    return width;
  }
  static std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
  }
};

TEST_F(EditWrapTest, LinesBreakAfterSpacesAndFitTheWidth) {
  Make(ES_MULTILINE | ES_WANTRETURN);
  std::string text = Repeat("black white ", 12) + "end";
  edit.SetWindowText(text.c_str());
  std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 2u);
  CRect client;
  edit.GetClientRect(&client);
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    joined += lines[i];
    EXPECT_NE(lines[i].front(), ' ') << i;
    if (i + 1 < lines.size()) {
      EXPECT_EQ(lines[i].back(), ' ') << "a line breaks after a space: " << lines[i];
      std::string word = lines[i].substr(0, lines[i].find_last_not_of(' ') + 1);
      EXPECT_LE(TextWidth(word), client.Width()) << lines[i];
      EXPECT_GT(TextWidth(word + " " + lines[i + 1].substr(0, lines[i + 1].find(' '))), client.Width() - 4)
          << "the next word would not have fitted: " << lines[i];
    }
  }
  EXPECT_EQ(joined, text);
  // Offsets and lines agree.
  for (int i = 0; i < edit.GetLineCount(); ++i) {
    EXPECT_EQ(edit.LineFromChar(edit.LineIndex(i)), i);
    EXPECT_EQ(edit.LineLength(edit.LineIndex(i)), static_cast<int>(lines[static_cast<std::size_t>(i)].size()));
  }
  EXPECT_EQ(edit.LineFromChar(static_cast<int>(text.size())), edit.GetLineCount() - 1);
}

TEST_F(EditWrapTest, LongWordsAreCutAndDoubleByteCharactersStayWhole) {
  Make(ES_MULTILINE);
  edit.SetWindowText(Repeat("x", 200).c_str());
  std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 1u);
  for (const std::string& line : lines) EXPECT_FALSE(line.empty());

  std::string korean = Repeat(Cp949("바둑판"), 30);
  edit.SetWindowText(korean.c_str());
  lines = Lines();
  ASSERT_GT(lines.size(), 1u);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.size() % 2, 0u) << "a line never ends in half a character";
    joined += line;
  }
  EXPECT_EQ(joined, korean);
}

// Lines made again only where the text changed are the lines the whole text makes: replacements
// anywhere (line breaks, spaces, Korean characters among them), a log's lines appended at its end
// and its oldest taken from its top.
TEST_F(EditWrapTest, ChangedTextWrapsAsTheWholeTextWould) {
  Make(ES_MULTILINE | ES_WANTRETURN);
  CEdit fresh;
  ASSERT_TRUE(fresh.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, CRect(10, 10, 200, 100), &host, 22));
  const auto lineStarts = [](CEdit& e) {
    std::vector<std::pair<int, int>> starts;
    for (int i = 0; i < e.GetLineCount(); ++i) starts.emplace_back(e.LineIndex(i), e.LineLength(e.LineIndex(i)));
    return starts;
  };
  // Where each line's break ends too, as the text read with its soft breaks shows.
  const auto withSoftBreaks = [](CEdit& e) {
    e.FmtLines(TRUE);
    CString text;
    e.GetWindowText(text);
    e.FmtLines(FALSE);
    return std::string(text.GetString());
  };
  const std::string pieces[] = {"stone ", "\r\n", "black and white ", Cp949("바둑판 "), "x", " ", "", Repeat("long", 20)};
  unsigned seed = 55;
  const auto next = [&](unsigned bound) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % bound;
  };
  edit.SetWindowText(Repeat("stone black \r\n", 10).c_str());
  for (int step = 0; step < 300; ++step) {
    const int length = edit.GetWindowTextLength();
    if (step % 3 == 0) {
      // A log's step: its oldest line goes, a new one comes at the end.
      const int firstBreak = Text().Find("\r\n");
      edit.SetSel(0, firstBreak < 0 ? 0 : firstBreak + 2);
      edit.ReplaceSel("");
      edit.SetSel(edit.GetWindowTextLength(), edit.GetWindowTextLength());
      edit.ReplaceSel(("[kim] line " + std::to_string(step) + " " + Repeat("go ", static_cast<int>(next(30))) + "\r\n").c_str());
    } else {
      const int from = static_cast<int>(next(static_cast<unsigned>(length + 1)));
      const int to = std::min(length, from + static_cast<int>(next(12)));
      edit.SetSel(from, to);
      edit.ReplaceSel(pieces[next(8)].c_str());
    }
    fresh.SetWindowText(Text());
    ASSERT_EQ(lineStarts(edit), lineStarts(fresh)) << "step " << step;
    ASSERT_EQ(withSoftBreaks(edit), withSoftBreaks(fresh)) << "step " << step;
  }
}

TEST_F(EditWrapTest, ResizingRewrapsAndHardBreaksStay) {
  Make(ES_MULTILINE | ES_WANTRETURN);
  edit.SetWindowText((Repeat("stone ", 20) + "\r\nlast").c_str());
  int narrow = edit.GetLineCount();
  ASSERT_GT(narrow, 3);
  edit.MoveWindow(10, 10, 380, 90);
  int wide = edit.GetLineCount();
  EXPECT_LT(wide, narrow);
  EXPECT_GE(wide, 2);
  EXPECT_EQ(Lines().back(), "last");
  edit.MoveWindow(10, 10, 100, 90);
  EXPECT_GT(edit.GetLineCount(), narrow);

  // Horizontal scrolling turns wrapping off.
  CEdit scrolling;
  ASSERT_TRUE(scrolling.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL, CRect(10, 110, 100, 150), &host, 21));
  scrolling.SetWindowText(Repeat("stone ", 20).c_str());
  EXPECT_EQ(scrolling.GetLineCount(), 1);
}

TEST_F(EditWrapTest, FmtLinesShowsSoftBreaksInTheTextAndTakesThemBackOut) {
  Make(ES_MULTILINE | ES_WANTRETURN);
  std::string text = Repeat("go ", 30) + "\r\n" + Repeat("ko ", 30);
  edit.SetWindowText(text.c_str());
  int lines = edit.GetLineCount();
  ASSERT_GT(lines, 4);
  EXPECT_EQ(std::string(Text().GetString()), text);

  edit.FmtLines(TRUE);
  std::string formatted = Text().GetString();
  EXPECT_EQ(static_cast<int>(formatted.size()), edit.GetWindowTextLength());
  int soft = 0;
  for (std::size_t at = formatted.find("\r\r\n"); at != std::string::npos; at = formatted.find("\r\r\n", at + 3)) ++soft;
  EXPECT_EQ(soft, lines - 2) << "every line break but the one hard break is soft";
  EXPECT_NE(formatted.find(" \r\nko"), std::string::npos) << "the hard break is left as it is";
  // The soft breaks sit where the lines end.
  std::string firstLine = Lines()[0];
  EXPECT_EQ(formatted.substr(0, firstLine.size() + 3), firstLine + "\r\r\n");
  // Text read and written back is the same text, not more lines.
  edit.SetWindowText(formatted.c_str());
  EXPECT_EQ(edit.GetLineCount(), lines);
  EXPECT_EQ(std::string(Text().GetString()), formatted);

  edit.FmtLines(FALSE);
  EXPECT_EQ(std::string(Text().GetString()), text);
  char small[8] = {};
  edit.FmtLines(TRUE);
  EXPECT_EQ(edit.GetWindowText(small, sizeof small), 7);  // bounded by the buffer
  EXPECT_EQ(std::string(small), formatted.substr(0, 7));
}

}  // namespace
