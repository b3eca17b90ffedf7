#include "client/resources/ClientTemplates.h"

#include "client/resources/ClientIds.h"
#include "platform/controls.h"

namespace {

using platform::DialogItemTemplate;
using platform::VisibleItem;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
constexpr DWORD kButton = BS_OWNERDRAW | WS_TABSTOP;
constexpr DWORD kPane = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER;

// An item that the window keeps hidden until the code shows it.
DialogItemTemplate HiddenItem(const char* className, UINT id, int x, int y, int cx, int cy, DWORD style,
                              const char* text = "") {
  DialogItemTemplate item = VisibleItem(className, id, x, y, cx, cy, style, text);
  item.style &= ~WS_VISIBLE;
  return item;
}

}  // namespace

platform::DialogTemplate BuildFormTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD;
  t.cx = 530;
  t.cy = 350;
  t.items = {
      // White's column on the left of the panel, black's on the right.
      VisibleItem("Static", IDC_WHITE_PHOTO, 360, 6, 66, 70, SS_LEFT),
      VisibleItem("Static", IDC_WHITE_ICON, 360, 80, 10, 10, SS_LEFT),
      VisibleItem("Static", IDC_WHITE_NAME, 374, 80, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_WHITE_AFFILIATION, 374, 90, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_WHITE_CAPTURES, 374, 100, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_WHITE_CLOCK, 374, 110, 64, 9, SS_LEFT, "00 : 00 : 00"),
      VisibleItem("Static", IDC_BLACK_PHOTO, 446, 6, 66, 70, SS_LEFT),
      VisibleItem("Static", IDC_BLACK_ICON, 446, 80, 10, 10, SS_LEFT),
      VisibleItem("Static", IDC_BLACK_NAME, 458, 80, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_BLACK_AFFILIATION, 458, 90, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_BLACK_CAPTURES, 458, 100, 64, 9, SS_LEFT),
      VisibleItem("Static", IDC_BLACK_CLOCK, 458, 110, 64, 9, SS_LEFT, "00 : 00 : 00"),
      VisibleItem("Static", IDC_COMMENT_CAPTION, 360, 124, 150, 9, SS_LEFT),
      VisibleItem("Edit", IDC_COMMENT_PANE, 360, 134, 150, 110, kPane),
      HiddenItem("Static", IDC_QUESTION_CAPTION, 360, 248, 150, 9, SS_LEFT),
      HiddenItem("Edit", IDC_ANSWER_PANE, 360, 258, 150, 60, kPane),
      VisibleItem("Edit", IDC_QUESTION_EDIT, 360, 322, 150, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      // The button bar under the board.
      VisibleItem("Button", IDC_BTN_FIRST, 6, 300, 20, 14, kButton, "|<"),
      VisibleItem("Button", IDC_BTN_PREV, 28, 300, 20, 14, kButton, "<"),
      VisibleItem("Edit", IDC_MOVE_EDIT, 50, 300, 28, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", IDC_BTN_NEXT, 80, 300, 20, 14, kButton, ">"),
      VisibleItem("Button", IDC_BTN_LAST, 102, 300, 20, 14, kButton, ">|"),
      VisibleItem("Button", IDC_BTN_DELAY, 200, 300, 40, 14, kButton, "delay"),
      VisibleItem("Button", IDC_BTN_REF, 244, 300, 40, 14, kButton, "ref"),
      VisibleItem("Button", IDC_BTN_VOICE, 6, 318, 40, 14, kButton, "voice"),
      VisibleItem("Button", IDC_BTN_AUTOVIEW, 50, 318, 40, 14, kButton, "autoview"),
      VisibleItem("Button", IDC_BTN_SELF, 94, 318, 40, 14, kButton, "self"),
      VisibleItem("Button", IDC_BTN_SEQ, 138, 318, 40, 14, kButton, "seq"),
      VisibleItem("Button", IDC_BTN_PLAYINFO, 182, 318, 40, 14, kButton, "playinfo"),
      VisibleItem("Button", IDC_BTN_EXIT, 226, 318, 40, 14, kButton, "exit"),
  };
  return t;
}

platform::DialogTemplate BuildAboutTemplate() {
  platform::DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = 200;
  t.cy = 60;
  t.caption = "About";
  t.items = {
      VisibleItem("Static", IDC_ABOUT_ICON, 11, 10, 22, 22, SS_ICON),
      VisibleItem("Static", IDC_ABOUT_VERSION, 40, 14, 150, 10, SS_LEFT, "Version 1.0"),
      VisibleItem("Button", IDOK, 140, 36, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
  };
  return t;
}

platform::DialogTemplate BuildLoginTemplate() {
  platform::DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = 190;
  t.cy = 110;
  t.caption = "Login";
  t.items = {
      VisibleItem("Static", IDC_LOGIN_USER_LABEL, 10, 12, 56, 8, SS_LEFT, "User name"),
      VisibleItem("Edit", IDC_LOGIN_USER, 70, 10, 110, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Static", IDC_LOGIN_PASSWORD_LABEL, 10, 30, 56, 8, SS_LEFT, "Password"),
      VisibleItem("Edit", IDC_LOGIN_PASSWORD, 70, 28, 110, 12, ES_AUTOHSCROLL | ES_PASSWORD | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", IDC_LOGIN_GROUP, 10, 46, 170, 30, BS_GROUPBOX, "Explain"),
      VisibleItem("Button", IDC_LOGIN_TEXT, 20, 58, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Text"),
      VisibleItem("Button", IDC_LOGIN_VOICE, 100, 58, 60, 10, BS_AUTORADIOBUTTON, "Voice"),
      VisibleItem("Button", IDOK, 40, 88, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      VisibleItem("Button", IDCANCEL, 100, 88, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

platform::DialogTemplate BuildDelayTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 200;
  t.cy = 84;
  t.caption = "Delay time";
  t.items = {
      VisibleItem("msctls_trackbar32", IDC_DELAY_SLIDER, 8, 8, 150, 16, WS_TABSTOP),
      VisibleItem("msctls_updown32", IDC_DELAY_SPIN, 162, 8, 12, 16, 0),
      VisibleItem("Static", IDC_DELAY_SHOWN_LABEL, 10, 32, 60, 8, SS_LEFT, "recv time"),
      VisibleItem("Static", IDC_DELAY_SHOWN, 80, 32, 80, 8, SS_LEFT, "00 : 00 : 00"),
      VisibleItem("Static", IDC_DELAY_VALUE_LABEL, 10, 46, 60, 8, SS_LEFT, "delay time"),
      VisibleItem("Static", IDC_DELAY_VALUE, 80, 46, 80, 8, SS_LEFT, "00 : 00 : 00"),
      VisibleItem("Button", IDOK, 140, 64, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Close"),
  };
  return t;
}

platform::DialogTemplate BuildAutoViewTemplate() {
  platform::DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = 160;
  t.cy = 60;
  t.caption = "autoview time";
  t.items = {
      VisibleItem("Static", IDC_AUTOVIEW_LABEL, 10, 12, 60, 8, SS_LEFT, "autoview time :"),
      VisibleItem("ComboBox", IDC_AUTOVIEW_LIST, 74, 10, 40, 80, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
      VisibleItem("Static", IDC_AUTOVIEW_UNIT, 120, 12, 20, 8, SS_LEFT, "sec"),
      VisibleItem("Button", IDOK, 24, 38, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      VisibleItem("Button", IDCANCEL, 84, 38, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

void RegisterClientTemplates(platform::ResourceModule& module) {
  platform::AddDialogTemplate(module, IDD_CLIENT_FORM, BuildFormTemplate());
  platform::AddDialogTemplate(module, IDD_ABOUTBOX, BuildAboutTemplate());
  platform::AddDialogTemplate(module, IDD_LOGIN, BuildLoginTemplate());
  platform::AddDialogTemplate(module, IDD_DELAYTIME, BuildDelayTemplate());
  platform::AddDialogTemplate(module, IDD_AUTOVIEWTIME, BuildAutoViewTemplate());
}
