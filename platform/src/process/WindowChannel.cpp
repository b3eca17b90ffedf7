#include "WindowChannel.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "../windows/WindowTable.h"
#include "ChannelClient.h"
#include "platform/process.h"

namespace platform::process {

namespace {

// Window handles are even numbers from 0x10010 below the range of foreign handles; anything else
// (null, HWND_TOPMOST and the like) is not worth a look through the folder.
bool CouldBeForeignWindow(HWND hwnd) {
  auto number = reinterpret_cast<std::uintptr_t>(hwnd);
  return number >= 0x10010 && number < ForeignWindows::kFirstHandle && (number & 1) == 0;
}

// A nonzero number no earlier channel of this process id is likely to have drawn.
std::uint64_t DrawInstance() {
  std::random_device source;
  std::uint64_t instance = 0;
  while (instance == 0) instance = (static_cast<std::uint64_t>(source()) << 32) ^ source();
  return instance;
}

}  // namespace

WindowChannel& WindowChannel::Instance() {
  static WindowChannel* channel = new WindowChannel;  // top-level windows may change at exit
  return *channel;
}

WindowChannel::WindowChannel() : m_server([this](const Request& request) { return Serve(request); }) {}

bool WindowChannel::Open() {
  if (IsOpen()) return true;
  Close();  // a forked child drops what it inherited, without touching its parent's files
  ChannelFolder folder = ChannelFolder::Current();
  pid_t pid = ::getpid();
  if (!folder.Create() || !m_server.Listen(folder.SocketPath(pid))) return false;
  m_folder = folder;
  m_pid = pid;
  m_instance = DrawInstance();
  m_open = true;
  ForgetDeadProcesses();
  if (!m_exitHookSet) {
    std::atexit(ForgetAtExit);
    m_exitHookSet = true;
  }
  Publish();
  return true;
}

void WindowChannel::ForgetDeadProcesses() const {
  for (pid_t pid : m_folder.Publishers(m_pid)) m_folder.IsAlive(pid);  // removes the files of the dead
}

void WindowChannel::Close() {
  bool own = m_open && m_pid == ::getpid();
  m_server.Close();
  if (own) m_folder.Remove(m_pid);
  m_open = false;
  m_published = false;
  m_lastPublished.clear();
}

bool WindowChannel::IsOpen() const { return m_open && m_pid == ::getpid(); }

void WindowChannel::OpenIfDisplayed() {
  if (m_displayChecked) return;
  m_displayChecked = true;
  const char* display = std::getenv("DISPLAY");
  const char* headless = std::getenv("PLATFORM_HEADLESS");
  bool forcedHeadless = headless && std::strcmp(headless, "1") == 0;
  if (display && *display && !forcedHeadless) Open();
}

void WindowChannel::Publish() {
  if (!IsOpen()) return;
  std::vector<PublishedWindow> windows = ShownTopLevelWindows();
  if (m_published && windows == m_lastPublished) return;
  if (!m_folder.WriteList(m_pid, WindowList{m_instance, windows})) return;
  m_lastPublished = std::move(windows);
  m_published = true;
}

std::vector<PublishedWindow> WindowChannel::ShownTopLevelWindows() const {
  std::vector<PublishedWindow> windows;
  for (HWND hwnd : detail::TopLevelWindows()) {
    const detail::WindowState* s = detail::Find(hwnd);
    if (!s || s->destroying || !(s->style & WS_VISIBLE)) continue;
    std::string className = s->windowClass ? s->windowClass->name : std::string();
    windows.push_back({reinterpret_cast<std::uintptr_t>(hwnd), className, s->text.GetString()});
  }
  return windows;
}

std::optional<ForeignWindow> WindowChannel::FindForeign(const char* className, const char* title) {
  if (!IsOpen()) return std::nullopt;
  for (pid_t pid : m_folder.Publishers(m_pid)) {
    WindowList list = m_folder.ReadList(pid);
    for (const PublishedWindow& window : list.windows) {
      if (!NameMatches(className, window.className) || !NameMatches(title, window.title)) continue;
      if (!m_folder.IsAlive(pid)) break;
      return ForeignWindow{pid, list.instance, window.handle};
    }
  }
  return std::nullopt;
}

std::optional<ForeignWindow> WindowChannel::Resolve(HWND hwnd) {
  if (auto known = ForeignWindows::Instance().Lookup(hwnd)) return known;
  // Numbers this process handed out stay its own even after their window died: a stale handle
  // of its own must never reach a stranger's window.
  if (!IsOpen() || !CouldBeForeignWindow(hwnd) || detail::IsOwnHandleNumber(hwnd)) return std::nullopt;
  return ResolveNumber(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::optional<ForeignWindow> WindowChannel::ResolveNumber(std::uint64_t number) {
  std::vector<ForeignWindow> owners;
  for (pid_t pid : m_folder.Publishers(m_pid)) {
    WindowList list = m_folder.ReadList(pid);
    bool listed = std::any_of(list.windows.begin(), list.windows.end(),
                              [number](const PublishedWindow& w) { return w.handle == number; });
    if (listed && m_folder.IsAlive(pid)) owners.push_back(ForeignWindow{pid, list.instance, number});
  }
  if (owners.size() == 1) return owners.front();
  if (owners.empty()) return std::nullopt;
  // A number given on a command line comes from the program that started this one.
  pid_t parent = ::getppid();
  auto fromParent = std::find_if(owners.begin(), owners.end(), [parent](const ForeignWindow& w) { return w.pid == parent; });
  if (fromParent != owners.end()) return *fromParent;
  std::fprintf(stderr, "window %llu is published by %zu processes; refused as ambiguous\n",
               static_cast<unsigned long long>(number), owners.size());
  return std::nullopt;
}

std::optional<std::int64_t> WindowChannel::Send(const ForeignWindow& window, Request request, UINT timeoutMs) {
  if (!IsOpen()) return std::nullopt;
  request.target = window.handle;
  request.targetInstance = window.instance;
  request.senderInstance = m_instance;
  request.senderPid = static_cast<std::uint32_t>(m_pid);
  return ChannelClient::Exchange(m_folder, window.pid, request, timeoutMs, &m_server);
}

std::int64_t WindowChannel::Serve(const Request& request) {
  HWND target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.target));
  // A request for an earlier holder of this process id, or for a window gone since, finds nothing.
  if (request.targetInstance != m_instance || !detail::Find(target)) return 0;
  if (request.kind == RequestKind::IsWindow) return 1;
  return DeliverCopyData(request);
}

std::int64_t WindowChannel::DeliverCopyData(const Request& request) {
  HWND target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.target));
  HWND sender = nullptr;
  if (request.sender != 0) {
    sender = ForeignWindows::Instance().HandleFor(
        {static_cast<pid_t>(request.senderPid), request.senderInstance, request.sender});
  }
  std::vector<char> bytes(request.bytes.begin(), request.bytes.end());  // the window may write into it
  COPYDATASTRUCT data{static_cast<ULONG_PTR>(request.dwData), static_cast<DWORD>(bytes.size()),
                      bytes.empty() ? nullptr : bytes.data()};
  return ::SendMessage(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&data));
}

void WindowChannel::ForgetAtExit() {
  // Only the files: the message loop may already be gone at this point.
  WindowChannel& channel = Instance();
  if (channel.IsOpen()) channel.m_folder.Remove(channel.m_pid);
}

}  // namespace platform::process
