// A refused match proposal asked again from the game room: who the opponent is, and when the
// room is too full to negotiate.

#include <optional>

#include <platform/time.h>

#include "../room/FrameRoomFixture.h"
#include "orvanta/lobby/NegotiationDlg.h"

namespace {

using NegotiationRetryTest = FrameRoomTest;

TEST_F(NegotiationRetryTest, TheOpponentIsTheOtherSeatOrTheOnePersonPresent) {
  // Outside the game room nothing is asked.
  // The conditions dialog lists whom the user may choose.
  std::string listed;
  script.answerDialog = [&](UINT id, CWnd* wnd) -> INT_PTR {
    if (id != CNegotiationDlg::kTemplateId) return IDCANCEL;
    auto* list = dynamic_cast<CListCtrl*>(wnd->GetDlgItem(CNegotiationDlg::kUserList));
    listed = "CNegotiationDlg";
    for (int row = 0; list && row < list->GetItemCount(); ++row) listed += ":" + list->GetItemText(row, 2).str();
    return IDCANCEL;
  };
  frame->RetryNegotiation();
  EXPECT_TRUE(script.shown.empty());
  EXPECT_TRUE(listed.empty());

  Server(502, "|12|");
  Server(503, "|12|hc|carol|Carol|3k|1|3|1|");
  ASSERT_EQ(frame->GetActiveViewId(), CMainFrame::kGameRoomView);
  struct Row {
    const char* contents;  // code 511: the seats, then the people present
    const char* expected;  // the pending dialog's opponent, or the message shown
  };
  const Row rows[] = {
      {"|POM|A|hc|carol|c3|3k|hw|lee|l3|6d|0|", "CNegotiationDlg:lee"},
      {"|POM|A|hb|kim|k3|5d|hc|carol|c3|3k|0|", "CNegotiationDlg:kim"},
      {"|POM|A|||||||||1|hx|xu|Xu|5k|", "CNegotiationDlg:xu"},
      {"|POM|A|hc|carol|c3|3k|||||0|", "No opponent found"},
      {"|POM|A|||||||||1|hc|carol|Carol|3k|", "No opponent found"},  // the user alone
      {"|POM|A|hc|carol|c3|3k|||||2|hx|xu|Xu|5k|hy|yi|Yi|4k|", "In negotiating"},
  };
  for (const Row& row : rows) {
    Server(511, row.contents);
    script.shown.clear();
    listed.clear();
    frame->RetryNegotiation();
    const std::string outcome = script.shown.empty() ? listed : script.shown.back();
    EXPECT_EQ(outcome, row.expected) << row.contents;
  }
}

}  // namespace
