// The waiting room's user-list messages (33 and 399) and the grade orders of the users they give:
// counts never pass the users present, and every grade comparison stays inside its texts.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/UserListPayload.h"
#include "orvanta/lobby/WaitingRoomTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const CUserListPayload list = CUserListPayload::Parse(text);
  const int fields = CFieldTokenizer(text).GetCount();
  if (static_cast<int>(list.users.size()) * 4 > std::max(0, fields - 3))
    std::abort();
  CUserChangePayload::Parse(text);
  CWaitingRoomTable table;
  table.Load(text);
  if (static_cast<int>(table.GetEntries().size()) * 2 > std::max(0, fields - 1))
    std::abort();
  std::vector<CString> grades;
  for (const CUserEntry& user : list.users) {
    grades.push_back(user.grade);
    table.LookupWaitingRoomNumber(user.name);
    table.LookupWaitingRoomName(std::atoi(user.number));
  }
  for (const CString& a : grades)
    for (const CString& b : grades) {
      for (int kind = -7; kind <= 7; ++kind) CListSorter::CompareTexts(a, b, kind);
      CompareGrades(a, b);
      IsGradeAtLeast(a, b);
      GradeToNumber(a);
    }
  std::stable_sort(grades.begin(), grades.end(),
                   [](const CString& a, const CString& b) { return CompareGrades(a, b) < 0; });
  FindRoomInsertIndex(grades, grades.empty() ? CString("1K") : grades.front());
  return 0;
}
