#include "orvanta/lobby/RankListPayload.h"

#include <algorithm>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

template <typename Row>
std::vector<Row> ReadRows(CFieldTokenizer& fields, int count, int headerFields) {
  const int present = std::max(0, fields.GetCount() - headerFields) / Row::kFields;
  std::vector<Row> rows;
  for (int i = 0; i < std::clamp(count, 0, present); ++i) {
    Row row;
    for (CString& field : row.fields) field = fields.NextField();
    rows.push_back(row);
  }
  return rows;
}

CString Word(const CString& value, const std::vector<const char*>& words) {
  const int n = std::atoi(value);
  if (n >= 1 && n <= static_cast<int>(words.size()) && value == CString(std::to_string(n).c_str()))
    return words[static_cast<std::size_t>(n - 1)];
  return value;
}

CString Player(const CString& id, const CString& a, const CString& b) {
  return id.IsEmpty() ? CString() : id + "(" + a + "," + b + ")";
}

}  // namespace

double WinRate(const CString& wins, const CString& losses) {
  const double w = std::atoi(wins);
  const double l = std::atoi(losses);
  return w + l == 0 ? 0.0 : 100.0 * w / (w + l);
}

std::array<CString, 7> CRankRow::Columns() const {
  const auto& f = fields;
  CString rate;
  rate.Format("%.1f", WinRate(f[7], f[9]));
  return {f[0], f[1], f[3] + "(" + f[4] + "-" + f[5] + ")", f[6],
          f[7] + " wins,  " + f[8] + " drawns, " + f[9] + " loses", rate, f[2]};
}

std::array<CString, 7> CProRoomRow::Columns() const {
  const auto& r = fields;  // r[0] is r1
  return {r[0], r[10], Player(r[3], r[4], r[5]), Player(r[7], r[8], r[9]),
          Word(r[12], {"Play", "Pause", "Wait", "Count", "End"}), Word(r[13], {"Public", "Private"}), r[1]};
}

CRankListPayload CRankListPayload::Parse(const CString& payload) {
  CRankListPayload list;
  CFieldTokenizer fields(payload);
  list.count = std::atoi(fields.NextField());
  list.rows = ReadRows<CRankRow>(fields, list.count, 1);
  return list;
}

CProRoomListPayload CProRoomListPayload::Parse(const CString& payload) {
  CProRoomListPayload list;
  CFieldTokenizer fields(payload);
  list.firstPage = fields.NextField() == "1";
  fields.NextField();
  const int count = std::atoi(fields.NextField());
  list.rows = ReadRows<CProRoomRow>(fields, count, 3);
  return list;
}
