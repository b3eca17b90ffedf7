// The controls on an X server as a person uses them: the pointer and keys go through the server,
// and what the server then shows is read back from it. Each scenario writes a picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ControlsOnX11.h"
#include "platform/app.h"
#include "platform/controlbars.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/msgbox.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using controls_test::ControlHost;
using platform::testing::XPointerKeys;

// Whether item shows its children.
bool Expanded(CTreeCtrl& tree, HTREEITEM item) {
  TVITEM state{};
  state.mask = TVIF_HANDLE | TVIF_STATE;
  state.hItem = item;
  state.stateMask = TVIS_EXPANDED;
  return tree.GetItem(&state) && (state.state & TVIS_EXPANDED) != 0;
}

constexpr std::uint32_t Rgb(COLORREF c) {
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// Whether two colours are the same as the server shows them (it may round a channel by a step or two).
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 6) return false;
  }
  return true;
}

// How many pixels of shot inside box have colour.
int CountColor(const platform::Surface& shot, const RECT& box, std::uint32_t colour) {
  int n = 0;
  for (int y = std::max<int>(0, box.top); y < std::min<int>(shot.height, box.bottom); ++y)
    for (int x = std::max<int>(0, box.left); x < std::min<int>(shot.width, box.right); ++x) n += Near(shot.Row(y)[x], colour);
  return n;
}

class ControlsX11Test : public controls_test::ControlsOnX11 {
protected:
  ControlsX11Test() : ControlsOnX11(320) {}
  // Waits until the server shows window with pred true of its picture, and writes the picture.
  bool ShowsThen(HWND window, const std::function<bool(const platform::Surface&)>& pred, const char* picture) {
    platform::Surface shot;
    bool shown = WaitFor([&] {
      ::UpdateWindow(window);
      shot = m_input->Shown(window);
      return shot.width > 0 && pred(shot);
    });
    if (shot.width > 0) platform::SaveSurfacePng(shot, testsupport::SnapshotPath(picture).c_str());
    return shown;
  }
  static int Caret(CEdit& edit) {
    int start = 0, end = 0;
    edit.GetSel(start, end);
    return end;
  }
};

// The text area's left edge in a framed single-line edit: the frame, then the margin.
constexpr int kTextLeft = 4;

TEST_F(ControlsX11Test, AClickPlacesTheCaretShiftClickAndDragSelectAndTheCaretBlinks) {
  CEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "Edit", "relay server", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            CRect(10, 10, 250, 36), &m_host, 50));
  Settle();
  CClientDC measure(&edit);
  const int middle = kTextLeft + measure.GetTextExtent("re", 2).cx;  // between "re" and "lay"
  m_input->Click(edit.m_hWnd, CPoint(middle, 12));
  ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == edit.m_hWnd; }));
  m_input->Type(edit.m_hWnd, "X");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit).GetLength() == 13; }));
  EXPECT_EQ(TextOf(edit), "reXlay server");

  // The caret at the end of the text: a column of the text colour where the background was,
  // and the background again half a blink later.
  m_input->Key(edit.m_hWnd, XK_End);
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 13; }));
  const int endX = kTextLeft + measure.GetTextExtent("reXlay server", 13).cx;
  const RECT caretColumn{endX, 5, endX + 1, 19};
  const std::uint32_t text = Rgb(::GetSysColor(COLOR_WINDOWTEXT));
  const std::uint32_t window = Rgb(::GetSysColor(COLOR_WINDOW));
  EXPECT_TRUE(ShowsThen(edit.m_hWnd, [&](const platform::Surface& s) { return CountColor(s, caretColumn, text) >= 10; },
                        "x11_edit_caret.png"));
  EXPECT_TRUE(WaitFor([&] {
    ::UpdateWindow(edit.m_hWnd);
    return CountColor(m_input->Shown(edit.m_hWnd), caretColumn, window) >= 10;
  }));
  // Back after the X.
  const int caretX = kTextLeft + measure.GetTextExtent("reX", 3).cx;
  m_input->Click(edit.m_hWnd, CPoint(caretX, 12));
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 3; }));

  // Shift and a click at the end select from the caret to there, drawn in the highlight colour.
  const int end = kTextLeft + measure.GetTextExtent("reXlay server", 13).cx + 2;
  m_input->Click(edit.m_hWnd, CPoint(end, 12), ShiftMask);
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 13; }));
  int start = 0, stop = 0;
  edit.GetSel(start, stop);
  EXPECT_EQ(start, 3);
  const std::uint32_t highlight = Rgb(::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(ShowsThen(edit.m_hWnd, [&](const platform::Surface& s) {
    return CountColor(s, RECT{caretX + 2, 6, end - 2, 18}, highlight) > 100 &&
           CountColor(s, RECT{kTextLeft, 6, middle - 1, 18}, highlight) == 0;
  }, "x11_edit_selection.png"));

  // A drag from the start to the middle selects "re"; typing replaces it.
  m_input->Button(edit.m_hWnd, CPoint(kTextLeft, 12), true);
  m_input->Move(edit.m_hWnd, CPoint(middle - 1, 12), Button1Mask);
  m_input->Button(edit.m_hWnd, CPoint(middle, 12), false, Button1Mask);
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 2; }));
  m_input->Type(edit.m_hWnd, "P");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == "PXlay server"; }));
}

