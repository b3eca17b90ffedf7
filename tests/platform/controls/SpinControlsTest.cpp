#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/testinput.h"
#include "platform/time.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class SpinControlsTest : public ControlTest {};

TEST_F(SpinControlsTest, ArrowsMoveTheBuddyNumberWithinTheRange) {
  platform::ManualClockScope clock;  // clicks, however slow, never last long enough to repeat
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 20), &host, 90));
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, CRect(60, 0, 76, 20), &host, 91));
  spin.SetBuddy(&buddy);
  spin.SetRange32(0, 3);
  spin.SetPos(2);
  CString text;
  buddy.GetWindowText(text);
  EXPECT_EQ(text, "2");
  input::Click(host.m_hWnd, CPoint(65, 3));  // upper arrow
  EXPECT_EQ(spin.GetPos(), 3);
  input::Click(host.m_hWnd, CPoint(65, 3));
  EXPECT_EQ(spin.GetPos(), 3);  // stays at the top
  EXPECT_EQ(host.Count(WM_NOTIFY, UDN_DELTAPOS), 2);
  input::Click(host.m_hWnd, CPoint(65, 17));
  EXPECT_EQ(spin.GetPos(), 2);
  buddy.SetWindowText("1");
  EXPECT_EQ(spin.GetPos(), 1);  // read back from what the user typed
  buddy.SetWindowText("99");
  EXPECT_EQ(spin.GetPos(), 3);
  host.notifyAnswer = TRUE;  // the parent refuses the change
  input::Click(host.m_hWnd, CPoint(65, 17));
  EXPECT_EQ(spin.GetPos(), 3);
}

TEST_F(SpinControlsTest, AHeldArrowRepeatsOnTheClockFasterTheLongerItIsHeld) {
  platform::ManualClockScope clock;
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(60, 0, 76, 20), &host, 91));
  spin.SetRange32(0, 600);
  spin.SetPos(100);
  const CPoint up(65, 3);
  input::MouseDown(host.m_hWnd, up);
  EXPECT_EQ(spin.GetPos(), 101);
  platform::Clock::Advance(499);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), 101) << "the first repeat waits";
  platform::Clock::Advance(1);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), 102);
  // Then every tenth of a second: up to two seconds held, one a step.
  for (int i = 0; i < 14; ++i) {
    platform::Clock::Advance(100);
    platform::PumpMessages();
  }
  EXPECT_EQ(spin.GetPos(), 116);
  // From two seconds on, five a step; from five seconds on, twenty.
  platform::Clock::Advance(100);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), 121);
  for (int i = 0; i < 30; ++i) {
    platform::Clock::Advance(100);
    platform::PumpMessages();
  }
  EXPECT_EQ(spin.GetPos(), 121 + 29 * 5 + 20);
  // The pointer off the arrow (the capture keeps it the spin's): the steps pause, and the
  // pressed arrow is drawn raised.
  input::MouseMove(host.m_hWnd, CPoint(65, 17));
  const int held = spin.GetPos();
  platform::Clock::Advance(1000);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), held);
  input::MouseMove(host.m_hWnd, up);
  platform::Clock::Advance(100);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), held + 20);
  // Let go: one SB_ENDSCROLL to the parent, and no step after.
  host.Forget();
  input::MouseUp(host.m_hWnd, up);
  platform::Clock::Advance(1000);
  platform::PumpMessages();
  EXPECT_EQ(spin.GetPos(), held + 20);
  EXPECT_EQ(::GetCapture(), nullptr);
  // The range's end holds a held arrow there.
  input::MouseDown(host.m_hWnd, up);
  for (int i = 0; i < 80; ++i) {
    platform::Clock::Advance(100);
    platform::PumpMessages();
  }
  EXPECT_EQ(spin.GetPos(), 600);
  input::MouseUp(host.m_hWnd, up);
}

TEST_F(SpinControlsTest, AParentClosingTheSpinWhileItRepeatsEndsTheRepeat) {
  platform::ManualClockScope clock;
  auto* spin = new CSpinButtonCtrl;
  ASSERT_TRUE(spin->Create(WS_CHILD | WS_VISIBLE, CRect(60, 0, 76, 20), &host, 91));
  spin->SetRange32(0, 10);
  int steps = 0;
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code == UDN_DELTAPOS && ++steps == 2) spin->DestroyWindow();
  };
  input::MouseDown(host.m_hWnd, CPoint(65, 3));
  platform::Clock::Advance(2000);
  platform::PumpMessages();
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(::GetCapture(), nullptr);
  delete spin;
}

TEST_F(SpinControlsTest, IpAddressRoundTripsAndClears) {
  CIPAddressCtrl ip;
  ASSERT_TRUE(ip.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 150, 50), &host, 92));
  EXPECT_TRUE(ip.IsBlank());
  DWORD address = 1;
  EXPECT_EQ(ip.GetAddress(address), 0);
  ip.SetAddress(192, 168, 0, 7);
  BYTE a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ(ip.GetAddress(a, b, c, d), 4);
  EXPECT_EQ(a, 192);
  EXPECT_EQ(b, 168);
  EXPECT_EQ(c, 0);
  EXPECT_EQ(d, 7);
  CString text;
  ip.GetWindowText(text);
  EXPECT_EQ(text, "192.168.0.7");
  ip.ClearAddress();
  EXPECT_TRUE(ip.IsBlank());
}

TEST_F(SpinControlsTest, IpAddressTextSetFromOutsideIsTheAddress) {
  CIPAddressCtrl ip;
  ASSERT_TRUE(ip.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 150, 50), &host, 92));
  ip.SetWindowText("10.0.0.5");
  DWORD address = 0;
  EXPECT_EQ(ip.GetAddress(address), 4);
  EXPECT_EQ(address, 0x0A000005u);
  for (const char* bad : {"10.0.0", "10.0.0.256", "a.b.c.d", "1.2.3.4.", "0001.2.3.4", ""}) {
    ip.SetWindowText(bad);
    EXPECT_TRUE(ip.IsBlank()) << bad;
    EXPECT_EQ(ip.GetAddress(address), 0) << bad;
  }
}

}  // namespace
