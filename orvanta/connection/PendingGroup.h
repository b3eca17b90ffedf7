#pragma once
// CPendingGroup: the received bytes of a group of records that has not ended yet, held across
// reads. A group ends where its last ESC is followed by LF. A record longer than the link allows is
// a broken record: it is dropped up to its own end mark (or up to where the next record starts)
// and the link goes on with the records after it, so a server's fault costs one record, not the
// program's memory nor the game being played.

#include <cstddef>
#include <string>
#include <string_view>

class CPendingGroup {
public:
  // The most bytes a record may have.
  static constexpr std::size_t kRecordLimit = 65536;

  // Takes the bytes of one received block. True with group set to every byte held when the block
  // ends a group; true too, with the records that ended, when a record grew past the limit and is
  // being dropped. Each byte is looked at once, however long a record grows.
  bool Take(std::string_view block, std::string& group);
  // The bytes held (an overlong record being dropped holds none).
  std::size_t Size() const { return m_bytes.size(); }
  // Whether an overlong record is being dropped up to its end mark.
  bool IsDropping() const { return m_dropping; }
  void Clear();

private:
  // Holds one more byte and notes where records start and end.
  void Push(char byte);
  // Drops the record being held, which grew too long (last is its latest byte), and what follows
  // it up to its end mark or the next record's start.
  void DropRecord(char last);

  std::string m_bytes;
  std::size_t m_lastEsc{std::string::npos};  // the last ESC held
  std::size_t m_frameEnd{0};                 // just past the last ESC LF held
  std::size_t m_recordStart{0};              // where the record being held began
  bool m_dropping{false};
  bool m_droppedEsc{false};  // the last byte dropped was an ESC
};
