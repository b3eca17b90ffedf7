#include "orvanta/app/ScreenFlags.h"

namespace {
WORD g_screenFlags = 0;
}

void SetScreenFlag(WORD bit) {
  if (bit == 0)
    g_screenFlags = 0;
  else
    g_screenFlags = static_cast<WORD>(g_screenFlags | bit);
}

void ClearScreenFlag(WORD bit) {
  if (g_screenFlags & bit)
    g_screenFlags = static_cast<WORD>(g_screenFlags & ~bit);
}

WORD GetScreenFlags() { return g_screenFlags; }

WORD ScreenFlagForView(UINT viewId) {
  switch (viewId) {
    case 5000: return kScreenStart;
    case 101: return kScreenWaitingRoom;
    case 134: return kScreenGameRoom;
    case 5003: return kScreenTeachingList;
    default: return 0;
  }
}

void FlagScreenForView(UINT viewId) {
  if (const WORD bit = ScreenFlagForView(viewId))
    SetScreenFlag(bit);
}
