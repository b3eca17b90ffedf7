#pragma once
// CRefDiagram: one reference diagram (a variation) attached to a move of the game: its stones
// in order and its explanatory texts. The diagram owns its stones.

#include "client/model/NodeArray.h"

struct CRefDiagram {
  CRefDiagram() = default;
  ~CRefDiagram() { Stones.DeleteAll(); }
  CRefDiagram(const CRefDiagram&) = delete;
  CRefDiagram& operator=(const CRefDiagram&) = delete;

  int Move{0};          // the main-line move the diagram belongs to
  int Base{0};          // the move number at which the diagram branches off, given when closed
  CNodeArray Stones;    // Seq = the stone's number within the diagram
  CStringArray Texts;
};
