#include "orvanta/room/GiboFileName.h"

#include <string>

#include <platform/files.h>

CString CGiboFileName::Safe(const CString& name) {
  std::string text = name.str();
  for (char& ch : text) {
    auto byte = static_cast<unsigned char>(ch);
    if (ch == '/' || ch == '\\' || byte < 0x20 || byte == 0x7F) ch = '_';
  }
  for (std::size_t at = text.find(".."); at != std::string::npos; at = text.find("..", at)) text.replace(at, 2, "__");
  if (text.empty()) text = "_";
  return text.c_str();
}

CString CGiboFileName::Build(const CString& black, const CString& white) {
  const CString first = CString(kFolder) + "\\" + Safe(black) + "_" + Safe(white);
  CString path = first;
  for (int number = 2; ::GetFileAttributes(path) != INVALID_FILE_ATTRIBUTES; ++number)
    path = first + "(" + std::to_string(number).c_str() + ")";
  return path;
}
