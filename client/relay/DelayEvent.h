#pragma once
// CDelayEvent: one move or take-back received from the relay, with its server time stamp.

#include <cstdint>

#include "platform/object.h"

class CDelayEvent : public CObject {
public:
  static constexpr int kMove = 1;
  static constexpr int kTakeBack = 2;  // take back the last move

  CDelayEvent(int kind, int x, int y, int moveNumber, int colour, std::int64_t time)
      : m_kind(kind), m_x(x), m_y(y), m_moveNumber(moveNumber), m_colour(colour), m_time(time) {}

  int m_kind{0};        // kMove, kTakeBack; other values are kept and skipped on replay
  int m_x{0};           // column 1..19
  int m_y{0};           // row 1..19
  int m_moveNumber{0};  // the relay's move number
  int m_colour{0};      // 1 white, 2 black
  std::int64_t m_time{0};  // seconds on the relay server's clock (ten digits and beyond)
};
