// Lines per second that the relay socket reads from a loopback relay.
#include <benchmark/benchmark.h>

#include <string>

#include "peers/client/RelayBenchSender.h"
#include "client/relay/RelaySocket.h"

namespace {

void BM_RelaySocketReadShortLines(benchmark::State& state) {
  std::string chunk;
  for (int i = 0; i < 4096; ++i) chunk += "am|123|b|dd|1234567890|010000|010000\n";
  RelayBenchSender sender(chunk);
  CRelaySocket socket;
  if (!socket.Connect(nullptr, "127.0.0.1", sender.Port()) || !socket.Login("bench", "pw")) {
    state.SkipWithError(socket.GetErrorText().GetString());
    return;
  }
  socket.AsyncSelect(0);  // read directly, without the message loop
  for (auto _ : state) {
    if (!socket.ReadLine()) {
      state.SkipWithError(socket.GetErrorText().GetString());
      break;
    }
    benchmark::DoNotOptimize(socket.GetLine());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * 37);
}
BENCHMARK(BM_RelaySocketReadShortLines)->MinTime(1.0);

}  // namespace
