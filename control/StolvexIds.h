#pragma once
// The board control's public identity: class, interface and library identifiers, ProgIDs, the
// dispatch ids of its members and events, its resource ids and its version.

#include "platform/com.h"

constexpr GUID LIBID_STOLVEXLib = GuidFromText("{87C23E85-067C-11D3-A9BF-00A024930AD4}");
constexpr IID DIID__DStolvex = GuidFromText("{87C23E86-067C-11D3-A9BF-00A024930AD4}");
constexpr IID DIID__DStolvexEvents = GuidFromText("{87C23E87-067C-11D3-A9BF-00A024930AD4}");
constexpr CLSID CLSID_Stolvex = GuidFromText("{87C23E88-067C-11D3-A9BF-00A024930AD4}");
constexpr CLSID CLSID_StolvexPropPage = GuidFromText("{87C23E89-067C-11D3-A9BF-00A024930AD4}");
constexpr GUID APPID_Stolvex = GuidFromText("{87C23E9F-067C-11D3-A9BF-00A024930AD4}");
constexpr const char* kStolvexProgId = "STOLVEX.StolvexCtrl.1";
constexpr const char* kStolvexPropPageProgId = "STOLVEX.StolvexPropPage.1";

// Members of _DStolvex.
enum StolvexDispid : DISPID {
  dispidImagePath = 1,
  dispidGameMode = 2,
  dispidUserColor = 3,
  dispidNumOfAdvatage = 4,
  dispidLogicalPos = 5,
  dispidBreakPoint = 6,
  dispidEnable = 7,
  dispidRotate = 8,
  dispidTest = 9,
  dispidGoPrev = 10,
  dispidGoNext = 11,
  dispidSetDrawStone = 12,
  dispidGetStone = 13,
  dispidGetStoneList = 14,
  dispidSetDrawChar = 15,
  dispidRedraw = 16,
  dispidSetStoneList = 17,
  dispidGetLastColor = 18,
  dispidAgain = 19,
  dispidSetSizeControl = 20,
  dispidInit = 21,
  dispidGetResult = 22,
  dispidSetHandicap = 23,
  dispidGetAreaInfo = 24,
  dispidRemoveStone = 25,
  dispidSetStone = 26,
  dispidUnCheckStone = 27,
  dispidGetChangedCount = 28,
  dispidSetMyTurn = 29,
  dispidSetDrawNinePoint = 30,
  dispidSetDrawNumber = 31,
  dispidSetDrawLastPoint = 32,
  dispidGetStone2 = 33,
  dispidGetBigPos = 34,
  dispidSetBigPos = 35,
};

// Events of _DStolvexEvents.
enum StolvexEventId : DISPID {
  eventidNumOfEat = 1,
  eventidErrorEvent = 2,
  eventidPosition = 3,
};

// Automation error codes raised by the array-returning members.
constexpr WORD kStolvexErrorUnexpected = 1003;
constexpr WORD kStolvexErrorOutOfMemory = 1004;

// Resources of the control module.
enum StolvexResourceId : UINT {
  IDS_STOLVEX = 1,              // user type name
  IDS_STOLVEX_PPG = 2,          // property page name
  IDB_STOLVEX = 1,              // toolbox bitmap
  IDC_ARROW_CURSOR = 104,
  IDR_BOARD_MENU = 105,
  IDS_STOLVEX_PPG_CAPTION = 200,
  IDD_PROPPAGE_STOLVEX = 200,
  IDC_PLAY_CURSOR = 207,
  IDB_RESULT_NEUTRAL = 212,     // result value 1 on an empty point (drawn through the mask)
  IDB_RESULT_BLACK = 218,       // result value with the Black bit
  IDB_RESULT_WHITE = 219,       // result value with the White bit (drawn through the mask)
  IDB_RESULT_MASK = 221,
  IDB_BOARD = 222,
  IDB_STAR_POINT = 227,
  IDB_LAST_MOVE_SMALL = 287,
  IDB_LAST_MOVE_MEDIUM = 289,
  IDB_DEAD_ON_BLACK = 308,
  IDB_DEAD_ON_WHITE = 309,
  IDB_TERRITORY = 310,
  IDB_LAST_MOVE_LARGE = 324,
};

// Commands of the context menu.
constexpr UINT ID_ROTATE_BOARD = 32768;
constexpr UINT ID_SHOW_COORDINATES = 32769;

// Version of the module file and of the control's persisted state.
constexpr WORD kStolvexFileVersion[4] = {1, 0, 0, 1};
constexpr const char* kStolvexFileDescription = "Stolvex ActiveX Control Module";
constexpr const char* kStolvexInternalName = "Stolvex";
constexpr const char* kStolvexOriginalFilename = "Stolvex.OCX";
constexpr WORD kStolvexVersionMajor = 1;
constexpr WORD kStolvexVersionMinor = 0;
