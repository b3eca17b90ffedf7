#include "orvanta/lobby/ListSorter.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <tuple>

namespace {

// The words that name a grade's parts, in one writing.
struct GradeWords {
  const char* dan;
  const char* pro;
  const char* kyu;
  int proDigit;      // position of the professional dan digit in an unstarred text
  int amateurDigit;  // position of the amateur dan digit in an unstarred text
};

const GradeWords& EnglishWords() {
  static const GradeWords words{"D", "Pro", "K", 3, 0};
  return words;
}

const GradeWords& KoreanWords() {
  // After the four-byte words for "professional" and "amateur".
  static const GradeWords words{Cp949("단"), Cp949("프로"), Cp949("급"), 4, 4};
  return words;
}

// The digit at position at, 0 when the text is shorter or holds no digit there.
int DigitAt(const CString& text, int at) {
  if (at < 0 || at >= text.GetLength())
    return 0;
  const char ch = text[at];
  return std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0' : 0;
}

int CompareWithWords(const CString& a, const CString& b, int s, const GradeWords& words) {
  const bool starA = a.Find('*') == 0;
  const bool starB = b.Find('*') == 0;
  // At equal numbers a counts as after b unless b alone is starred.
  const bool equalAfter = starA || !starB;
  const bool danA = a.Find(words.dan) >= 0;
  const bool danB = b.Find(words.dan) >= 0;
  if (danA && danB) {
    const bool proA = a.Find(words.pro) >= 0;
    const bool proB = b.Find(words.pro) >= 0;
    if (proA != proB)
      return proA ? s : -s;
    const int at = proA ? words.proDigit : words.amateurDigit;
    const int na = DigitAt(a, at + (starA ? 1 : 0));
    const int nb = DigitAt(b, at + (starB ? 1 : 0));
    return na > nb || (na == nb && equalAfter) ? s : -s;
  }
  if (danA != danB)
    return danA ? s : -s;
  const auto kyuNumber = [&](const CString& text, bool star) {
    const int start = star ? 1 : 0;
    const int end = text.Find(words.kyu);
    return end > start ? std::atoi(text.Mid(start, end - start)) : 0;
  };
  const int na = kyuNumber(a, starA);
  const int nb = kyuNumber(b, starB);
  return na < nb || (na == nb && equalAfter) ? s : -s;
}

using DateKey = std::tuple<int, int, int, int, int, int>;

bool ReadDate(const CString& given, DateKey& key) {
  // The bulletin board's Korean form, "2026년 12월 09일 15:30", read as "2026-12-09 15:30".
  CString text = given;
  if (text.Find(Cp949("년")) >= 0) {
    text.Replace(Cp949("년 "), "-");
    text.Replace(Cp949("월 "), "-");
    text.Replace(Cp949("일"), "");
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
  char sep1 = 0, sep2 = 0;
  int used = 0;
  if (std::sscanf(text, "%d%c%d%c%d%n", &y, &sep1, &mo, &sep2, &d, &used) != 5 || sep1 != sep2 ||
      (sep1 != '-' && sep1 != '/' && sep1 != '.'))
    return false;
  if (mo < 1 || mo > 12 || d < 1 || d > 31)
    return false;
  const CString rest = CString(text).Mid(used).Trim();
  if (!rest.IsEmpty()) {
    const int read = std::sscanf(rest, "%d:%d:%d", &h, &mi, &sec);
    if (read < 2 || h < 0 || h > 23 || mi < 0 || mi > 59 || sec < 0 || sec > 59)
      return false;
  }
  key = {y, mo, d, h, mi, sec};
  return true;
}

}  // namespace

CListSorter::CListSorter(CListCtrl& list, int column) : m_list(list) {
  const int rows = list.GetItemCount();
  m_records.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    auto record = std::make_unique<SortRecord>();
    record->data = list.GetItemData(i);
    record->text = list.GetItemText(i, column);
    list.SetItemData(i, reinterpret_cast<DWORD_PTR>(record.get()));
    m_records.push_back(std::move(record));
  }
}

