// Every tokenizer operation on arbitrary text: the first byte picks the separator, the next ones
// pick the operations and their arguments, the rest is the text.
#include <cstddef>
#include <cstdint>

#include "orvanta/connection/FieldTokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  char separator = static_cast<char>(data[0]);
  std::size_t opCount = data[1] % 16;
  if (size < 2 + opCount * 2) return 0;
  const std::uint8_t* ops = data + 2;
  CString text(reinterpret_cast<const char*>(ops + opCount * 2), static_cast<int>(size - 2 - opCount * 2));
  CFieldTokenizer t(text, separator);
  for (std::size_t i = 0; i < opCount; ++i) {
    int arg = static_cast<std::int8_t>(ops[2 * i + 1]);
    switch (ops[2 * i] % 6) {
      case 0: t.NextField(); break;
      case 1: t.GetField(arg); break;
      case 2: t.GetCount(); break;
      case 3: t.JoinFields(static_cast<short>(arg), static_cast<short>(arg + ops[2 * i] % 5)); break;
      case 4: t.GetRest(); break;
      case 5: { CFieldTokenizer copy(t); copy.NextField(); t = copy; } break;
    }
    if (t.GetPosition() < 0 || t.GetPosition() > t.GetText().GetLength()) __builtin_trap();
  }
  return 0;
}
