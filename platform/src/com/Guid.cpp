#include <cstdio>
#include <string>

#include "platform/com.h"

CString GuidToString(REFGUID guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1,
                guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return CString(text);
}

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int cchMax) {
  constexpr int kLength = 38;
  if (!buffer || cchMax < kLength + 1) return 0;
  CString text = GuidToString(guid);
  for (int i = 0; i < kLength; ++i) buffer[i] = static_cast<OLECHAR>(text[i]);
  buffer[kLength] = 0;
  return kLength + 1;
}

namespace {

// The ASCII text of a UTF-16 string; any other character makes it unparseable.
bool AsciiOf(LPCOLESTR text, std::string& out) {
  out.clear();
  for (; *text; ++text) {
    if (*text > 0x7F || out.size() > 64) return false;
    out += static_cast<char>(*text);
  }
  return true;
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (!clsid) return E_INVALIDARG;
  *clsid = GUID_NULL;
  if (!text) return CO_E_CLASSSTRING;
  std::string ascii;
  if (!AsciiOf(text, ascii) || !ParseGuid(ascii, *clsid)) return CO_E_CLASSSTRING;
  return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid) {
  HRESULT hr = CLSIDFromString(text, iid);
  return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
