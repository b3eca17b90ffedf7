// Another program of the suite, for the window-channel tests. Modes:
//   serve <class> <title> [first handle]  shows a window and reports on standard output each
//       WM_COPYDATA that reaches it ("copydata <dwData> <bytes> <sender>", blocks over 64 bytes as
//       "<size bytes>"); it answers TRUE for dwData 1 and then quits, FALSE otherwise. With a first
//       handle it makes hidden windows until its shown window gets a handle of at least that number.
//   echo <class> <title>  shows a window that hands each WM_COPYDATA back to its sender's window
//       and answers what the sender answered.
//   hang <class> <title>  shows a window, then stops serving its messages until standard input
//       closes.
//   send <window number> <dwData> <text>  sends WM_COPYDATA with the text to the window named by
//       the number, prints "result <answer>" and exits 0 when the answer is TRUE, 3 otherwise.
// Windows it shows are announced as "ready <handle>".

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/messageloop.h"
#include "platform/process.h"
#include "platform/windows.h"

namespace {

bool g_echo = false;

LRESULT PeerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProc(hwnd, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (g_echo) return SendMessage(reinterpret_cast<HWND>(wParam), WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd), lParam);
  std::string bytes(static_cast<const char*>(data->lpData ? data->lpData : ""), data->cbData);
  if (bytes.empty()) bytes = "-";
  if (bytes.size() > 64) bytes = "<" + std::to_string(bytes.size()) + " bytes>";
  std::printf("copydata %lu %s %s\n", static_cast<unsigned long>(data->dwData), bytes.c_str(), wParam ? "sender" : "none");
  std::fflush(stdout);
  if (data->dwData != 1) return FALSE;
  PostQuitMessage(0);
  return TRUE;
}

HWND ShowPeerWindow(const char* className, const char* title, std::uintptr_t firstHandle) {
  WNDCLASS wc{};
  wc.lpfnWndProc = PeerProc;
  wc.lpszClassName = className;
  RegisterClass(&wc);
  for (;;) {
    HWND hwnd = CreateWindowEx(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
    if (!hwnd) return nullptr;
    if (reinterpret_cast<std::uintptr_t>(hwnd) >= firstHandle) {
      ShowWindow(hwnd, SW_SHOW);
      std::printf("ready %lu\n", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(hwnd)));
      std::fflush(stdout);
      return hwnd;
    }
  }
}

int Serve(int argc, char** argv) {
  if (argc < 4) return 2;
  std::uintptr_t firstHandle = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 0;
  if (!platform::OpenWindowChannel() || !ShowPeerWindow(argv[2], argv[3], firstHandle)) return 2;
  return platform::Run();
}

int Hang(int argc, char** argv) {
  if (argc < 4) return 2;
  if (!platform::OpenWindowChannel() || !ShowPeerWindow(argv[2], argv[3], 0)) return 2;
  char ignored[64];
  while (::read(0, ignored, sizeof ignored) > 0) {
  }
  return 0;
}

int Send(int argc, char** argv) {
  if (argc < 5) return 2;
  if (!platform::OpenWindowChannel()) return 2;
  HWND target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoul(argv[2], nullptr, 10)));
  COPYDATASTRUCT data{std::strtoul(argv[3], nullptr, 10), static_cast<DWORD>(std::strlen(argv[4])), argv[4]};
  LRESULT answer = SendMessage(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  std::printf("result %ld\n", static_cast<long>(answer));
  return answer == TRUE ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string mode = argv[1];
  g_echo = mode == "echo";
  int code = mode == "serve" || mode == "echo" ? Serve(argc, argv) : mode == "hang" ? Hang(argc, argv) : mode == "send" ? Send(argc, argv) : 2;
  platform::CloseWindowChannel();
  return code;
}
