#include "platform/com_object.h"
#include "platform/com_variant.h"

namespace {

class CErrorInfo final : public CComObjectImpl<IErrorInfo, ICreateErrorInfo> {
public:
  HRESULT STDMETHODCALLTYPE GetGUID(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = m_guid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSource(BSTR* source) override { return CopyOut(m_source, source); }
  HRESULT STDMETHODCALLTYPE GetDescription(BSTR* description) override {
    return CopyOut(m_description, description);
  }
  HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* helpFile) override { return CopyOut(m_helpFile, helpFile); }
  HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* helpContext) override {
    if (!helpContext) return E_INVALIDARG;
    *helpContext = m_helpContext;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) override {
    m_guid = guid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSource(LPCOLESTR source) override { return Keep(source, m_source); }
  HRESULT STDMETHODCALLTYPE SetDescription(LPCOLESTR description) override {
    return Keep(description, m_description);
  }
  HRESULT STDMETHODCALLTYPE SetHelpFile(LPCOLESTR helpFile) override { return Keep(helpFile, m_helpFile); }
  HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD helpContext) override {
    m_helpContext = helpContext;
    return S_OK;
  }

private:
  static HRESULT CopyOut(const CComBSTR& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = text.Copy();
    return (text.m_str && !*out) ? E_OUTOFMEMORY : S_OK;
  }
  static HRESULT Keep(LPCOLESTR text, CComBSTR& field) {
    field.Attach(SysAllocString(text));
    return (text && !field.m_str) ? E_OUTOFMEMORY : S_OK;
  }

  GUID m_guid{};
  CComBSTR m_source;
  CComBSTR m_description;
  CComBSTR m_helpFile;
  DWORD m_helpContext{0};
};

// Error information is per thread, as each thread reports its own last failure.
thread_local CComPtr<IErrorInfo> t_errorInfo;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** created) {
  if (!created) return E_INVALIDARG;
  CErrorInfo* info = CErrorInfo::Create<CErrorInfo>();
  *created = info;
  return info ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(DWORD, IErrorInfo* info) {
  t_errorInfo = info;
  return S_OK;
}

HRESULT GetErrorInfo(DWORD, IErrorInfo** info) {
  if (!info) return E_INVALIDARG;
  *info = t_errorInfo.Detach();
  return *info ? S_OK : S_FALSE;
}

HRESULT ReportError(HRESULT hr, REFIID iid, const char* source, const char* description) {
  CComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(&create))) return hr;
  create->SetGUID(iid);
  create->SetSource(CComBSTR(source));
  create->SetDescription(CComBSTR(description));
  CComPtr<IErrorInfo> info;
  if (SUCCEEDED(create->QueryInterface(&info))) SetErrorInfo(0, info);
  return hr;
}
