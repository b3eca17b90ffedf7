#include <cstdio>

#include "platform/com_dispatch.h"

BOOL COleException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  char text[64];
  std::snprintf(text, sizeof text, "Automation call failed (0x%08X).", static_cast<unsigned>(m_sc));
  return platform::CopyToBuffer(text, buffer, maxChars);
}

COleDispatchException::COleDispatchException(const char* description, UINT helpId, WORD code)
    : m_wCode(code), m_strDescription(description), m_dwHelpContext(helpId) {}

BOOL COleDispatchException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const {
  if (helpContext) *helpContext = m_dwHelpContext;
  return platform::CopyToBuffer(m_strDescription, buffer, maxChars);
}

void AfxThrowOleException(SCODE sc) { throw new COleException(sc); }

void AfxThrowOleDispatchException(WORD code, const char* description, UINT helpId) {
  throw new COleDispatchException(description, helpId, code);
}

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}
