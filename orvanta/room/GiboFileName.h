#pragma once
// CGiboFileName: where a finished game of the room is saved: ".\gibo\" + black + "_" + white.
// The names come from the server, so they are made safe for a file name first.

#include <platform/strings.h>

class CGiboFileName {
public:
  // The folder finished games go to.
  static constexpr const char* kFolder = ".\\gibo";
  static CString Build(const CString& black, const CString& white);
  // The name with "/", "\", ".." and control characters replaced by "_"; "_" for an empty one.
  static CString Safe(const CString& name);
};
