// FindWindow, SendMessageTimeout and the window channel's public switches, and the hooks through
// which the windows area reaches windows of other processes.

#include <cstdio>

#include "../windows/WindowTable.h"
#include "RequestReader.h"
#include "WindowChannel.h"
#include "WindowHooks.h"
#include "platform/process.h"

using platform::process::ForeignWindows;
using platform::process::WindowChannel;

namespace {

bool IsOwnWindow(HWND hwnd) { return platform::detail::Find(hwnd) != nullptr; }

// The sender's handle as the receiver should see it: only this process's own windows travel.
std::uint64_t SenderNumber(WPARAM wParam) {
  HWND sender = reinterpret_cast<HWND>(wParam);
  return IsOwnWindow(sender) ? static_cast<std::uint64_t>(wParam) : 0;
}

// The request for a WM_COPYDATA block, or nothing when the block cannot travel.
std::optional<platform::process::Request> CopyDataRequest(WPARAM wParam, LPARAM lParam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || (data->cbData != 0 && !data->lpData)) return std::nullopt;
  if (data->cbData > platform::kMaxCopyDataBytes) {
    std::fprintf(stderr, "WM_COPYDATA of %lu bytes refused: at most %zu bytes go to another program\n",
                 static_cast<unsigned long>(data->cbData), platform::kMaxCopyDataBytes);
    return std::nullopt;
  }
  platform::process::Request request;
  request.kind = platform::process::RequestKind::CopyData;
  request.sender = SenderNumber(wParam);
  request.dwData = data->dwData;
  if (data->cbData != 0) request.bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
  return request;
}

bool OwnWindowMatches(HWND hwnd, LPCTSTR className, LPCTSTR title) {
  const platform::detail::WindowState* s = platform::detail::Find(hwnd);
  if (!s || s->destroying) return false;
  std::string_view name = s->windowClass ? std::string_view(s->windowClass->name) : std::string_view();
  return platform::process::NameMatches(className, name) &&
         platform::process::NameMatches(title, std::string_view(s->text.GetString(), s->text.GetLength()));
}

}  // namespace

HWND FindWindow(LPCTSTR className, LPCTSTR title) {
  for (HWND hwnd : platform::detail::TopLevelWindows()) {
    if (OwnWindowMatches(hwnd, className, title)) return hwnd;
  }
  auto foreign = WindowChannel::Instance().FindForeign(className, title);
  return foreign ? ForeignWindows::Instance().HandleFor(*foreign) : nullptr;
}

LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT, UINT timeoutMs,
                           DWORD_PTR* result) {
  if (result) *result = 0;
  if (IsOwnWindow(hwnd)) {
    LRESULT answer = ::SendMessage(hwnd, message, wParam, lParam);
    if (result) *result = static_cast<DWORD_PTR>(answer);
    return TRUE;
  }
  if (message != WM_COPYDATA) return FALSE;
  WindowChannel& channel = WindowChannel::Instance();
  auto window = channel.Resolve(hwnd);
  if (!window) return FALSE;
  auto request = CopyDataRequest(wParam, lParam);
  if (!request) return FALSE;
  auto answer = channel.Send(*window, std::move(*request), timeoutMs);
  if (!answer) return FALSE;
  if (result) *result = static_cast<DWORD_PTR>(*answer);
  return TRUE;
}

namespace platform {

bool OpenWindowChannel() { return WindowChannel::Instance().Open(); }

void CloseWindowChannel() { WindowChannel::Instance().Close(); }

bool IsWindowChannelOpen() { return WindowChannel::Instance().IsOpen(); }

std::string WindowChannelFolder() { return process::ChannelFolder::Current().Path(); }

}  // namespace platform

namespace platform::detail {

void TopLevelWindowsChanged() {
  WindowChannel& channel = WindowChannel::Instance();
  channel.OpenIfDisplayed();
  channel.Publish();
}

bool IsForeignWindow(HWND hwnd) {
  WindowChannel& channel = WindowChannel::Instance();
  auto window = channel.Resolve(hwnd);
  if (!window) return false;
  process::Request request;
  request.kind = process::RequestKind::IsWindow;
  auto answer = channel.Send(*window, request, kForeignSendTimeoutMs);
  return answer && *answer != 0;
}

LRESULT SendToForeignWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  ::SendMessageTimeout(hwnd, message, wParam, lParam, SMTO_NORMAL, kForeignSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

CWnd* ForeignWindowObject(HWND hwnd) { return ForeignWindows::Instance().ObjectFor(hwnd); }

}  // namespace platform::detail

CWnd* CWnd::FindWindow(LPCTSTR className, LPCTSTR title) {
  HWND found = ::FindWindow(className, title);
  return found ? CWnd::FromHandle(found) : nullptr;
}
