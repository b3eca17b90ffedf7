// What the controls do as the class library's do, seen through the X server with a person's keys
// and clicks: Ctrl+Back Space types nothing into an edit, a combo's closed field shows its text in
// the font it was given and its open list needs no scroll bar when its items fit, a list whose
// redraw comes back on shows the rows added meanwhile, collapsing a tree item takes the selection
// from its hidden child, a header column narrowed to nothing draws nothing, and a scroll view
// whose horizontal bar takes its strip gets the vertical bar it then needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ControlsOnX11.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/view.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using controls_test::ControlHost;
using platform::testing::XPointerKeys;

// Pixels of shot inside box darker than mid grey: text and lines drawn there.
int DarkPixels(const platform::Surface& shot, RECT box) {
  int n = 0;
  for (int y = std::max<int>(0, box.top); y < std::min<int>(shot.height, box.bottom); ++y) {
    for (int x = std::max<int>(0, box.left); x < std::min<int>(shot.width, box.right); ++x) {
      const std::uint32_t c = shot.Row(y)[x];
      n += ((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF)) < 3 * 0x60;
    }
  }
  return n;
}

// The rows (top, bottom) of shot inside box holding dark pixels.
std::pair<int, int> DarkRows(const platform::Surface& shot, RECT box) {
  int top = -1, bottom = -1;
  for (int y = std::max<int>(0, box.top); y < std::min<int>(shot.height, box.bottom); ++y) {
    if (DarkPixels(shot, RECT{box.left, y, box.right, y + 1}) == 0) continue;
    if (top < 0) top = y;
    bottom = y + 1;
  }
  return {top, bottom};
}

class CTallView : public CScrollView {
public:
  void OnDraw(CDC*) override {}
};

class ControlBehaviourX11Test : public controls_test::ControlsOnX11 {
protected:
  ControlBehaviourX11Test() : ControlsOnX11(340) {}
  void TearDown() override {
    ControlsOnX11::TearDown();
    if (m_font) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_font));
  }
  // A dialog's usual font: small and regular.
  HFONT DialogFont() {
    if (!m_font) m_font = ::CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    return m_font;
  }

  HFONT m_font{nullptr};
};

// Ctrl+Back Space is no character: whatever it does, no 0x7F lands in the text, and typing goes on.
TEST_F(ControlBehaviourX11Test, CtrlBackSpaceTypesNoDeleteCharacterIntoAnEdit) {
  CEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 250, 36),
                            &m_host, 50));
  edit.SetFocus();
  m_input->Type(edit.m_hWnd, "go");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit) == "go"; }));
  m_input->Key(edit.m_hWnd, XK_BackSpace, ControlMask);
  m_input->Type(edit.m_hWnd, "z");
  ASSERT_TRUE(WaitFor([&] { return TextOf(edit).Right(1) == "z"; }));
  EXPECT_EQ(TextOf(edit).Find('\x7F'), -1) << TextOf(edit).GetString();
}

// The closed combo's text is as high as its list's rows (the font it was given, not a bold
// system one); a list of exactly as many items as it has room for has no scroll bar, one more
// item brings it.
TEST_F(ControlBehaviourX11Test, AComboShowsItsFontAndItsListFitsItsItemsWithoutAScrollBar) {
  CComboBox fitting, editable;
  ASSERT_TRUE(fitting.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 10, 200, 200), &m_host, 60));
  ASSERT_TRUE(editable.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, CRect(220, 10, 420, 200), &m_host, 61));
  for (CComboBox* combo : {&fitting, &editable}) {
    combo->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), TRUE);
    for (const char* name : {"Seoul", "Busan", "Incheon"}) combo->AddString(name);
    combo->SetCurSel(2);
  }
  // The box's height leaves room for exactly the three rows under its field.
  const int row = static_cast<int>(fitting.SendMessage(CB_GETITEMHEIGHT, 0, 0));
  const int field = static_cast<int>(fitting.SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
  fitting.SetWindowPos(nullptr, 0, 0, 190, field + 2 + 3 * row, SWP_NOMOVE | SWP_NOZORDER);
  Settle();

  // The editable combo's text is drawn no taller than the drop list's own text in the same font.
  platform::Surface listShot, editShot;
  ASSERT_TRUE(WaitFor([&] {
    listShot = m_input->Shown(fitting.m_hWnd);
    editShot = m_input->Shown(editable.m_hWnd);
    return DarkPixels(listShot, RECT{2, 2, 80, 30}) > 0 && DarkPixels(editShot, RECT{2, 2, 80, 30}) > 0;
  }));
  platform::SaveSurfacePng(m_input->Shown(m_host.m_hWnd), testsupport::SnapshotPath("combo-dialog-font.png").c_str());
  auto [listTop, listBottom] = DarkRows(listShot, RECT{3, 2, 80, 30});
  auto [editTop, editBottom] = DarkRows(editShot, RECT{3, 2, 80, 30});
  EXPECT_LE(editBottom - editTop, listBottom - listTop + 1) << "the field's text is larger than the list's";

  auto dropped = [](CComboBox& combo) { return combo.SendMessage(CB_GETDROPPEDSTATE, 0, 0) != 0; };
  auto listWindow = [] {
    for (HWND hwnd : platform::AllWindows()) {
      if (platform::WindowClassName(hwnd) == "ComboLBox" && ::IsWindowVisible(hwnd)) return hwnd;
    }
    return static_cast<HWND>(nullptr);
  };
  for (int items : {3, 4}) {
    SCOPED_TRACE(items);
    if (items == 4) fitting.AddString("Daegu");
    m_input->Click(fitting.m_hWnd, POINT{170, field / 2});
    ASSERT_TRUE(WaitFor([&] { return dropped(fitting) && listWindow(); }));
    const bool bar = (::GetWindowLong(listWindow(), GWL_STYLE) & WS_VSCROLL) != 0;
    EXPECT_EQ(bar, items > 3);
    // The person closes it again with Escape, and the choice stays.
    m_input->Key(fitting.m_hWnd, XK_Escape);
    ASSERT_TRUE(WaitFor([&] { return !dropped(fitting); }));
    EXPECT_EQ(fitting.GetCurSel(), 2);
  }
}

