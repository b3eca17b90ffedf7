#pragma once
// A game server for tests, on an ephemeral port of 127.0.0.1. It reads the client's byte stream
// into wire records (ESC TAB sender/length/major/minor/flag/payload ESC LF; records may arrive
// split or joined, segment boundaries mean nothing), records every one, and answers each with the
// replies the test scripted for its (major, minor). It serves one connection after another, so a
// client that logs in again after a disconnection is served too. One thread does all socket work;
// tests talk to it through the methods below from any thread.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct PeerRecord {
  int connection{0};  // 0 for the first connection the peer accepted, 1 for the next, ...
  std::string sender;
  std::string length;
  std::string major;
  std::string minor;
  std::string flag;
  std::string payload;
  std::string raw;  // the record's bytes from ESC TAB to ESC LF

  bool Is(int majorCode, int minorCode) const;
};

// One piece of a reply: bytes written with one send, after a delay counted from the previous
// piece of the same reply.
struct PeerPiece {
  std::string bytes;
  int delayMs{0};
};

// Called on the peer's thread with each fault the place check finds (PlaceModel.h). Every program
// that links the peer defines it: the tests fail the running test, the peer program prints it.
void ReportPlaceFault(const std::string& fault);

class PlaceModel;

class GameServerPeer {
public:
  // What the peer does with a client record that breaks the place model: report it (the
  // default), only keep it in PlaceFaults(), or not check at all (for tests that speak for the
  // client with raw records).
  enum class PlaceCheck { kReport, kKeep, kOff };

  GameServerPeer();
  // Listens on port of 127.0.0.1 (0: an ephemeral one); throws std::runtime_error when it is taken.
  explicit GameServerPeer(unsigned short port);
  ~GameServerPeer();
  GameServerPeer(const GameServerPeer&) = delete;
  GameServerPeer& operator=(const GameServerPeer&) = delete;

  unsigned short Port() const { return m_port; }
  // "127.0.0.1:<port>", the form the client's server setting takes.
  std::string Address() const;

  // The bytes of one record as the server writes it (sender 0).
  static std::string Record(int major, int minor, const std::string& payload, const std::string& flag = "1");

  // The next record (major, minor) from the client is answered with pieces, once. Several calls
  // for the same pair answer successive records in order.
  void ReplyOnce(int major, int minor, std::vector<PeerPiece> pieces);
  // Every record (major, minor) without a one-time reply is answered with pieces.
  void ReplyAlways(int major, int minor, std::vector<PeerPiece> pieces);
  // Every record (major, minor) without a one-time reply is answered with what make returns for
  // it and its ordinal (1 for the first record of that pair on the connection). make runs on the
  // peer's thread and must not call the peer.
  using ReplyMaker = std::function<std::vector<PeerPiece>(const PeerRecord& record, int ordinal)>;
  void ReplyComputed(int major, int minor, ReplyMaker make);
  // Adds pieces to the standing reply of (major, minor) (made empty first when there is none).
  void AddToReply(int major, int minor, std::vector<PeerPiece> pieces);
  // Removes every reply to (major, minor): such records are only recorded.
  void NoReply(int major, int minor);
  // Writes pieces on the current connection now.
  void Send(std::vector<PeerPiece> pieces);
  // Ends the current connection once what is queued has been written.
  void CloseConnection();
  // A duplicate of the current connection's socket (-1 without one) for a writer of the caller's
  // own, which closes it; the peer goes on reading and recording what the client sends.
  int ShareConnection() const;

  // Standard replies: the hello answer, a login accepted for role with notice, a login refused
  // (a failure reply of code 11 with reason and text), a waiting-room list.
  static std::string HelloReply();
  static std::string LoginAccepted(const std::string& role = "3", const std::string& notice = "Welcome");
  static std::string LoginRefused(const std::string& reason, const std::string& text);
  static std::string WaitingRoomList(const std::vector<std::string>& rooms);

  void SetPlaceCheck(PlaceCheck check);
  // The faults of the place check so far, in order.
  std::vector<std::string> PlaceFaults() const;

  std::vector<PeerRecord> Records() const;
  // The client's records from the from-th on; the records written to the client likewise, each
  // with the connection it went over.
  std::vector<PeerRecord> RecordsSince(std::size_t from) const;
  std::vector<PeerRecord> WrittenSince(std::size_t from) const;
  std::size_t RecordCount() const;
  // Waits until at least count records were received; false after timeoutMs.
  bool WaitForRecords(std::size_t count, int timeoutMs = 3000) const;
  // Connections accepted so far.
  int ConnectionCount() const;
  // The current connection was ended by the client.
  bool ClientClosed() const;
  // Every reply piece queued so far has been written.
  bool AllSent() const;

private:
  using Key = std::pair<int, int>;
  using Clock = std::chrono::steady_clock;
  struct Outgoing {
    Clock::time_point due;
    std::string bytes;
  };

  void Serve();
  void AcceptNext();
  void ReadClient();
  void ParseRecords();
  void Answer(const PeerRecord& record);
  void QueuePieces(std::vector<PeerPiece> pieces);
  void WriteDue();
  void EndConnection();
  int PollTimeoutMs() const;
  void CheckPlace(const PeerRecord& record);
  void WatchWritten(const std::string& bytes);

  int m_listenFd{-1};
  int m_clientFd{-1};
  unsigned short m_port{0};
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::map<Key, std::deque<std::vector<PeerPiece>>> m_onceReplies;
  std::map<Key, std::vector<PeerPiece>> m_alwaysReplies;
  std::map<Key, ReplyMaker> m_computedReplies;
  std::map<Key, int> m_ordinals;  // records of each pair on the current connection
  std::deque<Outgoing> m_outgoing;
  std::string m_inbox;  // bytes of the current connection not yet read as records
  std::vector<PeerRecord> m_records;
  std::vector<PeerRecord> m_writtenRecords;
  std::unique_ptr<PlaceModel> m_places;
  PlaceCheck m_placeCheck{PlaceCheck::kReport};
  std::vector<std::string> m_placeFaults;
  std::string m_written;  // bytes written on the current connection not yet read as records
  int m_connections{0};
  bool m_closeRequested{false};
  bool m_clientClosed{false};
  bool m_stopping{false};
  int m_wakeFds[2]{-1, -1};
  std::thread m_thread;
};
