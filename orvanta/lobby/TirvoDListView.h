#pragma once
// CTirvoDListView: the waiting room (view 101, on its form template). Rooms on the left, the
// users waiting on the right above the chat, three counter labels, the chat input with the chat
// phrases, and the proposing side of play negotiation. It reads what the server sends through
// its handlers and asks for everything through its host, the main frame.

#include <memory>

#include <platform/controls.h>
#include <platform/controls_tooltip.h>
#include <platform/dialog_template.h>
#include <platform/formview.h>

#include "orvanta/lobby/NegotiationAskDlg.h"
#include "orvanta/lobby/RoomListPayload.h"
#include "orvanta/lobby/SortState.h"
#include "orvanta/lobby/UserListPayload.h"
#include "orvanta/widgets/FlatListCtrl.h"

class CLobbyHost;

class CTirvoDListView : public CFormView {
  DECLARE_DYNCREATE(CTirvoDListView)
public:
  static constexpr UINT kTemplateId = 101;
  // Controls of the template.
  static constexpr UINT kRoomList = 1013;
  static constexpr UINT kUserList = 1012;
  static constexpr UINT kChatBox = 1019;
  static constexpr UINT kChatInput = 1015;
  static constexpr UINT kChatInputEdit = 1001;
  static constexpr UINT kRoomKeyLabel = 1263;
  static constexpr UINT kRoomCountLabel = 1155;
  static constexpr UINT kUserCountLabel = 1154;
  static constexpr UINT kRoomAutoUpdate = 1312;
  static constexpr UINT kUserAutoUpdate = 1313;
  // Commands.
  static constexpr UINT kSendMailCommand = 32802;
  static constexpr UINT kRoomInformCommand = 32812;
  static constexpr UINT kJoinRoomCommand = 32813;
  static constexpr UINT kNegoPlayCommand = 32814;
  static constexpr UINT kSendMemoCommand = 32782;
  static constexpr UINT kUserInfoCommand = 61459;
  // Posted to itself to delete a closed negotiation dialog once the dialog's own call is over.
  static constexpr UINT kDeleteNegotiationMessage = WM_USER + 0x1CB;
  static constexpr int kUserColumns = 4;
  static constexpr int kRoomColumns = 9;

  CTirvoDListView();
  ~CTirvoDListView() override;
  static platform::DialogTemplate BuildTemplate();

  // The frame that answers the view's requests; set before the view is created.
  void SetHost(CLobbyHost* host) { m_pHost = host; }

  // --- Server messages ---
  void OnUserList(const CString& payload);
  void OnUserChange(const CString& payload);
  void OnRoomList(const CString& payload);
  void OnRoomChange(const CString& payload);
  void AddChatLine(const CString& payload);
  void OpenNegotiation(const CString& payload);
  void OnNegotiationAnswer(const CString& payload);
  void OnMatchAgreed(const CString& payload);

  // --- Life, layout and settings ---
  void OnInitialUpdate() override;
  void RecalcLayout();
  void SaveColumnWidths();
  // Refills the chat input's list with the non-empty phrases.
  void RefreshChatMacros();
  BOOL PreTranslateMessage(MSG* msg) override;
  // Activated, the view gives the chat input the focus.
  void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;

  // --- Commands ---
  void OnUserInfo();
  void OnNegoPlay();
  void OnSendMemo();
  void OnSendMail();
  void EnterSelectedRoom();
  void OnRoomInform();
  void OnRoomAutoUpdate();
  void OnUserAutoUpdate();
  // Sends text as a chat line and flushes (nothing for an empty or blank text).
  void SendChat(const CString& text);
  // Sorts one list by a column as a click on its header does.
  void SortUserList(int column);
  void SortRoomList(int column);

  // --- Negotiation ---
  // Handler of the negotiation dialog's notification; returns 1.
  LRESULT OnNegoDlgNotify(WPARAM code, LPARAM);
  void CloseNegotiation();
  CNegotiationAskDlg* GetNegotiationDialog() const { return m_pNegotiation.get(); }

