#include <gtest/gtest.h>

#include "platform/olecontrol.h"

namespace {

TEST(PropExchangeTest, SavedValuesLoadBackInOrder) {
  CPropExchange save(CPropExchange::Mode::Save);
  DWORD version = 0x00010000;
  LONG negative = -5, big = 0x7FFFFFFF;
  EXPECT_TRUE(save.ExchangeVersion(version, version));
  EXPECT_TRUE(save.ExchangeLong(negative, 0));
  EXPECT_TRUE(save.ExchangeLong(big, 0));
  ASSERT_EQ(save.Stream().size(), 12u);
  EXPECT_FALSE(save.IsLoading());

  CPropExchange load(CPropExchange::Mode::Load, save.Stream().data(), static_cast<ULONG>(save.Stream().size()));
  DWORD readVersion = 0;
  LONG a = 0, b = 0;
  EXPECT_TRUE(load.IsLoading());
  EXPECT_TRUE(load.ExchangeVersion(readVersion, 7));
  EXPECT_TRUE(load.ExchangeLong(a, 0));
  EXPECT_TRUE(load.ExchangeLong(b, 0));
  EXPECT_EQ(readVersion, 0x00010000u);
  EXPECT_EQ(load.GetVersion(), 0x00010000u);
  EXPECT_EQ(a, -5);
  EXPECT_EQ(b, 0x7FFFFFFF);
  EXPECT_TRUE(load.Succeeded());
}

TEST(PropExchangeTest, LoadingPastTheEndGivesDefaultsAndFails) {
  const BYTE partial[6] = {1, 0, 0, 0, 9, 9};
  CPropExchange load(CPropExchange::Mode::Load, partial, sizeof partial);
  LONG first = 0, second = 0;
  EXPECT_TRUE(load.ExchangeLong(first, 42));
  EXPECT_FALSE(load.ExchangeLong(second, 42));
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 42);
  EXPECT_FALSE(load.Succeeded());

  CPropExchange empty(CPropExchange::Mode::Load, nullptr, 0);
  DWORD version = 0;
  EXPECT_FALSE(empty.ExchangeVersion(version, 3));
  EXPECT_EQ(version, 3u);
}

TEST(PropExchangeTest, ResetGivesDefaultsAndWritesNothing) {
  CPropExchange reset(CPropExchange::Mode::Reset);
  LONG value = 99;
  DWORD version = 5;
  EXPECT_TRUE(reset.IsLoading());
  EXPECT_TRUE(reset.ExchangeLong(value, 12));
  EXPECT_TRUE(reset.ExchangeVersion(version, 0x00010000));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(version, 0x00010000u);
  EXPECT_TRUE(reset.Stream().empty());
}

}  // namespace
