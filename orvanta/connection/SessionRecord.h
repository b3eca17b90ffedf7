#pragma once
// CSessionRecord: who is logged in (ID, password, the server's role word) and the texts of the
// room the user is entering or sits in. The main frame keeps one while a login is under way or
// done, and makes a new one for every connect request.

#include <platform/strings.h>

class CSessionRecord {
public:
  // All texts empty except room text 3, which reads "not available" until a room is entered.
  CSessionRecord(const CString& id, const CString& password);

  // Joining a room: room texts 2, 1, 3 (the "not available" word when empty) and 5.
  void SetEntry(const CString& text2, const CString& text1, const CString& text3, const CString& text5);
  // Leaves the room: the number 0, room texts 1, 2, 4 and 5 empty, room text 3 "not available".
  void ClearRoom();
  // Forgets the teaching room: room texts 6 and 7 empty.
  void ClearRoomTexts();
  // Forgets everything, ID and password too, and sets the screen-flag word to 0.
  void Reset();

  // A login reply with more than two fields comes after a game that ended improperly: the user is
  // asked whether to go straight back to its room.
  static bool OffersResume(const CString& payload);
  // Takes the role (field 0) of a login reply; with resume also the room of the unfinished game
  // (fields 2, 3, 4, 5 into room texts 7, 6, 4, 1). Returns the notice (field 1) with every ESC
  // and TAB removed.
  CString TakeLoginReply(const CString& payload, bool resume);

  // The word room text 3 holds while no room says otherwise.
  static CString NotAvailableText();

  int m_nRoomNumber{0};
  CString m_strRole;       // field 0 of the login reply: "1", "2", "3", "5", ...
  CString m_strRoomText1;  // field 5 of a resuming login reply
  CString m_strRoomText2;
  CString m_strRoomText3;
  CString m_strRoomText4;  // field 4 of a resuming login reply; the number of the game room entered
  CString m_strRoomText5;
  CString m_strRoomText6;  // room key of a teaching room; field 3 of a resuming login reply
  CString m_strRoomText7;  // room kind of a teaching room; field 2 of a resuming login reply
  CString m_strPassword;
  CString m_strId;
  CString m_strWaitRoomTitle;  // the waiting room chosen on the start screen
  CString m_strWaitRoomKind;   // its kind code
};
