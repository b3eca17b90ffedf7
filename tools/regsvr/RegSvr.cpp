// regsvr [-u] module: registers an in-process server (or, with -u, removes its registration) by
// calling the module's own DllRegisterServer or DllUnregisterServer. Exit code 0 on success.

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/com_module.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLoad = 3;

struct Options {
  bool unregister{false};
  std::string module;
};

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0 && options.module.empty())
      options.unregister = true;
    else if (argv[i][0] != '-' && options.module.empty())
      options.module = argv[i];
    else
      return false;
  }
  return !options.module.empty();
}

// dlopen searches the library path for a bare name; the module given is always a file.
std::string AbsolutePath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::fprintf(stderr, "usage: regsvr [-u] module\n");
    return kExitUsage;
  }
  std::string path = AbsolutePath(options.module);
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* why = dlerror();
    std::fprintf(stderr, "regsvr: cannot load %s: %s\n", path.c_str(), why ? why : "unknown error");
    return kExitLoad;
  }
  const char* entry = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto call = reinterpret_cast<DllRegisterServerFunction>(dlsym(module, entry));
  if (!call) {
    std::fprintf(stderr, "regsvr: %s has no entry point %s\n", path.c_str(), entry);
    dlclose(module);
    return kExitLoad;
  }
  HRESULT hr = call();
  if (SUCCEEDED(hr))
    std::printf("%s in %s succeeded.\n", entry, path.c_str());
  else
    std::fprintf(stderr, "%s in %s failed (0x%08X).\n", entry, path.c_str(), static_cast<unsigned>(hr));
  dlclose(module);
  return SUCCEEDED(hr) ? 0 : kExitFailed;
}
