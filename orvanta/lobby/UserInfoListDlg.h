#pragma once
// CUserInfoListDlg: the users a user search found (template 527). Join (100) goes to the chosen
// user's game room, Invite (200) invites the user into the own one; each is refused with a
// message while it cannot be done. The chosen user's texts are read after the dialog ends.

#include <vector>

#include <platform/controls_imagelist.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/widgets/FlatListCtrl.h"

class CUserInfoListDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 527;
  static constexpr UINT kUserList = 1012;
  static constexpr UINT kJoinButton = 1447;
  static constexpr UINT kInviteButton = 1448;
  static constexpr int kJoinResult = 100;
  static constexpr int kInviteResult = 200;

  // One found user, from eight payload fields.
  struct UserSearchRecord {
    CString id;
    CString name;
    CString grade;
    CString key;         // the waiting room's key
    CString room;        // "-1" outside every game room
    CString publicCode;  // "1" for a public room
    CString placeKind;   // "5" in a forum
    CString placeName;
    int privateFlag{0};
  };
  // Where the user is, as the join and invite checks need it.
  struct Place {
    CString ownId;
    CString currentKey;        // the current waiting room's key
    CString currentRoom;       // the room the user is in
    BOOL gameRoomShown{FALSE};
    BOOL roomOpener{FALSE};
    BOOL playing{FALSE};       // the board plays a game
    BOOL noColour{TRUE};       // the board's user colour says no colour: an observer, or no game
    CString blackId;           // the game room's two players
    CString whiteId;
  };

  explicit CUserInfoListDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  // The whole payload of the search result: eight fields a user.
  void SetResultText(const CString& payload) { m_strPayload = payload; }
  void SetPlace(const Place& place) { m_place = place; }
  BOOL OnInitDialog() override;
  // The records of payload, as many as whole groups of eight fields it holds.
  static std::vector<UserSearchRecord> ParseRecords(const CString& payload);
  // The location column of a record: its room followed by " Room", or its place's name.
  static CString LocationText(const UserSearchRecord& record);
  // The first record with id; -1 when none.
  int FindUser(const CString& id) const;
  CFlatListCtrl& GetList() { return m_list; }

  UserSearchRecord m_selected;  // the chosen user, read after the dialog ends

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnListClick(NMHDR* header, LRESULT* result);
  void OnJoin();
  void OnInvite();
  DECLARE_MESSAGE_MAP()

private:
  void FillList();
  // The clicked user, or the first one when none was clicked; FALSE (after a message) on an
  // empty list.
  BOOL TakeSelection();

  CString m_strPayload;
  std::vector<UserSearchRecord> m_records;
  Place m_place;
  int m_nSelected{-1};
  CFlatListCtrl m_list;
  CImageList m_sortImages;  // the header's images
  CImageList m_rowImages;   // a spacer that gives the rows their height
};
