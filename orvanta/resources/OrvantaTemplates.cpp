// The dialog templates of the start view (412), the main menu pane (276) and the About dialog
// (100).

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>
#include <platform/menus.h>
#include <platform/strings.h>

#include "orvanta/resources/OrvantaResources.h"

namespace {

// Captions of the main menu pane's buttons, in the pane's order (UTF-8).
struct MenuButton {
  UINT id;
  const char* caption;
};
const MenuButton kMenuButtons[] = {
    {1192, "대기실목록"}, {1193, "기보감상"},   {1194, "순위보기"},   {1195, "대국실"},   {1196, "대국실개설"},
    {1197, "대국실검색"}, {1029, "대국실참여"}, {1198, "이용자정보"}, {1199, "이용자검색"}, {1200, "대국협상"},
    {1201, "초대"},       {1035, "무승부신청"}, {1202, "불계패신청"}, {1037, "무르기신청"}, {1203, "종료신청"},
    {1204, "사석지정"},   {1217, "사석보내기"}, {1205, "계가신청"},   {1206, "수순"},       {1207, "놓아보기"},
    {1208, "복기"},       {1209, "일시중지"},   {1210, "기보선택"},   {1211, "파일열기"},   {1212, "나가기"},
    {1213, "다음페이지"}, {1215, "검색취소"},   {1216, "기보검색"},   {1240, "다시받기"},   {1245, "착수포기"},
    {1261, "대기실"},     {1262, "빅지정"},     {1423, "종료"},
};

platform::DialogTemplate StartViewTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  // Small enough for the program's own 800x600 with its tool bar: the view lays itself out to
  // whatever it is given, so a larger template would only bring scroll bars.
  t.cx = 400;
  t.cy = 230;
  t.fontName = "Arial";
  t.fontSize = 9;
  // The movie player is made by the view, which goes on without it when it is not installed.
  return t;
}

platform::DialogTemplate MainMenuTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  t.cx = 411;
  t.cy = 30;
  t.fontName = "Arial";
  t.fontSize = 10;
  platform::DialogItemTemplate banner;
  banner.className = "Static";
  banner.id = kMainMenuBannerId;
  banner.cx = 107;
  banner.cy = 28;
  banner.style = SS_LEFT;  // shown once there are banners
  t.items.push_back(banner);
  int x = 110;
  for (const MenuButton& button : kMenuButtons) {
    platform::DialogItemTemplate item;
    item.className = "Button";
    item.id = button.id;
    // The first screen button and the first room command fix the two rows and their left margin;
    // the game room's two groups start at that margin too. The frame lays out the rest.
    const bool rowStart = button.id == 1192 || button.id == 1196 || button.id == 1200 || button.id == 1207;
    item.x = rowStart ? 83 : x;
    item.y = button.id == 1192 ? 1 : 15;
    item.cx = 40;
    item.cy = 13;
    item.style = BS_PUSHBUTTON | BS_OWNERDRAW | WS_TABSTOP;
    item.text = Cp949(button.caption);
    t.items.push_back(item);
    x = x >= 360 ? 110 : x + 42;
  }
  return t;
}

platform::DialogTemplate AboutTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 180;
  t.cy = 60;
  t.caption = "About......";
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 20, 14, 140, 10, SS_LEFT, "Orvanta    Ver 1.5"),
      platform::VisibleItem("Button", IDOK, 65, 36, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
  };
  return t;
}

}  // namespace

void RegisterOrvantaScreens(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, kStartViewTemplate, StartViewTemplate());
  platform::AddDialogTemplate(module, kMainMenuTemplate, MainMenuTemplate());
  platform::AddDialogTemplate(module, kAboutTemplate, AboutTemplate());
  platform::AddCursorResource(module, kBannerLinkCursor);
  platform::MenuTemplate popup;
  platform::MenuItemTemplate sound{"Sound", 32791, 0, {}};
  popup.items.push_back(platform::MenuItemTemplate{"Room", 0, 0, {sound}});
  platform::AddMenuResource(module, kRoomPopupMenu, std::move(popup));
}
