#include "orvanta/connection/SendCategory.h"

namespace {
bool IsMemberRole(const CString& role) { return role == "2" || role == "3" || role == "5"; }
}  // namespace

short GetSendCategory(short side, const CString& role) {
  const bool first = role == "1";
  if (side == 0)
    return first ? 2 : (IsMemberRole(role) ? 3 : 0);
  if (side == 1)
    return first ? 4 : 5;
  return 0;
}
