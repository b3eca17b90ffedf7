#pragma once
// The lobby's end-to-end tests: a frame logged in to the game-server peer with the waiting room
// shown, a UI script for the lobby's dialogs and message boxes, and helpers that wait for the
// records the frame sends.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <platform/time.h>

#include <platform/menus.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/TirvoDListView.h"

class CLobbyScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND wnd) override {
    dialogs.push_back(templateId);
    const auto found = answers.find(templateId);
    if (found == answers.end())
      return IDCANCEL;
    return found->second(CWnd::FromHandle(wnd), dialog);
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT style) override {
    shown.push_back(text);
    if (whileBoxShown)
      whileBoxShown();
    const auto answer = boxAnswers.find(text);
    return answer != boxAnswers.end() ? answer->second : platform::DefaultMessageBoxButton(style);
  }

  std::optional<UINT> OnPopupMenu(HMENU menu, POINT, HWND) override {
    std::vector<UINT> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) items.push_back(::GetMenuItemID(menu, i));
    menus.push_back(items);
    return menuChoice;
  }

  std::map<UINT, std::function<INT_PTR(CWnd*, CDialog*)>> answers;  // template -> answer
  std::vector<UINT> dialogs;
  std::vector<std::string> shown;
  std::map<std::string, int> boxAnswers;  // message box text -> button (else the default one)
  std::function<void()> whileBoxShown;    // runs while each message box is up, before its answer
  std::vector<std::vector<UINT>> menus;  // the command ids of each pop-up menu shown
  UINT menuChoice{0};                    // the command every pop-up menu answers (0: none)
};

class LobbyPeerTest : public MainFrameTest {
protected:
  // Logs in (role "3": the user's own waiting room is 3), loads the waiting-room table and shows
  // the waiting room 2, "Dan room", with key R2.
  void EnterWaitingRoom() {
    LogIn();
    peer.Send({{GameServerPeer::WaitingRoomList({"1|Free", "2|Dan room", "3|Kyu room", "5|Pro"}), 0}});
    ASSERT_TRUE(PumpUntil([&] { return !frame->GetWaitingRoomTable().GetEntries().empty(); }));
    frame->RememberWaitingRoom(2, "R2", "Dan room");
    frame->SwitchView(CMainFrame::kWaitingRoomView);
    view = frame->GetWaitingRoomView();
    ASSERT_NE(view, nullptr);
    lobbyScope.emplace(&lobby);
  }
  // Sends records from the server and waits until condition holds.
  void Serve(const std::string& bytes, const std::function<bool()>& condition) {
    peer.Send({{bytes, 0}});
    ASSERT_TRUE(PumpUntil(condition)) << "the frame did not take " << bytes.size() << " bytes";
  }
  // The next record (major, minor) the frame sends after the ones already taken.
  std::optional<PeerRecord> NextRecord(int major, int minor) {
    if (!PumpUntil([&] { return FindFrom(major, minor).has_value(); }))
      return std::nullopt;
    const std::optional<Found> found = FindFrom(major, minor);
    if (!found)
      return std::nullopt;
    taken = found->index + 1;
    return found->record;
  }
  // No record (major, minor) after the ones taken, within a short while.
  bool NoRecord(int major, int minor) {
    PumpFor(100);
    return !FindFrom(major, minor).has_value();
  }
  std::vector<std::string> Column(CListCtrl& list, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, column).str());
    return texts;
  }
  void Select(CListCtrl& list, const std::string& text, int column = 0) {
    for (int i = 0; i < list.GetItemCount(); ++i)
      list.SetItemState(i, list.GetItemText(i, column).str() == text ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  CString Label(UINT id) {
    CString text;
    view->GetDlgItemText(static_cast<int>(id), text);
    return text;
  }
  CString ChatBox() { return Label(CTirvoDListView::kChatBox); }

  CTirvoDListView* view{nullptr};
  CLobbyScript lobby;
  std::optional<platform::ScopedUiScript> lobbyScope;
  std::size_t taken{0};  // records already looked at by NextRecord

private:
  struct Found {
    PeerRecord record;
    std::size_t index;
  };
  std::optional<Found> FindFrom(int major, int minor) const {
    const std::vector<PeerRecord> records = peer.Records();
    for (std::size_t i = taken; i < records.size(); ++i)
      if (records[i].Is(major, minor))
        return Found{records[i], i};
    return std::nullopt;
  }
};
