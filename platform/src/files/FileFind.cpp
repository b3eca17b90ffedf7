#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/files.h"

namespace {

char Fold(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

// Matches name against a pattern of "*" (any run of bytes) and "?" (one byte), iteratively with
// backtracking to the last "*" so that long names cannot blow up the time taken.
bool Matches(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && Fold(*pattern) == Fold(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// "*.*" matches every name, dotless ones included: the Windows convention the callers use.
std::string NormalisePattern(std::string pattern) { return pattern == "*.*" ? std::string("*") : pattern; }

}  // namespace

BOOL CFileFind::FindFile(const char* pattern, DWORD flags) {
  (void)flags;
  Close();
  std::string full = platform::NativePath(pattern && *pattern ? pattern : "*.*");
  std::size_t slash = full.rfind('/');
  std::string folder = slash == std::string::npos ? std::string(".")
                       : slash == 0               ? std::string("/")
                                                  : full.substr(0, slash);
  std::string namePattern = NormalisePattern(slash == std::string::npos ? full : full.substr(slash + 1));
  m_root = slash == std::string::npos ? CString() : platform::ProgramPath(folder);

  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return FALSE;
  while (dirent* item = ::readdir(dir)) {
    if (!Matches(namePattern.c_str(), item->d_name)) continue;
    Entry entry;
    entry.name = platform::ProgramPath(item->d_name);
    struct stat info {};
    std::string path = folder + "/" + item->d_name;
    if (::stat(path.c_str(), &info) == 0) {
      entry.size = static_cast<std::uint64_t>(info.st_size);
      entry.directory = S_ISDIR(info.st_mode);
      entry.readOnly = ::access(path.c_str(), W_OK) != 0;
    }
    m_entries.push_back(entry);
  }
  ::closedir(dir);
  std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return m_entries.empty() ? FALSE : TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_current + 1 >= static_cast<int>(m_entries.size())) return FALSE;
  ++m_current;
  return m_current + 1 < static_cast<int>(m_entries.size()) ? TRUE : FALSE;
}

void CFileFind::Close() {
  m_entries.clear();
  m_current = -1;
  m_root.Empty();
}

const CFileFind::Entry* CFileFind::Current() const {
  if (m_current < 0 || m_current >= static_cast<int>(m_entries.size())) return nullptr;
  return &m_entries[static_cast<std::size_t>(m_current)];
}

CString CFileFind::GetFileName() const {
  const Entry* entry = Current();
  return entry ? entry->name : CString();
}

CString CFileFind::GetFilePath() const {
  const Entry* entry = Current();
  if (!entry) return CString();
  if (m_root.IsEmpty()) return entry->name;
  return m_root == "/" ? m_root + entry->name : m_root + "/" + entry->name;
}

CString CFileFind::GetFileTitle() const { return platform::FileTitleOf(GetFileName()); }

std::uint64_t CFileFind::GetLength() const {
  const Entry* entry = Current();
  return entry ? entry->size : 0;
}

BOOL CFileFind::IsDirectory() const {
  const Entry* entry = Current();
  return entry && entry->directory ? TRUE : FALSE;
}

BOOL CFileFind::IsDots() const {
  const Entry* entry = Current();
  return entry && entry->directory && (entry->name == "." || entry->name == "..") ? TRUE : FALSE;
}

BOOL CFileFind::IsReadOnly() const {
  const Entry* entry = Current();
  return entry && entry->readOnly ? TRUE : FALSE;
}
