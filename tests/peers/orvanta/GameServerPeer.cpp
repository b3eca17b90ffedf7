#include "GameServerPeer.h"

#include "peers/orvanta/PlaceModel.h"

#include "peers/LoopbackListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace {

const std::string kStart = "\x1b\t";
const std::string kEnd = "\x1b\n";

// Splits a record body at its first five "/"; the rest is the payload, "/" and all.
PeerRecord ParseBody(const std::string& body) {
  PeerRecord record;
  std::string* header[] = {&record.sender, &record.length, &record.major, &record.minor, &record.flag};
  std::size_t from = 0;
  for (std::string* field : header) {
    const std::size_t slash = body.find('/', from);
    if (slash == std::string::npos) {
      *field = body.substr(from);
      return record;
    }
    *field = body.substr(from, slash - from);
    from = slash + 1;
  }
  record.payload = body.substr(from);
  return record;
}

void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0)
      return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

bool PeerRecord::Is(int majorCode, int minorCode) const {
  return major == std::to_string(majorCode) && minor == std::to_string(minorCode);
}

GameServerPeer::GameServerPeer() : GameServerPeer(0) {}

GameServerPeer::GameServerPeer(unsigned short port) : m_places(std::make_unique<PlaceModel>()) {
  if (port == 0) {
    m_listenFd = ListenOnLoopback(m_port, "game server peer");
  } else {
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (m_listenFd < 0 || ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) < 0 ||
        ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(m_listenFd, 4) < 0) {
      if (m_listenFd >= 0)
        ::close(m_listenFd);
      throw std::runtime_error("game server peer: cannot listen on port " + std::to_string(port));
    }
    m_port = port;
  }
  if (::pipe2(m_wakeFds, O_CLOEXEC | O_NONBLOCK) < 0) {
    ::close(m_listenFd);
    throw std::runtime_error("game server peer: pipe failed");
  }
  ReplyAlways(0, 1, {{HelloReply(), 0}});
  ReplyAlways(1, 1, {{LoginAccepted(), 0}});
  m_thread = std::thread([this] { Serve(); });
}

GameServerPeer::~GameServerPeer() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  const char wake = 1;
  (void)!::write(m_wakeFds[1], &wake, 1);
  m_thread.join();
  if (m_clientFd >= 0)
    ::close(m_clientFd);
  ::close(m_listenFd);
  ::close(m_wakeFds[0]);
  ::close(m_wakeFds[1]);
}

std::string GameServerPeer::Address() const { return "127.0.0.1:" + std::to_string(m_port); }

std::string GameServerPeer::Record(int major, int minor, const std::string& payload, const std::string& flag) {
  return kStart + "0/" + std::to_string(payload.size()) + "/" + std::to_string(major) + "/" +
         std::to_string(minor) + "/" + flag + "/" + payload + kEnd;
}

std::string GameServerPeer::HelloReply() { return Record(0, 1, "|OK|"); }

std::string GameServerPeer::LoginAccepted(const std::string& role, const std::string& notice) {
  return Record(1, 1, "|" + role + "|" + notice + "|");
}

std::string GameServerPeer::LoginRefused(const std::string& reason, const std::string& text) {
  return Record(1, 1, "|" + reason + "|" + text + "|", "0");
}

std::string GameServerPeer::WaitingRoomList(const std::vector<std::string>& rooms) {
  std::string payload = "|" + std::to_string(rooms.size()) + "|";
  for (const std::string& room : rooms)
    payload += room + "|";
  return Record(0, 2, payload);
}

void GameServerPeer::ReplyOnce(int major, int minor, std::vector<PeerPiece> pieces) {
  std::lock_guard lock(m_mutex);
  m_onceReplies[{major, minor}].push_back(std::move(pieces));
}

void GameServerPeer::ReplyAlways(int major, int minor, std::vector<PeerPiece> pieces) {
  std::lock_guard lock(m_mutex);
  m_alwaysReplies[{major, minor}] = std::move(pieces);
}

void GameServerPeer::AddToReply(int major, int minor, std::vector<PeerPiece> pieces) {
  std::lock_guard lock(m_mutex);
  std::vector<PeerPiece>& reply = m_alwaysReplies[{major, minor}];
  reply.insert(reply.end(), pieces.begin(), pieces.end());
}

void GameServerPeer::ReplyComputed(int major, int minor, ReplyMaker make) {
  std::lock_guard lock(m_mutex);
  m_computedReplies[{major, minor}] = std::move(make);
}

