#include "orvanta/resources/MenuBarResources.h"

#include <platform/strings.h>

#include "orvanta/app/CommandStates.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

using namespace OrvantaCommand;

platform::MenuItemTemplate Item(UINT command, const char* text) { return {CString(text), command, 0, {}}; }
platform::MenuItemTemplate Separator() { return {CString(), 0, 0, {}}; }

}  // namespace

const std::vector<CMenuBarPopup>& GetMenuBarPopups() {
  // The texts keep the program's own words; each gets its letter in brackets after it, as the
  // texts that came with one already have it.
  static const std::vector<CMenuBarPopup> popups = {
      {"File(&F)",
       {Item(kFileOpen, "Open Play Record(&O)"), Item(kFileSave, "Save Play Record(&S)\tCtrl+S"), Separator(),
        // Its update handler names it connect or disconnect as the connection stands.
        Item(kConnect, "Connect/Disconnect(&C)"), Separator(), Item(kAppExit, "Exit(&X)")}},
      {"User(&U)",
       {Item(kSearchUserMenu, "Search User(&S)"), Item(kInviteUserMenu, "Invite User(&I)"),
        Item(kUserInformation, "User Information(&U)"), Item(kViewUserInformation, "View User Information(&V)\tCtrl+I"),
        Item(kMyInformation, "My Information(&M)")}},
      {"Transfer(&T)",
       {Item(kSendMessage, "Send Message(&S)"), Item(kSendMemo, "Send Memo(&E)"), Item(kMemoBox, "Memo Box(&B)")}},
      {"View(&V)", {Item(kToolBar, "Tool Bar(&T)"), Item(kFullScreen, "Full Screen(&F)\tF11")}},
      {"Options(&O)",
       {Item(kEnvironment, "Environment(&E)"), Item(kChattingMacro, "Chatting Macro(&C)"), Separator(),
        Item(kSound, "Sound(&S)"), Item(kSaveThisRecord, "Save This Record(&R)")}},
      {"Programs(&P)",
       {Item(kLiveRelay, "Live Relay(&L)"), Item(kService, "Service(&S)"), Item(kRegister, "Register(&R)")}},
      {"Help(&H)",
       {Item(kOnlineHelp, "Online Help(&H)\tF1"), Item(kNewcomer, "Newcomer(&N)"),
        Item(kMailToManager, "Mail to Manager(&M)"), Item(kHomePage, "Home Page(&P)"), Separator(),
        Item(kContextHelp, "Help(&E)"), Item(kAppAbout, "About Orvanta(&A)...")}},
  };
  return popups;
}

const std::vector<ACCEL>& GetMenuBarKeys() {
  static const std::vector<ACCEL> keys = {
      {FVIRTKEY, static_cast<WORD>(VK_F11), static_cast<WORD>(kFullScreen)},
      {FVIRTKEY, static_cast<WORD>(VK_F1), static_cast<WORD>(kHelp)},
      {FVIRTKEY | FCONTROL, 'S', static_cast<WORD>(kFileSave)},
      {FVIRTKEY | FCONTROL, 'I', static_cast<WORD>(kViewUserInformation)},
  };
  return keys;
}

void RegisterOrvantaMenus(platform::ResourceModule& module) {
  platform::MenuTemplate menu;
  for (const CMenuBarPopup& popup : GetMenuBarPopups())
    menu.items.push_back(platform::MenuItemTemplate{CString(popup.title), 0, 0, popup.items});
  platform::AddMenuResource(module, IDR_MAINFRAME, std::move(menu));
  platform::AddAcceleratorResource(module, IDR_MAINFRAME, platform::AcceleratorTemplate{GetMenuBarKeys()});
}
