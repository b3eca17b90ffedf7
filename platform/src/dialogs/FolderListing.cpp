// The listing and path logic of the on-screen file dialog.
#include "FolderListing.h"

#include <algorithm>
#include <string>

#include "platform/files.h"

namespace platform::detail {
namespace {

// text with "\\" read as "/" (a code page 949 trail byte is never either).
std::string NativeSeparators(const CString& text) {
  std::string s = text.GetString();
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

// The parts of a "|"-separated string; a trailing empty part ends it.
std::vector<CString> SplitBars(const CString& text) {
  std::vector<CString> parts;
  std::string current;
  for (const char* p = text.GetString(); *p; ++p) {
    if (*p == '|') {
      parts.emplace_back(current.c_str());
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) parts.emplace_back(current.c_str());
  return parts;
}

std::vector<CString> SplitPatterns(const CString& text) {
  std::vector<CString> patterns;
  std::string current;
  for (const char* p = text.GetString();; ++p) {
    if (*p == ';' || *p == '\0') {
      std::size_t first = current.find_first_not_of(' ');
      if (first != std::string::npos) patterns.emplace_back(current.substr(first).c_str());
      current.clear();
      if (*p == '\0') break;
    } else {
      current += *p;
    }
  }
  return patterns;
}

// Names of the entries of folder matching pattern, folders or files only.
std::vector<CString> Names(const CString& folder, const CString& pattern, bool folders) {
  std::vector<CString> names;
  CFileFind find;
  CString base = folder == "/" ? folder : folder + "/";
  BOOL more = find.FindFile(base + pattern);
  while (more) {
    more = find.FindNextFile();
    CString name = find.GetFileName();
    if (name.IsEmpty() || name[0] == '.' || (find.IsDirectory() != FALSE) != folders) continue;
    names.push_back(name);
  }
  return names;
}

}  // namespace

std::vector<FileFilterChoice> ParseFileFilter(const CString& filter) {
  std::vector<CString> parts = SplitBars(filter);
  std::vector<FileFilterChoice> choices;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::vector<CString> patterns = SplitPatterns(parts[i + 1]);
    if (!patterns.empty()) choices.push_back(FileFilterChoice{parts[i], std::move(patterns)});
  }
  if (choices.empty()) choices.push_back(FileFilterChoice{"All Files (*.*)", {"*.*"}});
  return choices;
}

std::vector<FolderEntry> ListFolder(const CString& folder, const std::vector<CString>& patterns) {
  std::vector<FolderEntry> entries;
  if (folder != "/") entries.push_back(FolderEntry{"..", true});
  for (const CString& name : Names(folder, "*", true)) entries.push_back(FolderEntry{name, true});
  std::vector<CString> files;
  for (const CString& pattern : patterns) {
    for (CString& name : Names(folder, pattern, false)) files.push_back(std::move(name));
  }
  std::sort(files.begin(), files.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
  files.erase(std::unique(files.begin(), files.end()), files.end());
  for (CString& name : files) entries.push_back(FolderEntry{std::move(name), false});
  return entries;
}

CString ResolvePath(const CString& folder, const CString& text) {
  std::string typed = NativeSeparators(text);
  std::string joined = !typed.empty() && typed[0] == '/' ? typed : NativeSeparators(folder) + "/" + typed;
  std::vector<std::string> steps;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    std::string step = joined.substr(start, slash - start);
    if (step == "..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    start = slash + 1;
  }
  std::string path;
  for (const std::string& step : steps) path += "/" + step;
  return path.empty() ? CString("/") : CString(path.c_str());
}

CString FolderOf(const CString& path) {
  int slash = path.ReverseFind('/');
  return slash <= 0 ? CString("/") : path.Left(slash);
}

CString NameOf(const CString& path) { return path.Mid(path.ReverseFind('/') + 1); }

bool IsFolder(const CString& path) {
  DWORD attributes = ::GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace platform::detail
