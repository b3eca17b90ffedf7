// The memo file's reader: any bytes give memos without reading past the text, and the memos
// read back from their own composed text are the same memos.

#include <cstdint>
#include <cstdlib>

#include "orvanta/lobby/MemoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
  const std::vector<CMemoEntry> memos = CMemoFile::Parse(text);
  int separators = 0;
  for (int i = 1; i < text.GetLength(); ++i) separators += text[i] == '/';
  if (static_cast<int>(memos.size()) != separators)
    std::abort();
  // Fields never hold a separator, so a composed text reads back as the memos it came from.
  const std::vector<CMemoEntry> again = CMemoFile::Parse(CMemoFile::Compose(memos));
  if (again.size() != memos.size())
    std::abort();
  for (std::size_t i = 0; i < memos.size(); ++i)
    if (again[i].date != memos[i].date || again[i].id != memos[i].id || again[i].name != memos[i].name ||
        again[i].contents != memos[i].contents)
      std::abort();
  return 0;
}
