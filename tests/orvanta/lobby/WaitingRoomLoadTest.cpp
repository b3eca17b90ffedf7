// A server streaming valid records as fast as the socket takes them, every write cut at a random
// place, into a waiting room whose chat box is full: every record is handled, memory stays put,
// and a chat line typed meanwhile goes out at once. ORVANTA_LOAD_SECONDS sets how long the
// stream runs (a few seconds by default; the figures of a release build come from a longer run).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "LobbyPeerFixture.h"
#include "peers/orvanta/RecordFlood.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int LoadSeconds() {
  const char* text = std::getenv("ORVANTA_LOAD_SECONDS");
  const int seconds = text ? std::atoi(text) : 0;
  return seconds > 0 ? seconds : 3;
}

class WaitingRoomLoadTest : public LobbyPeerTest {};

}  // namespace

TEST_F(WaitingRoomLoadTest, AFullSpeedStreamIsHandledWholeWhileTheChatLineTypedGoesOutAtOnce) {
  EnterWaitingRoom();
  peer.NoReply(1, 13);
  using Clock = std::chrono::steady_clock;
  const int fd = peer.ShareConnection();
  ASSERT_GE(fd, 0);
  const long before = ResidentKiB();
  long most = before;
  const Clock::time_point start = Clock::now();
  // Chat lines and, every 50 records, a memo notice, which the frame answers with a memo
  // request: the server counts them.
  const auto lineOf = [](long n) { return "line " + std::to_string(n) + " of a busy waiting room, long enough to wrap"; };
  RecordFlood flood(fd, [&](long n) {
    if (n % 50 == 0) return GameServerPeer::Record(1, 15, "|1|");
    return GameServerPeer::Record(3, 4, "|R2|x|u" + std::to_string(n % 97) + "|a|b|" + lineOf(n) + "|");
  }, 55);

  // Half way, a person types a line in the chat input and presses Enter.
  PumpUntil([&] {
    most = std::max(most, ResidentKiB());
    return Clock::now() - start >= std::chrono::milliseconds(LoadSeconds() * 500);
  }, LoadSeconds() * 1000);
  EXPECT_GE(ChatBox().GetLength(), 30000) << "the chat box is full by now";
  CWnd* input = view->GetDlgItem(CTirvoDListView::kChatInput);
  ASSERT_NE(input, nullptr);
  input->SetWindowText("typed under load");
  const Clock::time_point typed = Clock::now();
  input->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
  taken = peer.RecordCount();
  const std::optional<PeerRecord> line = NextRecord(3, 4);
  const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - typed);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|R2|typed under load|");
  EXPECT_LT(latency.count(), 1000);

  PumpUntil([&] {
    most = std::max(most, ResidentKiB());
    return Clock::now() - start >= std::chrono::seconds(LoadSeconds());
  }, LoadSeconds() * 1000 + 1000);
  flood.Stop();
  ASSERT_TRUE(PumpUntil([&] { return flood.Finished(); }));
  const long sent = flood.Records();
  const long notices = sent / 50;
  const long lastLine = sent % 50 == 0 ? sent - 1 : sent;
  // Every notice sent was answered, and the last chat line sent is the box's last.
  auto answers = [&] {
    long count = 0;
    for (const PeerRecord& r : peer.Records()) count += r.Is(1, 13) ? 1 : 0;
    return count;
  };
  EXPECT_TRUE(PumpUntil([&] { return answers() == notices; }, 60000)) << answers() << " of " << notices;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const std::string box = ChatBox().str();
  EXPECT_EQ(box.substr(box.rfind(']', box.size() - 3) + 1), lineOf(lastLine) + "\r\n");
  EXPECT_LT(most, 2 * before) << "resident KiB at the start " << before;
  std::printf("waiting-room load: %ld records in %.1f s (%.0f/s), resident %ld -> %ld KiB, typed line out in %lld ms\n",
              sent, seconds, sent / seconds, before, most, static_cast<long long>(latency.count()));
}