// Rows added while a list's redraw is off show once it is on again; a header column narrowed to
// nothing draws nothing of its own (no ".."), while the next column keeps its text.
TEST_F(ControlBehaviourX11Test, AListShowsRowsAddedWhileItsRedrawWasOffAndEmptyColumnsDrawNothing) {
  // Two lists alike but that the first one has a column narrowed to nothing before "Name".
  CListCtrl list, plain;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 210, 250), &m_host, 70));
  ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(220, 10, 420, 250), &m_host, 71));
  list.InsertColumn(0, "Hidden", LVCFMT_LEFT, 0);
  list.InsertColumn(1, "Name", LVCFMT_LEFT, 150);
  plain.InsertColumn(0, "Name", LVCFMT_LEFT, 150);
  Settle();
  list.SetRedraw(FALSE);
  for (int i = 0; i < 5; ++i) {
    list.InsertItem(i, "x");
    list.SetItemText(i, 1, "Kim Sunghoon");
  }
  Settle();
  list.SetRedraw(TRUE);
  CRect header;
  list.GetHeaderCtrl()->GetWindowRect(&header);
  list.ScreenToClient(&header);
  platform::Surface shot;
  EXPECT_TRUE(WaitFor([&] {
    shot = m_input->Shown(list.m_hWnd);
    return shot.width > 0 && DarkPixels(shot, RECT{0, header.bottom + 2, 150, shot.height}) > 40;
  })) << "the rows added meanwhile are not shown";
  // The empty column shows nothing: both headers look the same.
  platform::Surface withEmpty = m_input->Shown(list.GetHeaderCtrl()->m_hWnd);
  platform::Surface without = m_input->Shown(plain.GetHeaderCtrl()->m_hWnd);
  platform::SaveSurfacePng(withEmpty, testsupport::SnapshotPath("header-empty-column.png").c_str());
  ASSERT_EQ(withEmpty.height, without.height);
  int differing = 0;
  for (int y = 0; y < withEmpty.height; ++y)
    for (int x = 0; x < 150; ++x) differing += withEmpty.Row(y)[x] != without.Row(y)[x];
  EXPECT_EQ(differing, 0) << "the empty column drew something";
}

// A child selected when its parent collapses gives the selection to the parent; Down then goes on
// from there.
TEST_F(ControlBehaviourX11Test, CollapsingATreeItemMovesTheSelectionFromItsHiddenChild) {
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                          CRect(10, 10, 300, 250), &m_host, 80));
  HTREEITEM room = tree.InsertItem("Room 7");
  HTREEITEM player = tree.InsertItem("demo", room);
  HTREEITEM next = tree.InsertItem("Room 8");
  tree.Expand(room, TVE_EXPAND);
  tree.SelectItem(player);
  tree.SetFocus();
  Settle();
  // The person clicks the room's box (first row, first indent) to fold it.
  const int rowHeight = 17;
  m_input->Click(tree.m_hWnd, POINT{3 + 19 / 2, rowHeight / 2});
  ASSERT_TRUE(WaitFor([&] {
    TVITEM state{};
    state.mask = TVIF_HANDLE | TVIF_STATE;
    state.hItem = room;
    state.stateMask = TVIS_EXPANDED;
    return tree.GetItem(&state) && !(state.state & TVIS_EXPANDED);
  }));
  EXPECT_EQ(tree.GetSelectedItem(), room);
  m_input->Key(tree.m_hWnd, XK_Down);
  EXPECT_TRUE(WaitFor([&] { return tree.GetSelectedItem() == next; }));
}

// A view as high as its window but wider: once the horizontal bar takes its strip the content no
// longer fits upright, and the vertical bar comes too.
TEST_F(ControlBehaviourX11Test, AScrollViewGetsItsVerticalBarOnceTheHorizontalOneTakesItsStrip) {
  auto* view = new CTallView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_host, 90, nullptr));
  CRect client;
  view->GetClientRect(&client);
  view->SetScrollSizes(MM_TEXT, CSize(client.Width() + 100, client.Height() - 4));
  Settle();
  EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);
  EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
  // The person scrolls to the bottom with the wheel; the last rows come into view.
  m_input->Wheel(view->m_hWnd, POINT{50, 50}, -3);
  EXPECT_TRUE(WaitFor([&] { return view->GetScrollPosition().y > 0; }));
}

}  // namespace
