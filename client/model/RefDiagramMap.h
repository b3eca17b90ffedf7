#pragma once
// CRefDiagramMap: the reference diagrams of a game by move number, and the one diagram being
// received (the open diagram). Stones and texts open a diagram for their move; closing files it
// under that move.

#include "client/model/RefDiagramList.h"
#include "platform/collections.h"
#include "platform/strings.h"

class CRefDiagramMap : public CMapWordToOb {
public:
  CRefDiagramMap() : CMapWordToOb(10) {}
  ~CRefDiagramMap() override { RemoveAll(); }
  CRefDiagramMap(const CRefDiagramMap&) = delete;
  CRefDiagramMap& operator=(const CRefDiagramMap&) = delete;

  // True when no diagram is open or the open one belongs to move.
  BOOL IsOpenFor(int move) const { return !m_open || m_open->Move == move; }
  // Appends a stone (x, y, state, seq) to the open diagram, opening one for move when none is
  // open; 0 (nothing added) when the open diagram belongs to another move or the point lies off
  // the board (such a stone could not be written to a record file), else 1.
  int AddDiagramMove(int move, int x, int y, DWORD state, int seq);
  // Appends text to the open diagram, with the same opening rule; 1 or 0 as above.
  int AddDiagramText(int move, const CString& text);
  // Files the open diagram under move with Base = base; returns its index in the move's list.
  // With no diagram open nothing is filed and the result is -1.
  int CloseDiagram(int move, int base);
  // Deletes the open diagram without filing it (a record cut short inside it).
  void DiscardOpenDiagram();
  // The diagram being received, or null.
  const CRefDiagram* GetOpenDiagram() const { return m_open; }

  BOOL HasDiagrams(int move) const { return GetDiagramCount(move) > 0; }
  int GetDiagramCount(int move) const;
  // The stones of the i-th diagram of move, or null when there is no such diagram.
  CNodeArray* GetDiagramMoves(int move, int i) const;
  // Base of the i-th diagram of move; 0 when there is no such diagram.
  int GetDiagramBase(int move, int i) const;
  // out = the diagram's texts, each followed by "\r\n"; 1 when the diagram exists, else 0.
  int GetDiagramText(int move, int i, CString& out) const;
  // Removes the i-th diagram of move; a move with a single diagram loses it whatever i is.
  void RemoveDiagram(int move, int i);
  // Removes every diagram of move.
  void RemoveDiagrams(int move);
  // Deletes every diagram, the open one included.
  void RemoveAll();
  // out = the record-file text of the i-th diagram of move: the "(RN[..]PT[..]" opening,
  // prefix (the main-line moves in front of the diagram) as given, its stones on the board, its
  // texts, ")".
  // Empty when there is no such diagram.
  void WriteDiagram(int move, int i, const CString& prefix, CString& out) const;

private:
  static WORD Key(int move) { return static_cast<WORD>(move); }
  CRefDiagramList* FindList(int move) const;
  CRefDiagram* FindDiagram(int move, int i) const;
  // The open diagram, opened for move when none is; null when one is open for another move.
  CRefDiagram* OpenFor(int move);

  CRefDiagram* m_open{nullptr};  // owned until filed
};
