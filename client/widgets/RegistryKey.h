#pragma once
// CRegistryKey: reads values below one root key of the registry.

#include "platform/registry.h"

class CRegistryValue;

class CRegistryKey {
public:
  explicit CRegistryKey(HKEY root) : m_root(root) {}
  virtual ~CRegistryKey() = default;

  // Reads the value valueName (empty: the key's default value) of subKey into value; 1 on
  // success, else 0. A missing subkey leaves value as it was; a failed read leaves it empty.
  virtual int ReadValue(const char* subKey, const char* valueName, CRegistryValue& value);

  HKEY GetRoot() const { return m_root; }

private:
  HKEY m_root{nullptr};
};
