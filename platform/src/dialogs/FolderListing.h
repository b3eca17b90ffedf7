#pragma once
// What the on-screen file dialog lists and where a typed name leads: the filter string's
// choices, a folder's sub-folders and matching files, and paths joined and tidied. Paths and names
// are the program's text (code page 949); the files layer converts them for the file system.

#include <vector>

#include "platform/strings.h"

namespace platform::detail {

// One choice of a filter string "Text|*.a;*.b|Text|*.*||".
struct FileFilterChoice {
  CString text;
  std::vector<CString> patterns;
};

// The choices of filter, in order; "All Files (*.*)" alone when the string has none.
std::vector<FileFilterChoice> ParseFileFilter(const CString& filter);

// One line of a folder's listing.
struct FolderEntry {
  CString name;
  bool folder{false};
};

// ".." (below the root), then the sub-folders, then the files matching one of patterns, each group
// in name order. Names starting with a dot are not listed.
std::vector<FolderEntry> ListFolder(const CString& folder, const std::vector<CString>& patterns);

// text taken from folder: an absolute path stands as it is, a relative one is joined to folder;
// "." and ".." steps are resolved and "\" read as "/".
CString ResolvePath(const CString& folder, const CString& text);
// The folder holding path ("/" for the root and its direct entries).
CString FolderOf(const CString& path);
// The last part of path.
CString NameOf(const CString& path);
// Whether path names an existing folder.
bool IsFolder(const CString& path);

}  // namespace platform::detail
