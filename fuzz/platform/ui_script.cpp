// UI script files: parsing arbitrary text, then answering questions from what was parsed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/uiscript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  platform::FileUiScript script(platform::ParseUiScript(text, &errors));
  for (int i = 0; i < 4 && !script.Remaining().empty(); ++i) {
    script.OnMessageBox("Already logged in.", "", 0);
    script.OnPopupMenu(nullptr, POINT{0, 0}, nullptr);
    script.OnFileDialog(1, nullptr, nullptr);
    script.OnPrintDialog();
    script.Take(platform::UiQuestion::Dialog);
  }
  return 0;
}
