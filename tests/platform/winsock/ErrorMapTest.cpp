#include "../../../platform/src/winsock/ErrorMap.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <platform/winsock.h>

using platform::winsock::WinSockErrorFromErrno;

TEST(WinSockErrorMap, ConnectionFailuresGetWinSockNumbers) {
  EXPECT_EQ(WinSockErrorFromErrno(ECONNREFUSED), 10061);
  EXPECT_EQ(WinSockErrorFromErrno(ECONNRESET), 10054);
  EXPECT_EQ(WinSockErrorFromErrno(ETIMEDOUT), 10060);
  EXPECT_EQ(WinSockErrorFromErrno(ENOTCONN), 10057);
  EXPECT_EQ(WinSockErrorFromErrno(EHOSTUNREACH), 10065);
  EXPECT_EQ(WinSockErrorFromErrno(ENETUNREACH), 10051);
  EXPECT_EQ(WinSockErrorFromErrno(ECONNABORTED), 10053);
  EXPECT_EQ(WinSockErrorFromErrno(EADDRINUSE), 10048);
}

TEST(WinSockErrorMap, EveryNotYetStateReadsAsWouldBlock) {
  EXPECT_EQ(WinSockErrorFromErrno(EWOULDBLOCK), WSAEWOULDBLOCK);
  EXPECT_EQ(WinSockErrorFromErrno(EAGAIN), WSAEWOULDBLOCK);
  EXPECT_EQ(WinSockErrorFromErrno(EINPROGRESS), WSAEWOULDBLOCK);
}

TEST(WinSockErrorMap, BrokenPipeIsAResetAndUnknownsAreInvalid) {
  // A send to a peer that has gone is a reset in WinSock's terms, never a signal.
  EXPECT_EQ(WinSockErrorFromErrno(EPIPE), WSAECONNRESET);
  EXPECT_EQ(WinSockErrorFromErrno(EBADF), WSAENOTSOCK);
  EXPECT_EQ(WinSockErrorFromErrno(0), 0);
  EXPECT_EQ(WinSockErrorFromErrno(ENOENT), WSAEINVAL);
}
