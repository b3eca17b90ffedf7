// Records through the whole link: QueueFrame + FlushFrames, the loopback connection to an echoing
// server and back, and ReadFrames on every arrival, as the main frame reads them.

#include <benchmark/benchmark.h>

#include <string>

#include <platform/messageloop.h>

#include "peers/orvanta/LoopbackServer.h"
#include "orvanta/connection/ServerLink.h"

namespace {

// Reads a group on every event 1 and counts the records in it.
class CBenchOwner : public CWnd {
public:
  CBenchOwner() { CreateEx(0, nullptr, "bench owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CBenchOwner() override { DestroyWindow(); }

  CServerLink* link{nullptr};
  long records{0};
  bool connected{false};

protected:
  DECLARE_MESSAGE_MAP()
  LRESULT OnLinkEvent(WPARAM, LPARAM lParam) {
    const WORD event = LOWORD(static_cast<DWORD_PTR>(lParam));
    if (event == CWndSocket::kNotifyConnected)
      connected = true;
    if (event == CWndSocket::kNotifyReceived && link)
      records += CountRecords(link->ReadFrames());
    return 0;
  }

  static long CountRecords(const CString& group) {
    long count = 0;
    const std::string& bytes = group.str();
    for (std::size_t at = bytes.find("\x1b\n"); at != std::string::npos; at = bytes.find("\x1b\n", at + 2))
      ++count;
    return count;
  }
};

BEGIN_MESSAGE_MAP(CBenchOwner, CWnd)
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnLinkEvent)
END_MESSAGE_MAP()

// A payload that makes records of recordSize bytes.
CString PayloadFor(int recordSize) {
  const int overhead = CServerLink::FormatFrame(1, 2, 3, "", "1").GetLength();
  std::string payload(static_cast<std::size_t>(recordSize - overhead), 'x');
  while (CServerLink::FormatFrame(1, 2, 3, CString(payload), "1").GetLength() > recordSize)
    payload.pop_back();
  return CString(payload);
}

void BM_ServerLinkRoundTrip(benchmark::State& state) {
  const int recordSize = static_cast<int>(state.range(0));
  const long batch = state.range(1);
  CBenchOwner owner;
  LoopbackServer server;
  server.EchoReceived(true);
  CServerLink link(&owner, INVALID_SOCKET);
  owner.link = &link;
  if (!link.Connect("127.0.0.1", server.Port()) || !server.Accept() ||
      !platform::RunUntil([&] { return owner.connected; }, 5000)) {
    state.SkipWithError("no loopback connection");
    return;
  }
  const CString payload = PayloadFor(recordSize);
  for (auto _ : state) {
    const long target = owner.records + batch;
    for (long i = 0; i < batch; ++i)
      link.QueueFrame(1, 2, 3, payload, "1");
    link.FlushFrames();
    if (!platform::RunUntil([&] { return owner.records >= target; }, 10000)) {
      state.SkipWithError("records did not come back");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * batch);
  state.SetBytesProcessed(state.iterations() * batch * recordSize);
  owner.link = nullptr;
}

}  // namespace

// 100-byte records: records per second; 4 KB records (each leaves as a block of its own): bytes
// per second.
BENCHMARK(BM_ServerLinkRoundTrip)->Args({100, 1000})->Args({100, 10000})->Args({4096, 100})->UseRealTime();
