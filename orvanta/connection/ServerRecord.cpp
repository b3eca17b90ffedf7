#include "orvanta/connection/ServerRecord.h"

#include <cctype>
#include <climits>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

const char kRecordStart[] = "\x1b\t";
const char kRecordEnd[] = "\x1b\n";

int CountRecordStarts(const CString& group) {
  int count = 0;
  int from = 0;
  for (;;) {
    const int hit = group.Find(kRecordStart, from);
    if (hit < 0)
      break;
    ++count;
    from = hit + 3;
    if (from >= group.GetLength() - 1)
      break;
  }
  return count;
}

}  // namespace

std::vector<CServerRecord> CServerRecord::SplitGroup(const CString& group, bool* unterminated) {
  std::vector<CServerRecord> records;
  const int count = CountRecordStarts(group);
  int previousEnd = -1;
  if (unterminated)
    *unterminated = false;
  for (int i = 0; i < count; ++i) {
    const int bodyStart = i == 0 ? 2 : previousEnd + 4;
    const int end = bodyStart > group.GetLength() ? -1 : group.Find(kRecordEnd, bodyStart);
    if (end < 0) {
      if (unterminated)
        *unterminated = true;
      break;
    }
    records.push_back(FromBody(group.Mid(bodyStart, end - bodyStart)));
    previousEnd = end;
  }
  return records;
}

CServerRecord CServerRecord::FromBody(const CString& body) {
  CFieldTokenizer header("/" + body + "/", '/');
  CServerRecord record;
  header.NextField();  // sender
  header.NextField();  // payload length
  record.m_strMajor = header.NextField();
  record.m_strMinor = header.NextField();
  record.m_strFlag = header.NextField();
  record.m_strPayload = header.GetRest();
  record.m_nCode = MessageCode(record.m_strMajor, record.m_strMinor);
  return record;
}

int CServerRecord::MessageCode(const CString& major, const CString& minor) {
  CString folded = major;
  if (folded == "2")
    folded = "3";
  else if (folded == "4")
    folded = "5";
  return ParseNumber(folded + minor);
}

int CServerRecord::ParseNumber(const char* text) {
  if (!text)
    return 0;
  while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
    ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+')
    ++text;
  long long value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    value = value * 10 + (*text - '0');
    if (value > static_cast<long long>(INT_MAX) + 1)
      value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative)
    return static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
