#pragma once
// What the review and study board tests share: the real board control registered, the program's
// templates, a UI script that answers the dialogs' questions, an independent replay of a record's
// moves by the rules of capture, and the stones a board control shows.

#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <platform/commondlg.h>
#include <platform/files.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/testinput.h>
#include <platform/time.h>
#include <platform/uiscript.h>

#include "orvanta/lobby/ViewModeDlg.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/Stolvex.h"
#include "support/SnapshotPath.h"
#include "support/StolvexModuleHome.h"

namespace reviewtest {

inline std::string DataFile(const std::string& name) { return std::string(TEST_DATA_DIR) + "/gibo/" + name; }

// Answers every question of the dialogs under test.
class Script : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    messages.emplace_back(text);
    return IDOK;
  }
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND) override {
    auto found = handlers.find(templateId);
    if (found == handlers.end()) return IDCANCEL;
    return found->second(dialog);
  }
  std::optional<std::optional<CString>> OnFileDialog(BOOL, const char* defaultName, const char*) override {
    fileDefaults.emplace_back(defaultName ? defaultName : "");
    return std::optional<CString>(file);
  }
  std::optional<bool> OnPrintDialog() override { return print; }

  std::map<UINT, std::function<INT_PTR(CDialog*)>> handlers;  // by template id
  std::vector<std::string> messages;
  std::vector<std::string> fileDefaults;
  CString file;
  bool print{true};
};

// A point's stones as the rules leave them: 0 empty, 2 black, 4 white; index row * 19 + column.
using Position = std::vector<int>;

