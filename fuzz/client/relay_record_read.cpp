// Reads arbitrary bytes as a relay record file, writes what was read and reads that again: the
// main line must come back unchanged.

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
  return 0;
}
