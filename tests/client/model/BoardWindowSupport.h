#pragma once
// Test helpers for the board window: a resource module with the viewer's pictures, and a
// top-level window that records the messages its board windows send it.

#include <memory>
#include <vector>

#include "client/model/BadukCtrl.h"
#include "client/resources/ClientDialogs.h"
#include "platform/messageloop.h"
#include "platform/resources.h"

namespace boardtest {

// Makes the viewer's resources current for the life of the object and cleans windows up after.
class ClientResources {
public:
  ClientResources() {
    static platform::ResourceModule& module = platform::CreateResourceModule("client-board-window-tests");
    static const bool registered = RegisterClientDialogs(module.Handle()) != FALSE;
    (void)registered;
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
    CBadukCtrl::HoldFirstChange(FALSE);
  }
  ~ClientResources() {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }

private:
  std::unique_ptr<platform::ResourceScope> m_scope;
};

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  CStoneNode node;  // the node a WM_BADUK_STONEPLACED points to, copied during the send
  bool operator==(const Message& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

// A visible top-level window that keeps every WM_BADUK_* message, optionally painting the
// coordinate labels of one board.
class RecordingParent : public CWnd {
public:
  explicit RecordingParent(int width = 700, int height = 720) {
    CreateEx(0, AfxRegisterWndClass(0), "board test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr, nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= WM_BADUK_STONEPLACED && message <= WM_BADUK_CONTEXTMENU) {
      Message m{message, message == WM_BADUK_STONEPLACED ? 0 : wParam, lParam, {}};
      if (message == WM_BADUK_STONEPLACED) m.node = *reinterpret_cast<const CStoneNode*>(wParam);
      messages.push_back(m);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  // The messages of one kind.
  std::vector<Message> Of(UINT message) const {
    std::vector<Message> found;
    for (const Message& m : messages)
      if (m.message == message) found.push_back(m);
    return found;
  }
  std::vector<UINT> Kinds() const {
    std::vector<UINT> kinds;
    for (const Message& m : messages) kinds.push_back(m.message);
    return kinds;
  }

  std::vector<Message> messages;
};

}  // namespace boardtest
