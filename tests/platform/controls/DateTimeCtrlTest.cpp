#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

SYSTEMTIME Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  return st;
}

class DateTimeCtrlTest : public ControlTest {
protected:
  // Pixels inside the frame that are not the window background: the drawn text.
  int InkInside() {
    picker.Invalidate();
    picker.UpdateWindow();
    CClientDC dc(&picker);
    CRect client;
    picker.GetClientRect(&client);
    int ink = 0;
    for (int y = 3; y < client.bottom - 3; ++y)
      for (int x = 3; x < client.right - 3; ++x) ink += dc.GetPixel(x, y) != ::GetSysColor(COLOR_WINDOW) ? 1 : 0;
    return ink;
  }
  void Make(DWORD style = 0) {
    ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 150, 32), &host, 90));
  }
  CDateTimeCtrl picker;
};

TEST_F(DateTimeCtrlTest, SetAndGetKeepTheValueAndFillTheDayOfWeek) {
  Make();
  SYSTEMTIME in = Date(2024, 2, 29, 13, 45, 7);
  in.wDayOfWeek = 6;  // wrong on purpose: the control works it out
  ASSERT_TRUE(picker.SetTime(&in));
  SYSTEMTIME out{};
  ASSERT_EQ(picker.GetTime(&out), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(out.wYear, 2024);
  EXPECT_EQ(out.wMonth, 2);
  EXPECT_EQ(out.wDay, 29);
  EXPECT_EQ(out.wHour, 13);
  EXPECT_EQ(out.wSecond, 7);
  EXPECT_EQ(out.wDayOfWeek, 4);  // a Thursday
  CTime t;
  ASSERT_EQ(picker.GetTime(t), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(t.GetDay(), 29);
  EXPECT_EQ(t.GetMinute(), 45);
  CTime later(2030, 12, 31, 23, 59, 58);
  ASSERT_TRUE(picker.SetTime(&later));
  ASSERT_EQ(picker.GetTime(t), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(t, later);
  CString text;
  picker.GetWindowText(text);
  EXPECT_EQ(text, CString());  // the date is drawn, not the window text
}

TEST_F(DateTimeCtrlTest, ImpossibleDatesAndNoValueWithoutShowNoneAreRefused) {
  Make();
  SYSTEMTIME good = Date(2023, 5, 1);
  ASSERT_TRUE(picker.SetTime(&good));
  for (SYSTEMTIME bad : {Date(2023, 2, 29), Date(2023, 13, 1), Date(2023, 4, 31), Date(2023, 1, 1, 24), Date(1500, 1, 1)})
    EXPECT_FALSE(picker.SetTime(&bad));
  EXPECT_FALSE(picker.SetTime(static_cast<const CTime*>(nullptr)));
  EXPECT_EQ(::SendMessage(picker.m_hWnd, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
  SYSTEMTIME out{};
  ASSERT_EQ(picker.GetTime(&out), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(out.wMonth, 5);
  EXPECT_EQ(out.wDay, 1);
}

TEST_F(DateTimeCtrlTest, ShowNoneClearsTheValueAndGetLeavesTheCallersTime) {
  Make(DTS_SHOWNONE);
  EXPECT_GT(InkInside(), 20);  // the date is drawn
  ASSERT_TRUE(picker.SetTime(static_cast<SYSTEMTIME*>(nullptr)));
  EXPECT_EQ(InkInside(), 0);
  CTime kept(2001, 1, 2, 3, 4, 5);
  CTime t = kept;
  EXPECT_EQ(picker.GetTime(t), static_cast<DWORD>(GDT_NONE));
  EXPECT_EQ(t, kept);
  ASSERT_TRUE(picker.SetTime(&kept));
  EXPECT_EQ(picker.GetTime(t), static_cast<DWORD>(GDT_VALID));
}

TEST_F(DateTimeCtrlTest, ArrowKeysStepTheDayAcrossMonthAndYearAndTellTheParent) {
  Make();
  SYSTEMTIME eve = Date(2023, 12, 31, 8, 30);
  ASSERT_TRUE(picker.SetTime(&eve));
  EXPECT_EQ(host.Count(WM_NOTIFY, static_cast<int>(DTN_DATETIMECHANGE)), 0);  // programmatic sets are silent
  SYSTEMTIME heard{};
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code != DTN_DATETIMECHANGE) return;
    auto* change = reinterpret_cast<NMDATETIMECHANGE*>(hdr);
    EXPECT_EQ(change->dwFlags, static_cast<DWORD>(GDT_VALID));
    heard = change->st;
  };
  input::Click(host.m_hWnd, CPoint(20, 20));
  input::PressKey(VK_UP);
  EXPECT_EQ(host.Count(WM_NOTIFY, static_cast<int>(DTN_DATETIMECHANGE)), 1);
  EXPECT_EQ(heard.wYear, 2024);
  EXPECT_EQ(heard.wMonth, 1);
  EXPECT_EQ(heard.wDay, 1);
  EXPECT_EQ(heard.wHour, 8);
  input::PressKey(VK_DOWN);
  input::PressKey(VK_DOWN);
  SYSTEMTIME out{};
  picker.GetTime(&out);
  EXPECT_EQ(out.wMonth, 12);
  EXPECT_EQ(out.wDay, 30);
  EXPECT_EQ(out.wDayOfWeek, 6);  // a Saturday
  EXPECT_EQ(host.Count(WM_NOTIFY, static_cast<int>(DTN_DATETIMECHANGE)), 3);
}

}  // namespace
