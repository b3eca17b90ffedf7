#include "orvanta/lobby/ServerGrade.h"

#include "orvanta/lobby/LobbyText.h"

namespace {

const char* const kGrades[] = {"18K", "17K", "16K", "15K", "14K", "13K", "12K", "11K", "10K", "9K",  "8K",
                               "7K",  "6K",  "5K",  "4K",  "3K",  "2K",  "1K",  "1D",  "2D",  "3D",  "4D",
                               "5D",  "6D",  "7D",  "Pro1D", "Pro2D", "Pro3D", "Pro4D", "Pro5D", "Pro6D",
                               "Pro7D", "Pro8D", "Pro9D"};

CString Without(CString text, const char* part) {
  text.Replace(part, "");
  return text;
}

}  // namespace

int ServerGradeNumber(const CString& grade) {
  if (grade.Find("K") >= 0)
    return LeadingNumber(Without(grade, "K")) + 50;
  if (grade.Find("Pro") >= 0)
    return 20 - LeadingNumber(Without(Without(grade, "Pro"), "D"));
  return 38 - LeadingNumber(Without(grade, "D"));
}

const char* const* ServerGradeTexts(int& count) {
  count = static_cast<int>(sizeof kGrades / sizeof kGrades[0]);
  return kGrades;
}
