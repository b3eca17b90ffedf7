#include "orvanta/lobby/UserListPayload.h"

#include <algorithm>
#include <cstdlib>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

constexpr int kLeadingFields = 3;
constexpr int kUserFields = 4;

CString NumberOrDefault(const CString& number) { return number.IsEmpty() ? CString("1") : number; }

}  // namespace

CUserListPayload CUserListPayload::Parse(const CString& payload) {
  CUserListPayload result;
  CFieldTokenizer fields(payload);
  const CString first = fields.NextField();
  fields.NextField();
  const CString count = fields.NextField();
  result.reset = first == "1";
  if (count.IsEmpty())
    return result;
  result.hasCount = true;
  const int present = std::max(0, (fields.GetCount() - kLeadingFields) / kUserFields);
  const int n = std::clamp(std::atoi(count), 0, present);
  result.users.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    CUserEntry user;
    user.number = NumberOrDefault(fields.NextField());
    user.id = fields.NextField();
    user.name = fields.NextField();
    user.grade = fields.NextField();
    result.users.push_back(user);
  }
  return result;
}

CUserChangePayload CUserChangePayload::Parse(const CString& payload) {
  CUserChangePayload result;
  if (payload.IsEmpty())
    return result;
  CFieldTokenizer fields(payload);
  if (fields.GetCount() < 4)
    return result;
  const CString operation = fields.GetField(0);
  result.user.number = NumberOrDefault(fields.GetField(1));
  result.user.id = fields.GetField(2);
  result.user.name = fields.GetField(3);
  result.user.grade = fields.GetField(4);
  if (operation.IsEmpty() || result.user.id.IsEmpty())
    return result;
  if (operation == "1")
    result.kind = Kind::Entered;
  else if (operation == "2")
    result.kind = Kind::Left;
  else
    result.kind = Kind::Other;
  return result;
}
