// Arbitrary bytes as "client.cfg": reading must never fail in any other way than a result of 0.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "client/relay/ClientConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz-client-cfg-" + std::to_string(::getpid());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  CClientConfig config(path.c_str());
  config.Load();
  (void)config.HasServer();
  (void)config.GetClientIp();
  std::remove(path.c_str());
  return 0;
}
