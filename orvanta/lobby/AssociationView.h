#pragma once
// CAssociationView: the forum screen (view 449). The club's forums are listed on the left with
// the user's membership; selecting one asks for its menu, shown as a column of buttons that open
// the forum's board, enter its waiting room, or join and secede.

#include <memory>
#include <vector>

#include <platform/controls.h>
#include <platform/controls_tooltip.h>
#include <platform/dialog_template.h>
#include <platform/formview.h>

#include "orvanta/lobby/ForumPayload.h"
#include "orvanta/lobby/SortState.h"

class CCommunityHost;

class CAssociationView : public CFormView {
  DECLARE_DYNCREATE(CAssociationView)
public:
  static constexpr UINT kTemplateId = 449;
  static constexpr UINT kForumList = 1369;
  static constexpr UINT kFirstMenuCommand = 6000;
  static constexpr UINT kLastMenuCommand = 7000;
  static constexpr int kButtonWidth = 130;
  static constexpr int kButtonHeight = 25;

  CAssociationView();
  static platform::DialogTemplate BuildTemplate();
  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  // Message 71: the forums are added after the rows already shown.
  void OnForumList(const CString& payload);
  // Message 72: the forum's menu replaces the buttons.
  void BuildForumMenu(const CString& payload);
  // Messages 73 and 74.
  void OnJoinForum(const CString& payload);
  void OnSecedeForum(const CString& payload);
  // The first selected forum becomes current; its menu is asked for when it changed.
  void SelectForum();
  // Menu entry index of the current forum's menu.
  void RunMenuEntry(int index);

  CListCtrl& GetList() { return m_list; }
  int GetSortedColumn() const { return m_sort.GetSortedColumn(); }
  const CString& GetCurrentForumId() const { return m_strForumId; }
  const std::vector<CForumRecord>& GetForums() const { return m_forums; }
  std::size_t GetButtonCount() const { return m_buttons.size(); }
  CButton* GetButton(std::size_t i) const { return m_buttons[i].get(); }
  int GetButtonWidth() const { return m_nButtonWidth; }
  // The tool tip's text for menu button i ("" without one).
  CString GetButtonTip(std::size_t i) const;
  // The left edge of the menu column.
  int GetMenuOrigin() const;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnSize(UINT type, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnMenuCommand(UINT id);
  void OnListClick(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

private:
  void Layout();
  // Widths of the list's two columns that show both headings whole within the list.
  void FitColumns();
  void SetMembership(const CString& payload, BOOL joined);
  CForumRecord* FindForum(int id);
  CCommunityHost* GetFrame() const;

  CListCtrl m_list;
  CSortState m_sort{2};
  CImageList m_sortImages;  // the header's sort arrows
  CToolTipCtrl m_toolTip;   // the menu buttons' captions
  int m_nButtonWidth{kButtonWidth};  // the menu buttons' width: kButtonWidth or the widest caption
  std::vector<CForumRecord> m_forums;
  std::vector<CForumMenuEntry> m_menu;
  std::vector<std::unique_ptr<CButton>> m_buttons;
  CRect m_menuArea;
  CString m_strForumName;
  CString m_strForumId{"-1"};
  BOOL m_bSelectionEnabled{TRUE};
};
