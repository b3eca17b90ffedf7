#pragma once
// CGameRecordFile: writes and reads the relay record file, an SGF-like text holding the game
// information, the main line, the comments and the reference diagrams. One object serves one
// operation at a time and resets itself after each; the objects it fills belong to the caller.

#include <memory>
#include <vector>

#include "client/model/CommentMap.h"
#include "client/model/GameInfo.h"
#include "client/model/NodeArray.h"
#include "client/model/RefDiagramMap.h"
#include "platform/files.h"
#include "platform/strings.h"

class CGameRecordFile {
public:
  // Error codes kept after a failed operation.
  static constexpr int kNoMemory = 201;    // no room for the read buffer, or a file of 2 GiB or more
  static constexpr int kOpenFailed = 302;
  static constexpr int kShortRead = 303;   // fewer bytes read than the file holds
  static constexpr int kWriteFailed = 304; // the disk took not all of the record
  static constexpr int kBadHeader = 321;   // no "(" or ";", or a header tag of 100 characters or more

  CGameRecordFile() = default;
  CGameRecordFile(const CGameRecordFile&) = delete;
  CGameRecordFile& operator=(const CGameRecordFile&) = delete;

  // Writes the record of the given objects (each may be null) to fileName, replacing the file
  // whole. FALSE, with any old file left as it was, when the record cannot be written.
  BOOL Write(const char* fileName, CNodeArray* moves, CCommentMap* comments,
             CRefDiagramMap* diagrams, CGameInfo* info);
  // Reads fileName, adding what it holds to the given objects (each may be null). FALSE on a
  // failure (a file that ends inside a diagram among them); what was added before it stays, but
  // no diagram is left open.
  BOOL Read(const char* fileName, CNodeArray* moves, CCommentMap* comments,
            CRefDiagramMap* diagrams, CGameInfo* info);
  // out = the header text of the game information of the current operation (empty without one);
  // returns TRUE.
  BOOL WriteHeader(CString& out) const;
  // The code of the last failure; 0 after a read got past its header.
  int GetErrorCode() const { return m_error; }

private:
  enum Mode { kIdle = 0, kWriting = 1, kReading = 2 };

  void Begin(const char* fileName, Mode mode, CNodeArray* moves, CCommentMap* comments,
             CRefDiagramMap* diagrams, CGameInfo* info);
  void Reset();

  // Writing: each appends its part of the record to out.
  void WriteOpening(CString& out) const;
  void WriteBody(CString& out) const;
  void WriteClosing(CString& out) const;
  // The nodes of the main line as written, and where the text of each move ends.
  struct MainLine {
    CString text;           // ";B[pd];W[dp]..."
    std::vector<int> ends;  // ends[k]: length of the text of the first k moves
  };
  void BuildMainLine(MainLine& line) const;
  // Appends move index (1-based) with its comment and its diagrams.
  void AppendMove(CString& out, int index, const MainLine& line) const;
  // Appends move index's comment and diagrams (index 0: those given before the first move).
  void AppendNotes(CString& out, int index, const MainLine& line) const;
  // A node of its own for move 0's comment and diagrams, when there are any.
  void AppendOpeningNotes(CString& out, const MainLine& line) const;

  // Reading.
  BOOL LoadFile();
  // Reads until count bytes are in or the file ends; returns how many were read.
  UINT ReadFully(char* buffer, UINT count);
  BOOL ReadHeader();
  // Walks the body once without touching the targets, to learn the whole main line that a
  // diagram's leading moves may repeat.
  void ScanMainLine();
  BOOL ReadBody();
  void ApplyHeaderTag(const CString& tag, const CString& value);
  // A body property: its name (nameLength letters and digits) and its value as stored, escapes
  // included (length bytes; the buffer's "]" or zero byte follows it).
  BOOL ApplyProperty(const char* name, int nameLength, const char* value, int length);
  BOOL ApplyMove(const char* value, int length, int colour);
  // A diagram mark "K[..]" or "E[..]" (kind kMarkK or kMarkE): numbered in its diagram like a stone.
  BOOL ApplyMark(const char* value, int length, DWORD kind);
  // Column and row of a move's value; false when short or off the board.
  static bool ParsePoint(const char* value, int length, int& x, int& y);
  // Adds a stone or mark read inside a diagram group, skipping a leading repeat of the main line.
  void AddGroupStone(int x, int y, DWORD state);
  BOOL ApplyTakeBack(const char* value);
  void ApplyTimeStamp(const char* value);
  void OpenGroup();
  void CloseGroup();
  // Drops the diagram a failed read left open, unless it was open before the group began.
  void DropOpenGroup();
  // True when move k (1-based) of the main line is (x, y) in colour.
  bool RepeatsMainLine(int k, int x, int y, int colour) const;
  // Moves past separators, no further than limit.
  void SkipSeparators(int limit);
  // Index of ch at or after from and before limit; -1 when none.
  int FindChar(char ch, int from, int limit) const;
  // Index of the ";" that ends the header, looking from from and passing over values; -1 when
  // none.
  int FindHeaderEnd(int from) const;
  // Index of the "]" that closes a value starting at from, before limit; -1 when none.
  int FindValueEnd(int from, int limit) const;

  Mode m_mode{kIdle};
  bool m_inGroup{false};        // a "(" diagram group is open
  int m_mainCount{0};           // main-line moves read so far
  int m_groupCount{0};          // moves read inside the open group
  int m_groupBase{0};           // last PT of the open group, 0 when none
  bool m_groupHasBase{false};   // the open group has a PT
  int m_groupSkipped{0};        // leading group moves that repeated the main line
  bool m_groupSkipping{false};  // every group move so far repeated the main line
  bool m_diagramWasOpen{false}; // the diagram map had an open diagram when the group began
  // The main line as read so far, and as the whole file has it; each move is packed by
  // PackMove.
  std::vector<int> m_line;
  std::vector<int> m_fullLine;
  int m_takeBackState{0};       // 1 right after a main-line move: a "T" then stamps it
  int m_error{0};
  CFile m_file;
  CString m_fileName;
  CNodeArray* m_moves{nullptr};
  CCommentMap* m_comments{nullptr};
  CRefDiagramMap* m_diagrams{nullptr};
  CGameInfo* m_info{nullptr};
  std::unique_ptr<char[]> m_buffer;  // the whole file and a zero byte, while reading
  int m_length{0};
  int m_pos{0};                 // current read position
  int m_end{0};                 // one past the last byte of data
};
