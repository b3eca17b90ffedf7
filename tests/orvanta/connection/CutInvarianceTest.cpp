// However the reads cut a server's stream, the same records are handled in the same order and
// the same requests go back: a recorded session (login, a resume with memos, a waiting room with
// its lists and chat, a game with moves, counting and a memo notice) through a real link on
// loopback and the real dispatcher, one record per read, all in one read, and cut at random.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/uiscript.h>

#include "orvanta/connection/RecordingFrameActions.h"
#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "peers/orvanta/LoopbackServer.h"

namespace {

std::string Rec(int major, int minor, const std::string& payload, const std::string& flag = "1") {
  return CServerLink::FormatFrame(0, major, minor, CString(payload), CString(flag)).str();
}

// The records of one session, as a server sends them.
std::vector<std::string> RecordedSession() {
  std::vector<std::string> r;
  r.push_back(Rec(0, 1, "|OK|"));
  r.push_back(Rec(1, 1, "|2|Welcome|5|77|12|2|"));
  r.push_back(Rec(1, 13, "|2|d1|kim|Kim|hello|d2|lee|Lee|again|"));
  r.push_back(Rec(0, 3, "|00|"));
  r.push_back(Rec(0, 2, "|2|1|Hall|2|Garden|"));
  r.push_back(Rec(3, 6, "|1|1|7|Hall|"));
  r.push_back(Rec(3, 1, "|1|Hall|"));
  r.push_back(Rec(3, 3, "|1|x|3|0|kim|Kim|3k|1|lee|Lee|5d|2|hana|Hana|1d|"));
  r.push_back(Rec(5, 1, "|1|x|1|7|Game|kim|lee|1|"));
  for (int i = 0; i < 60; ++i) {
    r.push_back(Rec(3, 4, "|1|x|" + std::to_string(i) + "|u|v|line " + std::to_string(i) + "|"));
    if (i % 10 == 3) r.push_back(Rec(3, 99, "|1|x|in|u" + std::to_string(i) + "|"));
    if (i % 10 == 7) r.push_back(Rec(5, 99, "|1|x|" + std::to_string(i) + "|"));
  }
  r.push_back(Rec(3, 4, "|0|No such user.|", "0"));  // a failure reply among them
  r.push_back(Rec(5, 2, "|12|"));
  r.push_back(Rec(5, 3, "|12|hc|carol|Carol|3k|1|3|1|"));
  r.push_back(Rec(5, 10, "||"));
  r.push_back(Rec(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|"));
  for (int i = 0; i < 100; ++i) {
    r.push_back(Rec(5, 14, "|a|b|" + std::to_string(i + 1) + "|" + (i % 2 ? "W" : "B") + "[" +
                               static_cast<char>('a' + i % 19) + static_cast<char>('a' + i / 19) + "]|"));
    if (i % 9 == 0) r.push_back(Rec(5, 6, "|a|b|c|d|e|move " + std::to_string(i) + "|"));
    if (i == 50) r.push_back(Rec(5, 19, "|a|b|0|"));  // a refused draw
  }
  r.push_back(Rec(5, 44, "|a|b|1|"));
  r.push_back(Rec(5, 45, "|a|b|1|150|30|140|25|"));
  r.push_back(Rec(5, 43, "|a|b|x|lee|"));
  r.push_back(Rec(1, 15, "|1|"));
  r.push_back(Rec(1, 13, "|1|d3|kim|Kim|bye|"));
  r.push_back(Rec(5, 4, "|a|b|3|carol|x|y|"));
  return r;
}

// The frame's part for the test: every action recorded; the hello answer's login, the memo
// notice's memo request and the failure handling's requests go out on the real link.
class CCutHarness : public CWnd, public CRecordingFrameActions {
public:
  CCutHarness() { CreateEx(0, nullptr, "frame", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CCutHarness() override {
    m_link.reset();
    DestroyWindow();
  }
  bool Connect(LoopbackServer& server) {
    loginRecord = &m_login;
    m_link = std::make_unique<CServerLink>(this, INVALID_SOCKET);
    return m_link->Connect("127.0.0.1", server.Port()) && server.Accept() &&
           platform::RunUntil([&] { return m_link->IsConnected(); }, 5000);
  }
  BOOL QueueRequest(int major, int minor, const CString& payload, const CString& flag) override {
    CRecordingFrameActions::QueueRequest(major, minor, payload, flag);
    m_link->QueueFrame(7, major, minor, payload, flag);  // one sender number for every run
    return TRUE;
  }
  void FlushRequests() override {
    CRecordingFrameActions::FlushRequests();
    m_link->FlushFrames();
  }
  void OnMemoNotice(CFieldTokenizer& payload) override {
    CRecordingFrameActions::OnMemoNotice(payload);
    QueueRequest(1, 13, "", "1");
  }
  std::size_t bytesRead{0};

protected:
  DECLARE_MESSAGE_MAP()
  LRESULT OnSocketNotify(WPARAM, LPARAM lParam) {
    if (LOWORD(static_cast<DWORD_PTR>(lParam)) != CWndSocket::kNotifyReceived || !m_link) return 0;
    bytesRead += HIWORD(static_cast<DWORD_PTR>(lParam));
    for (CString group = m_link->ReadFrames(); !group.IsEmpty(); group = m_link->ReadFrames())
      m_dispatcher.DispatchServerFrames(group);
    return 0;
  }

private:
  CSessionRecord m_login{"alice", "pw1"};
  std::unique_ptr<CServerLink> m_link;
  CServerDispatcher m_dispatcher{*this};
};

BEGIN_MESSAGE_MAP(CCutHarness, CWnd)
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnSocketNotify)
END_MESSAGE_MAP()

// Message boxes of failure replies are answered at once.
class CQuietScript : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char*, const char*, UINT style) override {
    return platform::DefaultMessageBoxButton(style);
  }
};

struct Outcome {
  std::vector<std::string> handled;
  std::string sentBack;
};

// Feeds the stream in reads cut at cuts (ascending offsets), each read taken before the next is
// written.
Outcome Feed(const std::string& stream, const std::vector<std::size_t>& cuts) {
  CWndSocket::ClearPendingArea();
  LoopbackServer server;
  CCutHarness frame;
  Outcome outcome;
  if (!frame.Connect(server)) {
    ADD_FAILURE() << "no loopback connection";
    return outcome;
  }
  std::size_t from = 0;
  for (std::size_t i = 0; i <= cuts.size(); ++i) {
    const std::size_t to = i < cuts.size() ? cuts[i] : stream.size();
    if (to <= from) continue;
    server.Send(stream.substr(from, to - from));
    if (!platform::RunUntil([&] { return frame.bytesRead >= to; }, 5000)) {
      ADD_FAILURE() << "read stopped at " << frame.bytesRead << " of " << to;
      break;
    }
    from = to;
  }
  platform::RunUntil([&] { return false; }, 50);
  // What was queued leaves at the end of each read: when it leaves is the reads', what leaves is
  // compared byte for byte below.
  for (const std::string& call : frame.calls)
    if (call != "Flush") outcome.handled.push_back(call);
  outcome.sentBack = server.Received();
  return outcome;
}

}  // namespace

TEST(CutInvarianceTest, EveryCutOfTheStreamHandlesTheSameRecordsAndSendsTheSameBytes) {
  CQuietScript script;
  platform::ScopedUiScript scoped(&script);
  const std::vector<std::string> records = RecordedSession();
  ASSERT_GE(records.size(), 200u);
  std::string stream;
  std::vector<std::size_t> recordEnds;
  for (const std::string& record : records) {
    stream += record;
    recordEnds.push_back(stream.size());
  }

  const Outcome whole = Feed(stream, {});
  ASSERT_FALSE(whole.handled.empty());
  EXPECT_EQ(whole.handled.front(), "QueueRequest:1,1:|alice|pw1|");
  EXPECT_NE(whole.sentBack.find(Rec(1, 13, "").substr(3)), std::string::npos) << "the memo notice was answered";

  const Outcome perRecord = Feed(stream, recordEnds);
  EXPECT_EQ(perRecord.handled, whole.handled);
  EXPECT_EQ(perRecord.sentBack, whole.sentBack);

  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> place(1, stream.size() - 1);
    std::vector<std::size_t> cuts;
    for (int i = 0; i < 1000; ++i) cuts.push_back(place(random));
    std::sort(cuts.begin(), cuts.end());
    const Outcome cut = Feed(stream, cuts);
    EXPECT_EQ(cut.handled, whole.handled);
    EXPECT_EQ(cut.sentBack, whole.sentBack);
  }
}
