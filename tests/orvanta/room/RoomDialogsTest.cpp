// The room's small dialogs and the progress window, run modally headless with the test answering
// them: what they read from the server's payloads, what they let the user type and hand back, how
// the confirmation grows and sits, and where the progress window keeps its place.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <platform/controls.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/profile.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/CapturedStonesConfirmDlg.h"
#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/PlayRecordListDlg.h"
#include "orvanta/room/ProgressDlg.h"
#include "orvanta/room/RoomInfoText.h"
#include "support/SnapshotPath.h"

#include "support/AnsweringScript.h"

namespace {

using Script = AnsweringScript;

class RoomDialogsTest : public ::testing::Test {
protected:
  RoomDialogsTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-room-dialog-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  ~RoomDialogsTest() override { platform::ResetMessageQueue(); }

  platform::ScopedPlatformHome home;
  Script script;
  platform::ScopedUiScript scoped{&script};
  std::optional<platform::ResourceScope> m_resources;
};

// Room-information payload: field 13 is the condition, 15 the observer count.
std::string InfoPayload(const std::string& status, const std::string& condition, const std::string& observers) {
  return "|x|7|" + status + "|s|hc|carol|3k|1|s|hl|lee|4k|0|" + condition + "|123|" + observers;
}

}  // namespace

TEST_F(RoomDialogsTest, RoomInformationTexts) {
  struct Row {
    std::string payload;
    const char* status;
    const char* condition;
    const char* observerCount;
    std::vector<std::string> observers;  // "id name grade"
  };
  const std::vector<Row> rows = {
      {InfoPayload("1", "GM[1]HA[0]KM[6.5]", "0|"), "Play", "Even(6.5)", "0", {}},
      {InfoPayload("4", "HA[0]KM[0]", "0|"), "Count", "One Stone", "0", {}},
      {InfoPayload("7", "HA[3]KM[0.5]", "0|"), "Review", "3 Stones", "0", {}},
      {InfoPayload("6", "KM[5.5]", "0|"), "Wait", "Even(5.5)", "0", {}},
      {InfoPayload("9", "", "0|"), "9", "", "0", {}},
      {InfoPayload("2", "HA[0]", "2|k|amy|Amy|5d|k|bo|Bo|2k|"), "Pause", "One Stone", "2",
       {"amy Amy 5d", "bo Bo 2k"}},
      // More observers announced than listed: the list stops where the payload does.
      {InfoPayload("5", "HA[2]", "40|k|amy|Amy|5d|k|bo|"), "End", "2 Stones", "40", {"amy Amy 5d", "bo  "}},
      {"|x|", "", "", "0", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.payload);
    const CRoomInfoText info = CRoomInfoText::Parse(row.payload.c_str());
    EXPECT_EQ(row.status, info.status.str());
    EXPECT_EQ(row.condition, info.condition.str());
    EXPECT_EQ(row.observerCount, info.observerCount.str());
    std::vector<std::string> observers;
    for (const auto& o : info.observers) observers.push_back(o.id.str() + " " + o.name.str() + " " + o.grade.str());
    EXPECT_EQ(row.observers, observers);
  }
  const CRoomInfoText full = CRoomInfoText::Parse(InfoPayload("1", "HA[0]KM[6.5]", "0|").c_str());
  EXPECT_EQ("Room Inform(7 room)", full.title.str());
  EXPECT_EQ("hc carol 3k IN", (full.black.id + " " + full.black.name + " " + full.black.grade + " " +
                               full.black.presence).str());
  EXPECT_EQ("hl lee 4k OUT", (full.white.id + " " + full.white.name + " " + full.white.grade + " " +
                              full.white.presence).str());
  EXPECT_EQ("123", full.totalMoves.str());
}

