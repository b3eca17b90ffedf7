#include "platform/olecontrol.h"

CPropExchange::CPropExchange(Mode mode, const BYTE* data, ULONG size) : m_mode(mode) {
  if (mode == Mode::Load && data) m_stream.assign(data, data + size);
}

BOOL CPropExchange::ExchangeVersion(DWORD& version, DWORD versionDefault) {
  LONG value = static_cast<LONG>(versionDefault);
  BOOL ok = ExchangeLong(value, static_cast<LONG>(versionDefault));
  m_version = static_cast<DWORD>(value);
  version = m_version;
  return ok;
}

BOOL CPropExchange::ExchangeLong(LONG& value, LONG defaultValue) {
  auto bits = static_cast<std::uint32_t>(value);
  switch (m_mode) {
    case Mode::Save:
      for (int shift = 0; shift < 32; shift += 8) m_stream.push_back(static_cast<BYTE>(bits >> shift));
      return TRUE;
    case Mode::Reset:
      value = defaultValue;
      return TRUE;
    case Mode::Load:
      break;
  }
  if (m_stream.size() - m_readPos < 4) {
    value = defaultValue;
    m_ok = FALSE;
    return FALSE;
  }
  bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | m_stream[m_readPos + i];
  m_readPos += 4;
  value = static_cast<LONG>(bits);
  return TRUE;
}
