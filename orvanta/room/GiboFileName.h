#pragma once
// CGiboFileName: where a finished game of the room is saved: ".\gibo\" + black + "_" + white,
// numbered when the two have played before.
// The names come from the server, so they are made safe for a file name first.

#include <platform/strings.h>

class CGiboFileName {
public:
  // The folder finished games go to.
  static constexpr const char* kFolder = ".\\gibo";
  // ".\gibo\black_white", or when an earlier game of the two is there, the first of
  // "black_white(2)", "black_white(3)"... not taken: a record never replaces another.
  static CString Build(const CString& black, const CString& white);
  // The name with "/", "\", ".." and control characters replaced by "_"; "_" for an empty one.
  static CString Safe(const CString& name);
};