// Plays a move with captures (own stones without liberties after the captures are taken too,
// which no recorded move does).
inline void Play(Position& board, int x, int y, int colour) {
  if (x < 0 || y < 0 || x >= 19 || y >= 19) return;
  board[y * 19 + x] = colour;
  auto groupWithoutLiberty = [&](int start, std::vector<int>& group) {
    const int c = board[start];
    std::vector<int> stack{start};
    std::set<int> seen{start};
    bool liberty = false;
    while (!stack.empty()) {
      int p = stack.back();
      stack.pop_back();
      group.push_back(p);
      const int px = p % 19, py = p / 19;
      const int around[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
      for (auto& a : around) {
        if (a[0] < 0 || a[1] < 0 || a[0] >= 19 || a[1] >= 19) continue;
        const int q = a[1] * 19 + a[0];
        if (board[q] == 0) liberty = true;
        else if (board[q] == c && seen.insert(q).second) stack.push_back(q);
      }
    }
    return !liberty;
  };
  const int opponent = colour == 2 ? 4 : 2;
  const int around[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
  for (auto& a : around) {
    if (a[0] < 0 || a[1] < 0 || a[0] >= 19 || a[1] >= 19) continue;
    const int q = a[1] * 19 + a[0];
    std::vector<int> group;
    if (board[q] == opponent && groupWithoutLiberty(q, group))
      for (int p : group) board[p] = 0;
  }
}

struct Move {
  int colour, x, y;  // x = column; a pass has x = y = 19
};

// The moves of a .moves file ("B pd" a line; a pass is the colour alone or "tt").
inline std::vector<Move> ReadMoves(const std::string& path) {
  std::vector<Move> moves;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    Move m{line[0] == 'B' ? 2 : 4, 19, 19};
    if (line.size() >= 4 && line.substr(2, 2) != "tt") {
      m.x = line[2] - 'a';
      m.y = line[3] - 'a';
    }
    moves.push_back(m);
  }
  return moves;
}

// The final position of a record read by the test itself: setup stones from the record, moves
// from the .moves file.
inline Position FinalPosition(CGiboRecord record, const std::vector<Move>& moves) {
  Position board(361, 0);
  short x = 0, y = 0;
  if (record.GetHandicap() > 0)
    while (record.GetSetupStone(x, y)) board[y * 19 + x] = 2;
  for (const Move& m : moves) Play(board, m.x, m.y, m.colour);
  return board;
}

// The stones the control shows, read from its points (column letter first); the control lists
// points by their bits only while territory marking is on.
inline Position BoardPosition(CStolvex& board) {
  Position position(361, 0);
  const LONG mode = board.GetGameMode();
  board.SetGameMode(mode | 0x20000);
  for (int colour : {2, 4}) {
    const std::string t = board.GetBigPos(static_cast<SHORT>(colour)).GetString();
    for (size_t i = 0; i + 2 < t.size(); i += 3)
      if (t[i] == '|') position[(t[i + 2] - 'a') * 19 + (t[i + 1] - 'a')] = colour;
  }
  board.SetGameMode(mode);
  return position;
}

// Centre of a point of a board control (no labels, unturned).
inline POINT PointCentre(HWND board, int row, int col) {
  RECT r{};
  ::GetClientRect(board, &r);
  const int px = r.right / 19, py = r.bottom / 19;
  return POINT{col * px + px / 2 + (r.right % 19) / 2, row * py + py / 2 + (r.bottom % 19) / 2};
}

// The mean of red, green and blue of what a window shows at point (client coordinates).
inline int Brightness(CWnd& window, POINT point) {
  CClientDC dc(&window);
  const COLORREF c = dc.GetPixel(point);
  return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

// The stones of position whose picture on the board disagrees: a black stone must show dark, a
// white one light. Each is looked at a third of a point below its centre, clear of the grid and
// of the last move's mark.
inline int StonesShownWrong(CStolvex& board, const Position& position) {
  RECT r{};
  ::GetClientRect(board.m_hWnd, &r);
  const int below = (r.bottom / 19) / 3;
  int wrong = 0;
  for (int i = 0; i < 361; ++i) {
    if (position[i] != 2 && position[i] != 4) continue;
    POINT p = PointCentre(board.m_hWnd, i / 19, i % 19);
    p.y += below;
    const int light = Brightness(board, p);
    if (position[i] == 2 ? light > 100 : light < 160) ++wrong;
  }
  return wrong;
}

// The handicap stones a record places.
inline int SetupStoneCount(CGiboRecord record) {
  int count = 0;
  short x = 0, y = 0;
  if (record.GetHandicap() > 0)
    while (record.GetSetupStone(x, y)) ++count;
  return count;
}

// Every move a record hands out, as (colour, x, y).
inline std::vector<Move> RecordMoves(CGiboRecord record) {
  std::vector<Move> moves;
  record.MoveTo(CGiboRecord::kFirstNode);
  short x = 0, y = 0, colour = 0;
  LONG left = 0;
  while (record.GetMove(x, y, colour, left)) moves.push_back({colour, std::min<int>(x, 19), std::min<int>(y, 19)});
  return moves;
}

inline bool operator==(const Move& a, const Move& b) { return a.colour == b.colour && a.x == b.x && a.y == b.y; }

class ReviewBoardTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_home.Registered());
    static platform::ResourceModule& module = []() -> platform::ResourceModule& {
      platform::ResourceModule& m = platform::CreateResourceModule("review-board-test");
      RegisterOrvantaResources(m.Handle());
      return m;
    }();
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
    m_script = std::make_unique<platform::ScopedUiScript>(&script);
  }
  void TearDown() override {
    m_script.reset();
    m_scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  // Presses a button of a dialog as a click would.
  static void Press(CWnd* dialog, UINT id) {
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog->m_hWnd, id)));
  }
  static std::string Text(CWnd* dialog, UINT id) {
    CString text;
    dialog->GetDlgItemText(id, text);
    return text.GetString();
  }
  // Presses the N-th move button of dialog and answers its go-to-move prompt with number.
  void GoToByButton(CWnd* dialog, UINT button, int number) {
    script.handlers[CGotoMoveDlg::kTemplateId] = [number](CDialog* prompt) -> INT_PTR {
      prompt->SetDlgItemText(CGotoMoveDlg::kNumberEdit, std::to_string(number).c_str());
      prompt->SendMessage(WM_COMMAND, IDOK);
      return IDCANCEL;  // only when the number was refused
    };
    Press(dialog, button);
    script.handlers.erase(CGotoMoveDlg::kTemplateId);
  }
  // The view-mode dialog, from now on, chooses interval (as typed into its list's edit) and OKs;
  // an empty interval cancels it.
  void AnswerViewMode(const CString& interval) {
    script.handlers[CViewModeDlg::kTemplateId] = [this, interval](CDialog* dialog) -> INT_PTR {
      CString shown;
      dialog->GetDlgItemText(CViewModeDlg::kIntervalCombo, shown);
      viewModeShown.emplace_back(shown.GetString());
      if (interval.IsEmpty()) return IDCANCEL;
      dialog->SetDlgItemText(CViewModeDlg::kIntervalCombo, interval);
      return IDOK;
    };
  }
  int Count(const std::string& message) const {
    return static_cast<int>(std::count(script.messages.begin(), script.messages.end(), message));
  }

  testsupport::StolvexModuleHome m_home;
  platform::ManualClockScope m_clock{1796810400};
  Script script;
  std::vector<std::string> viewModeShown;  // the interval each view-mode dialog opened with
  std::unique_ptr<platform::ResourceScope> m_scope;
  std::unique_ptr<platform::ScopedUiScript> m_script;
};

}  // namespace reviewtest
