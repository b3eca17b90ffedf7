#pragma once
// CReceivedMoves: the moves received from the relay so far, as a dialog that draws them sees
// them. The view's delay queue keeps them; the view hands it to the dialog as this.

class CStoneNode;

class CReceivedMoves {
public:
  virtual ~CReceivedMoves() = default;
  virtual int GetMoveCount() const = 0;
  // Fills node from move i; false when i is out of range.
  virtual bool GetNodeAt(CStoneNode& node, int i) const = 0;
};
