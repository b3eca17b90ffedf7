#pragma once
// The sending end of the window channel: one request to another process and its reply, within a
// time limit. While it waits, requests that reach this process are served, so two programs that
// send to each other at the same moment do not wait for each other until the time runs out.

#include <poll.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ChannelFolder.h"
#include "RequestReader.h"
#include "platform/types.h"

namespace platform::process {

class ChannelServer;

class ChannelClient {
public:
  // Sends request to pid's channel and gives its answer; nothing when pid cannot be reached,
  // breaks the exchange or does not answer in time. server, when given, is served meanwhile.
  static std::optional<std::int64_t> Exchange(const ChannelFolder& folder, pid_t pid, const Request& request,
                                              UINT timeoutMs, ChannelServer* server);

  ~ChannelClient();
  ChannelClient(const ChannelClient&) = delete;
  ChannelClient& operator=(const ChannelClient&) = delete;

private:
  // Takes over a connected socket.
  ChannelClient(int fd, std::string request) : m_fd(fd), m_out(std::move(request)) {}

  short WantedEvents() const { return m_sent < m_out.size() ? POLLOUT : POLLIN; }
  // Moves bytes as far as the socket allows; false when the exchange broke.
  bool Step(short revents);
  bool Write();
  bool Read();
  bool HasReply() const { return m_in.size() == kReplySize; }
  std::optional<std::int64_t> Reply() const;

  int m_fd{-1};
  std::string m_out;      // the encoded request
  std::size_t m_sent{0};  // bytes of m_out already sent
  std::string m_in;       // the reply so far
};

}  // namespace platform::process
