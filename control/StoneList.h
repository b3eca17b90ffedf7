#pragma once
// The move history of one board: move records in the order the moves were applied; item k
// (1-based) is the record of move k. An automation object (IStoneList) whose items are VARIANTs;
// items that hold one of our own records are also kept as typed pointers for the board's walks.

#include <vector>

#include "control/StoneInfo.h"
#include "control/StolvexInterfaces.h"

class CStoneList : public CDispatchObject<CStoneList, IStoneList, ISupportErrorInfo> {
public:
  // module (may be null) counts the list while it lives.
  explicit CStoneList(CComModule* module = nullptr);

  static const CDispatchTable<CStoneList>& DispatchTable();

  // ---- IStoneList ----
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override;
  HRESULT STDMETHODCALLTYPE Add(VARIANT var) override;
  HRESULT STDMETHODCALLTYPE Remove(LONG lIndex) override;
  HRESULT STDMETHODCALLTYPE GetStone(LONG index, VARIANT* pVal) override;
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) override;
  HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT* pVal) override;

  // ---- ISupportErrorInfo ----
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

  // ---- The board's side ----
  long Count() const { return static_cast<long>(m_items.size()); }
  // Appends the record as an item holding a reference to it.
  void Add(CStoneInfo* record);
  // Removes and releases item index (1..Count); false for any other index.
  bool RemoveAt(long index);
  // The record of item index (1..Count) without taking a reference; null for any other index
  // and for an item that holds no record of ours.
  CStoneInfo* At(long index) const;
  // The collection's item rule: an index below 1 gives item 1; null past the end.
  CStoneInfo* Item(long index) const { return At(index < 1 ? 1 : index); }
  // The first record, in list order, whose own point is position; null when none.
  CStoneInfo* FindBySelfPos(int position) const;
  // Removes items from the end until count remain.
  void TruncateTo(long count);
  // Copies item index (1..Count) into out (cleared first); E_FAIL for any other index.
  HRESULT CopyItem(long index, VARIANT* out) const;

private:
  struct Entry {
    CComVariant value;              // what callers see
    CStoneInfo* record{nullptr};    // the same object when it is one of our records
  };

  ~CStoneList() override;

  std::vector<Entry> m_items;
};
