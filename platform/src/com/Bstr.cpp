#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/com_variant.h"

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::uint32_t* PrefixOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kPrefix);
}

std::size_t LengthOf(LPCOLESTR text) {
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

BSTR SysAllocStringLen(LPCOLESTR text, UINT length) {
  // The byte count must fit the 32-bit prefix.
  if (length > (std::numeric_limits<std::uint32_t>::max() - kPrefix) / sizeof(OLECHAR) - 1) return nullptr;
  std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  std::uint32_t prefix = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &prefix, kPrefix);
  BSTR result = reinterpret_cast<BSTR>(block + kPrefix);
  if (text)
    std::memcpy(result, text, bytes);
  else
    std::memset(result, 0, bytes);
  result[length] = 0;
  return result;
}

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  std::size_t length = LengthOf(text);
  if (length > std::numeric_limits<UINT>::max()) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t bytes;
  std::memcpy(&bytes, PrefixOf(text), kPrefix);
  return bytes;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

BSTR Cp949ToBstr(std::string_view cp949) {
  std::u16string wide = Cp949ToUtf16(cp949);
  if (wide.size() > std::numeric_limits<UINT>::max()) return nullptr;
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

CString BstrToCp949(BSTR text) {
  if (!text) return CString();
  return Utf16ToCp949(std::u16string_view(text, SysStringLen(text)));
}

CComBSTR& CComBSTR::operator=(const CComBSTR& other) {
  if (this != std::addressof(other)) Attach(other.Copy());
  return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept {
  if (this != std::addressof(other)) Attach(other.Detach());
  return *this;
}

BSTR* CComBSTR::operator&() {
  SysFreeString(m_str);
  m_str = nullptr;
  return &m_str;
}
