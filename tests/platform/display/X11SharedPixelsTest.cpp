// What a person sees is what the window's surface holds: drawing in places far apart, a child
// moved and the frame resized all reach the X window, whether the pixels go through shared
// memory, through the connection because the program is told so, or because the server lacks
// the extension. Shared memory outlives neither its window nor the program.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "XvfbServer.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/surface.h"
#include "platform/windows.h"
// Bring Xlib in: after the program's headers.
#include "XPointerKeys.h"

namespace {

template <class Handle>
HGDIOBJ Gdi(Handle handle) {
  return reinterpret_cast<HGDIOBJ>(handle);
}

// The System V shared memory segment address lies in, as this process maps it; -1 for none.
int SharedSegmentOf(const void* address) {
  std::ifstream maps("/proc/self/maps");
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  for (std::string line; std::getline(maps, line);) {
    unsigned long from = 0, to = 0, inode = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx %*s %*s %*s %lu", &from, &to, &inode) != 3) continue;
    if (at >= from && at < to) return line.find("SYSV") != std::string::npos ? static_cast<int>(inode) : -1;
  }
  return -1;
}

// Paints the whole client through a memory bitmap (as the boards do): a grey ground and a red
// square at the point kept in the window's user data, so a moved square changes two small areas.
LRESULT SquareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return ::DefWindowProc(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(hwnd, &ps);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  HDC memory = ::CreateCompatibleDC(dc);
  HBITMAP picture = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = ::SelectObject(memory, Gdi(picture));
  HBRUSH ground = ::CreateSolidBrush(RGB(200, 200, 190));
  HBRUSH red = ::CreateSolidBrush(RGB(220, 20, 20));
  ::FillRect(memory, &client, ground);
  const auto at = static_cast<LONG>(::GetWindowLongPtr(hwnd, GWLP_USERDATA));
  const RECT square{LOWORD(at), HIWORD(at), LOWORD(at) + 12, HIWORD(at) + 12};
  ::FillRect(memory, &square, red);
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteObject(Gdi(picture));
  ::DeleteObject(Gdi(ground));
  ::DeleteObject(Gdi(red));
  ::DeleteDC(memory);
  ::EndPaint(hwnd, &ps);
  return 0;
}

void PutSquare(HWND window, int x, int y) {
  ::SetWindowLongPtr(window, GWLP_USERDATA, static_cast<LONG_PTR>(MAKELONG(x, y)));
  ::InvalidateRect(window, nullptr, FALSE);
}

enum class Server { Tests, TestsToldNoSharing, WithoutExtension };

class X11SharedPixelsTest : public ::testing::TestWithParam<Server> {
protected:
  void SetUp() override {
    std::string name = platform::testing::TestDisplayName();
    if (GetParam() == Server::WithoutExtension) {
      m_own = std::make_unique<platform::testing::PrivateXvfb>(std::vector<std::string>{"-extension", "MIT-SHM"});
      name = m_own->Name();
    }
    if (name.empty()) GTEST_SKIP() << "no X server";
    if (GetParam() == Server::TestsToldNoSharing) setenv("PLATFORM_X11_SHM", "0", 1);
    const bool opened = platform::display::UseX11Display(name.c_str());
    unsetenv("PLATFORM_X11_SHM");
    ASSERT_TRUE(opened);
    m_screen = std::make_unique<platform::testing::XPointerKeys>(name);
    ASSERT_TRUE(m_screen->Ready());
    int opcode = 0, event = 0, error = 0;
    m_serverShares = XQueryExtension(m_screen->Connection(), "MIT-SHM", &opcode, &event, &error);
    WNDCLASS wc{};
    if (!::GetClassInfo(nullptr, "SquareWindow", &wc)) {
      wc.lpfnWndProc = SquareProc;
      wc.lpszClassName = "SquareWindow";
      ::RegisterClass(&wc);
    }
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    m_screen.reset();
    platform::display::UseHeadless();
  }

  std::unique_ptr<platform::testing::PrivateXvfb> m_own;
  std::unique_ptr<platform::testing::XPointerKeys> m_screen;
  bool m_serverShares{false};
};

TEST_P(X11SharedPixelsTest, EveryChangedAreaReachesTheXWindow) {
  HWND frame = ::CreateWindowEx(0, "SquareWindow", "Squares", WS_OVERLAPPEDWINDOW, 60, 40, 420, 320, nullptr, nullptr,
                                nullptr, nullptr);
  HWND left = ::CreateWindowEx(0, "SquareWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 100, frame, nullptr,
                               nullptr, nullptr);
  HWND right = ::CreateWindowEx(0, "SquareWindow", "", WS_CHILD | WS_VISIBLE, 260, 160, 120, 100, frame, nullptr,
                                nullptr, nullptr);
  PutSquare(left, 5, 5);
  PutSquare(right, 90, 70);
  ::ShowWindow(frame, SW_SHOW);
  ASSERT_TRUE(platform::testing::XPointerKeys::WaitFor([&] { return platform::display::NativeWindowOf(frame) != 0; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "showing";
  const platform::Surface& held = *platform::GetPaintTarget(frame, true).surface;
  EXPECT_EQ(SharedSegmentOf(held.pixels.data()) >= 0, GetParam() == Server::Tests && m_serverShares);

  // Squares moved in both children: four small areas far apart, each put on its own.
  PutSquare(left, 80, 60);
  PutSquare(right, 4, 8);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "moving the squares";
  // A child moved: what it uncovers and where it goes.
  ::SetWindowPos(right, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::InvalidateRect(frame, nullptr, TRUE);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "moving a child";
  // Larger (the surface grows), then smaller, then a square moved again.
  ::SetWindowPos(frame, nullptr, 0, 0, 560, 420, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "enlarging";
  ::SetWindowPos(frame, nullptr, 0, 0, 380, 300, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "shrinking";
  PutSquare(left, 30, 30);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(frame), 0) << "a square after the resizes";
  const int segment = SharedSegmentOf(platform::GetPaintTarget(frame, true).surface->pixels.data());
  EXPECT_EQ(segment >= 0, GetParam() == Server::Tests && m_serverShares);
  // The segment is marked for removal from the start, so no end of the program leaves it behind,
  // and it goes with its window: the server lets it go too.
  if (segment < 0) return;
  shmid_ds state{};
  ASSERT_EQ(::shmctl(segment, IPC_STAT, &state), 0);
  EXPECT_NE(state.shm_perm.mode & SHM_DEST, 0u);
  ::DestroyWindow(frame);
  EXPECT_TRUE(platform::testing::XPointerKeys::WaitFor([&] { return ::shmctl(segment, IPC_STAT, &state) != 0; }));
}

INSTANTIATE_TEST_SUITE_P(Servers, X11SharedPixelsTest,
                         ::testing::Values(Server::Tests, Server::TestsToldNoSharing, Server::WithoutExtension),
                         [](const ::testing::TestParamInfo<Server>& info) {
                           return info.param == Server::Tests               ? std::string("Shared")
                                  : info.param == Server::TestsToldNoSharing ? std::string("ToldNotToShare")
                                                                            : std::string("ServerWithoutExtension");
                         });

}  // namespace
