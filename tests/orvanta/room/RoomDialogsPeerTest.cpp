// The room's dialogs with the game-server peer on loopback: the room information the server
// sends fills its dialog, and a stored game chosen from the server's list is asked for by number.

#include <platform/gdi.h>
#include <platform/time.h>

#include "FrameRoomFixture.h"
#include "orvanta/room/CapturedStonesConfirmDlg.h"
#include "orvanta/room/PlayRecordListDlg.h"
#include "orvanta/room/RoomInfoDlg.h"
#include "support/SnapshotPath.h"

namespace {

using RoomDialogsPeerTest = FrameRoomTest;

std::string Text(CWnd* dialog, UINT id) {
  CString text;
  dialog->GetDlgItemText(static_cast<int>(id), text);
  return text.str();
}

}  // namespace

TEST_F(RoomDialogsPeerTest, RoomInformationFromTheServerFillsItsDialog) {
  std::vector<std::string> shown;
  std::vector<std::string> rows;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    if (id != CRoomInfoDlg::kTemplateId)
      return IDCANCEL;
    CString title;
    wnd->GetWindowText(title);
    shown = {title.str(),
             Text(wnd, CRoomInfoDlg::kPlayStatus),
             Text(wnd, CRoomInfoDlg::kCondition),
             Text(wnd, CRoomInfoDlg::kBlackId) + "/" + Text(wnd, CRoomInfoDlg::kBlackName) + "/" +
                 Text(wnd, CRoomInfoDlg::kBlackGrade) + "/" + Text(wnd, CRoomInfoDlg::kBlackPresence),
             Text(wnd, CRoomInfoDlg::kWhiteId) + "/" + Text(wnd, CRoomInfoDlg::kWhiteName) + "/" +
                 Text(wnd, CRoomInfoDlg::kWhiteGrade) + "/" + Text(wnd, CRoomInfoDlg::kWhitePresence),
             Text(wnd, CRoomInfoDlg::kTotalMoves),
             Text(wnd, CRoomInfoDlg::kObserverCount)};
    ::RedrawWindow(wnd->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(platform::SaveSurfacePng(wnd->m_hWnd, testsupport::SnapshotPath("room_information.png").c_str()));
    auto* list = static_cast<CListCtrl*>(wnd->GetDlgItem(CRoomInfoDlg::kObserverList));
    // The rows take their height from a one-pixel picture; the headings carry the sort arrows.
    EXPECT_NE(list->GetImageList(LVSIL_SMALL), nullptr);
    EXPECT_NE(list->GetHeaderCtrl()->GetImageList(), nullptr);
    // Clicking "Grade" twice: ascending by grade order, then descending.
    for (int click = 0; click < 3; ++click) {
      if (click > 0) {
        CHeaderCtrl* header = list->GetHeaderCtrl();
        CRect heading;
        header->GetItemRect(2, &heading);
        const LPARAM at = MAKELPARAM(heading.CenterPoint().x, heading.CenterPoint().y);
        header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        header->SendMessage(WM_LBUTTONUP, 0, at);
      }
      std::string order;
      for (int row = 0; row < list->GetItemCount(); ++row) order += list->GetItemText(row, 0).str() + " ";
      rows.push_back(order);
    }
    return IDOK;
  };
  Server(57, "|x|12|1|s|hc|carol|3k|1|s|hl|lee|4k|0|GM[1]HA[0]KM[6.5]|87|3|k|amy|Amy|5D|k|bo|Bo|2K|k|cy|Cy|1D|");
  ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }));
  EXPECT_EQ((std::vector<std::string>{"Room Inform(12 room)", "Play", "Even(6.5)", "hc/carol/3k/IN",
                                      "hl/lee/4k/OUT", "87", "3"}),
            shown);
  EXPECT_EQ((std::vector<std::string>{"amy bo cy ", "bo cy amy ", "amy cy bo "}), rows);
}

TEST_F(RoomDialogsPeerTest, AStoredGameChosenInTheRoomIsAskedForByItsNumber) {
  Server(52, "|12|");
  Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
  ASSERT_EQ(&*m_room, frame->GetGameRoom());
  const std::string list = "|2|5|2026-12-01|x|carol|c3|3k|x|lee|l3|4k|87|Pause|"
                           "6|2026-12-02|x|carol|c3|3k|x|bo|b2|2k|120|B+R|";
  // Cancelled first: nothing goes out.
  int shownRows = -1;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    if (id != CPlayRecordListDlg::kTemplateId)
      return IDCANCEL;
    shownRows = static_cast<CListCtrl*>(wnd->GetDlgItem(CPlayRecordListDlg::kRecordList))->GetItemCount();
    return IDCANCEL;
  };
  Server(62, list);
  ASSERT_TRUE(PumpUntil([&] { return shownRows >= 0; }));
  EXPECT_EQ(1, shownRows);
  PumpFor(40);
  EXPECT_TRUE(Payloads(25).empty());

  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    if (id != CPlayRecordListDlg::kTemplateId)
      return IDCANCEL;
    auto* records = static_cast<CListCtrl*>(wnd->GetDlgItem(CPlayRecordListDlg::kRecordList));
    records->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    wnd->SendMessage(WM_COMMAND, IDOK);
    return IDCANCEL;
  };
  Server(62, list);
  ASSERT_TRUE(PumpUntil([&] { return !Payloads(25).empty(); }));
  EXPECT_EQ(std::vector<std::string>{"|k|12||5|"}, Payloads(25));
}

TEST_F(RoomDialogsPeerTest, CapturedStonesAreConfirmedThenSentAsChosen) {
  Server(52, "|12|");
  Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
  Server(510, "||");
  Server(512, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
  Server(514, "|a|b|1|B[pd]|BL[80]|");
  Server(514, "|a|b|2|W[dc]|WL[78]|");
  Server(514, "|a|b|3|B[ab]|BL[79]|");
  ASSERT_TRUE(PumpUntil([&] { return m_room->GetMoveCounter() == 3; }));
  int asked = 0;
  INT_PTR answer = IDCANCEL;
  std::string question;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    if (id != CCapturedStonesConfirmDlg::kTemplateId)
      return IDCANCEL;
    ++asked;
    question = Text(wnd, CCapturedStonesConfirmDlg::kLine1);
    return answer;
  };

  // Declined: nothing happens. Nothing chosen: the board starts choosing.
  frame->SendCapturedStones();
  EXPECT_EQ(1, asked);
  EXPECT_EQ("Do you wish to send captured stones?", question);
  EXPECT_NE(8192, board.GetGameMode());
  answer = IDOK;
  frame->SendCapturedStones();
  EXPECT_TRUE(Shown("Designate captured stones."));
  EXPECT_EQ(8192, board.GetGameMode());
  frame->BuildBoardText();
  EXPECT_EQ("|", frame->GetCapturedText().str());
  EXPECT_FALSE(frame->IsCapturedTextReady());

  // The white stone at column d, row c chosen: its point goes out column first.
  board.model.OnClick(2 * 19 + 3);
  frame->BuildBoardText();
  EXPECT_EQ("|k|12|W|1|dc|", frame->GetCapturedText().str());
  EXPECT_TRUE(frame->IsCapturedTextReady());
  frame->SendCapturedStones();
  ASSERT_TRUE(PumpUntil([&] { return !Payloads(17).empty(); }));
  EXPECT_EQ(std::vector<std::string>{"|k|12|1|dc|"}, Payloads(17));
  EXPECT_TRUE(frame->IsDesignationPending());
  EXPECT_EQ(3, asked);
}
