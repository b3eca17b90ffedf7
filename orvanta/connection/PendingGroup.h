#pragma once
// CPendingGroup: turns received blocks into groups of whole records. After each block, every
// record that ended (up to the last ESC LF) goes on; only the unfinished tail is held across
// reads, and it never grows past one record's limit. A record longer than the limit (its start
// and end marks counted) is a broken record: it is dropped up to its own end mark (or up to where
// the next record starts) and the link goes on with the records after it, so a server's fault
// costs one record, not the program's memory nor the game being played.

#include <cstddef>
#include <string>
#include <string_view>

class CPendingGroup {
public:
  // The most bytes a record may have, from its ESC TAB to its ESC LF.
  static constexpr std::size_t kRecordLimit = 65536;

  // Takes the bytes of one received block. True with group set to the held tail and the block's
  // bytes up to its last end mark when any record ended; the bytes after it stay held. Each byte
  // is looked at once, however the reads cut the records.
  bool Take(std::string_view block, std::string& group);
  // The bytes held: the unfinished tail, never more than kRecordLimit.
  std::size_t Size() const { return m_bytes.size(); }
  // Whether an overlong record is being dropped up to its end mark.
  bool IsDropping() const { return m_dropping; }
  void Clear();

private:
  // Drops the bytes held since the last end mark, which grew too long (last is the latest byte).
  void DropTail(char last);

  std::string m_bytes;       // the held tail, then the bytes of the block being taken
  std::size_t m_frameEnd{0};  // just past the last ESC LF in m_bytes
  bool m_afterEsc{false};     // the last byte kept is an ESC
  bool m_dropping{false};
  bool m_droppedEsc{false};  // the last byte dropped was an ESC
};
