// Writing and reading the record file of a complete real game with comments and diagrams.

#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "../../tests/client/model/BoardTestSupport.h"
#include "client/model/GameRecordFile.h"

namespace {

std::string DataFile(const char* name) {
  std::string dir(__FILE__);
  dir.erase(dir.find_last_of('/') + 1);
  return dir + "../../tests/data/" + name;
}

// The game of the test data with a header, a comment every ten moves and a diagram every fifty.
struct RecordedGame {
  RecordedGame() {
    const auto moves = boardtest::LoadSgfMoves(DataFile("selfplay-5001.sgf"));
    for (std::size_t i = 0; i < moves.size(); ++i) {
      const int number = static_cast<int>(i) + 1;
      nodes.Add(new CStoneNode(moves[i].x, moves[i].y, static_cast<DWORD>(moves[i].colour), number, 0));
      if (number % 10 == 0) comments.AddComment(number, Cp949("형세는 백이 조금 낫다"));
      if (number % 50 == 0) {
        for (int s = 1; s <= 6; ++s) diagrams.AddDiagramMove(number, s, s + 2, s % 2 ? 2 : 1, s);
        diagrams.AddDiagramText(number, Cp949("이렇게 두면 흑이 좋다"));
        diagrams.CloseDiagram(number, number + 1);
      }
    }
    info.m_title = Cp949("제1회 명인전");
    info.m_blackName = Cp949("이창호");
    info.m_whiteName = Cp949("조훈현");
    info.m_year = 2001;
    info.m_month = 3;
    info.m_day = 5;
  }
  ~RecordedGame() { nodes.DeleteAll(); }

  CNodeArray nodes;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
};

// Record files go to a memory file system when there is one, so that the figures tell the
// cost of the code rather than that of the disk.
std::unique_ptr<platform::TempDir> MakeWorkDir() {
  struct stat info {};
  if (::stat("/dev/shm", &info) == 0 && S_ISDIR(info.st_mode)) ::setenv("TMPDIR", "/dev/shm/", 1);
  return std::make_unique<platform::TempDir>();
}

void BM_WriteRecord(benchmark::State& state) {
  RecordedGame game;
  const auto dir = MakeWorkDir();
  const std::string path = *dir / "game.sgf";
  CGameRecordFile file;
  for (auto _ : state)
    benchmark::DoNotOptimize(file.Write(path.c_str(), &game.nodes, &game.comments, &game.diagrams, &game.info));
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMicrosecond);

void BM_ReadRecord(benchmark::State& state) {
  RecordedGame game;
  const auto dir = MakeWorkDir();
  const std::string path = *dir / "game.sgf";
  CGameRecordFile file;
  file.Write(path.c_str(), &game.nodes, &game.comments, &game.diagrams, &game.info);
  CNodeArray nodes;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
  for (auto _ : state) {
    benchmark::DoNotOptimize(file.Read(path.c_str(), &nodes, &comments, &diagrams, &info));
    state.PauseTiming();
    nodes.DeleteAll();
    comments.RemoveAll();
    diagrams.RemoveAll();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
