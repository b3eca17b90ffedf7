#pragma once
// The dual automation interfaces of the move history objects, with their identifiers.

#include "platform/com_dispatch.h"

constexpr IID IID_IStoneList = GuidFromText("{87C23EA0-067C-11D3-A9BF-00A024930AD4}");
constexpr IID IID_IStoneInfo = GuidFromText("{87C23EA2-067C-11D3-A9BF-00A024930AD4}");

// One move record. Every getter answers E_POINTER for a null out pointer; the array getters copy
// at most the change count.
class IStoneInfo : public IDispatch {
public:
  virtual HRESULT STDMETHODCALLTYPE get_Sequence(SHORT* sequence) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NumOfChanged(SHORT* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPrevValue(LONG nSize, SHORT* prevValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAfterValue(LONG nSize, SHORT* afterValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChangedPos(LONG nSize, SHORT* changedPos) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSelfColor(SHORT* colour) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSelfPos(SHORT* position) = 0;
  // A new string the caller frees.
  virtual HRESULT STDMETHODCALLTYPE get_PosOfDim(BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Character(SHORT* character) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Character(SHORT character) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPrevSeq(LONG nSize, SHORT* prevSeq) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAfterSeq(LONG nSize, SHORT* afterSeq) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInvalidPos(SHORT* koPoint) = 0;
  // Takes the ko point from the pointed value.
  virtual HRESULT STDMETHODCALLTYPE SetInvalidPos(SHORT* koPoint) = 0;
  // The state word comes last in the vtable, after the ko point, as callers built against the
  // interface expect.
  virtual HRESULT STDMETHODCALLTYPE get_State(SHORT* state) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_State(SHORT state) = 0;
};
COM_INTERFACE_ID(IStoneInfo, IID_IStoneInfo);

// The move history: item k (1-based) is the record of move k, as a VARIANT holding its IDispatch.
class IStoneList : public IDispatch {
public:
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
  // Appends a copy of var; a copy that fails is appended as VT_ERROR with its code. Always S_OK.
  virtual HRESULT STDMETHODCALLTYPE Add(VARIANT var) = 0;
  // Removes item lIndex (1..Count); E_INVALIDARG otherwise.
  virtual HRESULT STDMETHODCALLTYPE Remove(LONG lIndex) = 0;
  // A copy of the first item whose record's own point is index; E_INVALIDARG when none.
  virtual HRESULT STDMETHODCALLTYPE GetStone(LONG index, VARIANT* pVal) = 0;
  // A new enumerator at the first item.
  virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
  // A copy of item index; an index below 1 gives item 1; E_FAIL past the end.
  virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT* pVal) = 0;
};
COM_INTERFACE_ID(IStoneList, IID_IStoneList);
