#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <platform/resources.h>
#include <platform/windows.h>

#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/UserListPayload.h"
#include "orvanta/resources/LobbyResources.h"

namespace {

// A user list of 2,000 users of mixed grades, as message 33 brings it.
CString TwoThousandUsers() {
  static const char* const kGrades[] = {"18K", "3K", "*1K", "1D", "5D", "*3D", "Pro1D", "Pro9D", "10K", "7D"};
  CString payload = "|1|x|2000|";
  for (int i = 0; i < 2000; ++i) payload.AppendFormat("%d|user%04d|Name %d|%s|", i % 7, i, i, kGrades[(i * 7) % 10]);
  return payload;
}

// The waiting room filling its user list from the message and sorting it by grade, as a user
// does right after entering a busy waiting room.
void BM_FillAndSortTwoThousandUsers(benchmark::State& state) {
  static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-lobby-bench");
  RegisterLobbyDialogs(module);
  platform::ResourceScope resources(module.Handle());
  const CString payload = TwoThousandUsers();
  CWnd host;
  host.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr);
  auto* view = new CTirvoDListView;
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 780, 560), &host, 1)) {
    state.SkipWithError("the waiting room could not be made");
    return;
  }
  view->OnInitialUpdate();
  for (auto _ : state) {
    view->OnUserList(payload);
    view->SortUserList(1);
  }
  if (view->GetUserList().GetItemCount() != 2000)
    state.SkipWithError("the list did not fill");
  state.SetItemsProcessed(state.iterations() * 2000);
  host.DestroyWindow();
}
BENCHMARK(BM_FillAndSortTwoThousandUsers)->Unit(benchmark::kMillisecond);

// The grade comparison alone, over the grades of 2,000 users.
void BM_SortTwoThousandGradesOnly(benchmark::State& state) {
  const CUserListPayload users = CUserListPayload::Parse(TwoThousandUsers());
  for (auto _ : state) {
    std::vector<CString> grades;
    for (const CUserEntry& user : users.users) grades.push_back(user.grade);
    std::stable_sort(grades.begin(), grades.end(), [](const CString& a, const CString& b) {
      return CListSorter::CompareTexts(a, b, CListSorter::kGrade) < 0;
    });
    benchmark::DoNotOptimize(grades.data());
  }
}
BENCHMARK(BM_SortTwoThousandGradesOnly)->Unit(benchmark::kMillisecond);

}  // namespace
