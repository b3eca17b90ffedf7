#pragma once
// A logged-in frame on the game-server peer with a game room of its own attached: the board is
// the model, the frame is the room's host, and the clock is manual from a fixed match day.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <platform/time.h>

#include "../app/MainFrameFixture.h"
#include "GameRoomFixture.h"

// Passes every question on to the fixture's script; a message box takes the time a person takes
// to read it, while the server goes on sending.
class CSlowReader : public platform::UiScript {
public:
  explicit CSlowReader(platform::UiScript& inner) : m_inner(inner) {}
  std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style) override {
    if (whileOpen) whileOpen(text);
    return m_inner.OnMessageBox(text, caption, style);
  }
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND wnd) override {
    return m_inner.OnModalDialog(templateId, dialog, wnd);
  }
  std::function<void(const std::string&)> whileOpen;

private:
  platform::UiScript& m_inner;
};

class FrameRoomTest : public MainFrameTest {
protected:
  static constexpr std::time_t kMatchDay = 1796810400;  // 2026-12-09

  void SetUp() override {
    LogIn();
    frame->SetWaitingRoomKey("1", "k");
    m_room.emplace(board, *frame, record);
    board.room = &*m_room;
    frame->AttachGameRoom(&*m_room);
    // Finished games are kept: the user switches saving on, as the menu's first choice does.
    frame->SendMessage(WM_COMMAND, CMainFrame::kSaveThisRecordCommand);
    ASSERT_TRUE(frame->IsSaveRecordOn());
  }
  void TearDown() override {
    if (::IsWindow(frameHandle())) frame->AttachGameRoom(nullptr);
  }
  CGameRoom& room() { return *m_room; }

  // One server message by its code (52 is (5,2), 511 is (5,11)), in a group of its own.
  void Server(int code, const std::string& payload) {
    const bool twoDigitMinor = code / 10 >= 10;
    peer.Send({{GameServerPeer::Record(twoDigitMinor ? code / 100 : code / 10, twoDigitMinor ? code % 100 : code % 10,
                                       payload),
                0}});
    // A group is read in one notification: let it arrive before the next one is written.
    PumpFor(40);
  }
  // Every room request (major 4) with minor, oldest first.
  std::vector<std::string> Payloads(int minor) {
    std::vector<std::string> payloads;
    for (const PeerRecord& r : peer.Records())
      if (r.minor == std::to_string(minor) && r.major == "4") payloads.push_back(r.payload);
    return payloads;
  }

  platform::ManualClockScope m_manual{kMatchDay};
  ModelBoard board;
  CGiboRecord record;
  std::optional<CGameRoom> m_room;
};
