#include "client/model/StoneNode.h"

void CStoneNode::Set(int x, int y, DWORD state, int seq, int time) {
  SetXY(x, y);
  SetState(state);
  m_seq = seq;
  m_time = time;
}

void CStoneNode::Copy(const CStoneNode& node) {
  Set(node.m_x, node.m_y, node.m_state, node.m_seq, node.m_time);
}

void CStoneNode::Clear() { Set(0, 0, 0, 0, 0); }

bool CStoneNode::operator==(const CStoneNode& other) const {
  return m_x == other.m_x && m_y == other.m_y && m_state == other.m_state &&
         m_seq == other.m_seq && m_time == other.m_time;
}

BOOL CStoneNode::IsMark() const {
  const DWORD kind = m_state & kMarkMask;
  return kind == kMarkK || kind == kMarkE;
}

void CStoneNode::SetPresent(BOOL present) {
  if (present)
    m_state |= kPresent;
  else
    m_state &= ~kPresent;
}

void CStoneNode::FormatMove(CString& out) const {
  // Built by hand: the record file writes one per move, and formatting would dominate the save.
  const char text[] = {IsBlack() ? 'B' : 'W', '[', static_cast<char>(m_x + 0x60),
                       static_cast<char>(m_y + 0x60), ']', '\0'};
  out = text;
}

void CStoneNode::Dump(std::ostream& dc) const {
  dc << "(" << m_x << ", " << m_y << ")" << ", \tSeq = " << m_seq << ", \tState = " << m_state
     << "\n";
}