CListSorter::~CListSorter() {
  const int rows = m_list.GetItemCount();
  for (int i = 0; i < rows; ++i) {
    const auto* record = reinterpret_cast<const SortRecord*>(m_list.GetItemData(i));
    if (record)
      m_list.SetItemData(i, record->data);
  }
}

void CListSorter::Sort(BOOL ascending, int kind) {
  m_list.SortItems(&CListSorter::CompareRecords, static_cast<DWORD_PTR>(static_cast<LPARAM>(ascending ? kind : -kind)));
}

int CListSorter::CompareRecords(LPARAM a, LPARAM b, LPARAM p) {
  const auto* ra = reinterpret_cast<const SortRecord*>(a);
  const auto* rb = reinterpret_cast<const SortRecord*>(b);
  return CompareTexts(ra->text, rb->text, static_cast<int>(p));
}

int CListSorter::CompareTexts(const CString& a, const CString& b, int p) {
  const int s = p >= 0 ? 1 : -1;
  switch (s * p) {
    case kWholeNumber: {
      // Compared, not subtracted: numbers at the ends of the range must not overflow.
      const long long x = std::strtoll(a, nullptr, 10);
      const long long y = std::strtoll(b, nullptr, 10);
      return (x > y ? 1 : x < y ? -1 : 0) * s;
    }
    case kText: {
      const int order = CompareTextNoCase949(a, b);
      return (order > 0 ? 1 : order < 0 ? -1 : 0) * s;
    }
    case kDate: return CompareDateTexts(a, b, s);
    case kRealNumber: return std::atof(a) < std::atof(b) ? -s : s;
    case kGrade: return IsKoreanGradeText(b) ? CompareGradeTextKorean(a, b, s) : CompareGradeText(a, b, s);
    case kRoomState: return CompareRoomState(a, b, s);
    default: return 0;
  }
}

int CompareGradeText(const CString& a, const CString& b, int s) { return CompareWithWords(a, b, s, EnglishWords()); }

int CompareGradeTextKorean(const CString& a, const CString& b, int s) {
  return CompareWithWords(a, b, s, KoreanWords());
}

int IsKoreanGradeText(const CString& text) {
  static const char* const kKyu = Cp949("급");
  static const char* const kAmateur = Cp949("아마");
  static const char* const kPro = Cp949("프로");
  return text.Find(kKyu) >= 0 || text.Find(kAmateur) >= 0 || text.Find(kPro) >= 0 ? 1 : 0;
}

int RoomStateOrder(const CString& text) {
  static const char* const kWords[] = {"Wait", "Play", "Pause", "Count", "Review", "End"};
  for (int i = 0; i < 6; ++i)
    if (text.Find(kWords[i]) >= 0)
      return i;
  return -1;
}

int CompareRoomState(const CString& a, const CString& b, int s) {
  return RoomStateOrder(a) > RoomStateOrder(b) ? s : -s;
}

int CompareTextNoCase949(const CString& a, const CString& b) {
  const std::string& x = a.str();
  const std::string& y = b.str();
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < x.size() && j < y.size()) {
    const int lengthA = Cp949CharLength(x, i);
    const int lengthB = Cp949CharLength(y, j);
    const auto fold = [](unsigned char ch) { return ch < 0x80 ? std::tolower(ch) : ch; };
    unsigned int ca = fold(static_cast<unsigned char>(x[i]));
    unsigned int cb = fold(static_cast<unsigned char>(y[j]));
    if (lengthA == 2)
      ca = (ca << 8) | static_cast<unsigned char>(x[i + 1]);
    if (lengthB == 2)
      cb = (cb << 8) | static_cast<unsigned char>(y[j + 1]);
    if (ca != cb)
      return ca < cb ? -1 : 1;
    i += static_cast<std::size_t>(lengthA);
    j += static_cast<std::size_t>(lengthB);
  }
  if (i < x.size())
    return 1;
  return j < y.size() ? -1 : 0;
}

int CompareDateTexts(const CString& a, const CString& b, int s) {
  DateKey ka;
  DateKey kb;
  if (!ReadDate(a, ka) || !ReadDate(b, kb))
    return 0;
  return ka < kb ? -s : s;
}
