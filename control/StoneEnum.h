#pragma once
// Enumerator over the items of a move history, holding a reference to the list.

#include "control/StolvexInterfaces.h"
#include "platform/com_object.h"

class CStoneList;

class CStoneEnum : public CComObjectImpl<IEnumVARIANT> {
public:
  // Starts at the first item of list (null: every call fails with E_FAIL).
  CStoneEnum(CStoneList* list, CComModule* module = nullptr, long position = 0);

  HRESULT STDMETHODCALLTYPE Next(ULONG celt, VARIANT* rgVar, ULONG* pceltFetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** clone) override;

private:
  ~CStoneEnum() override;

  CStoneList* m_list{nullptr};  // holds one reference
  long m_position{0};           // 0-based index of the next item
};
