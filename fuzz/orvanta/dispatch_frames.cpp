// Arbitrary groups of server records through the dispatcher and its failure path, against a
// frame that only records what it is asked. The first byte sets the frame's state and the button
// every question is answered with; the rest is the group.
#include <cstddef>
#include <cstdint>
#include <optional>

#include <platform/msgbox.h>
#include <platform/uiscript.h>
#include <platform/windows.h>

#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/connection/SessionRecord.h"
#include "../../tests/orvanta/connection/RecordingFrameActions.h"

namespace {

class CFixedAnswer : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char*, const char*, UINT style) override {
    return platform::MessageBoxHasButton(style, answer) ? answer : platform::DefaultMessageBoxButton(style);
  }
  int answer{IDOK};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return 0;
  static CFixedAnswer script;
  static platform::ScopedUiScript scoped(&script);
  const std::uint8_t state = data[0];
  static const int kButtons[] = {IDOK, IDCANCEL, IDRETRY, IDYES};
  script.answer = kButtons[state & 3];

  CSessionRecord login("alice", "pw1");
  CRecordingFrameActions frame;
  frame.loginRecord = (state & 4) ? &login : nullptr;
  frame.deferring = (state & 8) ? TRUE : FALSE;
  frame.closing = (state & 16) ? TRUE : FALSE;
  frame.entryPending = (state & 32) ? TRUE : FALSE;
  frame.gameRoomActive = (state & 64) ? TRUE : FALSE;
  frame.connected = (state & 128) ? TRUE : FALSE;

  CServerDispatcher dispatcher(frame);
  const CString group(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
  // The records of a group are handled one after another while the link stays open: a request
  // queued by one before a later one closed the link is no fault, and the stand-in refuses any
  // request on a closed link itself. What is looked for here is a crash or undefined behaviour.
  dispatcher.DispatchServerFrames(group);
  return 0;
}
