// The frame's menu bar: every frame command with a text sits on it once, with a letter of its own
// in its pop-up; choosing it from the bar reaches what it does; and each item shows the state its
// update handler gives it on each screen.

#include <functional>
#include <map>
#include <set>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/lobby/OptionsDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/lobby/SendMessageDlg.h"

namespace {

using namespace OrvantaCommand;

// The letter after the single '&' of a text, upper case; 0 without one.
char Letter(const CString& text) {
  const int at = text.Find('&');
  return at >= 0 && at + 1 < text.GetLength() ? static_cast<char>(std::toupper(text[at + 1])) : 0;
}

struct Placed {
  int popup;
  CString text;
};

// Where each command of the bar sits (every place, in order).
std::map<UINT, std::vector<Placed>> PlacesOf(CMenu& bar) {
  std::map<UINT, std::vector<Placed>> places;
  for (UINT p = 0; p < bar.GetMenuItemCount(); ++p) {
    CMenu* popup = bar.GetSubMenu(static_cast<int>(p));
    if (!popup)
      continue;
    for (UINT i = 0; i < popup->GetMenuItemCount(); ++i) {
      const UINT id = popup->GetMenuItemID(static_cast<int>(i));
      if (id == 0 || id == static_cast<UINT>(-1))
        continue;
      CString text;
      popup->GetMenuString(i, text, MF_BYPOSITION);
      places[id].push_back({static_cast<int>(p), text});
    }
  }
  return places;
}

// Every command of the frame that has a menu or tip text.
const UINT kFrameCommands[] = {kFileOpen,   kFileSave,     kAppExit,        kToolBar,        kSound,
                               kInviteUserMenu, kSearchUserMenu, kLiveRelay, kService,     kRegister,
                               kUserInformation, kSendMessage, kFullScreen, kNewcomer,     kMailToManager,
                               kHomePage,   kMemoBox,      kEnvironment,    kSendMemo,       kMyInformation,
                               kChattingMacro, kSaveThisRecord, kOnlineHelp, kConnect,      kViewUserInformation,
                               kContextHelp};

class MenuBarTest : public MainFrameTest {
protected:
  CMenu& Bar() { return *frame->GetMenu(); }
  void Choose(UINT command) { ChooseFromMenuBar(frameHandle(), command); }
  size_t DialogCount(UINT templateId) const {
    return static_cast<size_t>(std::count_if(script.dialogs.begin(), script.dialogs.end(),
                                             [&](const CFrameTestScript::Shown& d) { return d.templateId == templateId; }));
  }
  bool Requested(const std::string& pair, const std::string& payload) const {
    for (const PeerRecord& r : peer.Records())
      if (r.major + "," + r.minor == pair && r.payload == payload)
        return true;
    return false;
  }
};

TEST_F(MenuBarTest, EveryFrameCommandWithATextIsOnTheBarOnceAndEveryLetterPicksOneItem) {
  ASSERT_NE(frame->GetMenu(), nullptr);
  EXPECT_EQ(frame->GetMenu()->GetSafeHmenu(), ::GetMenu(frameHandle()));
  const auto places = PlacesOf(Bar());
  for (UINT command : kFrameCommands) {
    SCOPED_TRACE(command);
    ASSERT_EQ(places.count(command), 1u);
    ASSERT_EQ(places.at(command).size(), 1u);
    EXPECT_NE(Letter(places.at(command)[0].text), 0);
  }
  // A letter that two items of one pop-up (or two titles) share would open the wrong one.
  std::set<char> titles;
  for (UINT p = 0; p < Bar().GetMenuItemCount(); ++p) {
    CString title;
    Bar().GetMenuString(p, title, MF_BYPOSITION);
    EXPECT_TRUE(titles.insert(Letter(title)).second) << title.str();
    std::set<char> letters;
    for (const auto& [id, where] : places) {
      for (const Placed& place : where) {
        if (place.popup == static_cast<int>(p)) {
          EXPECT_TRUE(letters.insert(Letter(place.text)).second) << place.text.str();
        }
      }
    }
  }
}

TEST_F(MenuBarTest, EachItemChosenFromTheBarReachesWhatItDoes) {
  LogIn();
  frame->EndWaitCapture();
  frame->ShowWindow(SW_SHOW);
  script.fileAnswer = "";  // the file dialog is cancelled
  script.answers["Do you close this program?"] = IDNO;
  script.answers["Do you wish to disconnect?"] = IDNO;
  using Check = std::function<bool()>;
  // Each expectation is made just before its command is chosen, so that counts start there.
  using Expect = std::function<Check()>;
  auto shown = [this](const char* text) -> Expect {
    return [this, text]() -> Check {
      script.shown.clear();
      return [this, text] { return !script.shown.empty() && script.shown.back() == text; };
    };
  };
  auto opened = [this](const char* part) -> Expect {
    return [this, part]() -> Check {
      frame->opened.clear();
      return [this, part] { return !frame->opened.empty() && frame->opened.back().find(part) != std::string::npos; };
    };
  };
  auto dialog = [this](UINT templateId) -> Expect {
    return [this, templateId]() -> Check {
      const size_t before = DialogCount(templateId);
      return [this, templateId, before] { return DialogCount(templateId) > before; };
    };
  };
  auto flips = [](std::function<BOOL()> value) -> Expect {
    return [value]() -> Check {
      const BOOL before = value();
      return [value, before] { return value() != before; };
    };
  };
  auto holds = [](Check check) -> Expect { return [check] { return check; }; };
  const std::vector<std::pair<UINT, Expect>> rows = {
      {kFileOpen, holds([this] { return script.fileDialogs == 1; })},
      {kAppExit, shown("Do you close this program?")},
      {kToolBar, holds([this] {
         return frame->IsToolBarShown() && (frame->GetStatusBar().GetStyle() & WS_VISIBLE) &&
                (frame->GetToolBar().GetStyle() & WS_VISIBLE);
       })},
      {kSound, flips([this] { return frame->IsSoundOn(); })},
      {kSaveThisRecord, flips([this] { return frame->IsSaveRecordOn(); })},
      {kInviteUserMenu, shown("You can only invite user within the game room.")},
      {kSearchUserMenu, dialog(CSearchUserDlg::kTemplateId)},
      {kUserInformation, dialog(CSearchUserDlg::kTemplateId)},
      {kMyInformation, holds([this] { return Requested("10,3", "|" + frame->GetLoginRole().str() + "|carol|"); })},
      {kSendMessage, dialog(CSendMemoDlg::kTemplateId)},
      {kSendMemo, dialog(CSendMessageDlg::kTemplateId)},
      {kMemoBox, holds([this] { return frame->GetMemoBox() && (frame->GetMemoBox()->GetStyle() & WS_VISIBLE); })},
      {kEnvironment, dialog(COptionsDlg::kTemplateId)},
      {kChattingMacro, flips([this] { return static_cast<BOOL>(frame->chatMacrosShown.size()); })},
      {kLiveRelay, shown(" Unable to find execution file.\nReinstall.")},
      {kService, shown(" Unable to find execution file.\nReinstall")},
      {kRegister, shown(" Unable to find execution file.\nReinstall.")},
      {kFullScreen, holds([this] { return ::IsZoomed(frameHandle()) != FALSE; })},
      {kOnlineHelp, opened("/help/ds/index.htm")},
      {kNewcomer, opened("/help/ds/intro.htm")},
      {kMailToManager, opened("mailto:")},
      {kHomePage, opened("/index.htm")},
      {kContextHelp, shown("The function is not available.")},
      {kConnect, shown("Do you wish to disconnect?")},
  };
  for (const auto& [command, expect] : rows) {
    SCOPED_TRACE(command);
    const Check reached = expect();
    Choose(command);
    EXPECT_TRUE(PumpUntil(reached));
    // Starting a sibling would minimise the frame.
    frame->ShowWindow(SW_SHOWNORMAL);
  }
  EXPECT_TRUE(frame->IsConnected());  // No to the question kept the connection

  // The user information of the waiting room: with nobody selected it asks for an ID.
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  const Check asked = dialog(CSearchUserDlg::kTemplateId)();
  Choose(kViewUserInformation);
  EXPECT_TRUE(PumpUntil(asked));
}

TEST_F(MenuBarTest, ItemsShowTheStateTheirRulesGiveOnEachScreen) {
  enum Screen { kOffline, kStart, kRoomPlaying, kRoomObserving };
  enum Enabled { kOn, kOff, kSame, kAny };
  struct Row {
    UINT command;
    Screen screen;
    Enabled enabled;
    int check;         // -1: no check mark set
    const char* text;  // null: the text stays
  };
  const char* const offlineConnect = Cp949("접속(&C)");
  const char* const onlineConnect = Cp949("접속해제(&E)");
  std::vector<Row> rows = {
      {kConnect, kOffline, kOn, -1, offlineConnect},
      {kConnect, kStart, kOn, -1, onlineConnect},
      {kConnect, kRoomPlaying, kSame, -1, onlineConnect},  // a running game is not left from the menu
      {kConnect, kRoomObserving, kOn, -1, onlineConnect},
      // Saving belongs to the document, which this frame runs without.
      {kFileSave, kStart, kAny, -1, "Save Play Record(&S)\tCtrl+S"},
      {kFileSave, kRoomPlaying, kAny, -1, "Save This Play(&S)\tCtrl+S"},
      {kAppExit, kStart, kOn, -1, nullptr},
      {kAppExit, kRoomPlaying, kOff, -1, nullptr},  // closing is refused while the game runs
      {kAppExit, kRoomObserving, kOn, -1, nullptr},
      {kToolBar, kStart, kOn, 0, nullptr},
      {kSound, kStart, kOn, 1, nullptr},
      {kRoomSound, kRoomPlaying, kOn, 1, nullptr},
      {kSaveThisRecord, kStart, kOn, 0, nullptr},  // off until the user chooses it
  };
  for (UINT command : {kSearchUser, kInviteUserMenu, kSearchUserMenu, kUserInformation, kSendMessage, kMemoBox,
                       kEnvironment, kSendMemo, kMyInformation}) {
    rows.push_back({command, kOffline, kOff, -1, nullptr});
    rows.push_back({command, kStart, kOn, -1, nullptr});
    rows.push_back({command, kRoomPlaying, kOn, -1, nullptr});
  }
  // The commands without rules of their own are there to be chosen on every screen.
  for (UINT command : {kFileOpen, kLiveRelay, kService, kRegister, kFullScreen, kNewcomer, kMailToManager, kHomePage,
                       kChattingMacro, kOnlineHelp, kViewUserInformation, kContextHelp})
    for (Screen screen : {kOffline, kRoomPlaying})
      rows.push_back({command, screen, kOn, -1, nullptr});

  for (Screen screen : {kOffline, kStart, kRoomPlaying, kRoomObserving}) {
    if (screen == kStart)
      LogIn();
    if (screen == kRoomPlaying || screen == kRoomObserving) {
      frame->SwitchView(CMainFrame::kGameRoomView);
      frame->SetRoomStateWord(screen == kRoomPlaying ? 0x0042 : 0x0101);
    }
    for (const Row& row : rows) {
      if (row.screen != screen)
        continue;
      SCOPED_TRACE(testing::Message() << "command " << row.command << " screen " << screen);
      const platform::CmdUIProbe probe = platform::QueryCommandState(frame, row.command);
      if (row.enabled == kSame) {
        EXPECT_FALSE(probe.enableSet);
      } else if (row.enabled != kAny) {
        EXPECT_EQ(probe.enabled, row.enabled == kOn);
      }
      if (row.check >= 0) {
        EXPECT_TRUE(probe.checkSet);
        EXPECT_EQ(probe.check, row.check);
      }
      if (row.text) {
        EXPECT_EQ(probe.text, row.text);
      }
    }
  }
}

TEST_F(MenuBarTest, TheStatusLineHoldsEveryMessageWholeAtTheSmallestFrame) {
  frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
  frame->ShowWindow(SW_SHOW);
  frame->OnViewToolBar();
  CStatusBar& bar = frame->GetStatusBar();
  const CString ready = Cp949("도움말을 보려면 <F1> 키를 누르십시오. ");
  EXPECT_EQ(bar.GetPaneText(0), ready);  // before any screen gives a text
  std::vector<CString> texts = {ready, "Press 'F1' for Help."};
  for (UINT view : {CMainFrame::kWaitingRoomView, CMainFrame::kGameRoomView, CMainFrame::kStartView,
                    CMainFrame::kRankView, CMainFrame::kRecordListView, CMainFrame::kTeachingListView})
    texts.push_back(CMainFrame::GetViewStatusText(view));
  CRect pane;
  bar.GetItemRect(0, &pane);
  // The panes are drawn by the bar's inner control, in its font.
  CWnd* panes = bar.GetWindow(GW_CHILD);
  ASSERT_NE(panes, nullptr);
  CClientDC dc(panes);
  const auto font = reinterpret_cast<HGDIOBJ>(panes->SendMessage(WM_GETFONT));
  const HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
  for (const CString& text : texts) {
    SCOPED_TRACE(text.str());
    frame->SetStatusText(text);
    EXPECT_EQ(bar.GetPaneText(0), text);
    EXPECT_LT(dc.GetTextExtent(text).cx, pane.Width());
  }
  if (old)
    dc.SelectObject(old);
  // An empty text brings the help line back.
  frame->SetStatusText("");
  EXPECT_EQ(bar.GetPaneText(0), ready);
}

}  // namespace
