#include "RequestReader.h"

#include <algorithm>
#include <cstring>

#include "platform/process.h"

namespace platform::process {
namespace {

constexpr std::uint32_t kRequestMagic = 0x31435750;  // "PWC1"
constexpr std::uint32_t kReplyMagic = 0x31525750;    // "PWR1"

template <typename T>
void Put(std::string& out, T value) {
  char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  out.append(raw, sizeof(T));
}

template <typename T>
T Take(std::string_view bytes, std::size_t& at) {
  T value{};
  std::memcpy(&value, bytes.data() + at, sizeof(T));
  at += sizeof(T);
  return value;
}

bool KnownKind(std::uint32_t kind) {
  return kind == static_cast<std::uint32_t>(RequestKind::CopyData) ||
         kind == static_cast<std::uint32_t>(RequestKind::IsWindow);
}

}  // namespace

std::string EncodeRequest(const Request& request) {
  std::string out;
  out.reserve(kRequestHeaderSize + request.bytes.size());
  Put(out, kRequestMagic);
  Put(out, static_cast<std::uint32_t>(request.kind));
  Put(out, request.target);
  Put(out, request.targetInstance);
  Put(out, request.sender);
  Put(out, request.senderInstance);
  Put(out, request.senderPid);
  Put(out, static_cast<std::uint32_t>(request.bytes.size()));
  Put(out, request.dwData);
  out += request.bytes;
  return out;
}

std::string EncodeReply(std::int64_t result) {
  std::string out;
  Put(out, kReplyMagic);
  Put(out, std::uint32_t{0});
  Put(out, result);
  return out;
}

bool DecodeReply(std::string_view bytes, std::int64_t& result) {
  if (bytes.size() != kReplySize) return false;
  std::size_t at = 0;
  if (Take<std::uint32_t>(bytes, at) != kReplyMagic) return false;
  Take<std::uint32_t>(bytes, at);
  result = Take<std::int64_t>(bytes, at);
  return true;
}

RequestReader::State RequestReader::Feed(std::string_view bytes) {
  if (m_state != State::Incomplete) {
    if (!bytes.empty()) m_state = State::Invalid;
    return m_state;
  }
  if (!m_headerDone) {
    std::size_t wanted = kRequestHeaderSize - m_header.size();
    std::size_t taken = std::min(wanted, bytes.size());
    m_header.append(bytes.data(), taken);
    bytes.remove_prefix(taken);
    if (m_header.size() < kRequestHeaderSize) return m_state;
    if (ReadHeader() == State::Invalid) return m_state;
  }
  if (bytes.size() > m_expectedBytes - m_request.bytes.size()) return m_state = State::Invalid;
  m_request.bytes.append(bytes.data(), bytes.size());
  if (m_request.bytes.size() == m_expectedBytes) m_state = State::Complete;
  return m_state;
}

RequestReader::State RequestReader::ReadHeader() {
  std::size_t at = 0;
  std::string_view header(m_header);
  std::uint32_t magic = Take<std::uint32_t>(header, at);
  std::uint32_t kind = Take<std::uint32_t>(header, at);
  m_request.target = Take<std::uint64_t>(header, at);
  m_request.targetInstance = Take<std::uint64_t>(header, at);
  m_request.sender = Take<std::uint64_t>(header, at);
  m_request.senderInstance = Take<std::uint64_t>(header, at);
  m_request.senderPid = Take<std::uint32_t>(header, at);
  m_expectedBytes = Take<std::uint32_t>(header, at);
  m_request.dwData = Take<std::uint64_t>(header, at);
  m_headerDone = true;
  bool valid = magic == kRequestMagic && KnownKind(kind) && m_expectedBytes <= kMaxCopyDataBytes &&
               (kind == static_cast<std::uint32_t>(RequestKind::CopyData) || m_expectedBytes == 0);
  if (!valid) return m_state = State::Invalid;
  m_request.kind = static_cast<RequestKind>(kind);
  m_request.bytes.reserve(m_expectedBytes);
  if (m_expectedBytes == 0) m_state = State::Complete;
  return m_state;
}

}  // namespace platform::process
