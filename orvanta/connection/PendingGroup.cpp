#include "orvanta/connection/PendingGroup.h"

#include <cstring>

namespace {
constexpr char kEsc = 0x1B;
constexpr char kLf = 0x0A;   // after an ESC: where a record ends
constexpr char kTab = 0x09;  // after an ESC: where a record starts
}  // namespace

void CPendingGroup::Clear() {
  m_bytes.clear();
  m_frameEnd = 0;
  m_afterEsc = false;
  m_dropping = false;
  m_droppedEsc = false;
}

void CPendingGroup::DropTail(char last) {
  m_bytes.resize(m_frameEnd);
  const bool ended = m_afterEsc && last == kLf;
  m_afterEsc = false;
  // A record that overflowed on its own LF is gone whole; any other goes on being dropped.
  m_dropping = !ended;
  m_droppedEsc = !ended && last == kEsc;
}

bool CPendingGroup::Take(std::string_view block, std::string& group) {
  group.clear();
  const char* at = block.data();
  const char* const end = at + block.size();
  while (at < end) {
    if (m_dropping) {
      // The broken record ends at its own end mark, which goes with it, or where the next record
      // starts, which is kept.
      const char byte = *at++;
      if (m_droppedEsc && (byte == kLf || byte == kTab)) {
        m_dropping = false;
        m_droppedEsc = false;
        if (byte == kTab)
          m_bytes.append({kEsc, kTab});
      } else {
        m_droppedEsc = byte == kEsc;
      }
      continue;
    }
    if (m_afterEsc) {
      const char byte = *at++;
      // Whatever is held since the last end mark is no record once another record starts: an
      // unfinished record or stray bytes would garble the new one.
      if (byte == kTab)
        m_bytes.erase(m_frameEnd, m_bytes.size() - 1 - m_frameEnd);
      if (m_bytes.size() - m_frameEnd + 1 > kRecordLimit) {
        DropTail(byte);
        continue;
      }
      m_bytes.push_back(byte);
      m_afterEsc = byte == kEsc;
      if (byte == kLf)
        m_frameEnd = m_bytes.size();
      continue;
    }
    // Plain bytes up to and with the next ESC are taken in one step.
    const auto* esc = static_cast<const char*>(std::memchr(at, kEsc, static_cast<std::size_t>(end - at)));
    const char* const stop = esc ? esc + 1 : end;
    const std::size_t room = kRecordLimit - (m_bytes.size() - m_frameEnd);
    const auto count = static_cast<std::size_t>(stop - at);
    if (count > room) {
      const char last = at[room];
      at += room + 1;
      DropTail(last);
      continue;
    }
    m_bytes.append(at, count);
    m_afterEsc = esc != nullptr;
    at = stop;
  }
  if (m_frameEnd == 0)
    return false;
  if (m_frameEnd == m_bytes.size()) {
    group.swap(m_bytes);
  } else {
    group.assign(m_bytes, 0, m_frameEnd);
    m_bytes.erase(0, m_frameEnd);
  }
  m_frameEnd = 0;
  return true;
}