TEST_F(ControlsX11Test, ALongLineScrollsToTheCaretAndBack) {
  CEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            CRect(10, 10, 110, 36), &m_host, 51));
  edit.SetFocus();
  Settle();
  const char* typed = "0123456789abcdefghijklmnopqrstuvwxyz";
  m_input->Type(edit.m_hWnd, typed);
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == typed; }));
  CRect client;
  edit.GetClientRect(&client);
  // The end is in sight: after a few steps left, a click near the right edge lands among the last
  // characters again.
  for (int i = 0; i < 5; ++i) m_input->Key(edit.m_hWnd, XK_Left);
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 31; }));
  m_input->Click(edit.m_hWnd, CPoint(client.right - 6, 12));
  EXPECT_TRUE(WaitFor([&] { return Caret(edit) >= 33; })) << Caret(edit);
  EXPECT_TRUE(ShowsThen(edit.m_hWnd, [](const platform::Surface&) { return true; }, "x11_edit_scrolled.png"));
  // Home brings the start back: a click near the left edge lands on the first characters.
  m_input->Key(edit.m_hWnd, XK_Home);
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) == 0; }));
  m_input->Click(edit.m_hWnd, CPoint(kTextLeft + 10, 12));
  ASSERT_TRUE(WaitFor([&] { return Caret(edit) > 0; }));
  EXPECT_LE(Caret(edit), 3);
}

