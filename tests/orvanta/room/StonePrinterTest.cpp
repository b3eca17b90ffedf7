// The printed sheet's stone tables: passes and points off the board are never drawn, a point
// played on any number of times lists every later move, and the list never runs past a page.

#include "orvanta/room/StonePrinter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <platform/gdi.h>

namespace {

std::string Join(const std::vector<int>& numbers) {
  std::string text;
  for (int n : numbers) text += std::to_string(n) + " ";
  return text;
}

TEST(StonePrinterTest, EveryMoveIsNumberedOnItsPointOrListedAfterTheFirst) {
  struct Case {
    const char* name;
    std::vector<CStonePrinter::Move> moves;
    int point;
    int first;
    const char* later;
    int repeats;
  };
  std::vector<CStonePrinter::Move> ko;  // 60 moves on point 40, black and white in turn
  for (int i = 0; i < 60; ++i) ko.push_back({40, static_cast<short>(i % 2 ? 4 : 2)});
  const Case cases[] = {
      {"a plain move", {{0, 2}, {360, 4}}, 360, 2, "", 0},
      {"passes keep their numbers but no point", {{-1, 2}, {361, 4}, {5000, 2}, {72, 4}}, 72, 4, "", 0},
      {"a point played on again after a capture", {{3, 2}, {4, 4}, {3, 2}, {-1, 4}, {3, 2}}, 3, 1, "3 5 ", 2},
      {"sixty moves on one point are all listed", ko, 40, 1, "", 59},
  };
  for (const Case& c : cases) {
    CStonePrinter printer;
    printer.Fill(c.moves);
    EXPECT_EQ(c.first, printer.FirstMove(c.point)) << c.name;
    if (c.repeats != 59) {
      EXPECT_EQ(c.later, Join(printer.LaterMoves(c.point))) << c.name;
    }
    EXPECT_EQ(static_cast<std::size_t>(c.repeats), printer.Repeats().size()) << c.name;
    EXPECT_EQ(static_cast<int>(c.moves.size()), printer.GetMoveCount()) << c.name;
  }
  CStonePrinter printer;
  printer.Fill(ko);
  ASSERT_EQ(59u, printer.LaterMoves(40).size());
  EXPECT_EQ(60, printer.LaterMoves(40).back());
  for (const CStonePrinter::Repeat& r : printer.Repeats()) EXPECT_EQ(1, r.firstNumber);
  // Points that do not exist have nothing.
  EXPECT_EQ(-1, printer.FirstMove(-1));
  EXPECT_EQ(-1, printer.FirstMove(361));
  EXPECT_TRUE(printer.LaterMoves(-1).empty());
}

TEST(StonePrinterTest, TheListOfRepeatsStopsAtThePagesEndAndGoesOnFromThere) {
  std::vector<CStonePrinter::Move> ko;
  for (int i = 0; i < 120; ++i) ko.push_back({i % 2 ? 41 : 40, static_cast<short>(i % 2 ? 4 : 2)});
  CStonePrinter printer;
  printer.Fill(ko);
  ASSERT_EQ(118u, printer.Repeats().size());
  CDC dc;
  ASSERT_TRUE(dc.Attach(platform::CreatePrinterDC("/dev/null/never-written-", 100)));
  dc.m_bPrinting = TRUE;
  dc.SetMapMode(MM_ISOTROPIC);
  dc.SetWindowExt(CStonePrinter::kSheetWidth, CStonePrinter::kSheetHeight);
  dc.SetViewportExt(827, 1169);
  printer.DrawDiagram(dc);
  const int capacity = CStonePrinter::RepeatCapacity(1100, 1380);
  ASSERT_GT(capacity, 0);
  const int afterFirst = printer.DrawRepeats(dc, 0, 1100, 1380);
  EXPECT_EQ(capacity, afterFirst);
  const int afterSecond = printer.DrawRepeats(dc, afterFirst, 120, 1380);
  EXPECT_EQ(std::min(118, afterFirst + CStonePrinter::RepeatCapacity(120, 1380)), afterSecond);
  // Nothing fits in no room; a start past the end draws nothing.
  EXPECT_EQ(afterSecond, printer.DrawRepeats(dc, afterSecond, 500, 510));
  EXPECT_EQ(118, printer.DrawRepeats(dc, 118, 120, 1380));
  dc.DeleteDC();
}

}  // namespace
