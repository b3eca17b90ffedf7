#pragma once
// The listening end of the window channel: accepts connections on the process's socket, gathers
// each one's request and answers it with what the handler returns. Everything runs on the UI
// thread, from the message loop or from a sender waiting for another process.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RequestReader.h"

namespace platform::process {

class ChannelServer {
public:
  using Handler = std::function<std::int64_t(const Request&)>;

  explicit ChannelServer(Handler handler) : m_handler(std::move(handler)) {}
  ~ChannelServer();
  ChannelServer(const ChannelServer&) = delete;
  ChannelServer& operator=(const ChannelServer&) = delete;

  // Binds socketPath (replacing a stale file), listens and asks the message loop to serve it.
  bool Listen(const std::string& socketPath);
  // Stops serving and closes every descriptor; the socket file is left to the caller.
  void Close();
  bool IsListening() const { return m_listenFd >= 0; }
  // The descriptors it waits on (the listening one and the open connections).
  std::vector<int> Descriptors() const;
  // Serves what poll reported on one of its descriptors.
  void OnReady(int fd, short revents);

private:
  void Accept();
  void Read(int fd);
  void Answer(int fd, const Request& request);
  void Drop(int fd);

  static constexpr std::size_t kMaxConnections = 64;

  Handler m_handler;
  int m_listenFd{-1};
  std::map<int, std::unique_ptr<RequestReader>> m_connections;
};

}  // namespace platform::process
