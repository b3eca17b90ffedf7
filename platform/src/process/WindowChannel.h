#pragma once
// This process's end of the window channel: what it publishes, what it serves, and how it finds
// and reaches windows of other processes.

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ChannelFolder.h"
#include "ChannelServer.h"
#include "ForeignWindows.h"
#include "WindowList.h"

namespace platform::process {

class WindowChannel {
public:
  static WindowChannel& Instance();

  bool Open();
  void Close();
  // Open in this very process (a forked child does not inherit it).
  bool IsOpen() const;
  // Opens the channel on the first change of top-level windows when a real display is used.
  void OpenIfDisplayed();
  // Rewrites the published list when the shown top-level windows changed.
  void Publish();

  // The first shown window of another process whose class and title match (null: any).
  std::optional<ForeignWindow> FindForeign(const char* className, const char* title);
  // The foreign window a handle names: a handle of the foreign table, or a bare number published
  // by exactly one other live process (or by the process that started this one).
  std::optional<ForeignWindow> Resolve(HWND hwnd);
  // Sends request to window's process; nothing when it cannot be reached in time.
  std::optional<std::int64_t> Send(const ForeignWindow& window, Request request, UINT timeoutMs);

private:
  WindowChannel();
  // Removes what processes that died without closing their channel left in the folder.
  void ForgetDeadProcesses() const;
  std::vector<PublishedWindow> ShownTopLevelWindows() const;
  // Answers a request that reached this process.
  std::int64_t Serve(const Request& request);
  std::int64_t DeliverCopyData(const Request& request);
  std::optional<ForeignWindow> ResolveNumber(std::uint64_t number);
  // Removes this process's files when the program ends with its channel open.
  static void ForgetAtExit();

  ChannelFolder m_folder{""};
  ChannelServer m_server;
  pid_t m_pid{0};
  std::uint64_t m_instance{0};  // drawn afresh each time the channel opens
  bool m_open{false};
  bool m_displayChecked{false};  // the display was looked at once, at the first top-level change
  bool m_exitHookSet{false};
  bool m_published{false};  // m_lastPublished is what the list file holds
  std::vector<PublishedWindow> m_lastPublished;
};

}  // namespace platform::process
