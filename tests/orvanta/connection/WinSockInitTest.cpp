#include "orvanta/connection/WinSockInit.h"

#include <gtest/gtest.h>

TEST(WinSockInit, CountsUsersOfOneVersion) {
  CWinSockInit& init = CWinSockInit::Instance();
  const int before = init.GetUseCount();
  ASSERT_TRUE(init.Startup(1, 1));
  ASSERT_TRUE(init.Startup(1, 1));
  EXPECT_EQ(init.GetUseCount(), before + 2);
  EXPECT_EQ(init.GetVersion(), 0x0101);
  EXPECT_FALSE(init.Startup(2, 2)) << "another version while one is in use";
  EXPECT_EQ(init.GetUseCount(), before + 2);

  // The library stays usable while a user remains.
  init.Release();
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_NE(s, INVALID_SOCKET);
  closesocket(s);
  init.Release();
  EXPECT_EQ(init.GetUseCount(), before);
}

TEST(WinSockInit, LastReleaseCleansUpAndExtraReleasesAreHarmless) {
  CWinSockInit& init = CWinSockInit::Instance();
  if (init.GetUseCount() != 0)
    GTEST_SKIP() << "another user holds the library";
  ASSERT_TRUE(init.Startup(1, 1));
  init.Release();
  EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
  init.Release();
  EXPECT_EQ(init.GetUseCount(), 0);
  ASSERT_TRUE(init.Startup(2, 1)) << "a new version once nobody uses the old one";
  EXPECT_EQ(init.GetVersion(), 0x0201) << "major in the high byte";
  init.Release();
}
