#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/windows.h"

namespace {

namespace input = platform::input;

class MouseWnd : public CWnd {
public:
  std::vector<std::string> events;
  bool captureOnDown{false};

protected:
  void Record(const char* what, CPoint p) { events.push_back(std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y)); }
  void OnLButtonDown(UINT, CPoint p) {
    Record("down", p);
    if (captureOnDown) SetCapture();
  }
  void OnLButtonUp(UINT, CPoint p) {
    Record("up", p);
    if (GetCapture() == this) ReleaseCapture();
  }
  void OnLButtonDblClk(UINT, CPoint p) { Record("dbl", p); }
  void OnMouseMove(UINT flags, CPoint p) { Record((flags & MK_LBUTTON) ? "drag" : "move", p); }
  void OnChar(UINT ch, UINT, UINT) { events.push_back(std::string("char ") + static_cast<char>(ch)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MouseWnd, CWnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_WM_CHAR()
END_MESSAGE_MAP()

class TestInputTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 200, 100, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(50, 40, 150, 90), &parent, 1));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  MouseWnd parent;
  MouseWnd child;
};

TEST_F(TestInputTest, ClickGoesToTheChildUnderThePointInItsCoordinates) {
  input::Click(parent.m_hWnd, CPoint(60, 45));
  EXPECT_EQ(child.events, (std::vector<std::string>{"down 10,5", "up 10,5"}));
  EXPECT_TRUE(parent.events.empty());
  input::Click(parent.m_hWnd, CPoint(10, 10));
  EXPECT_EQ(parent.events, (std::vector<std::string>{"down 10,10", "up 10,10"}));
}

TEST_F(TestInputTest, DisabledOrHiddenChildrenLeaveTheClickToTheParent) {
  child.EnableWindow(FALSE);
  input::Click(parent.m_hWnd, CPoint(60, 45));
  EXPECT_TRUE(child.events.empty());
  EXPECT_EQ(parent.events.front(), "down 60,45");
}

TEST_F(TestInputTest, CaptureRoutesTheDragToTheCapturingWindow) {
  child.captureOnDown = true;
  input::Drag(child.m_hWnd, CPoint(5, 5), CPoint(-20, 105), 1);
  EXPECT_EQ(child.events, (std::vector<std::string>{"down 5,5", "drag -20,105", "up -20,105"}));
  EXPECT_TRUE(parent.events.empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TestInputTest, DoubleClickNeedsTheDoubleClickClassStyle) {
  input::DoubleClick(child.m_hWnd, CPoint(1, 2));  // the default class takes double clicks
  EXPECT_EQ(child.events, (std::vector<std::string>{"down 1,2", "up 1,2", "dbl 1,2", "up 1,2"}));

  MouseWnd plain;
  ASSERT_TRUE(plain.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent.m_hWnd, nullptr));
  POINT hit{};
  EXPECT_EQ(input::HitTest(parent.m_hWnd, CPoint(2, 3), &hit), plain.m_hWnd);
  EXPECT_EQ(CPoint(hit), CPoint(2, 3));
  input::DoubleClick(plain.m_hWnd, CPoint(2, 3));
  EXPECT_EQ(plain.events, (std::vector<std::string>{"down 2,3", "up 2,3", "down 2,3", "up 2,3"}));
}

TEST_F(TestInputTest, KeysGoToTheFocusWindowAndTypeCharacters) {
  child.SetFocus();
  input::PressKey('Q');
  input::SetModifier(VK_SHIFT, true);
  input::PressKey('Q');
  input::SetModifier(VK_SHIFT, false);
  input::TypeText("ok");
  EXPECT_EQ(child.events, (std::vector<std::string>{"char q", "char Q", "char o", "char k"}));
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

}  // namespace