  // --- State for the frame and tests ---
  CListCtrl& GetUserList() { return m_userList; }
  CListCtrl& GetRoomList() { return m_roomList; }
  short GetUserCount() const { return m_nUserCount; }
  short GetRoomCount() const { return m_nRoomCount; }
  BOOL IsNegotiationAllowed() const { return m_bNegoAllowed; }
  BOOL IsNegotiationPending() const { return m_bNegoPending; }
  BOOL IsAsking() const { return m_bAsking; }
  BOOL IsRoomAutoUpdate() const { return m_bRoomAutoUpdate; }
  BOOL IsUserAutoUpdate() const { return m_bUserAutoUpdate; }
  int GetLastSortedUserColumn() const { return m_userSort.GetSortedColumn(); }
  int GetLastSortedRoomColumn() const { return m_roomSort.GetSortedColumn(); }
  // The sort arrow each header column shows (a CSortState::Mark).
  int GetUserSortMark(int column) const { return m_userSort.GetMark(column); }
  int GetRoomSortMark(int column) const { return m_roomSort.GetMark(column); }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnSize(UINT type, int cx, int cy);
  void OnContextMenu(CWnd* wnd, CPoint point);
  void OnSetFocus(CWnd* oldWnd);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnChatCloseUp();
  void OnChatBoxFocus();
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnPaint();
  void OnUserDblClk(NMHDR* header, LRESULT* result);
  void OnRoomDblClk(NMHDR* header, LRESULT* result);
  void OnUserColumnClick(NMHDR* header, LRESULT* result);
  void OnRoomColumnClick(NMHDR* header, LRESULT* result);
  void OnUserListKillFocus(NMHDR* header, LRESULT* result);
  LRESULT OnDeleteNegotiation(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

private:
  void InitUserColumns();
  void InitRoomColumns();
  void LoadColumnWidths(int roomWidths[kRoomColumns], int userWidths[kUserColumns]) const;
  void AppendUser(const CUserEntry& user);
  void RepaintRoomHeader();
  void InsertRoom(const CRoomRow& room);
  void SetRoomColumns(int row, const CRoomRow& room);
  int FindRoomRow(const CString& number) const;
  int FindRoomInsertIndex(const CString& grade) const;
  void ShowUserCount();
  void ShowRoomCount();
  void ShowRoomKey(const CString& text);
  // Paints the counter strip n (1 room key, 2 room count, 3 user count) behind its label.
  void PaintLabelStrip(int n);
  // The first selected row of list, -1 with none.
  static int SelectedRow(const CListCtrl& list);
  // The selected user's waiting-room number (by its name) and ID; FALSE with no selection.
  BOOL GetSelectedUser(CString& number, CString& id) const;
  BOOL IsOwnUser(const CString& number, const CString& id);
  void SortList(CListCtrl& list, int column, int kind, CSortState& state);
  void FocusChatInput();
  // The chat input's height with its list open: every phrase whole, and at least 100.
  int ChatInputHeight() const;
  void SendChatInput();
  CString OwnNumber();
  CString OwnId();

  CLobbyHost* m_pHost{nullptr};
  // Negotiation.
  std::unique_ptr<CNegotiationAskDlg> m_pNegotiation;
  std::unique_ptr<CNegotiationAskDlg> m_pClosedNegotiation;  // waits for kDeleteNegotiationMessage
  BOOL m_bNegoAllowed{TRUE};
  BOOL m_bAsking{FALSE};
  BOOL m_bNegoPending{FALSE};
  // Controls.
  CFlatListCtrl m_roomList;
  CFlatListCtrl m_userList;
  CEdit m_chatBox;
  CComboBox m_chatInput;
  CButton m_roomAutoUpdate;
  CButton m_userAutoUpdate;
  CToolTipCtrl m_toolTip;  // the two auto-update switches' tip
  int m_nLastHeight{0};
  CImageList m_sortImages;  // the headers' sort arrows
  CImageList m_roomImages;  // the rooms' private and public marks
  CImageList m_userImages;  // a spacer that gives the user rows their height
  CSortState m_roomSort{kRoomColumns};
  CSortState m_userSort{kUserColumns};
  BOOL m_bRoomAutoUpdate{TRUE};
  BOOL m_bRoomListIdle{TRUE};  // cleared while a room-list update runs
  BOOL m_bUserListIdle{TRUE};  // cleared while a user-list update runs
  BOOL m_bUserAutoUpdate{TRUE};
  CRect m_stripRects[3];
  short m_nRoomCount{0};
  short m_nUserCount{0};
  CBrush m_whiteBrush;
  CBrush m_creamBrush;
};
