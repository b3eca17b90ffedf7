#pragma once
// CStoneNode: one record that serves as board cell, played move, captured stone and diagram
// stone. The State word says which of those facts hold.

#include <ostream>

#include "platform/object.h"
#include "platform/strings.h"

class CStoneNode : public CObject {
public:
  // State bits.
  static constexpr DWORD kWhite = 0x001;
  static constexpr DWORD kBlack = 0x002;
  static constexpr DWORD kColourMask = 0x003;
  static constexpr DWORD kMarkMask = 0x0F0;  // mark kind << 4, only on diagram stones
  static constexpr DWORD kMarkK = 0x010;     // the relay's diagram letter "k"
  static constexpr DWORD kMarkE = 0x020;     // the relay's diagram letter "e"
  static constexpr DWORD kPresent = 0x100;   // a stone was put on this point
  static constexpr DWORD kCaptured = 0x200;  // that stone was captured and is off the board

  CStoneNode() = default;
  CStoneNode(int x, int y, DWORD state, int seq, int time) { Set(x, y, state, seq, time); }
  CStoneNode(const CStoneNode& other) : CObject() { Copy(other); }
  CStoneNode& operator=(const CStoneNode& other) { Copy(other); return *this; }
  ~CStoneNode() override = default;

  // Writes all five data words.
  void Set(int x, int y, DWORD state, int seq, int time);
  // Takes the five data words of node; this object stays what it is.
  void Copy(const CStoneNode& node);
  // All five words to 0.
  void Clear();
  void SetXY(int x, int y) { m_x = x; m_y = y; }
  void SetState(DWORD state) { m_state = state; }

  int GetX() const { return m_x; }
  int GetY() const { return m_y; }
  DWORD GetState() const { return m_state; }
  int GetSeq() const { return m_seq; }
  int GetTime() const { return m_time; }

  // Equal when all five data words are.
  bool operator==(const CStoneNode& other) const;
  bool operator!=(const CStoneNode& other) const { return !(*this == other); }

  // 2 black, 1 white, 0 none (mark nodes have no colour).
  int GetColor() const { return static_cast<int>(m_state & kColourMask); }
  BOOL IsBlack() const { return (m_state & kBlack) == kBlack; }
  // A stone stands here: put on the point and not captured since.
  BOOL HasStone() const { return (m_state & (kPresent | kCaptured)) == kPresent; }
  BOOL IsEmpty() const { return !HasStone(); }
  BOOL IsMark() const;
  int GetMarkKind() const { return static_cast<int>((m_state & kMarkMask) >> 4); }
  // Sets or clears the stone-present bit, leaving the others.
  void SetPresent(BOOL present);

  // out becomes the move as "B[pd]": colour letter ("W" for anything not black), column and
  // row letters (1 = "a").
  void FormatMove(CString& out) const;
  // Diagnostic text: "(x, y), \tSeq = n, \tState = s\n".
  void Dump(std::ostream& dc) const;

private:
  int m_x{0};
  int m_y{0};
  DWORD m_state{0};
  int m_seq{0};
  int m_time{0};  // record file's "T" stamp; 0 when none
};
