#include "orvanta/lobby/GradeOrder.h"

#include <cstdlib>

namespace {

const char* Kyu() { return Cp949("급"); }
const char* Dan() { return Cp949("단"); }
const char* Pro() { return Cp949("프로"); }

bool Holds(const CString& text, const char* word) { return text.Find(word) >= 0; }

CString Without(CString text, std::initializer_list<const char*> words) {
  for (const char* word : words) text.Replace(word, "");
  return text;
}

// Smaller is stronger: professional 9 dan 11, amateur 1 dan 37, 1 kyu 51.
int RoomGradeNumber(const CString& grade) {
  if (Holds(grade, "K") || Holds(grade, Kyu()))
    return std::atoi(Without(grade, {"K", Kyu(), "*"})) + 50;
  if (Holds(grade, "Pro") || Holds(grade, Pro()))
    return 20 - std::atoi(Without(grade, {"D", "Pro", Dan(), Pro(), "*"}));
  return 38 - std::atoi(Without(grade, {"D", Dan(), "*"}));
}

}  // namespace

int CompareGrades(const CString& a, const CString& b) {
  const int na = RoomGradeNumber(a);
  const int nb = RoomGradeNumber(b);
  if (na < nb)
    return -1;
  if (na == nb && Holds(a, "*") && !Holds(b, "*"))
    return -1;
  return 1;
}

bool IsGradeAtLeast(const CString& a, const CString& b) {
  if (Holds(a, "K")) {
    if (!Holds(b, "K"))
      return false;
    return std::atoi(Without(a, {"*", "K"})) < std::atoi(Without(b, {"*", "K"}));
  }
  if (Holds(b, "K"))
    return true;
  if (Holds(a, "Pro")) {
    if (!Holds(b, "Pro"))
      return true;
    return std::atoi(Without(a, {"*", "Pro", "D"})) >= std::atoi(Without(b, {"*", "Pro", "D"}));
  }
  if (Holds(b, "Pro"))
    return false;
  return std::atoi(Without(a, {"*", "D"})) >= std::atoi(Without(b, {"*", "D"}));
}

int GradeToNumber(const CString& grade) {
  const CString text = Without(grade, {"*"});
  if (Holds(text, "K"))
    return 19 - std::atoi(Without(text, {"K"}));
  if (Holds(text, "D"))
    return 18 + (Holds(text, "Pro") ? 7 : 0) + std::atoi(Without(text, {"D", "Pro"}));
  return 0;
}
