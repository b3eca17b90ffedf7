#pragma once
// CGiboRecord: one game of Go kept as SGF text pieces. Values are held as whole property texts
// ("PB[...]"), so writing is concatenation and reading is a search for property names. The
// record stores text and hands out moves as board indexes; it knows nothing of Go rules.
//
// Points are two letters "a".."s" (column, then row; "a" = 0). A pass is "tt" and is handed out
// as 20, 20. Colours are 2 (black) and 4 (white).

#include <string>
#include <string_view>

#include <platform/object.h>
#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/room/GiboNodeList.h"

class CGiboRecord : public CObject {
public:
  // An empty 19 x 19 record: header ";FF[4]GM[1]SZ[19]", setup "AB", nothing else.
  CGiboRecord();
  // Copies both cursors and every text except the header, which stays empty in the copy.
  CGiboRecord(const CGiboRecord& other);
  // Copies every text except the header (this record keeps its own) and rewinds both cursors;
  // returns a copy of the result.
  CGiboRecord operator=(const CGiboRecord& other);
  ~CGiboRecord() override = default;

  // Back to the values of a new record.
  void Reset();

  // ---- Building a record ----
  // "PB[a:b:c:d]" from the four parts the match start gives for the player (b is the id).
  void SetBlackPlayer(const CString& a, const CString& b, const CString& c, const CString& d);
  void SetWhitePlayer(const CString& a, const CString& b, const CString& c, const CString& d);
  // The whole result property ("RE[B+R]"), or "?" while the game runs.
  void SetResult(const CString& result);
  // Root "TM[time]OT[overtime]DT[date]KM[komi]HA[handicap]".
  void SetRootInfo(const CString& time, const CString& overtime, const CString& date, const CString& komi,
                   const CString& handicap);
  // Adds a handicap stone at the two-letter point xy.
  void AddSetupStone(const CString& xy);
  // Adds the node ";" + move + time, e.g. "B[pd]" and "BL[300]".
  void AppendMove(const CString& move, const CString& time);
  // Takes back the last node (a move taken back); nothing happens without one.
  void RemoveLastMove();
  // Replaces the moves by a node list in which the server may separate nodes with "|"; line
  // breaks are dropped. Rewinds the move cursor.
  void SetMoves(const CString& moves);
  void SetSetup(const CString& setup);
  CString GetSetup() const { return m_setup; }
  CString GetMoves() const { return m_moves; }
  CString GetRoot() const { return m_root; }
  CString GetResult() const { return m_result; }

  // Reads the server's form "FF;GM;SZ;PB;PW;RE;TM;OT;DT;KM;HA[;AB...]" (one property a field,
  // the first one before the first ";"). The moves and the move cursor are left alone.
  void SetFromServerText(const CString& text);
  // Reads a whole SGF text "(;root;node;node...)". FALSE, and the record unchanged, when the
  // text holds no node at all.
  BOOL SetText(const CString& text);
  // Reads the root node's header, players, result, root values and (with a handicap) setup.
  void ParseNode(const CString& node);

  // ---- Reading values ----
  // The four parts of the player; the outputs are left alone when there is no player.
  void GetBlackPlayer(CString& a, CString& b, CString& c, CString& d) const;
  void GetWhitePlayer(CString& a, CString& b, CString& c, CString& d) const;
  // Main time in seconds; 0 without "TM".
  LONG GetTimeLimit() const;
  // Byo-yomi seconds and periods from "OT[s:p]"; the outputs are left alone without "OT".
  void GetOvertime(short& seconds, short& periods) const;
  // The komi as written; empty without "KM".
  void GetKomi(CString& komi) const;
  // Handicap stones; 0 without "HA", -1 when its "]" is missing.
  short GetHandicap() const;
  // Nodes holding a move plus handicap stones (the review dialogs count both as moves).
  int GetTotalMoves() const;
  // Header, players, result, root, setup and moves joined without separators.
  CString GetRootText() const;

  // The handicap stone at the setup cursor, which then moves on. 0, and the cursor back to the
  // first stone, after the last one or at a stone that is not a point of the board.
  BOOL GetSetupStone(short& x, short& y);
  // The move at the move cursor, which then moves on; nodes without a move property (comments,
  // setup) are stepped over. Past the last node: 0 and the cursor back to the first. An empty
  // node or a move naming no point: 0 and the cursor stays on that node. timeLeft is the
  // mover's "BL"/"WL"; without one, the mover's last earlier time, else the full allowance.
  BOOL GetMove(short& x, short& y, short& color, LONG& timeLeft);
  // As GetMove, but the cursor never moves.
  BOOL PeekMove(short& x, short& y, short& color, LONG& timeLeft) const;
  // The node text at the move cursor (without its ";"); the cursor moves on when it is not
  // empty. Past the last node: empty and the cursor back to the first.
  void GetNextNode(CString& node);
  // Both players' time left from the last two nodes; a player without a time there keeps the
  // value passed in. 0 when the moves are shorter than 2 characters.
  BOOL GetTimesLeft(LONG& black, LONG& white) const;

  // ---- Move cursor ----
  void NextMove();  // one on, never past the last node
  void PrevMove();  // one back, never before the first
  // 8 = first node, 16 = last node, any other value = that index.
  void MoveTo(short where);
  // Any index, unchecked; reads at an index outside the nodes give 0 results.
  void SetCursor(short index) { m_moveCursor = index; }

  // ---- Files and whole texts ----
  // Replaces the SGF file whole (CR LF line ends). 0, any old file kept, when it cannot be written.
  BOOL WriteFile(LPCTSTR path) const;
  // The SGF text with "\n" line ends.
  CString ToText() const;
  // The SGF text as a file holds it, with CR LF line ends.
  CString ToFileText() const;
  // Reads an SGF file; every space is dropped. 0 when it cannot be opened or read or holds no
  // node; the record is then unchanged.
  BOOL ReadFile(LPCTSTR path);

  // Where MoveTo goes for its two named positions.
  static constexpr short kFirstNode = 8;
  static constexpr short kLastNode = 16;

private:
  void CopyTexts(const CGiboRecord& other);
  static CString PlayerText(const char* name, const CString& a, const CString& b, const CString& c,
                            const CString& d);
  static void SplitPlayer(const CString& player, CString& a, CString& b, CString& c, CString& d);
  BOOL LoadWholeText(std::string_view text);
  void TakeSetupFromFirstNode();
  // "AB" and the bracketed points of the first "AB" property of text; empty without one.
  static CString SetupStonesOf(std::string_view text);
  // The first node at or after from that is not a node without a move (comments, setup).
  int FindMoveNode(int from) const;
  BOOL ReadMoveAt(int index, short& x, short& y, short& color, LONG& timeLeft) const;
  LONG FullAllowance() const;
  CString BuildText(std::string_view lineEnd) const;
  void AppendNodeLines(std::string& text, std::string_view lineEnd) const;

  short m_moveCursor{0};   // index of the node GetMove and GetNextNode read next
  short m_setupCursor{3};  // index of the next point in the setup text; 3 is just after "AB["
  CString m_moves;         // ";" + move + time, node after node
  CString m_setup{"AB"};   // "AB" + "[xy]" per handicap stone
  CString m_root;          // "TM[..]OT[..]DT[..]KM[..]HA[..]"
  CString m_result;        // "?" while playing, then the whole "RE[...]" property
  CString m_whitePlayer;   // "PW[a:b:c:d]"
  CString m_blackPlayer;   // "PB[a:b:c:d]"
  CString m_header{";FF[4]GM[1]SZ[19]"};
  CGiboNodeList m_nodes;   // the nodes of m_moves, read once
};
