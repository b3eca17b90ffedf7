#include <new>
#include <vector>

#include "platform/com_dispatch.h"

namespace {

// Case-insensitive match of a UTF-16 name against an ASCII member name.
bool NameMatches(LPCOLESTR name, const CString& member) {
  int i = 0;
  for (; name[i]; ++i) {
    if (i >= member.GetLength()) return false;
    char16_t a = name[i];
    char16_t b = static_cast<unsigned char>(member[i]);
    if (a >= u'A' && a <= u'Z') a = a - u'A' + u'a';
    if (b >= u'A' && b <= u'Z') b = b - u'A' + u'a';
    if (a != b) return false;
  }
  return i == member.GetLength();
}

// The coerced arguments of one call, in declaration order; owns the converted values.
class DispArguments {
public:
  DispArguments() = default;
  DispArguments(const DispArguments&) = delete;
  DispArguments& operator=(const DispArguments&) = delete;
  ~DispArguments() {
    for (std::size_t i = 0; i < m_slots.size(); ++i)
      if (m_owned[i]) VariantClear(&m_slots[i]);
  }

  // Fills the slots from params (rgvarg is last-first); on a failure *argErr names the argument.
  HRESULT Coerce(const DispMemberInfo& member, DISPPARAMS& params, UINT* argErr) {
    UINT n = params.cArgs;
    m_slots.assign(n, VARIANT{});
    m_owned.assign(n, false);
    for (UINT i = 0; i < n; ++i) {
      UINT position = n - 1 - i;
      HRESULT hr = CoerceOne(member.params[i], params.rgvarg[position], i);
      if (FAILED(hr)) {
        if (argErr) *argErr = position;
        return hr;
      }
    }
    return S_OK;
  }
  VARIANT* data() { return m_slots.data(); }

private:
  HRESULT CoerceOne(VARTYPE want, VARIANT& arg, UINT i) {
    if (want == VT_VARIANT) {
      m_slots[i] = (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal) ? *arg.pvarVal : arg;
      return S_OK;
    }
    if (want & VT_BYREF) return Reference(want, arg, m_slots[i]);
    HRESULT hr = VariantChangeType(&m_slots[i], &arg, 0, want);
    if (SUCCEEDED(hr)) m_owned[i] = true;
    return hr;
  }

  // A by-reference argument must point at storage of the parameter's own type; a VARIANT
  // parameter by reference accepts any argument and sees the caller's VARIANT.
  static HRESULT Reference(VARTYPE want, VARIANT& arg, VARIANT& slot) {
    VARTYPE base = want & ~VT_BYREF;
    slot.vt = want;
    if (base == VT_VARIANT) {
      slot.pvarVal = (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal) ? arg.pvarVal : &arg;
      return S_OK;
    }
    if (arg.vt == want) {
      slot.byref = arg.byref;
      return S_OK;
    }
    if (arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal && arg.pvarVal->vt == base) {
      slot.byref = &arg.pvarVal->byref;
      return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
  }

  std::vector<VARIANT> m_slots;
  std::vector<bool> m_owned;
};

BSTR CopyText(const CString& text) { return text.IsEmpty() ? nullptr : Cp949ToBstr(text.str()); }

void FillFromDispatchException(const COleDispatchException& e, EXCEPINFO* info) {
  if (!info) return;
  ClearExcepInfo(info);
  info->wCode = e.m_wCode;
  info->scode = e.m_wCode ? 0 : (e.m_scError ? e.m_scError : E_FAIL);
  info->bstrSource = CopyText(e.m_strSource);
  info->bstrDescription = CopyText(e.m_strDescription);
  info->bstrHelpFile = CopyText(e.m_strHelpFile);
  info->dwHelpContext = e.m_dwHelpContext;
}

// A failure code returned by a member, with whatever error information it left.
void FillFromErrorInfo(HRESULT hr, EXCEPINFO* info) {
  ClearExcepInfo(info);
  info->scode = hr;
  CComPtr<IErrorInfo> error;
  if (GetErrorInfo(0, &error) != S_OK || !error) return;
  error->GetSource(&info->bstrSource);
  error->GetDescription(&info->bstrDescription);
  error->GetHelpFile(&info->bstrHelpFile);
  error->GetHelpContext(&info->dwHelpContext);
}

}  // namespace

HRESULT CDispatchTableBase::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!names || !ids) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (count == 0) return S_OK;
  if (!names[0]) return DISP_E_UNKNOWNNAME;
  for (const DispMemberInfo& m : m_members) {
    if (NameMatches(names[0], m.name)) {
      ids[0] = m.dispid;
      // Parameters have no names here, so naming one cannot succeed.
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

const DispMemberInfo* CDispatchTableBase::FindMember(DISPID id, WORD kind) const {
  for (const DispMemberInfo& m : m_members)
    if (m.dispid == id && m.kind == kind) return &m;
  return nullptr;
}

int CDispatchTableBase::SelectMember(DISPID id, WORD flags) const {
  const WORD kinds[] = {DISPATCH_PROPERTYPUT, DISPATCH_METHOD, DISPATCH_PROPERTYGET};
  bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  for (WORD kind : kinds) {
    bool wanted = kind == DISPATCH_PROPERTYPUT ? put : !put && (flags & kind);
    if (!wanted) continue;
    if (const DispMemberInfo* m = FindMember(id, kind)) return static_cast<int>(m - m_members.data());
  }
  return -1;
}

HRESULT CDispatchTableBase::Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argErr, const Call& call) const {
  if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
  if (params->cNamedArgs > params->cArgs || (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
    return E_INVALIDARG;
  int index = SelectMember(id, flags);
  if (index < 0) return DISP_E_MEMBERNOTFOUND;
  const DispMemberInfo& member = m_members[index];
  bool namedPut = params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  if (member.kind == DISPATCH_PROPERTYPUT && !namedPut) return DISP_E_PARAMNOTOPTIONAL;
  if (member.kind != DISPATCH_PROPERTYPUT && params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != member.params.size()) return DISP_E_BADPARAMCOUNT;
  DispArguments args;
  HRESULT hr = args.Coerce(member, *params, argErr);
  if (FAILED(hr)) return hr;
  // A result VARIANT reused from an earlier call gives up what it held rather than leaking it.
  if (result && FAILED(VariantClear(result))) VariantInit(result);
  return CallMember(call, static_cast<std::size_t>(index), args.data(), result, exception);
}

HRESULT CDispatchTableBase::CallMember(const Call& call, std::size_t index, VARIANT* args,
                                       VARIANT* result, EXCEPINFO* exception) {
  HRESULT hr;
  SetErrorInfo(0, nullptr);  // only what this call leaves may describe its failure
  try {
    hr = call(index, args, result);
  } catch (COleDispatchException* e) {
    FillFromDispatchException(*e, exception);
    e->Delete();
    return DISP_E_EXCEPTION;
  } catch (COleException* e) {
    hr = FAILED(e->m_sc) ? e->m_sc : E_FAIL;
    e->Delete();
  } catch (CMemoryException* e) {
    e->Delete();
    hr = E_OUTOFMEMORY;
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
  }
  if (FAILED(hr) && exception) {
    FillFromErrorInfo(hr, exception);
    return DISP_E_EXCEPTION;
  }
  return hr;
}