TEST_F(ControlsX11Test, AnOutputEditShowsItsNewestLineAfterTwentyLines) {
  CEdit output;
  ASSERT_TRUE(output.CreateEx(WS_EX_CLIENTEDGE, "Edit", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                              CRect(10, 10, 300, 110), &m_host, 52));
  Settle();
  // As the programs append their chat lines: the caret to the end, the line in, the caret shown.
  for (int i = 1; i <= 20; ++i) {
    CString line;
    line.Format("%sline %d", i == 1 ? "" : "\r\n", i);
    const int length = output.GetWindowTextLength();
    output.SetSel(length, length);
    output.ReplaceSel(line);
    output.SendMessage(EM_SCROLLCARET);
  }
  const int first = output.GetFirstVisibleLine();
  TEXTMETRIC tm{};
  CClientDC dc(&output);
  dc.GetTextMetrics(&tm);
  CRect client;
  output.GetClientRect(&client);
  const int shownLines = (client.Height() - 6) / tm.tmHeight;
  EXPECT_EQ(first, 20 - shownLines);
  // The last line's row shows text.
  const int lastTop = 3 + (19 - first) * tm.tmHeight;
  const std::uint32_t text = Rgb(::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_TRUE(ShowsThen(output.m_hWnd, [&](const platform::Surface& s) {
    return CountColor(s, RECT{4, lastTop, 80, lastTop + tm.tmHeight}, text) > 10;
  }, "x11_edit_output.png"));
  // A program may scroll by lines itself: back to the top and down two.
  output.LineScroll(-first);
  output.LineScroll(2);
  EXPECT_EQ(output.GetFirstVisibleLine(), 2);
}

TEST_F(ControlsX11Test, TheAddressControlTakesDigitsDotsArrowsAndBackSpace) {
  CIPAddressCtrl address;
  ASSERT_TRUE(address.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 170, 34), &m_host, 60));
  struct Case {
    const char* stored;        // the address shown before the click ("" for blank)
    int clickX;                // where the click lands: 12 is in the first field, 100 in the third
    std::vector<KeySym> keys;  // after the click
    const char* shown;         // the text the control holds
    int filled;                // IPM_GETADDRESS's count
  };
  const std::vector<Case> cases = {
      {"", 12, {XK_1, XK_0, XK_period, XK_2, XK_0, XK_period, XK_3, XK_0, XK_period, XK_4, XK_0}, "10.20.30.40", 4},
      // Three digits go on to the next field by themselves, selected: a dot typed then stays.
      {"", 12, {XK_1, XK_9, XK_2, XK_period, XK_1, XK_6, XK_8, XK_2, XK_5, XK_5, XK_period, XK_7}, "192.168.255.7", 4},
      // BackSpace takes the last digit, then goes back into the field before.
      {"", 12, {XK_1, XK_period, XK_2, XK_period, XK_3, XK_period, XK_4, XK_BackSpace, XK_BackSpace, XK_9}, "1.2.9.", 3},
      // Left and Right move between the fields.
      {"", 12, {XK_1, XK_period, XK_2, XK_Left, XK_5, XK_Right, XK_Right, XK_7}, "15.2.7.", 3},
      // A stored address retyped from a click on its first field is replaced field by field.
      {"127.0.0.11", 12, {XK_1, XK_2, XK_7, XK_period, XK_0, XK_period, XK_0, XK_period, XK_1}, "127.0.0.1", 4},
      // A click on a field selects it: the digit typed replaces its number alone.
      {"10.20.30.40", 100, {XK_5}, "10.20.5.40", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    address.SetWindowText(c.stored);
    if (!*c.stored) address.ClearAddress();
    m_host.SetFocus();
    m_host.Forget();
    Settle();
    m_input->Click(address.m_hWnd, CPoint(c.clickX, 12));
    ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == address.m_hWnd; }));
    // Sent all at once, as a quick typist's keys arrive together.
    for (KeySym key : c.keys) m_input->Key(address.m_hWnd, key);
    ASSERT_TRUE(WaitFor([&] { return TextOf(address) == c.shown; })) << TextOf(address).GetString();
    DWORD value = 0;
    EXPECT_EQ(address.GetAddress(value), c.filled);
    EXPECT_GT(m_host.Count(WM_COMMAND, EN_CHANGE), 0);
    EXPECT_GT(m_host.Count(WM_NOTIFY, static_cast<int>(IPN_FIELDCHANGED)), 0);
  }
  EXPECT_TRUE(ShowsThen(address.m_hWnd, [](const platform::Surface&) { return true; }, "x11_ip_address.png"));

  // 300 becomes 255 and a message says so; answered, the field is still selected: the digits
  // typed next replace it.
  address.ClearAddress();
  Settle();
  CString told;
  auto boxShown = [] { return platform::WindowClassName(::GetActiveWindow()) == "PlatformMessageBox"; };
  platform::testing::TimedSteps steps({{[&] { return boxShown() && TextOf(address) == "1.255.."; },
                                        [&] {
                                          HWND box = ::GetActiveWindow();
                                          CWnd::FromHandle(box)->GetWindowText(told);
                                          m_input->Key(box, XK_Return);
                                        }}},
                                      [] { ::SendMessage(::GetActiveWindow(), WM_COMMAND, IDOK, 0); });
  m_input->Click(address.m_hWnd, CPoint(12, 12));
  for (KeySym key : {XK_1, XK_period, XK_3, XK_0, XK_0}) m_input->Key(address.m_hWnd, key);
  ASSERT_TRUE(WaitFor([&] { return steps.Done(); }));
  EXPECT_EQ(told, "Error");
  for (KeySym key : {XK_4, XK_period, XK_6}) m_input->Key(address.m_hWnd, key);
  EXPECT_TRUE(WaitFor([&] { return TextOf(address) == "1.4.6."; })) << TextOf(address).GetString();
}

class TreeHost : public ControlHost {
public:
  std::vector<HTREEITEM> selected;  // TVN_SELCHANGED's new items
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TVN_SELCHANGED)
      selected.push_back(reinterpret_cast<NMTREEVIEW*>(lParam)->itemNew.hItem);
    return ControlHost::WindowProc(message, wParam, lParam);
  }
};

