#include "control/StoneList.h"

#include "control/StoneEnum.h"
#include "platform/msgbox.h"

CStoneList::CStoneList(CComModule* module) : CDispatchObject(module) { m_items.reserve(400); }

CStoneList::~CStoneList() = default;

const CDispatchTable<CStoneList>& CStoneList::DispatchTable() {
  using T = CDispatchTable<CStoneList>;
  static const T table{
      T::Get("Count", 1, &IStoneList::get_Count),
      T::Method("Add", 2, &IStoneList::Add),
      T::Method("Remove", 3, &IStoneList::Remove),
      T::MethodWithResult("GetStone", 4, &IStoneList::GetStone),
      T::Get("_NewEnum", DISPID_NEWENUM, &IStoneList::get__NewEnum),
      T::Get("Item", DISPID_VALUE, &IStoneList::get_Item)};
  return table;
}

// ---- IStoneList ----------------------------------------------------------------------------------

HRESULT CStoneList::get_Count(LONG* count) {
  if (!count)
    return E_POINTER;
  *count = static_cast<LONG>(Count());
  return S_OK;
}

HRESULT CStoneList::Add(VARIANT var) {
  Entry entry;
  const HRESULT hr = VariantCopy(&entry.value, &var);
  if (FAILED(hr)) {
    entry.value.vt = VT_ERROR;
    entry.value.scode = hr;
  } else if (entry.value.vt == VT_DISPATCH && entry.value.pdispVal) {
    entry.record = dynamic_cast<CStoneInfo*>(entry.value.pdispVal);
  }
  m_items.push_back(std::move(entry));
  return S_OK;
}

HRESULT CStoneList::Remove(LONG lIndex) { return RemoveAt(lIndex) ? S_OK : E_INVALIDARG; }

HRESULT CStoneList::GetStone(LONG index, VARIANT* pVal) {
  if (!pVal)
    return E_POINTER;
  for (long k = 1; k <= Count(); ++k) {
    const VARIANT& item = m_items[k - 1].value;
    if (item.vt != VT_DISPATCH || !item.pdispVal)
      continue;
    CComPtr<IStoneInfo> info;
    SHORT self = 0;
    if (FAILED(item.pdispVal->QueryInterface(IID_IStoneInfo, reinterpret_cast<void**>(&info))) ||
        FAILED(info->GetSelfPos(&self)) || self != index)
      continue;
    const HRESULT hr = CopyItem(k, pVal);
    if (FAILED(hr))
      AfxMessageBox("Can't get the Item.");
    return hr;
  }
  return E_INVALIDARG;
}

HRESULT CStoneList::get__NewEnum(IUnknown** enumerator) {
  if (!enumerator)
    return E_POINTER;
  CStoneEnum* created = CComObjectImpl::Create<CStoneEnum>(this, OwningModule());
  *enumerator = created ? created->GetUnknown() : nullptr;
  return created ? S_OK : E_OUTOFMEMORY;
}

HRESULT CStoneList::get_Item(LONG index, VARIANT* pVal) {
  if (!pVal)
    return E_POINTER;
  return CopyItem(index < 1 ? 1 : index, pVal);
}

HRESULT CStoneList::InterfaceSupportsErrorInfo(REFIID riid) { return riid == IID_IStoneList ? S_OK : S_FALSE; }

// ---- The board's side ----------------------------------------------------------------------------

void CStoneList::Add(CStoneInfo* record) {
  Entry entry;
  entry.value.vt = VT_DISPATCH;
  entry.value.pdispVal = record;
  record->AddRef();
  entry.record = record;
  m_items.push_back(std::move(entry));
}

bool CStoneList::RemoveAt(long index) {
  if (index < 1 || index > Count())
    return false;
  m_items.erase(m_items.begin() + (index - 1));
  return true;
}

CStoneInfo* CStoneList::At(long index) const {
  if (index < 1 || index > Count())
    return nullptr;
  return m_items[index - 1].record;
}

CStoneInfo* CStoneList::FindBySelfPos(int position) const {
  for (const Entry& entry : m_items) {
    if (entry.record && entry.record->SelfPos() == position)
      return entry.record;
  }
  return nullptr;
}

void CStoneList::TruncateTo(long count) {
  if (count >= 0 && count < Count())
    m_items.resize(count);
}

HRESULT CStoneList::CopyItem(long index, VARIANT* out) const {
  VariantClear(out);
  if (index < 1 || index > Count())
    return E_FAIL;
  return VariantCopy(out, &m_items[index - 1].value);
}
