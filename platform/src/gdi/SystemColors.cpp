// System colours, their brushes, and system metrics.
#include <array>
#include <mutex>

#include "GdiObjects.h"
#include "platform/gdi.h"
#include "platform/windows.h"

using namespace platform::gdi;

namespace {

constexpr std::array<COLORREF, COLOR_INFOBK + 1> kClassicColors = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(223, 223, 223),  // 3-D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
};

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassicColors.size())) return 0;
  return kClassicColors[static_cast<std::size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= static_cast<int>(kClassicColors.size())) return nullptr;
  static std::mutex mutex;
  static std::array<std::uintptr_t, COLOR_INFOBK + 1> brushes{};
  std::lock_guard lock(mutex);
  std::uintptr_t& handle = brushes[static_cast<std::size_t>(index)];
  if (handle == 0) {
    // Like stock objects, these brushes belong to the system and survive DeleteObject.
    auto brush = std::make_shared<BrushData>();
    brush->color = GetSysColor(index);
    brush->stock = true;
    handle = HandleTable::Instance().Add(brush);
  }
  return HandleOf<HBRUSH>(handle);
}

int GetSystemMetrics(int index) {
  SIZE screen = platform::GetScreenSize();
  switch (index) {
    case SM_CXSCREEN: return screen.cx;
    case SM_CYSCREEN: return screen.cy;
    case SM_CXFULLSCREEN: return screen.cx;
    case SM_CYFULLSCREEN: return screen.cy - 18;
    case SM_CXMAXIMIZED: return screen.cx + 8;
    case SM_CYMAXIMIZED: return screen.cy + 8;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYCAPTION:
    case SM_CYMENU:
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    default: return 0;
  }
}