TEST_F(ControlsX11Test, TheTreeOpensByItsButtonsDoubleClickAndKeysAndSelectsByClick) {
  TreeHost host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "Tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80, 300, 260, nullptr, nullptr));
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                          CRect(10, 10, 250, 200), &host, 70));
  HTREEITEM move40 = tree.InsertItem("No 40");
  HTREEITEM first = tree.InsertItem("1 Game Diagram", move40);
  tree.InsertItem("2 Game Diagram", move40);
  HTREEITEM move41 = tree.InsertItem("No 41");
  tree.InsertItem("1 Game Diagram", move41);
  Settle();
  const int rowHeight = 17;
  auto rowPoint = [&](int index, int x) { return CPoint(x, index * rowHeight + rowHeight / 2); };
  auto expanded = [&](HTREEITEM item) { return Expanded(tree, item); };

  // The + of "No 40" (the first indent, lines at the root) opens it.
  m_input->Click(tree.m_hWnd, rowPoint(0, 3 + 19 / 2));
  ASSERT_TRUE(WaitFor([&] { return expanded(move40); }));
  EXPECT_TRUE(host.selected.empty());
  const std::uint32_t grey = Rgb(RGB(128, 128, 128));
  EXPECT_TRUE(ShowsThen(tree.m_hWnd, [&](const platform::Surface& s) {
    // The box's frame and the dotted lines down to the children.
    return CountColor(s, RECT{3, 0, 22, rowHeight}, grey) >= 20 &&
           CountColor(s, RECT{3, rowHeight, 40, 3 * rowHeight}, grey) >= 10;
  }, "x11_tree.png"));

  // A click on a child's label selects it and tells the parent.
  m_input->Click(tree.m_hWnd, rowPoint(1, 3 + 2 * 19 + 10));
  ASSERT_TRUE(WaitFor([&] { return tree.GetSelectedItem() == first; }));
  EXPECT_EQ(host.selected, std::vector<HTREEITEM>{first});
  // Left goes up to the parent, Left again closes it, Right opens it.
  struct Step {
    KeySym key;
    HTREEITEM selected;
    bool open40;
  };
  const Step steps[] = {{XK_Left, move40, true}, {XK_Left, move40, false}, {XK_Right, move40, true},
                        {XK_KP_Subtract, move40, false}, {XK_KP_Add, move40, true}, {XK_Down, first, true}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.key);
    m_input->Key(tree.m_hWnd, step.key);
    ASSERT_TRUE(WaitFor([&] { return tree.GetSelectedItem() == step.selected && expanded(move40) == step.open40; }));
  }
  // A double click on the label of "No 41" (row 3 with "No 40" open) opens it.
  m_input->DoubleClick(tree.m_hWnd, rowPoint(3, 3 + 19 + 12));
  ASSERT_TRUE(WaitFor([&] { return expanded(move41); }));
  EXPECT_EQ(tree.GetSelectedItem(), move41);
  EXPECT_GT(host.Count(WM_NOTIFY, static_cast<int>(NM_DBLCLK)), 0);
}

TEST_F(ControlsX11Test, CombosKeepTheirScrollBarForTheListAndLookDisabledWhenDisabled) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(10, 10, 160, 130), &m_host, 80));
  CComboBox disabled;
  ASSERT_TRUE(disabled.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, CRect(180, 10, 330, 130), &m_host, 81));
  for (int i = 1; i <= 30; ++i) {
    CString item;
    item.Format("%dK", i);
    combo.AddString(item);
    disabled.AddString(item);
  }
  combo.SetCurSel(14);
  disabled.SetCurSel(0);
  disabled.EnableWindow(FALSE);
  Settle();
  // The closed field has no scroll bar beside it: the client area is the whole window.
  for (CComboBox* box : {&combo, &disabled}) {
    CRect window, client;
    box->GetWindowRect(&window);
    box->GetClientRect(&client);
    EXPECT_EQ(client.Width(), window.Width());
    EXPECT_FALSE(box->GetStyle() & WS_VSCROLL);
  }
  // Disabled: the field in the face colour, its edit too.
  const std::uint32_t face = Rgb(::GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(ShowsThen(m_host.m_hWnd, [&](const platform::Surface& s) {
    return CountColor(s, RECT{186, 14, 260, 26}, face) > 300 && CountColor(s, RECT{16, 14, 90, 26}, face) < 30;
  }, "x11_combo_closed.png"));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(disabled.m_hWnd, 1001)));

  // Opened, the list has more items than rows and so a scroll bar of its own.
  m_input->Click(combo.m_hWnd, CPoint(60, 8));
  ASSERT_TRUE(WaitFor([&] { return combo.GetDroppedState(); }));
  HWND list = nullptr;
  for (HWND hwnd : platform::AllWindows()) {
    if (platform::WindowClassName(hwnd) == "ComboLBox" && ::IsWindowVisible(hwnd)) list = hwnd;
  }
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(::GetWindowLong(list, GWL_STYLE) & WS_VSCROLL);
  ::UpdateWindow(list);
  const platform::Surface whole = m_input->ShownWhole(list);
  platform::SaveSurfacePng(whole, testsupport::SnapshotPath("x11_combo_list.png").c_str());
  EXPECT_GT(whole.width, 100);
  m_input->Key(combo.m_hWnd, XK_Escape);
  ASSERT_TRUE(WaitFor([&] { return !combo.GetDroppedState(); }));
}

