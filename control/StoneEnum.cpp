#include "control/StoneEnum.h"

#include "control/StoneList.h"

CStoneEnum::CStoneEnum(CStoneList* list, CComModule* module, long position)
    : CComObjectImpl(module), m_list(list), m_position(position) {
  if (m_list)
    m_list->AddRef();
}

CStoneEnum::~CStoneEnum() {
  if (m_list)
    m_list->Release();
}

HRESULT CStoneEnum::Next(ULONG celt, VARIANT* rgVar, ULONG* pceltFetched) {
  if (!rgVar || (celt != 1 && !pceltFetched))
    return E_POINTER;
  if (pceltFetched)
    *pceltFetched = 0;
  if (!m_list)
    return E_FAIL;
  ULONG fetched = 0;
  for (; fetched < celt && m_position < m_list->Count(); ++fetched) {
    VariantInit(&rgVar[fetched]);
    const HRESULT hr = m_list->CopyItem(m_position + 1, &rgVar[fetched]);
    if (FAILED(hr)) {
      for (ULONG k = 0; k < fetched; ++k)
        VariantClear(&rgVar[k]);
      return hr;
    }
    ++m_position;
  }
  if (pceltFetched)
    *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT CStoneEnum::Skip(ULONG celt) {
  if (!m_list)
    return E_FAIL;
  const long left = m_list->Count() - m_position;
  const long step = static_cast<long>(celt) < left ? static_cast<long>(celt) : left;
  m_position += step;
  return step == static_cast<long>(celt) ? S_OK : S_FALSE;
}

HRESULT CStoneEnum::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT CStoneEnum::Clone(IEnumVARIANT** clone) {
  if (!clone)
    return E_POINTER;
  CStoneEnum* copy = Create<CStoneEnum>(m_list, OwningModule(), m_position);
  *clone = copy;
  return copy ? S_OK : E_OUTOFMEMORY;
}
