// A match proposed from the game room: who the opponent is, when the room is too full to
// negotiate, and the proposal the negotiation dialog's choices put on the wire.

#include <optional>

#include <platform/time.h>

#include "../room/FrameRoomFixture.h"
#include "orvanta/lobby/NegotiationDlg.h"

namespace {

using NegotiationRetryTest = FrameRoomTest;
using N = CNegotiationDlg;

void Click(CWnd* dialog, UINT id) {
  dialog->CheckDlgButton(static_cast<int>(id), BST_CHECKED);
  dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(dialog->GetDlgItem(static_cast<int>(id))->m_hWnd));
}

// Picks text in the drop-down list id, as a click in the list would.
void Choose(CWnd* dialog, UINT id, const char* text) {
  const CString item = Cp949(text);
  const LRESULT index = dialog->SendDlgItemMessage(static_cast<int>(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(item.GetString()));
  ASSERT_GE(index, 0) << text;
  dialog->SendDlgItemMessage(static_cast<int>(id), CB_SETCURSEL, static_cast<WPARAM>(index));
}

TEST_F(NegotiationRetryTest, TheChosenOpponentAndConditionsGoOutAsAProposal) {
  // Outside the game room nothing is asked.
  int dialogs = 0;
  std::function<void(CWnd*)> answer;
  INT_PTR button = IDOK;
  std::vector<std::string> listed;
  script.answerDialog = [&](UINT templateId, CWnd* dialog) -> INT_PTR {
    if (templateId != N::kTemplateId) return IDCANCEL;
    ++dialogs;
    CListCtrl* list = static_cast<CListCtrl*>(dialog->GetDlgItem(N::kUserList));
    listed.clear();
    for (int row = 0; row < list->GetItemCount(); ++row) listed.push_back(list->GetItemText(row, 0).str());
    if (answer) answer(dialog);
    return button;
  };
  frame->RetryNegotiation();
  EXPECT_EQ(0, dialogs);
  EXPECT_TRUE(script.shown.empty());

  Server(502, "|12|");
  Server(503, "|12|hc|carol|Carol|3k|1|3|1|");
  ASSERT_EQ(frame->GetActiveViewId(), CMainFrame::kGameRoomView);
  struct Row {
    const char* what;
    const char* contents;                 // code 511: the seats, then the people present
    std::function<void(CWnd*)> choices;   // what the user does in the dialog
    INT_PTR button;
    std::vector<std::string> listed;      // the dialog's rows
    const char* expected;                 // the proposal sent, the message shown, or "" for neither
  };
  const Row rows[] = {
      {"the other seat, even game by default", "|POM|A|hc|carol|c3|3k|hw|lee|l3|6d|0|", nullptr, IDOK, {"lee-"},
       "|k|12|lee|hw|1|0|6.500000|1800|30|3|2|"},
      {"seated white: handicap 4, white, an hour, one minute, five periods",
       "|POM|A|hb|kim|k3|5d|hc|carol|c3|3k|0|",
       [](CWnd* d) {
         Click(d, N::kHandicapRadio);
         Choose(d, N::kHandicapCombo, "4");
         d->CheckDlgButton(N::kBlackColourRadio, BST_UNCHECKED);
         d->CheckDlgButton(N::kWhiteColourRadio, BST_CHECKED);
         Choose(d, N::kTimeLimitCombo, "1시간");
         Choose(d, N::kIntervalCombo, "60초");
         Choose(d, N::kCountDownCombo, "5");
       },
       IDOK, {"kim-"}, "|k|12|kim|hb|2|4|0.000000|3600|60|5|1|"},
      {"the one person present, black without komi", "|POM|A|||||||||1|hx|xu|Xu|5k|",
       [](CWnd* d) {
         Click(d, N::kBlackRadio);
         Choose(d, N::kIntervalCombo, "20초");
       },
       IDOK, {"xu-5k"}, "|k|12|xu|hx|1|0|0|1800|20|3|1|"},
      {"cancelled", "|POM|A|hc|carol|c3|3k|hw|lee|l3|6d|0|", nullptr, IDCANCEL, {"lee-"}, ""},
      {"a seat and a watcher, none picked", "|POM|A|hc|carol|c3|3k|hw|lee|l3|6d|1|hx|xu|Xu|5k|", nullptr, IDOK,
       {"lee-", "xu-5k"}, "Please, select a user."},
      {"a seat and a watcher, the watcher picked", "|POM|A|hc|carol|c3|3k|hw|lee|l3|6d|1|hx|xu|Xu|5k|",
       [](CWnd* d) {
         static_cast<CListCtrl*>(d->GetDlgItem(N::kUserList))->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
       },
       IDOK, {"lee-", "xu-5k"}, "|k|12|xu|hx|1|0|6.500000|1800|30|3|2|"},
      {"an empty seat and a watcher: the watcher alone is offered, and taken",
       "|POM|A|hc|carol|c3|3k|||||1|hx|xu|Xu|5k|", nullptr, IDOK, {"xu-5k"}, "|k|12|xu|hx|1|0|6.500000|1800|30|3|2|"},
      {"nobody else seated", "|POM|A|hc|carol|c3|3k|||||0|", nullptr, IDOK, {}, "No opponent found"},
      {"the user alone", "|POM|A|||||||||1|hc|carol|Carol|3k|", nullptr, IDOK, {}, "No opponent found"},
      {"two watchers", "|POM|A|hc|carol|c3|3k|||||2|hx|xu|Xu|5k|hy|yi|Yi|4k|", nullptr, IDOK, {}, "In negotiating"},
  };
  for (const Row& row : rows) {
    Server(511, row.contents);
    script.shown.clear();
    listed.clear();
    answer = row.choices;
    button = row.button;
    const std::size_t sent = Payloads(12).size();
    frame->RetryNegotiation();
    const bool proposed = std::string(row.expected).rfind("|k|", 0) == 0;
    if (proposed)
      PumpUntil([&] { return Payloads(12).size() > sent; });
    else
      PumpFor(60);
    const std::vector<std::string> payloads = Payloads(12);
    std::string outcome = payloads.size() > sent ? payloads.back() : "";
    if (outcome.empty() && !script.shown.empty()) outcome = script.shown.back();
    EXPECT_EQ(outcome, row.expected) << row.what;
    EXPECT_EQ(listed, row.listed) << row.what;
    EXPECT_LE(payloads.size(), sent + 1) << row.what;
  }
  EXPECT_EQ(7, dialogs);
}

}  // namespace