TEST_F(ControlsX11Test, RadioButtonsAndCheckBoxesShowTheFocusAndDisabledButtonsLookDisabled) {
  CButton radio, check, push;
  ASSERT_TRUE(radio.Create("&Text commentary", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON,
                           CRect(10, 10, 200, 30), &m_host, 90));
  ASSERT_TRUE(check.Create("Sound", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(10, 40, 200, 60),
                           &m_host, 91));
  ASSERT_TRUE(push.Create("Connect", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 70, 110, 96), &m_host, 92));
  push.EnableWindow(FALSE);
  Settle();
  for (CButton* button : {&radio, &check}) {
    SCOPED_TRACE(button->GetDlgCtrlID());
    m_host.SetFocus();
    Settle();
    ::UpdateWindow(button->m_hWnd);
    const platform::Surface before = m_input->Shown(button->m_hWnd);
    m_input->Click(button->m_hWnd, CPoint(6, 10));
    ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == button->m_hWnd; }));
    // The label gains a dotted frame: pixels around the text change, the box's area aside.
    EXPECT_TRUE(ShowsThen(button->m_hWnd, [&](const platform::Surface& s) {
      int changed = 0;
      for (int y = 0; y < s.height; ++y)
        for (int x = 16; x < s.width; ++x) changed += s.Row(y)[x] != before.Row(y)[x];
      return changed > 20;
    }, button == &radio ? "x11_radio_focus.png" : "x11_check_focus.png"));
  }
  // The disabled label is grey with a light copy under it.
  const std::uint32_t grey = Rgb(::GetSysColor(COLOR_GRAYTEXT));
  const std::uint32_t light = Rgb(::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_TRUE(ShowsThen(push.m_hWnd, [&](const platform::Surface& s) {
    RECT label{20, 5, 80, 21};
    return CountColor(s, label, grey) > 10 && CountColor(s, label, light) > 10;
  }, "x11_button_disabled.png"));
}

TEST_F(ControlsX11Test, MessageBoxesShowTheirIcon) {
  struct Case {
    UINT type;
    COLORREF colour;  // the icon's ground
    const char* picture;
  };
  const Case cases[] = {
      {MB_YESNO | MB_ICONQUESTION, RGB(40, 96, 200), "x11_message_question.png"},
      {MB_OK | MB_ICONEXCLAMATION, RGB(250, 204, 20), "x11_message_exclamation.png"},
      {MB_OK | MB_ICONINFORMATION, RGB(40, 96, 200), "x11_message_information.png"},
      {MB_OK | MB_ICONSTOP, RGB(212, 32, 32), "x11_message_stop.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    auto box = [] {
      HWND active = ::GetActiveWindow();
      return active && platform::WindowClassName(active) == "PlatformMessageBox" ? active : nullptr;
    };
    int iconPixels = 0;
    platform::testing::TimedSteps steps({{[&] { return box() != nullptr; },
                                          [&] {
                                            HWND shown = box();
                                            ::UpdateWindow(shown);
                                            platform::Surface s = m_input->Shown(shown);
                                            platform::SaveSurfacePng(s, testsupport::SnapshotPath(c.picture).c_str());
                                            iconPixels = CountColor(s, RECT{12, 12, 44, 44}, Rgb(c.colour));
                                            m_input->Key(shown, XK_Return);
                                          }}},
                                        [&] {
                                          if (HWND shown = box()) ::PostMessage(shown, WM_CLOSE, 0, 0);
                                        });
    const int answer = ::MessageBox(m_host.m_hWnd, "Leave the relay and close the viewer?", "Client", c.type);
    EXPECT_TRUE(steps.Done());
    EXPECT_EQ(answer, (c.type & MB_YESNO) ? IDYES : IDOK);
    EXPECT_GT(iconPixels, 200);
  }
}

// A frame with a tool bar of tips and prompts, and a status bar.
class BarFrame : public CFrameWnd {};

