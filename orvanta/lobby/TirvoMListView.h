#pragma once
// CTirvoMListView: the game rooms with a professional player (view 5003), shown in place of the
// room list in the waiting rooms of kinds "3" and "4". A double-click joins the chosen room.

#include <platform/controls.h>
#include <platform/view.h>

class CCommunityHost;

class CTirvoMListView : public CView {
  DECLARE_DYNCREATE(CTirvoMListView)
public:
  static constexpr UINT kListId = 1;
  static constexpr int kColumns = 7;

  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override;

  // Message 51: a first page empties the list; every room adds a row.
  void OnRoomList(const CString& payload);
  // Joins the selected room; without one, a message.
  void JoinSelectedRoom();
  void SaveColumnWidths();

  CListCtrl& GetList() { return m_list; }
  int GetAddedCount() const { return m_nAdded; }

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnSize(UINT type, int cx, int cy);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

private:
  CCommunityHost* GetFrame() const;

  CListCtrl m_list;
  int m_sortFlags[kColumns]{};
  int m_nAdded{0};  // rooms added since the list was last emptied
};
