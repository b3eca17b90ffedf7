#pragma once
// What travels over the window channel: one request a connection, then one reply.
// A request is a fixed header (magic, kind, target handle and instance, sender handle and
// instance, sender's process id, byte count, dwData) followed by the bytes; the reply is the
// magic and the 64-bit answer.
// Both ends run on the same machine, so numbers travel in the host's byte order.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::process {

enum class RequestKind : std::uint32_t {
  CopyData = 1,  // deliver WM_COPYDATA to the target window, answer its result
  IsWindow = 2,  // answer 1 when the target is a live window
};

struct Request {
  RequestKind kind{RequestKind::CopyData};
  std::uint64_t target{0};          // the receiver's own handle number
  std::uint64_t targetInstance{0};  // the instance the receiver published (see WindowList.h)
  std::uint64_t sender{0};          // the sender's own handle number, 0 for none
  std::uint64_t senderInstance{0};
  std::uint32_t senderPid{0};
  std::uint64_t dwData{0};
  std::string bytes;           // at most kMaxCopyDataBytes
};

constexpr std::size_t kRequestHeaderSize = 56;
constexpr std::size_t kReplySize = 16;

std::string EncodeRequest(const Request& request);
std::string EncodeReply(std::int64_t result);
// False unless bytes are exactly one reply.
bool DecodeReply(std::string_view bytes, std::int64_t& result);

// Gathers one request from the bytes a connection delivers piece by piece.
class RequestReader {
public:
  enum class State { Incomplete, Complete, Invalid };

  // Takes the next bytes; Invalid for a bad header, an oversize block or bytes past the end.
  State Feed(std::string_view bytes);
  State GetState() const { return m_state; }
  // The request; valid once Feed answered Complete.
  const Request& GetRequest() const { return m_request; }

private:
  State ReadHeader();

  std::string m_header;
  std::size_t m_expectedBytes{0};
  bool m_headerDone{false};
  State m_state{State::Incomplete};
  Request m_request;
};

}  // namespace platform::process
