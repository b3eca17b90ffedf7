#pragma once
// CRoomMessages: reads the game server's room messages into plain values. Counts in a message
// are never trusted beyond the fields that are present, points must lie on the board, and a move
// node that is short or malformed is refused, so that no message can put the room out of step.

#include <vector>

#include <platform/strings.h>
#include <platform/types.h>

class CRoomMessages {
public:
  // A person in the room: host, id and two further texts (the third and fourth fields of a
  // player entry, the name and grade of an observer).
  struct Person {
    CString host;
    CString id;
    CString third;
    CString fourth;
  };

  // Code 511: the room's contents after entering.
  struct EnterRoom {
    CString sections;  // "P", "O", "M" or their combination, in order
    bool hasPlayers{false};
    CString seats;      // "B", "W", "A" or "N"
    std::vector<Person> players;  // black first when both are seated
    bool hasObservers{false};
    std::vector<Person> observers;
    bool hasMoveNumber{false};
    CString moveNumber;
  };

  // Code 512: the game condition of a match start.
  struct Condition {
    Person black;
    Person white;
    short handicap{0};
    CString komi;
    LONG mainSeconds{0};
    short periodSeconds{0};  // S
    short periods{0};        // P
    CString timeText;        // the fields as sent, for the record
    CString periodSecondsText;
    CString periodsText;
    CString handicapText;
  };

  // Code 514: one move of the game.
  struct Move {
    CString number;    // the server's move number ("0" for a handicap stone)
    CString node;      // "B[pd]"
    CString time;      // "BL[300]"
    short colour{2};   // 2 black, 4 white
    short row{0};      // 20 for a pass
    short column{0};
    LONG secondsLeft{0};
    bool pass{false};
  };

  // Code 53: the user is in the room.
  struct Entered {
    int status{0};
    int role{0};
    CString owner;
    Person observer;  // fields 1-4 as an observer entry
  };

  // Codes 517/518: dead stones of one colour.
  struct DeadStones {
    bool black{false};
    std::vector<int> points;  // board indexes row × 19 + column
  };

  // Codes 544/545: the count.
  struct Count {
    CString result;
    CString owners;  // at most 361 characters
    double blackPoints{0};
    double blackStones{0};
    double whitePoints{0};
    double whiteStones{0};
    double komi{0};
  };

  // The fields of "|a|b|c|": a, b, c (text after the last separator is no field).
  static std::vector<CString> Split(const CString& payload);
  // An observer list "|n|host|id|name|grade|...|" (mode of UpdateObserverList).
  static std::vector<Person> ReadObserverList(const CString& text);

  static EnterRoom ReadEnterRoom(const CString& payload);
  static Condition ReadCondition(const CString& payload);
  // FALSE for a node or time that is not a move of the board.
  static BOOL ReadMove(const CString& payload, Move& move);
  static Entered ReadEntered(const CString& payload);
  static DeadStones ReadDeadStones(const CString& payload);
  static Count ReadCount(const CString& payload);
  // Count field at countField, then that many points (a stalemate area).
  static std::vector<int> ReadPointList(const CString& payload, int countField);
  // Board index of a two-letter point (column first), -1 when it is none.
  static int PointIndex(const CString& point);
  // The point letters of a board index.
  static CString PointText(int column, int row);

private:
  static int ClampedCount(const std::vector<CString>& fields, int countField, int width);
  static Person PersonAt(const std::vector<CString>& fields, int first);
};
