#pragma once
// CRoomInfoText: the texts of the room-information dialog read from the server's payload: the
// title, the play status, both players with their presence, the game condition, the move and
// observer counts and one row per observer.

#include <vector>

#include <platform/strings.h>

class CRoomInfoText {
public:
  struct Player {
    CString id;
    CString name;
    CString grade;
    CString presence;  // "IN" or "OUT"
  };
  struct Observer {
    CString id;
    CString name;
    CString grade;
  };

  // Reads a "|"-separated payload; missing fields read as empty.
  static CRoomInfoText Parse(const CString& payload);
  // "1" Play ... "7" Review; any other code unchanged.
  static CString PlayStatusText(const CString& code);
  // The condition shown for the game's root properties ("HA[0]KM[6.5]" -> "Even(6.5)").
  static CString ConditionText(const CString& properties);

  CString title;
  CString status;
  Player black;
  Player white;
  CString condition;  // empty when the payload gives none
  CString totalMoves;
  CString observerCount;
  std::vector<Observer> observers;
};