void GameServerPeer::NoReply(int major, int minor) {
  std::lock_guard lock(m_mutex);
  m_onceReplies.erase({major, minor});
  m_alwaysReplies.erase({major, minor});
  m_computedReplies.erase({major, minor});
}

void GameServerPeer::Send(std::vector<PeerPiece> pieces) {
  {
    std::lock_guard lock(m_mutex);
    QueuePieces(std::move(pieces));
  }
  const char wake = 1;
  (void)!::write(m_wakeFds[1], &wake, 1);
}

void GameServerPeer::CloseConnection() {
  {
    std::lock_guard lock(m_mutex);
    m_closeRequested = true;
  }
  const char wake = 1;
  (void)!::write(m_wakeFds[1], &wake, 1);
}

void GameServerPeer::SetPlaceCheck(PlaceCheck check) {
  std::lock_guard lock(m_mutex);
  m_placeCheck = check;
}

std::vector<std::string> GameServerPeer::PlaceFaults() const {
  std::lock_guard lock(m_mutex);
  return m_placeFaults;
}

int GameServerPeer::ShareConnection() const {
  std::lock_guard lock(m_mutex);
  return m_clientFd >= 0 ? ::fcntl(m_clientFd, F_DUPFD_CLOEXEC, 0) : -1;
}

std::vector<PeerRecord> GameServerPeer::Records() const {
  std::lock_guard lock(m_mutex);
  return m_records;
}

std::vector<PeerRecord> GameServerPeer::RecordsSince(std::size_t from) const {
  std::lock_guard lock(m_mutex);
  return from < m_records.size() ? std::vector<PeerRecord>(m_records.begin() + static_cast<std::ptrdiff_t>(from), m_records.end())
                                 : std::vector<PeerRecord>();
}

std::vector<PeerRecord> GameServerPeer::WrittenSince(std::size_t from) const {
  std::lock_guard lock(m_mutex);
  return from < m_writtenRecords.size()
             ? std::vector<PeerRecord>(m_writtenRecords.begin() + static_cast<std::ptrdiff_t>(from), m_writtenRecords.end())
             : std::vector<PeerRecord>();
}

std::size_t GameServerPeer::RecordCount() const {
  std::lock_guard lock(m_mutex);
  return m_records.size();
}

bool GameServerPeer::WaitForRecords(std::size_t count, int timeoutMs) const {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_records.size() >= count; });
}

int GameServerPeer::ConnectionCount() const {
  std::lock_guard lock(m_mutex);
  return m_connections;
}

bool GameServerPeer::ClientClosed() const {
  std::lock_guard lock(m_mutex);
  return m_clientClosed;
}

bool GameServerPeer::AllSent() const {
  std::lock_guard lock(m_mutex);
  return m_outgoing.empty();
}

// Called with the mutex held.
void GameServerPeer::QueuePieces(std::vector<PeerPiece> pieces) {
  Clock::time_point due = Clock::now();
  if (!m_outgoing.empty())
    due = std::max(due, m_outgoing.back().due);
  for (PeerPiece& piece : pieces) {
    due += std::chrono::milliseconds(piece.delayMs);
    m_outgoing.push_back({due, std::move(piece.bytes)});
  }
}

int GameServerPeer::PollTimeoutMs() const {
  if (m_outgoing.empty())
    return 50;
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(m_outgoing.front().due - Clock::now());
  return static_cast<int>(std::clamp<long long>(wait.count(), 0, 50));
}

void GameServerPeer::Serve() {
  std::unique_lock lock(m_mutex);
  while (!m_stopping) {
    pollfd entries[2] = {{m_wakeFds[0], POLLIN, 0}, {m_clientFd >= 0 ? m_clientFd : m_listenFd, POLLIN, 0}};
    const int timeout = PollTimeoutMs();
    lock.unlock();
    ::poll(entries, 2, timeout);
    lock.lock();
    char drain[64];
    while (::read(m_wakeFds[0], drain, sizeof drain) > 0) {
    }
    if (m_stopping)
      break;
    if (entries[1].revents != 0) {
      if (m_clientFd >= 0)
        ReadClient();
      else
        AcceptNext();
    }
    WriteDue();
    if (m_closeRequested && m_outgoing.empty() && m_clientFd >= 0)
      EndConnection();
    m_changed.notify_all();
  }
}

