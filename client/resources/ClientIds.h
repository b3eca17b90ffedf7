#pragma once
// Numbers of the viewer's resources, commands and controls.

#include "platform/types.h"

// Templates, menus and strings.
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_CLIENT_FORM = 101;
constexpr UINT IDD_LOGIN = 137;
constexpr UINT IDD_DELAYTIME = 149;
constexpr UINT IDD_AUTOVIEWTIME = 305;

// Commands of menu 128.
constexpr UINT ID_MOVE_NEXT = 32771;
constexpr UINT ID_VIEW_FULLSCREEN = 32773;
constexpr UINT ID_MOVE_FIRST = 32779;
constexpr UINT ID_VIEW_CHANGE = 32780;
constexpr UINT ID_MOVE_PREV = 32781;
constexpr UINT ID_MOVE_LAST = 32782;
constexpr UINT ID_GAME_DIAGRAM = 32783;
constexpr UINT ID_VIEW_COORDINATE = 32784;
constexpr UINT ID_AUTO_VIEW = 32785;
constexpr UINT ID_GAME_INFO = 32787;
constexpr UINT ID_USER_MOVE = 32789;
constexpr UINT ID_VOICE_COMMENTARY = 32790;
constexpr UINT ID_SEQUENCE = 32791;
constexpr UINT ID_DELAY_SETUP = 32792;
constexpr UINT ID_CONNECT = 32793;
constexpr UINT ID_CONFIG_SETUP = 32796;
constexpr UINT ID_VIEW_BUTTONBAR = 32797;
constexpr UINT ID_DISCONNECT = 32802;
constexpr UINT ID_HELP = 57670;

// Controls of the form (template 101).
constexpr int IDC_MOVE_EDIT = 1006;
constexpr int IDC_COMMENT_CAPTION = 1010;
constexpr int IDC_QUESTION_CAPTION = 1011;
constexpr int IDC_BTN_EXIT = 1015;
constexpr int IDC_BLACK_NAME = 1019;
constexpr int IDC_WHITE_NAME = 1021;
constexpr int IDC_WHITE_AFFILIATION = 1023;
constexpr int IDC_BLACK_AFFILIATION = 1024;
constexpr int IDC_WHITE_ICON = 1025;
constexpr int IDC_BLACK_ICON = 1026;
constexpr int IDC_QUESTION_EDIT = 1027;
constexpr int IDC_COMMENT_PANE = 1029;
constexpr int IDC_ANSWER_PANE = 1030;
constexpr int IDC_WHITE_PHOTO = 1033;
constexpr int IDC_BLACK_PHOTO = 1034;
constexpr int IDC_WHITE_CAPTURES = 1035;
constexpr int IDC_BLACK_CAPTURES = 1036;
constexpr int IDC_WHITE_CLOCK = 1037;
constexpr int IDC_BTN_FIRST = 1038;
constexpr int IDC_BTN_PREV = 1039;
constexpr int IDC_BTN_NEXT = 1040;
constexpr int IDC_BTN_VOICE = 1041;
constexpr int IDC_BTN_SELF = 1042;
constexpr int IDC_BTN_SEQ = 1043;
constexpr int IDC_BTN_PLAYINFO = 1044;
constexpr int IDC_BTN_LAST = 1045;
constexpr int IDC_BLACK_CLOCK = 1046;
constexpr int IDC_BTN_REF = 1047;
constexpr int IDC_BTN_DELAY = 1048;
constexpr int IDC_BTN_AUTOVIEW = 1049;

// Login dialog (137).
constexpr int IDC_LOGIN_USER = 1007;
constexpr int IDC_LOGIN_PASSWORD = 1045;
constexpr int IDC_LOGIN_TEXT = 1053;
constexpr int IDC_LOGIN_VOICE = 1054;
constexpr int IDC_LOGIN_PASSWORD_LABEL = 1071;
constexpr int IDC_LOGIN_USER_LABEL = 1072;
constexpr int IDC_LOGIN_GROUP = 1073;
// About box (100).
constexpr int IDC_ABOUT_VERSION = 1066;
constexpr int IDC_ABOUT_ICON = 1067;
// Delay dialog (149).
constexpr int IDC_DELAY_SLIDER = 1050;
constexpr int IDC_DELAY_SHOWN = 1051;
constexpr int IDC_DELAY_VALUE = 1052;
constexpr int IDC_DELAY_SPIN = 1054;
constexpr int IDC_DELAY_SHOWN_LABEL = 1064;
constexpr int IDC_DELAY_VALUE_LABEL = 1065;
// Autoview dialog (305).
constexpr int IDC_AUTOVIEW_LIST = 1056;
constexpr int IDC_AUTOVIEW_LABEL = 1062;
constexpr int IDC_AUTOVIEW_UNIT = 1063;

// Bitmaps.
constexpr UINT IDB_BACKGROUND = 162;
constexpr UINT IDB_PROGRAM_ICON = 129;  // the About box's 32 x 32 picture
constexpr UINT IDB_PANEL_TOP = 303;
constexpr UINT IDB_PANEL_MIDDLE = 304;
constexpr UINT IDB_PANEL_BOTTOM = 186;
constexpr UINT IDB_BAR_TILE = 164;
constexpr UINT IDB_BAR_LEFT = 165;
constexpr UINT IDB_ICON_WHITE = 146;
constexpr UINT IDB_ICON_BLACK = 148;
constexpr UINT IDB_ICON_MASK = 301;
constexpr UINT IDB_BTN_EXIT = 160;
constexpr UINT IDB_BTN_DELAY = 179;
constexpr UINT IDB_BTN_PLAYINFO = 159;
constexpr UINT IDB_BTN_FIRST = 172;
constexpr UINT IDB_BTN_PREV = 169;
constexpr UINT IDB_BTN_NEXT = 171;
constexpr UINT IDB_BTN_LAST = 170;
constexpr UINT IDB_BTN_REF = 157;
constexpr UINT IDB_BTN_VOICE = 153;
constexpr UINT IDB_BTN_AUTOVIEW = 311;
constexpr UINT IDB_BTN_SELF = 156;
constexpr UINT IDB_BTN_SEQ = 300;
// The stone sound.
constexpr UINT IDR_STONE_WAVE = 315;
