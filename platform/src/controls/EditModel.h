#pragma once
// Single- and multi-line edits: the text, selection, limit, password character and scroll line.

#include <cstdint>
#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

// Private message of ::HideCaret (wParam TRUE) and ::ShowCaret (FALSE); an edit answers TRUE when
// it took the call.
constexpr UINT kCaretVisibilityMessage = 0x036B;

class EditModel : public ControlModel {
public:
  explicit EditModel(HWND hwnd);
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  bool Multiline() const { return (Style() & ES_MULTILINE) != 0; }
  bool ReadOnly() const { return (Style() & ES_READONLY) != 0; }
  bool HandleText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleSelection(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleLines(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
  void SetText(const std::string& text);
  // Where replacing text comes from: typing (refused whole, with EN_MAXTEXT, past the limit), a
  // paste or the program (cut to fit, at a character boundary).
  enum class Source { Program, Typed, Pasted };
  // Replaces the selection. Notifies when the text changed.
  void ReplaceSelection(std::string text, Source source);
  void ReplaceSelection(std::string text, bool typed) {
    ReplaceSelection(std::move(text), typed ? Source::Typed : Source::Program);
  }
  // One byte of WM_CHAR: a lead byte waits for its trail byte, so a character goes in whole.
  void TypeByte(char ch);
  void TypeChar(char ch);
  // A double-byte character, typed at once.
  void TypeCharacter(const std::string& character);
  void KeyDown(UINT key);
  // Anchor stays at start, the caret goes to end; both snap to character starts.
  void SetSelection(int start, int end);
  // Character boundaries: "\r\n" and a double-byte character each count as one character.
  int CharLengthAt(const std::string& text, int at) const;
  int PreviousBoundary(int offset) const;
  int NextBoundary(int offset) const;
  // The start of the character holding offset.
  int SnapToBoundary(int offset) const;
  // The clipboard commands.
  void Copy();
  void Paste();
  void Changed();
  // A multi-line edit with WS_VSCROLL keeps its bar on the lines: range the lines, page the
  // lines that show, position the first line shown. The bar stays, greyed, when all lines show.
  bool HasLineBar() const { return Multiline() && (Style() & WS_VSCROLL); }
  void SyncScrollBar();
  // Moves the first line shown as a WM_VSCROLL code asks, never past the last page.
  void ScrollLines(UINT code);
  // How many whole lines the text area shows (at least one).
  int VisibleLines() const;

  // One shown line: its text is [start, end); the next line starts at next (after "\r\n", or at
  // end where the line wraps).
  struct Line {
    int start{0};
    int end{0};
    int next{0};
  };
  // A multi-line edit without horizontal scrolling wraps its lines at the text area's width.
  bool Wraps() const { return Multiline() && !(Style() & (ES_AUTOHSCROLL | WS_HSCROLL)); }
  // The lines as shown ("\r\n" ends a line; wrapping ends more); kept until text or width change.
  const std::vector<Line>& Lines() const;
  // Splits the hard line [start, end) at word breaks to fit width; adds its lines to out.
  void WrapLine(CDC& dc, const std::string& shown, int start, int end, int width, std::vector<Line>& out) const;
  // Adds the lines of the hard lines from from (a hard line's start) up to until (another; -1:
  // the end), wrapped with dc when there is one.
  void AddHardLines(CDC* dc, const std::string& shown, int from, int until, int width, std::vector<Line>& out) const;
  // Makes the kept lines those of shown by wrapping again only the hard lines that differ from
  // the text they were made from; false (nothing changed) when the kept lines do not fit it.
  bool RewrapChange(CDC* dc, const std::string& shown, int width) const;
  int LineOf(int offset) const;
  std::string Shown() const;
  // The text with "\r\r\n" at every soft break (what EM_FMTLINES asks for).
  std::string WithSoftBreaks() const;
  // Client area less the frame and margins: where the lines are drawn.
  RECT TextArea() const;
  // Text coming in while soft breaks are shown has them taken out again, so that text read and
  // written back is unchanged.
  std::string WithoutSoftBreaks(std::string text) const;
  bool HandleFormattedText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The mouse places the caret, extends the selection with Shift or by dragging, and a double
  // click selects the word under it.
  bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);

  // Whether lines scroll sideways instead of wrapping (single lines always do).
  bool ScrollsSideways() const { return !Wraps(); }
  // Height of one line in the control's font.
  int LineHeight() const;
  // Top of shown line index (client coordinates); a single line sits centred in the text area.
  int LineTop(int index) const;
  // Pixels from the start of offset's line to offset, in the shown text.
  int XOf(int offset) const;
  // The character boundary nearest to point (client coordinates).
  int OffsetAt(POINT point) const;
  // Scrolls so that the caret shows: its line for a multi-line edit, its column sideways.
  void ScrollToCaret(bool lines);
  // Shows the caret at once and starts its blinking over, so it never vanishes while it moves.
  void RestartBlink();
  // One HideCaret (hide) or ShowCaret; FALSE for a ShowCaret with nothing hidden.
  BOOL HideOrShowCaret(bool hide);
  // Draws one shown line at top with the selected part in the highlight colours.
  void PaintLine(CDC& dc, const std::string& shown, const Line& line, int top, bool enabled, bool showSelection);

  std::string m_text;
  int m_selStart{0};
  int m_selEnd{0};
  UINT m_limit{0x7FFFFFFE};
  char m_password{0};
  int m_firstLine{0};
  bool m_modified{false};
  bool m_fmtLines{false};
  int m_scrollX{0};            // pixels the lines are scrolled to the left
  bool m_caretOn{false};       // the blinking caret's current phase
  int m_caretHidden{0};        // HideCaret calls not yet undone since the focus came
  bool m_dragging{false};      // the left button went down here and is still held
  char m_pendingLead{0};  // a lead byte typed, waiting for its trail byte
  // The wrapped lines and what they were made from.
  mutable std::vector<Line> m_lines;
  mutable std::string m_linesText;
  mutable int m_linesWidth{-1};
  mutable bool m_linesValid{false};
  std::uint64_t m_textVersion{0};             // counts changes of the text and its password character
  mutable std::uint64_t m_linesVersion{~0ull};  // the change the lines were made after
};

}  // namespace platform::detail