TEST_F(RoomDialogsTest, GoToMoveRange) {
  struct Row {
    const char* text;
    const char* problem;  // null: taken
    int number;
  };
  const Row rows[] = {
      {"", "Enter move number you wish to locate.", 0},
      {"0", nullptr, 0},
      {"600", nullptr, 600},
      {"0600", nullptr, 600},
      {"601", "Wrong sequence of moves", 0},
      {"99999999999999999999", "Wrong sequence of moves", 0},
      {"12a", "Enter number.", 0},
      {"-3", "Enter number.", 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    int number = -1;
    const char* problem = CGotoMoveDlg::CheckNumber(row.text, number);
    EXPECT_EQ(std::string(row.problem ? row.problem : ""), std::string(problem ? problem : ""));
    if (!row.problem) {
      EXPECT_EQ(row.number, number);
    }
  }
  EXPECT_TRUE(CGotoMoveDlg::AcceptsChar(true, '7'));
  EXPECT_TRUE(CGotoMoveDlg::AcceptsChar(true, VK_BACK));
  EXPECT_FALSE(CGotoMoveDlg::AcceptsChar(true, 'x'));
  EXPECT_FALSE(CGotoMoveDlg::AcceptsChar(false, '7'));

  // The dialog itself: a letter is dropped, 601 keeps it open, 600 closes it.
  CGotoMoveDlg dialog;
  bool openAfter601 = false;
  CString afterLetter;
  script.answer = [&](CWnd* wnd, CDialog* object) {
    CWnd* edit = wnd->GetDlgItem(CGotoMoveDlg::kNumberEdit);
    edit->SetFocus();
    MSG letter{edit->m_hWnd, WM_CHAR, 'q', 0, 0, {0, 0}};
    if (!object->PreTranslateMessage(&letter))
      ::DispatchMessage(&letter);
    edit->GetWindowText(afterLetter);
    wnd->SetDlgItemText(CGotoMoveDlg::kNumberEdit, "601");
    wnd->SendMessage(WM_COMMAND, IDOK);
    openAfter601 = ::IsWindow(wnd->m_hWnd) != FALSE;
    wnd->SetDlgItemText(CGotoMoveDlg::kNumberEdit, "600");
    wnd->SendMessage(WM_COMMAND, IDOK);
    return IDCANCEL;  // only when OK did not end it
  };
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ("", afterLetter.str());
  EXPECT_TRUE(openAfter601);
  EXPECT_EQ(600, dialog.m_nNumber);
  EXPECT_EQ((std::vector<std::string>{"Enter number.", "Wrong sequence of moves"}), script.shown);
}

TEST_F(RoomDialogsTest, StoredGamesListOnlyPausedGamesAndNeedAChoice) {
  auto record = [](const char* no, const char* result) {
    return std::string("|") + no + "|2026-12-01|x|carol|c3|3k|x|lee|l3|4k|87|" + result;
  };
  const std::string payload = "|3" + record("7", "Pause") + record("8", "B+R") + record("9", "W+T") + "|";
  CString last;
  const auto rows = CPlayRecordListDlg::RowsOf(payload.c_str(), last);
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ("7|2026-12-01|carol(c3-3k)|lee(l3-4k)|87|Pause",
            (rows[0][0] + "|" + rows[0][1] + "|" + rows[0][2] + "|" + rows[0][3] + "|" + rows[0][4] + "|" +
             rows[0][5]).str());
  EXPECT_EQ("8", last.str());
  // A count beyond the payload reads what is there, once.
  EXPECT_EQ(1u, CPlayRecordListDlg::RowsOf(("|50" + record("4", "Pause") + "|").c_str(), last).size());
  EXPECT_TRUE(CPlayRecordListDlg::RowsOf("", last).empty());

  CPlayRecordListDlg dialog("carol", payload.c_str());
  int listed = -1;
  script.answer = [&](CWnd* wnd, CDialog* object) {
    auto* list = static_cast<CPlayRecordListDlg*>(object);
    listed = list->GetList().GetItemCount();
    wnd->SendMessage(WM_COMMAND, IDOK);  // nothing chosen: asked to choose, stays
    list->GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    wnd->SendMessage(WM_COMMAND, IDOK);
    return IDCANCEL;
  };
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(1, listed);
  EXPECT_EQ("7", dialog.m_strSelection.str());
  EXPECT_EQ(std::vector<std::string>{"Please, select a game record."}, script.shown);
}

TEST_F(RoomDialogsTest, ConfirmationGrowsWithItsQuestionAndSitsOnItsAnchor) {
  struct Shown {
    CRect window;
    CRect ok;
    bool cancelVisible;
    bool line2Visible;
  };
  auto run = [&](const char* question, int anchorBottom, int anchorRight, int oneButton, const char* picture = nullptr) {
    CCapturedStonesConfirmDlg dialog;
    dialog.SetText(0, question);
    dialog.SetText(5, "ignored");
    dialog.SetOption(0);
    dialog.SetMode(oneButton);
    dialog.SetAnchor(anchorBottom, anchorRight);
    Shown shown{};
    script.answer = [&](CWnd* wnd, CDialog*) {
      wnd->GetWindowRect(&shown.window);
      wnd->GetDlgItem(IDOK)->GetWindowRect(&shown.ok);
      shown.cancelVisible = wnd->GetDlgItem(IDCANCEL)->IsWindowVisible() != FALSE;
      shown.line2Visible = wnd->GetDlgItem(CCapturedStonesConfirmDlg::kLine2)->IsWindowVisible() != FALSE;
      if (picture) {
        ::RedrawWindow(wnd->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
        EXPECT_TRUE(platform::SaveSurfacePng(wnd->m_hWnd, testsupport::SnapshotPath(picture).c_str()));
      }
      return IDOK;
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    return shown;
  };
  const Shown one = run("Send?", 700, 900, 0);
  const Shown three = run("Black 12, white 9.\nCaptured stones are counted.\nDo you agree?", 700, 900, 0,
                          "confirmation_three_lines.png");
  // One line's height is the first static's: read it from the one-line dialog's layout.
  const int lineHeight = (three.window.Height() - one.window.Height()) / 2;
  EXPECT_GT(lineHeight, 0);
  EXPECT_EQ(one.window.Height() + 2 * lineHeight, three.window.Height());
  EXPECT_EQ(CRect(900 - one.window.Width(), 700 - one.window.Height(), 900, 700), one.window);
  EXPECT_EQ(700, three.window.bottom);
  EXPECT_EQ((three.ok.top - three.window.top) - (one.ok.top - one.window.top), 2 * lineHeight);
  EXPECT_FALSE(one.line2Visible);
  EXPECT_TRUE(one.cancelVisible);

  // Without an anchor a long question still pushes the buttons down instead of running under them.
  const Shown free1 = run("Send?", 0, 0, 0);
  const Shown free3 = run("a\nb\nc", 0, 0, 0);
  EXPECT_EQ(free1.window.Height() + 2 * lineHeight, free3.window.Height());
  EXPECT_EQ((free3.ok.top - free3.window.top) - (free1.ok.top - free1.window.top), 2 * lineHeight);

  // A line too long for the box, and wider than the box may grow on the screen, wraps, and the box
  // grows for it as for a line feed: the counting question's result line is not cut off.
  const std::string longLine = "Black:100points + 1(stones) = 101.0 points White:80points + 0(stones) + 6.5(handy) = "
                               "86.5points B won by 12.5 ";
  const Shown wrapped = run((longLine + longLine + longLine + "\nDo you agree?").c_str(),
                            700, 900, 0, "confirmation_wrapped.png");
  EXPECT_GE(wrapped.window.Height(), one.window.Height() + 2 * lineHeight);
  EXPECT_EQ(700, wrapped.window.bottom);
  EXPECT_GE(wrapped.ok.top - wrapped.window.top, (one.ok.top - one.window.top) + 2 * lineHeight);

  // One button: OK alone, in the middle.
  const Shown single = run("Counted.", 700, 900, 1);
  EXPECT_FALSE(single.cancelVisible);
  EXPECT_NEAR(single.ok.CenterPoint().x, single.window.CenterPoint().x, 2);
}

TEST_F(RoomDialogsTest, ProgressCaptionAndKeptPlace) {
  struct Row {
    int lower, upper, position;
    const char* caption;
  };
  const Row rows[] = {
      {0, 0, 50, "Load"},          // an empty range never changes the caption
      {0, 200, 50, "Load [25%]"},
      {0, 100, 100, "Load [100%]"},
      {0, 100, 0, "Load"},         // 0% is what a new window starts from
  };
  for (const Row& row : rows) {
    CProgressDlg progress(nullptr, "Load", TRUE);
    ASSERT_TRUE(progress.GetSafeHwnd());
    progress.SetRange(row.lower, row.upper, 1);
    progress.SetPos(row.position);
    CString caption;
    progress.GetWindowText(caption);
    EXPECT_EQ(row.caption, caption.str()) << row.lower << ".." << row.upper << " at " << row.position;
  }
  {
    CProgressDlg progress(nullptr, "Load", FALSE);
    progress.SetRange(0, 10, 3);
    EXPECT_EQ(3, progress.SetStep(2));
    progress.StepIt();
    progress.StepIt();
    EXPECT_EQ(4, progress.GetPos());
    progress.SetStatus("%d of %d", 4, 10);
    CString status;
    progress.GetDlgItem(CProgressDlg::kStatusId)->GetWindowText(status);
    EXPECT_EQ("4 of 10", status.str());
    // The application ending while the job pumps: the end is passed on to the outer loop.
    ::PostQuitMessage(3);
    progress.PumpMessages();
    int code = 0;
    EXPECT_TRUE(platform::QuitRequested(&code));
    EXPECT_EQ(3, code);
    platform::ResetMessageQueue();
    progress.MoveWindow(40, 60, 300, 120);
    progress.DestroyWindow();
  }
  platform::Profile profile("Orvanta");
  EXPECT_EQ(40u, profile.GetProfileInt("Settings", "X", -1));
  EXPECT_EQ(60u, profile.GetProfileInt("Settings", "Y", -1));
  CProgressDlg again(nullptr, "Load", FALSE);
  CRect placed;
  again.GetWindowRect(&placed);
  EXPECT_EQ(CPoint(40, 60), placed.TopLeft());
  // The whole text area, the bar and the room beside it fit in the window.
  CRect bar, text, client;
  again.GetDlgItem(CProgressDlg::kBarId)->GetWindowRect(&bar);
  again.GetDlgItem(CProgressDlg::kStatusId)->GetWindowRect(&text);
  again.ScreenToClient(&bar);
  again.ScreenToClient(&text);
  again.GetClientRect(&client);
  EXPECT_EQ(CRect(5, 5, 5 + CProgressDlg::kWidth, text.bottom), text);
  EXPECT_EQ(5, bar.left);
  EXPECT_LT(bar.right, text.right);
  EXPECT_GT(bar.top, text.bottom);
  EXPECT_GT(client.right, text.right);
  EXPECT_GT(client.bottom, bar.bottom);

  // A place off the screen is not used: the window is centred instead.
  profile.WriteProfileInt("Settings", "X", 100000);
  CProgressDlg centred(nullptr, "Load", FALSE);
  centred.GetWindowRect(&placed);
  EXPECT_NE(100000, placed.left);
  // A place kept from a larger screen, near this one's corner, still shows the whole window.
  const CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  profile.WriteProfileInt("Settings", "X", screen.cx - 10);
  profile.WriteProfileInt("Settings", "Y", screen.cy - 10);
  CProgressDlg corner(nullptr, "Load", FALSE);
  corner.GetWindowRect(&placed);
  EXPECT_EQ(CPoint(screen.cx - placed.Width(), screen.cy - placed.Height()), placed.TopLeft());
}

TEST_F(RoomDialogsTest, ProgressTextBreaksOnlyWhereItsLinesEnd) {
  CProgressDlg progress(nullptr, "Load", FALSE);
  ASSERT_TRUE(progress.GetSafeHwnd());
  CWnd* status = progress.GetDlgItem(CProgressDlg::kStatusId);
  ASSERT_NE(nullptr, status);
  CClientDC measure(status);
  measure.SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(status->SendMessage(WM_GETFONT))));
  const int line = measure.GetTextExtent("M", 1).cy;
  // Rows of pixels in status's line band (0 the first) that hold any of the text's dark colour.
  auto inkInLine = [&](int band) {
    status->UpdateWindow();
    const platform::PaintTarget t = platform::GetPaintTarget(status->m_hWnd);
    if (!t.surface) return -1;
    CRect client;
    status->GetClientRect(&client);
    int ink = 0;
    for (int y = band * line; y < (band + 1) * line && y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) {
        const std::uint32_t p = t.surface->Row(t.origin.y + y)[t.origin.x + x];
        ink += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 80;
      }
    return ink;
  };
  // Words well past the text's width stay on their one line, cut at its edge.
  const CString longLine = "Loading the stored games of the room from the server, one record after the other, "
                          "please wait a moment";
  ASSERT_GT(measure.GetTextExtent(longLine).cx, CProgressDlg::kWidth + 100);
  progress.SetStatus("%s", longLine.GetString());
  EXPECT_GT(inkInLine(0), 0);
  EXPECT_EQ(0, inkInLine(1));
  // A line end still starts a new line.
  progress.SetStatus("%s", "Loading\nplease wait");
  EXPECT_GT(inkInLine(1), 0);
}