// A status bar that paints its panes itself, its pane control hidden, as programs make theirs.
class SelfPaintedStatusBar : public CStatusBar {
public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_PAINT) return CStatusBar::WindowProc(message, wParam, lParam);
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 224));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 255));
    dc.DrawText(GetPaneText(0), &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    return 0;
  }
};

TEST_F(ControlsX11Test, StatusTextShowsAtOnceAndToolBarButtonsShowTipsAndPrompts) {
  auto* frame = new BarFrame;  // deletes itself when destroyed
  ASSERT_TRUE(frame->Create(nullptr, "Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 500, 340)));
  CToolBar tools;
  ASSERT_TRUE(tools.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY));
  // Two glyphs on the strip's grey: a navy page and a black printer.
  CBitmap strip;
  {
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    strip.CreateCompatibleBitmap(&screen, 32, 15);
    CBitmap* old = dc.SelectObject(&strip);
    dc.FillSolidRect(0, 0, 32, 15, RGB(192, 192, 192));
    dc.FillSolidRect(3, 1, 10, 13, RGB(0, 0, 128));
    dc.FillSolidRect(5, 3, 6, 9, RGB(255, 255, 255));
    dc.FillSolidRect(18, 5, 12, 6, RGB(0, 0, 0));
    dc.FillSolidRect(20, 1, 8, 4, RGB(255, 255, 255));
    dc.SelectObject(old);
  }
  tools.GetToolBarCtrl().SetBitmapSize(CSize(16, 15));
  tools.GetToolBarCtrl().AddBitmap(2, &strip);
  const UINT buttons[] = {ID_FILE_OPEN, ID_SEPARATOR, ID_FILE_PRINT};
  ASSERT_TRUE(tools.SetButtons(buttons, 3));
  SelfPaintedStatusBar status;
  ASSERT_TRUE(status.Create(frame));
  const UINT panes[] = {ID_SEPARATOR};
  status.SetIndicators(panes, 1);
  status.GetDlgItem(1)->ShowWindow(SW_HIDE);
  frame->RecalcLayout();
  Settle();

  // A status text set by the program is on the screen without anything else happening.
  status.SetPaneText(0, "Connected to the relay");
  const std::uint32_t blue = Rgb(RGB(0, 0, 255));
  EXPECT_TRUE(ShowsThen(status.m_hWnd, [&](const platform::Surface& s) {
    return CountColor(s, RECT{0, 0, 160, s.height}, blue) > 30;
  }, "x11_status_text.png"));

  // The pointer over the Open button: its tip beside it, its prompt on the status bar.
  CToolBarCtrl& ctrl = tools.GetToolBarCtrl();
  ctrl.EnableButton(ID_FILE_PRINT, FALSE);
  CRect open;
  ctrl.GetItemRect(0, &open);
  m_input->Move(ctrl.m_hWnd, open.CenterPoint());
  HWND tip = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    for (HWND hwnd : platform::AllWindows()) {
      if (platform::WindowClassName(hwnd) == "tooltips_class32" && ::IsWindowVisible(hwnd)) tip = hwnd;
    }
    return tip != nullptr;
  }));
  CString tipText;
  CWnd::FromHandle(tip)->GetWindowText(tipText);
  EXPECT_EQ(tipText, "Open");
  EXPECT_EQ(status.GetPaneText(0), "Open a file");
  EXPECT_TRUE(ShowsThen(tip, [&](const platform::Surface& s) {
    return CountColor(s, RECT{0, 0, s.width, s.height}, Rgb(::GetSysColor(COLOR_INFOBK))) > 20;
  }, "x11_tool_tip.png"));
  // The disabled Print button: its glyph engraved in the shadow colour, none of its black left.
  CRect print;
  ctrl.GetItemRect(2, &print);
  const std::uint32_t shadow = Rgb(::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_TRUE(ShowsThen(ctrl.m_hWnd, [&](const platform::Surface& s) {
    return CountColor(s, print, shadow) > 40 && CountColor(s, print, Rgb(RGB(0, 0, 0))) == 0 &&
           CountColor(s, open, Rgb(RGB(0, 0, 128))) > 40;
  }, "x11_tool_bar.png"));

  // The pointer gone elsewhere: the tip goes and the status text comes back.
  m_input->Move(frame->m_hWnd, CPoint(200, 150));
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(tip) && status.GetPaneText(0) == "Connected to the relay"; }));
  frame->DestroyWindow();
}

}  // namespace
