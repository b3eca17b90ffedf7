#include "orvanta/connection/SocketBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

CSocketBlock Block(const std::string& bytes) { return CSocketBlock(bytes.data(), static_cast<int>(bytes.size())); }

std::string Bytes(const CSocketBlock& block) {
  return block.GetLength() ? std::string(block.GetData(), static_cast<std::size_t>(block.GetLength())) : std::string();
}

}  // namespace

TEST(SocketBlock, CopiesOrAdoptsItsBytes) {
  std::string source = "abc";
  CSocketBlock copied = Block(source);
  source[0] = 'X';
  EXPECT_EQ(Bytes(copied), "abc");

  auto buffer = std::make_unique<char[]>(65536);
  std::memcpy(buffer.get(), "hello", 5);
  CSocketBlock adopted(std::move(buffer), 5);
  EXPECT_EQ(Bytes(adopted), "hello");

  EXPECT_EQ(CSocketBlock(nullptr, 10).GetLength(), 0);
  EXPECT_EQ(CSocketBlock("abc", -1).GetLength(), 0);
}

TEST(SocketBlock, ConsumeKeepsTheTailAndFreesWhenDone) {
  CSocketBlock block = Block("0123456789");
  EXPECT_EQ(block.Consume(3), 7);
  EXPECT_EQ(Bytes(block), "3456789");
  EXPECT_EQ(block.Consume(6), 1);
  EXPECT_EQ(Bytes(block), "9");
  EXPECT_EQ(block.Consume(5), 0);
  EXPECT_EQ(block.GetLength(), 0);
  EXPECT_EQ(block.GetData(), nullptr);
}

TEST(SocketBlock, ConsumeOfNothingOrLessChangesNothing) {
  CSocketBlock block = Block("abcdef");
  EXPECT_EQ(block.Consume(0), 6);
  EXPECT_EQ(block.Consume(-4), 6);
  EXPECT_EQ(Bytes(block), "abcdef");
}

TEST(SocketBlock, EndsWithFrameLooksOnlyAtTheLastEsc) {
  EXPECT_TRUE(Block("\x1b\t1/0/0/1/1/\x1b\n").EndsWithFrame());
  EXPECT_TRUE(Block("\x1b\t1/3/0/1/1/a\x1b" "b\x1b\n").EndsWithFrame());
  // A complete record followed by the start of the next one does not end a group.
  EXPECT_FALSE(Block("\x1b\t1/0/0/1/1/\x1b\n\x1b\t1/2/0").EndsWithFrame());
  EXPECT_FALSE(Block("\x1b\t1/0/0/1/1/\x1b").EndsWithFrame());
  EXPECT_FALSE(Block("no escape at all\n").EndsWithFrame());
  EXPECT_FALSE(CSocketBlock(nullptr, 0).EndsWithFrame());
}

TEST(SocketBlock, EndsWithFrameJudgesWhatIsLeftAfterConsume) {
  CSocketBlock block = Block("\x1b\n\x1b\t12");
  EXPECT_FALSE(block.EndsWithFrame());
  block.Consume(2);
  EXPECT_FALSE(block.EndsWithFrame());
  CSocketBlock second = Block("xx\x1b\n");
  second.Consume(3);
  EXPECT_FALSE(second.EndsWithFrame()) << "the ESC was consumed; the lone LF ends nothing";
}
