#pragma once
// CRegistryValue: one registry value's type and bytes, in memory the object owns.

#include <cstddef>
#include <memory>

#include "platform/strings.h"
#include "platform/types.h"

class CRegistryValue {
public:
  CRegistryValue() = default;
  CRegistryValue(const CRegistryValue&) = delete;
  CRegistryValue& operator=(const CRegistryValue&) = delete;

  // Frees any present data, then holds size fresh bytes; returns them.
  BYTE* Alloc(DWORD size);
  // No data afterwards (size 0).
  void Free();
  void SetType(DWORD type) { m_type = type; }

  // Text types (REG_SZ, REG_EXPAND_SZ, REG_LINK): the data up to its first NUL or its stored size,
  // whichever comes first, into text; 1. Any other type: 0, text unchanged.
  int GetString(CString& text) const;

  BYTE* GetData() const { return m_data.get(); }
  DWORD GetSize() const { return m_size; }
  DWORD GetType() const { return m_type; }

private:
  std::unique_ptr<BYTE[]> m_data;
  DWORD m_size{0};
  DWORD m_type{0};
};
