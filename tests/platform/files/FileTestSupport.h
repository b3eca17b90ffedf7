#pragma once
// Small helpers shared by the file tests.

#include <fstream>
#include <sstream>
#include <string>

#include "platform/files.h"

namespace filetest {

inline std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The cause of the CFileException that step throws (released here), or -1 when it throws none.
template <class Step>
int ThrownCause(Step step) {
  try {
    step();
  } catch (CFileException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

}  // namespace filetest
