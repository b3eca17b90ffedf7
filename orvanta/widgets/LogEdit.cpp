#include "orvanta/widgets/LogEdit.h"

#include <string>

void ShowLogText(CEdit& edit, const CString& shown, const CString& now) {
  const std::string& was = shown.str();
  const std::string& text = now.str();
  // The kept part starts where a line of the shown text starts (or at its start).
  for (std::size_t from = 0; from <= was.size();) {
    const std::size_t kept = was.size() - from;
    if (kept <= text.size() && text.compare(0, kept, was, from, kept) == 0) {
      if (kept == 0 && !was.empty()) break;  // nothing kept: one replacement is cheaper
      if (from > 0) {
        edit.SetSel(0, static_cast<int>(from));
        edit.ReplaceSel("");
      }
      if (text.size() > kept) {
        edit.SetSel(static_cast<int>(kept), static_cast<int>(kept));
        edit.ReplaceSel(text.c_str() + kept);
      }
      return;
    }
    const std::size_t feed = was.find('\n', from);
    if (feed == std::string::npos) break;
    from = feed + 1;
  }
  edit.SetWindowText(now);
}
