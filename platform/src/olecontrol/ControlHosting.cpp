#include "platform/olehost.h"

BOOL CWnd::CreateControl(const GUID& clsid, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                         UINT id) {
  if (m_hWnd || !parent) return FALSE;
  HWND window = platform::CreateHostedControl(clsid, parent->m_hWnd, rect, id, style, windowName);
  if (!window) return FALSE;
  if (SubclassWindow(window)) return TRUE;
  ::DestroyWindow(window);
  return FALSE;
}

void CWnd::GetProperty(LONG dispid, USHORT vtProp, void* value) {
  InvokeHelper(dispid, DISPATCH_PROPERTYGET, vtProp, value, nullptr);
}

IUnknown* CWnd::GetControlUnknown() const { return platform::HostedControlUnknown(m_hWnd); }

namespace platform {

HWND CreateTemplateControl(const DialogItemTemplate& item, HWND dialog, const RECT& rect) {
  CLSID clsid;
  if (!ParseGuid(item.className.GetString(), clsid)) return nullptr;
  return CreateHostedControl(clsid, dialog, rect, item.id, item.style | WS_CHILD,
                             item.text.IsEmpty() ? nullptr : item.text.GetString());
}

}  // namespace platform
