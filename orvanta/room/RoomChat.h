#pragma once
// CRoomChat: what the room's chat sends and the list of the room's users that the review-play
// dialog offers, built from the room's panes and observers.

#include <array>
#include <vector>

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/room/RoomMessages.h"

class CGameRoom;

class CRoomChat {
public:
  // F2 to F9 send the eight macros.
  static constexpr UINT kFirstMacroKey = 113;
  static constexpr int kMacros = 8;

  // The chat request's payload: the room prefix ("|W|R|"), then the line without field
  // separators and "|".
  static CString Payload(const CString& roomPrefix, const CString& line);
  // The macro of a key (0 for F2 .. 7 for F9), -1 for other keys.
  static int MacroIndexOfKey(UINT key);

  // One player of the room as its panes show it.
  struct Player {
    CString id;
    CString grade;
    CString host;
  };
  // "/|id|grade|host|" for every user of the room except the logged-in one (ownId at ownHost),
  // then "/"; empty without a black player. An observer lists both players, a player only the
  // other one.
  static CString BuildRoomUserList(const Player& black, const Player& white, short userColour,
                                   const std::vector<CRoomMessages::Person>& observers, const CString& ownId,
                                   const CString& ownHost);
  // The same list read from the room's seat panes, player hosts and observers.
  static CString BuildRoomUserList(const CGameRoom& room, short userColour, const CString& ownId,
                                   const CString& ownHost);
};
