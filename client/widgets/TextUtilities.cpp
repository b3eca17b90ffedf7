#include "client/widgets/TextUtilities.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/time.h"

namespace {

int ReadPair(const char* pair) {
  const char copy[3] = {pair[0], pair[1], '\0'};
  return std::atoi(copy);
}

template <typename Map>
void MapCase(char* text, int length, Map map) {
  if (text == nullptr) return;
  const int count = length < 0 ? static_cast<int>(std::strlen(text)) : length;
  for (int i = 0; i < count; ++i) {
    text[i] = static_cast<char>(map(static_cast<unsigned char>(text[i])));
  }
}

}  // namespace

int ReadTextLine(CFile& file, char* buffer, int maxBytes) {
  for (int i = 0; i < maxBytes; ++i) {
    char byte = 0;
    if (file.Read(&byte, 1) != 1) return 0;
    if (byte == '\r') {
      byte = '\0';
    } else if (byte == '\n') {
      buffer[i] = '\0';
      return 1;
    }
    buffer[i] = byte;
  }
  return 0;
}

int ParseHhmmss(const char* text, int* hours, int* minutes, int* seconds) {
  if (text == nullptr || std::strlen(text) != 6) return 0;
  *hours = ReadPair(text);
  *minutes = ReadPair(text + 2);
  *seconds = ReadPair(text + 4);
  return 1;
}

std::int64_t GetNowSeconds() { return static_cast<std::int64_t>(platform::Clock::Now()); }

void StrUpper(char* text, int length) { MapCase(text, length, [](int c) { return std::toupper(c); }); }

void StrLower(char* text, int length) { MapCase(text, length, [](int c) { return std::tolower(c); }); }

int LoadUiText(const char* literal, CString& out) {
  out = literal;
  return 1;
}

int ShowMessage(const char* text) { return AfxMessageBox(text, MB_OK, 0); }
