#include "orvanta/lobby/RecordListPayload.h"

#include <algorithm>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

CRecordListPayload CRecordListPayload::Parse(const CString& payload) {
  CRecordListPayload list;
  CFieldTokenizer fields(payload);
  const int present = std::max(0, fields.GetCount() - 1) / CRecordRow::kFields;
  list.count = std::atoi(fields.NextField());
  const int rows = std::clamp(list.count, 0, present);
  for (int i = 0; i < rows; ++i) {
    CRecordRow row;
    for (CString& field : row.fields) field = fields.NextField();
    list.rows.push_back(row);
  }
  return list;
}
