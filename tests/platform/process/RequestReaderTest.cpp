// Requests and replies of the window channel: whole requests in any pieces, nothing past the
// end, no oversize block, no unknown kind, no damaged reply.

#include "../../../platform/src/process/RequestReader.h"

#include <gtest/gtest.h>

#include "platform/process.h"

namespace platform::process {
namespace {

// Where the header keeps the byte count: after magic, kind, the two handles with their
// instances and the sender's process id.
constexpr std::size_t kByteCountAt = 44;

Request CopyData(std::string bytes) {
  Request request;
  request.kind = RequestKind::CopyData;
  request.target = 65552;
  request.targetInstance = 0x1122334455667788u;
  request.sender = 65600;
  request.senderInstance = 99;
  request.senderPid = 4242;
  request.dwData = 1;
  request.bytes = std::move(bytes);
  return request;
}

TEST(RequestReaderTest, RequestArrivesWholeWhateverThePieces) {
  std::string wire = EncodeRequest(CopyData("AD.ini"));
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{40}, wire.size()}) {
    RequestReader reader;
    RequestReader::State state = RequestReader::State::Incomplete;
    for (std::size_t at = 0; at < wire.size(); at += piece) {
      EXPECT_EQ(state, RequestReader::State::Incomplete);
      state = reader.Feed(std::string_view(wire).substr(at, piece));
    }
    ASSERT_EQ(state, RequestReader::State::Complete) << "pieces of " << piece;
    const Request& got = reader.GetRequest();
    EXPECT_EQ(got.kind, RequestKind::CopyData);
    EXPECT_EQ(got.target, 65552u);
    EXPECT_EQ(got.targetInstance, 0x1122334455667788u);
    EXPECT_EQ(got.sender, 65600u);
    EXPECT_EQ(got.senderInstance, 99u);
    EXPECT_EQ(got.senderPid, 4242u);
    EXPECT_EQ(got.dwData, 1u);
    EXPECT_EQ(got.bytes, "AD.ini");
  }
}

TEST(RequestReaderTest, HeaderOnlyRequestsCompleteAtTheirHeader) {
  Request probe;
  probe.kind = RequestKind::IsWindow;
  probe.target = 65552;
  RequestReader reader;
  EXPECT_EQ(reader.Feed(EncodeRequest(probe)), RequestReader::State::Complete);
  EXPECT_EQ(reader.GetRequest().kind, RequestKind::IsWindow);

  RequestReader empty;
  EXPECT_EQ(empty.Feed(EncodeRequest(CopyData(""))), RequestReader::State::Complete);
}

TEST(RequestReaderTest, MalformedRequestsAreRejected) {
  std::string extra = EncodeRequest(CopyData("abc")) + "z";
  EXPECT_EQ(RequestReader().Feed(extra), RequestReader::State::Invalid);

  std::string badMagic = EncodeRequest(CopyData("abc"));
  badMagic[0] ^= 0x55;
  EXPECT_EQ(RequestReader().Feed(badMagic), RequestReader::State::Invalid);

  std::string badKind = EncodeRequest(CopyData("abc"));
  badKind[4] = 9;
  EXPECT_EQ(RequestReader().Feed(badKind), RequestReader::State::Invalid);

  Request probeWithBytes;
  probeWithBytes.kind = RequestKind::IsWindow;
  probeWithBytes.bytes = "x";
  EXPECT_EQ(RequestReader().Feed(EncodeRequest(probeWithBytes)), RequestReader::State::Invalid);

  RequestReader after;
  ASSERT_EQ(after.Feed(EncodeRequest(CopyData(""))), RequestReader::State::Complete);
  EXPECT_EQ(after.Feed("more"), RequestReader::State::Invalid);
}

TEST(RequestReaderTest, OversizeBlockIsRejectedFromItsHeader) {
  std::string header = EncodeRequest(CopyData("")).substr(0, kRequestHeaderSize);
  std::uint32_t size = static_cast<std::uint32_t>(kMaxCopyDataBytes + 1);
  header.replace(kByteCountAt, 4, reinterpret_cast<const char*>(&size), 4);
  EXPECT_EQ(RequestReader().Feed(header), RequestReader::State::Invalid);

  size = static_cast<std::uint32_t>(kMaxCopyDataBytes);
  header.replace(kByteCountAt, 4, reinterpret_cast<const char*>(&size), 4);
  EXPECT_EQ(RequestReader().Feed(header), RequestReader::State::Incomplete);
}

TEST(RequestReaderTest, ReplyDecodesOnlyWhenWhole) {
  std::int64_t result = 0;
  std::string reply = EncodeReply(-5);
  ASSERT_TRUE(DecodeReply(reply, result));
  EXPECT_EQ(result, -5);
  EXPECT_FALSE(DecodeReply(reply.substr(0, kReplySize - 1), result));
  reply[1] ^= 0x10;
  EXPECT_FALSE(DecodeReply(reply, result));
}

}  // namespace
}  // namespace platform::process