void GameServerPeer::AcceptNext() {
  const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0)
    return;
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  m_clientFd = fd;
  m_inbox.clear();
  m_ordinals.clear();
  m_places->Reset();
  m_written.clear();
  m_clientClosed = false;
  m_closeRequested = false;
  ++m_connections;
}

void GameServerPeer::ReadClient() {
  char buffer[4096];
  const ssize_t n = ::recv(m_clientFd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n > 0) {
    m_inbox.append(buffer, static_cast<std::size_t>(n));
    ParseRecords();
    return;
  }
  if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
    m_clientClosed = true;
    EndConnection();
  }
}

void GameServerPeer::ParseRecords() {
  for (;;) {
    const std::size_t start = m_inbox.find(kStart);
    if (start == std::string::npos) {
      // Keep a lone trailing ESC: it may be the first half of the next record's start.
      m_inbox.erase(0, m_inbox.empty() || m_inbox.back() != '\x1b' ? m_inbox.size() : m_inbox.size() - 1);
      return;
    }
    const std::size_t end = m_inbox.find(kEnd, start + kStart.size());
    if (end == std::string::npos) {
      m_inbox.erase(0, start);
      return;
    }
    PeerRecord record = ParseBody(m_inbox.substr(start + kStart.size(), end - start - kStart.size()));
    record.connection = m_connections - 1;
    record.raw = m_inbox.substr(start, end + kEnd.size() - start);
    m_inbox.erase(0, end + kEnd.size());
    m_records.push_back(record);
    CheckPlace(record);
    Answer(record);
  }
}

void GameServerPeer::Answer(const PeerRecord& record) {
  Key key{std::atoi(record.major.c_str()), std::atoi(record.minor.c_str())};
  if (std::to_string(key.first) != record.major || std::to_string(key.second) != record.minor)
    return;
  const int ordinal = ++m_ordinals[key];
  auto once = m_onceReplies.find(key);
  if (once != m_onceReplies.end() && !once->second.empty()) {
    std::vector<PeerPiece> pieces = std::move(once->second.front());
    once->second.pop_front();
    QueuePieces(std::move(pieces));
    return;
  }
  auto computed = m_computedReplies.find(key);
  if (computed != m_computedReplies.end()) {
    QueuePieces(computed->second(record, ordinal));
    return;
  }
  auto always = m_alwaysReplies.find(key);
  if (always != m_alwaysReplies.end())
    QueuePieces(always->second);
}

void GameServerPeer::WriteDue() {
  if (m_clientFd < 0)
    return;
  const Clock::time_point now = Clock::now();
  while (!m_outgoing.empty() && m_outgoing.front().due <= now) {
    SendAll(m_clientFd, m_outgoing.front().bytes);
    WatchWritten(m_outgoing.front().bytes);
    m_outgoing.pop_front();
  }
}

// Called with the mutex held.
void GameServerPeer::CheckPlace(const PeerRecord& record) {
  if (m_placeCheck == PlaceCheck::kOff)
    return;
  const std::optional<std::string> fault = m_places->OnClientRecord(record);
  if (!fault)
    return;
  m_placeFaults.push_back(*fault);
  if (m_placeCheck == PlaceCheck::kReport)
    ReportPlaceFault(*fault);
}

// The records the client is sent move it from place to place. Called with the mutex held.
void GameServerPeer::WatchWritten(const std::string& bytes) {
  m_written += bytes;
  for (;;) {
    const std::size_t start = m_written.find(kStart);
    const std::size_t end = start == std::string::npos ? start : m_written.find(kEnd, start + kStart.size());
    if (start == std::string::npos) {
      m_written.erase(0, m_written.empty() || m_written.back() != '\x1b' ? m_written.size() : m_written.size() - 1);
      return;
    }
    if (end == std::string::npos) {
      m_written.erase(0, start);
      return;
    }
    PeerRecord record = ParseBody(m_written.substr(start + kStart.size(), end - start - kStart.size()));
    record.connection = m_connections - 1;
    m_places->OnServerRecord(record);
    m_writtenRecords.push_back(std::move(record));
    m_written.erase(0, end + kEnd.size());
  }
}

void GameServerPeer::EndConnection() {
  ::shutdown(m_clientFd, SHUT_RDWR);
  ::close(m_clientFd);
  m_clientFd = -1;
  m_outgoing.clear();
  m_closeRequested = false;
  m_inbox.clear();
}
