#pragma once
// CRoomSelfPlayDlg: the study board over the game of the room the user is in. Its reload button
// takes the room's record again, with the moves played since the board was opened.

#include "orvanta/room/SelfPlayDlg.h"

class CRoomViewHost;

class CRoomSelfPlayDlg : public CSelfPlayDlg {
public:
  // The board opens over parent on a copy of record (the room's game) for a user of colour
  // userColour; the room's record is fetched again through frame.
  CRoomSelfPlayDlg(CWnd* parent, CRoomViewHost& frame, const CGiboRecord& record, short userColour);

protected:
  BOOL FetchRoomRecord(CGiboRecord& record, int& position) override;

private:
  CRoomViewHost& m_frame;
};
