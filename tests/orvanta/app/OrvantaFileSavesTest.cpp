// Every file Orvanta writes whole keeps its old contents when the disk is full or the program is
// killed in the middle of the save, and the same save goes through once there is room again.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "orvanta/app/SettingFiles.h"
#include "orvanta/lobby/MemoFile.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/StudyRecord.h"
#include "support/SaveFaults.h"

namespace {

struct Save {
  const char* file;
  // Saves new contents (longer than the child's limit) as path; its result.
  std::function<bool(const std::string& path)> save;
};

// The settings files go in the folder of path.
CSettingFiles FilesBeside(const std::string& path) { return CSettingFiles(path.substr(0, path.rfind('/')).c_str()); }

CGiboRecord LongGame() {
  CGiboRecord game;
  game.SetBlackPlayer("k1", "kim", "x", "5d");
  game.SetWhitePlayer("k2", "lee", "y", "6d");
  const char* moves[] = {"B[pd]", "W[dp]", "B[pp]", "W[dd]", "B[fc]", "W[qf]"};
  for (int i = 0; i < 6; ++i) game.AppendMove(moves[i], i % 2 ? "WL[500]" : "BL[500]");
  return game;
}

TEST(OrvantaFileSavesTest, AFullDiskOrAKillLeavesEachOldFileAndTheSaveGoesThroughLater) {
  const CString widths = "|20|60|70|59|110|110|56|56|90|80|85|77|88|20|60|70|59|110|110|56|56|90|80|85|";
  const Save saves[] = {
      {"setting.ini",
       [&](const std::string& path) {
         return FilesBeside(path).WriteSetting(1, widths, "|800|600|") != FALSE;
       }},
      {"ChatMacro.Ini",
       [](const std::string& path) {
         CSettingFiles::ChatMacros phrases, kept;
         phrases.fill("a phrase long enough to take the file past the limit");
         return FilesBeside(path).SaveChatMacros(phrases, kept) != FALSE;
       }},
      {"Message.dat",
       [](const std::string& path) {
         const CString text = CMemoFile::Compose({{"2026-12-09", "k1", "kim", "a memo kept for later reading, long enough to take the file past the limit"}});
         return CMemoFile::WriteText(path.c_str(), text) != FALSE;
       }},
      // Save Play Record.
      {"kim_lee.sgf",
       [](const std::string& path) { return LongGame().WriteFile(path.c_str()) != FALSE; }},
      // The review dialog's save.
      {"study.sgf",
       [](const std::string& path) {
         CGiboRecord game = LongGame();
         return SaveRecordText(path.c_str(), MakeStudyRecord(game, 6).ToFileText()) != FALSE;
       }},
  };
  for (const Save& row : saves) testsupport::ExpectSaveKeepsTheOldFile(row.file, row.save);
}

}  // namespace
