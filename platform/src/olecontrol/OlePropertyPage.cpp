#include <optional>

#include "platform/olecontrol.h"
#include "platform/resources.h"

COlePropertyPage::COlePropertyPage(UINT templateId, UINT captionId)
    : CDialog(templateId), m_templateId(templateId), m_captionId(captionId) {}

COlePropertyPage::~COlePropertyPage() {
  if (m_hWnd) DestroyWindow();
  if (m_module) m_module->Unlock();
}

HRESULT COlePropertyPage::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOlePropertyPage) *ppv = static_cast<IOlePropertyPage*>(this);
  if (!*ppv) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG COlePropertyPage::AddRef() { return ++m_refs; }

ULONG COlePropertyPage::Release() {
  ULONG left = --m_refs;
  if (left == 0) {
    m_refs = 1u << 30;
    delete this;
  }
  return left;
}

void COlePropertyPage::BindToModule(CComModule* module, HINSTANCE resources) {
  if (m_module || !module) return;
  m_module = module;
  m_resources = resources;
  m_module->Lock();
}

void COlePropertyPage::SetHelpInfo(LPCTSTR docString, LPCTSTR helpFile, DWORD helpContext) {
  m_docString = docString ? docString : "";
  m_helpFile = helpFile ? helpFile : "";
  m_helpContext = helpContext;
}

HRESULT COlePropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  if (!info) return E_POINTER;
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  *info = PROPPAGEINFO{};
  AfxLoadStringResource(m_captionId, info->title);
  if (const platform::DialogTemplate* tmpl = platform::FindDialogTemplate(MAKEINTRESOURCE(m_templateId))) {
    SIZE units = platform::DialogBaseUnits(tmpl->fontName, tmpl->fontSize);
    RECT r = platform::DialogUnitsToPixels(0, 0, tmpl->cx, tmpl->cy, units);
    info->size = SIZE{r.right - r.left, r.bottom - r.top};
  }
  info->docString = m_docString;
  info->helpFile = m_helpFile;
  return S_OK;
}

HRESULT COlePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count && !objects) return E_POINTER;
  m_objects.clear();
  for (ULONG i = 0; i < count; ++i) m_objects.emplace_back(objects[i]);
  return S_OK;
}

HRESULT COlePropertyPage::Activate(HWND parent, const RECT* rect, BOOL) {
  if (m_hWnd) return E_UNEXPECTED;
  std::optional<platform::ResourceScope> scope;
  if (m_resources) scope.emplace(m_resources);
  if (!Create(m_templateId, CWnd::FromHandle(parent))) return E_FAIL;
  if (rect) MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  ShowWindow(SW_SHOW);
  return S_OK;
}

HRESULT COlePropertyPage::Deactivate() {
  if (m_hWnd) DestroyWindow();
  return S_OK;
}

HRESULT COlePropertyPage::Apply() {
  if (m_hWnd && !UpdateData(TRUE)) return S_FALSE;
  m_modified = FALSE;
  return S_OK;
}

HRESULT COlePropertyPage::IsPageDirty() { return m_modified ? S_OK : S_FALSE; }

void DDP_PostProcessing(CDataExchange*) {}
