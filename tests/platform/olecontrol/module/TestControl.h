#pragma once
// The identifiers of the control test module: a small windowed control with properties, methods,
// events, persisted state and a property page, reached only through the registry.

#include "platform/com.h"

constexpr CLSID CLSID_TestControl = GuidFromText("{5B0E7A20-3C41-4F6D-8E2A-91C04D7B3E01}");
constexpr IID DIID_DTestControl = GuidFromText("{5B0E7A21-3C41-4F6D-8E2A-91C04D7B3E01}");
constexpr IID DIID_DTestControlEvents = GuidFromText("{5B0E7A22-3C41-4F6D-8E2A-91C04D7B3E01}");
constexpr CLSID CLSID_TestControlPage = GuidFromText("{5B0E7A23-3C41-4F6D-8E2A-91C04D7B3E01}");
constexpr GUID LIBID_TestControlLib = GuidFromText("{5B0E7A24-3C41-4F6D-8E2A-91C04D7B3E01}");
constexpr const char* kTestControlProgId = "TESTCONTROL.TestControlCtrl.1";
constexpr const char* kTestControlPageProgId = "TESTCONTROL.TestControlPropPage.1";

// Members by place in the dispatch map, and one with its own id.
enum TestControlDispid : LONG {
  kCtrlCaption = 1,      // BSTR property; the default is string 300 of the control's resources
  kCtrlColor = 2,        // long property: the background colour; putting it repaints
  kCtrlAdd = 3,          // long Add(short a, short b)
  kCtrlFail = 4,         // Fail(short code): raises an automation exception (scode 0x800A0000 + code)
  kCtrlSetSize = 5,      // SetSizeControl(short cx, short cy)
  kCtrlIsModified = 6,   // short: the modified flag
  kCtrlSetCursorHits = 7,  // short: WM_SETCURSOR messages seen
  kCtrlFireBad = 8,      // fires Clicked with too few arguments (must fire nothing)
  kCtrlPaints = 60,      // long: OnDraw calls
};

// Events by place in the event map.
enum TestControlEventId : LONG {
  kEventClicked = 1,      // (short x, short y, long hwnd) on a left click
  kEventContextMenu = 2,  // (short x, short y) on WM_CONTEXTMENU, screen coordinates
  kEventResized = 3,      // (BSTR text) "cx x cy" on WM_SIZE
};

// Resource ids of the control module (they overlap the host's on purpose).
constexpr UINT kCtrlTypeNameId = 1;
constexpr UINT kCtrlPageNameId = 2;
constexpr UINT kCtrlPageCaptionId = 200;
constexpr UINT kCtrlPageTemplateId = 200;
constexpr UINT kCtrlDefaultCaptionId = 300;

// The size of a new control, and the version it persists.
constexpr int kCtrlInitialCx = 120;
constexpr int kCtrlInitialCy = 80;
constexpr DWORD kCtrlVersion = 0x00010000;
