// Reads arbitrary bytes as a relay record file, writes what was read and reads that again: the
// main line, and the diagrams of its moves with their bases and stones, must come back unchanged.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "client/model/GameRecordFile.h"

namespace {

struct ReadTargets {
  ~ReadTargets() { moves.DeleteAll(); }
  CNodeArray moves;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
};

const std::string& WorkDir() {
  static platform::TempDir dir;
  static const std::string path = dir.Path();
  return path;
}

bool SameMoves(const CNodeArray& a, const CNodeArray& b) {
  if (a.GetSize() != b.GetSize()) return false;
  for (INT_PTR i = 0; i < a.GetSize(); ++i) {
    const CStoneNode* x = a.GetNode(i);
    const CStoneNode* y = b.GetNode(i);
    if (x->GetX() != y->GetX() || x->GetY() != y->GetY() || x->GetState() != y->GetState() ||
        x->GetSeq() != y->GetSeq())
      return false;
  }
  return true;
}

// Diagram stones are renumbered from 1 when written, so only their places and colours count.
bool SameDiagrams(const CRefDiagramMap& a, const CRefDiagramMap& b, int moveCount) {
  for (int move = 1; move <= moveCount; ++move) {
    if (a.GetDiagramCount(move) != b.GetDiagramCount(move)) return false;
    for (int j = 0; j < a.GetDiagramCount(move); ++j) {
      if (a.GetDiagramBase(move, j) != b.GetDiagramBase(move, j)) return false;
      const CNodeArray* x = a.GetDiagramMoves(move, j);
      const CNodeArray* y = b.GetDiagramMoves(move, j);
      if (x->GetSize() != y->GetSize()) return false;
      for (INT_PTR i = 0; i < x->GetSize(); ++i) {
        const CStoneNode* s = x->GetNode(i);
        const CStoneNode* t = y->GetNode(i);
        if (s->GetX() != t->GetX() || s->GetY() != t->GetY() || s->GetColor() != t->GetColor()) return false;
      }
    }
  }
  return a.GetOpenDiagram() == nullptr && b.GetOpenDiagram() == nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = WorkDir() + "/input.sgf";
  const std::string output = WorkDir() + "/output.sgf";
  if (FILE* f = std::fopen(input.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    std::abort();
  }
  CGameRecordFile file;
  ReadTargets first;
  file.Read(input.c_str(), &first.moves, &first.comments, &first.diagrams, &first.info);
  if (!file.Write(output.c_str(), &first.moves, &first.comments, &first.diagrams, &first.info)) std::abort();
  ReadTargets second;
  const BOOL reread = file.Read(output.c_str(), &second.moves, &second.comments, &second.diagrams, &second.info);
  if (first.moves.GetSize() > 0 && !reread) std::abort();
  if (!SameMoves(first.moves, second.moves)) std::abort();
  if (!SameDiagrams(first.diagrams, second.diagrams, static_cast<int>(first.moves.GetSize()))) std::abort();
  return 0;
}
