#include "client/widgets/RegistryValue.h"

#include <cstring>
#include <string>

#include "platform/registry.h"

BYTE* CRegistryValue::Alloc(DWORD size) {
  Free();
  // One spare byte so a zero-size value still has a buffer to query into.
  m_data = std::make_unique<BYTE[]>(static_cast<std::size_t>(size) + 1);
  m_size = size;
  return m_data.get();
}

void CRegistryValue::Free() {
  m_data.reset();
  m_size = 0;
}

int CRegistryValue::GetString(CString& text) const {
  if (m_type != REG_SZ && m_type != REG_EXPAND_SZ && m_type != REG_LINK) return 0;
  // A stored text need not carry its terminator: never look beyond the stored bytes.
  const char* bytes = reinterpret_cast<const char*>(m_data.get());
  const std::size_t length = bytes ? strnlen(bytes, m_size) : 0;
  text = std::string(bytes ? bytes : "", length).c_str();
  return 1;
}
