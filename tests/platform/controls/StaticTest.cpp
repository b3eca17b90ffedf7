#include "platform/controls.h"

#include <algorithm>

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class StaticTest : public ControlTest {};

TEST_F(StaticTest, OnlyNotifyingStaticsReportClicksAndOthersLetThemThrough) {
  CStatic plain, notifying;
  ASSERT_TRUE(plain.Create("plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &host, 1));
  ASSERT_TRUE(notifying.Create("name", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 30, 100, 50), &host, 1068));
  input::Click(host.m_hWnd, CPoint(5, 5));
  EXPECT_EQ(host.Count(WM_COMMAND, STN_CLICKED), 0);
  EXPECT_EQ(platform::input::HitTest(host.m_hWnd, CPoint(5, 5)), host.m_hWnd);
  input::DoubleClick(host.m_hWnd, CPoint(5, 35));
  EXPECT_GE(host.Count(WM_COMMAND, STN_CLICKED), 1);
  EXPECT_EQ(host.Count(WM_COMMAND, STN_DBLCLK), 1);
  EXPECT_EQ(host.heard.back().id, 1068);
}

TEST_F(StaticTest, BitmapStaticShowsItsBitmap) {
  CStatic picture;
  ASSERT_TRUE(picture.Create("", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(10, 10, 30, 30), &host, 2));
  CDC painter;
  ASSERT_TRUE(painter.CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, nullptr));
  CBitmap* old = painter.SelectObject(&bitmap);
  painter.FillSolidRect(0, 0, 8, 8, RGB(200, 10, 10));
  painter.SelectObject(old);
  EXPECT_EQ(picture.SetBitmap(bitmap), nullptr);
  EXPECT_EQ(picture.GetBitmap(), static_cast<HBITMAP>(bitmap));
  picture.UpdateWindow();
  CClientDC dc(&picture);
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(200, 10, 10));
  EXPECT_EQ(dc.GetPixel(15, 15), ::GetSysColor(COLOR_BTNFACE));
}

// Controls draw and measure with the font WM_SETFONT gives them (dialogs give theirs to every
// control), and report it back; without one they use the system font.
TEST_F(StaticTest, ControlsDrawAndMeasureWithTheFontTheyAreGiven) {
  CStatic label;
  ASSERT_TRUE(label.Create("WWWW WWWW", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 60), &host, 3));
  auto inkedWidth = [&] {
    label.UpdateWindow();
    CClientDC dc(&label);
    int right = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 300; ++x)
        if (dc.GetPixel(x, y) != ::GetSysColor(COLOR_BTNFACE)) right = std::max(right, x + 1);
    return right;
  };
  EXPECT_EQ(label.SendMessage(WM_GETFONT), 0);
  int systemWidth = inkedWidth();
  CFont small, large;
  small.CreateFont(-8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  large.CreateFont(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(small)), TRUE);
  EXPECT_EQ(label.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(static_cast<HFONT>(small)));
  int smallWidth = inkedWidth();
  label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(large)), TRUE);
  int largeWidth = inkedWidth();
  EXPECT_LT(smallWidth, systemWidth);
  EXPECT_GT(largeWidth, 2 * smallWidth);

  // A wrapping edit wraps its text anew for a new font.
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 70, 120, 170), &host, 4));
  edit.SetWindowText("one two three four five six seven eight");
  edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(small)), FALSE);
  LRESULT smallLines = edit.SendMessage(EM_GETLINECOUNT);
  edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(large)), FALSE);
  EXPECT_GT(edit.SendMessage(EM_GETLINECOUNT), smallLines);
  edit.DestroyWindow();
  label.DestroyWindow();
}

TEST(ControlClassesTest, EveryControlClassAnswersByNameAndRegistersOnce) {
  EXPECT_EQ(platform::RegisterControlClasses(), 0);  // done at load
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
  HWND edit = ::CreateWindowEx(0, "EDIT", "x", WS_CHILD, 0, 0, 50, 20, host.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(::SendMessage(edit, EM_GETLINECOUNT, 0, 0), 1);
  HWND list = ::CreateWindowEx(0, "syslistview32", "", WS_CHILD | LVS_REPORT, 0, 0, 50, 50, host.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_NE(::SendMessage(list, LVM_GETHEADER, 0, 0), 0);
  platform::DestroyAllWindows();
}

}  // namespace
