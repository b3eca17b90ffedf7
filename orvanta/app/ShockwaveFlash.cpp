#include "orvanta/app/ShockwaveFlash.h"

#include <platform/registry.h>

namespace {
constexpr DISPID kMovie = 102;
constexpr DISPID kPlay = 112;
constexpr DISPID kBackgroundColor = 123;
}  // namespace

void CShockwaveFlash::SetMovie(LPCTSTR path) {
  static const BYTE params[] = VTS_BSTR;
  InvokeHelper(kMovie, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, params, path);
}

void CShockwaveFlash::SetBackgroundColor(long colour) {
  static const BYTE params[] = VTS_I4;
  InvokeHelper(kBackgroundColor, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, params, colour);
}

void CShockwaveFlash::Play() { InvokeHelper(kPlay, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr); }

BOOL CShockwaveFlash::IsInstalled() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, kClassKey, 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return FALSE;
  RegCloseKey(key);
  return TRUE;
}
