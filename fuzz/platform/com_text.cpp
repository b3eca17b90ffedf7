// Text the automation layer parses: GUIDs read back from the registry, and strings coerced to
// numbers and booleans when they arrive as arguments of Invoke.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"
#include "platform/com_variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  GUID guid;
  if (ParseGuid(text, guid) && GuidToString(guid).CompareNoCase(std::string(text).c_str()) != 0) __builtin_trap();

  std::u16string wide(text.begin(), text.end());
  CLSID clsid;
  CLSIDFromString(wide.c_str(), &clsid);

  CComVariant value;
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  const VARTYPE targets[] = {VT_I2, VT_I4, VT_BOOL, VT_BSTR};
  for (VARTYPE vt : targets) {
    CComVariant converted;
    VariantChangeType(&converted, &value, 0, vt);
  }
  return 0;
}
