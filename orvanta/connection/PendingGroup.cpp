#include "orvanta/connection/PendingGroup.h"

namespace {
constexpr char kEsc = 0x1B;
constexpr char kLf = 0x0A;   // after an ESC: where a record ends
constexpr char kTab = 0x09;  // after an ESC: where a record starts
}  // namespace

void CPendingGroup::Clear() {
  m_bytes.clear();
  m_lastEsc = std::string::npos;
  m_frameEnd = 0;
  m_recordStart = 0;
  m_dropping = false;
  m_droppedEsc = false;
}

void CPendingGroup::Push(char byte) {
  const std::size_t at = m_bytes.size();
  m_bytes.push_back(byte);
  if (byte == kEsc) {
    m_lastEsc = at;
  } else if (at > 0 && m_bytes[at - 1] == kEsc) {
    if (byte == kLf) {
      m_frameEnd = at + 1;
      m_recordStart = at + 1;
    } else if (byte == kTab) {
      m_recordStart = at - 1;
    }
  }
}

void CPendingGroup::DropRecord(char last) {
  // What ended stays; the overlong record (and any stray bytes before it) goes.
  m_bytes.resize(m_frameEnd);
  m_lastEsc = m_frameEnd > 0 ? m_frameEnd - 2 : std::string::npos;
  m_recordStart = m_frameEnd;
  m_dropping = true;
  m_droppedEsc = last == kEsc;
}

bool CPendingGroup::Take(std::string_view block, std::string& group) {
  group.clear();
  for (const char byte : block) {
    if (m_dropping) {
      // The broken record ends at its own end mark, which goes with it, or where the next record
      // starts, which is kept.
      if (m_droppedEsc && (byte == kLf || byte == kTab)) {
        m_dropping = false;
        m_droppedEsc = false;
        if (byte == kTab) {
          Push(kEsc);
          Push(kTab);
        }
      } else {
        m_droppedEsc = byte == kEsc;
      }
      continue;
    }
    Push(byte);
    if (m_bytes.size() - m_recordStart > kRecordLimit)
      DropRecord(byte);
  }
  // A group ends where its last ESC is followed by LF; records that ended before a record was
  // dropped go on at once.
  const bool ended = m_lastEsc != std::string::npos && m_lastEsc + 1 < m_bytes.size() && m_bytes[m_lastEsc + 1] == kLf;
  if (!ended && !(m_dropping && !m_bytes.empty()))
    return false;
  group = std::move(m_bytes);
  const bool dropping = m_dropping;
  const bool droppedEsc = m_droppedEsc;
  Clear();
  m_dropping = dropping;
  m_droppedEsc = droppedEsc;
  return true;
}
