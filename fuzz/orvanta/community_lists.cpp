// The record list's page payloads (messages 61 and 62): counts never pass the records present and
// every row has its twelve fields.

#include <cstdint>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/RecordListPayload.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const CRecordListPayload page = CRecordListPayload::Parse(text);
  const int fields = CFieldTokenizer(text).GetCount();
  if (static_cast<int>(page.rows.size()) * CRecordRow::kFields > (fields > 0 ? fields - 1 : 0))
    std::abort();
  if (page.count >= 0 && static_cast<int>(page.rows.size()) > page.count)
    std::abort();
  return 0;
}
