#pragma once
// CCapturedStoneList: the stones the user chose for capture on the room's board, as the server
// takes them: their number and the list "|c1|c2|...|" of point texts.

#include <platform/strings.h>

class CRoomBoard;

class CCapturedStoneList {
public:
  // Reads the chosen opponent stones: white ones (36) for a black user, else black ones (34).
  static CCapturedStoneList Read(CRoomBoard& board);

  int count{0};
  CString list{"|"};
};
