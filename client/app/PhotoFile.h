#pragma once
// CPhotoFile: one photograph from the relay, kept in a file of its own in the temporary folder
// while the view shows it. The file is made fresh for each photograph, readable by this user
// only, under a name nobody can foresee, so nothing planted there beforehand can receive the
// relay's bytes; it goes when the next photograph replaces it or the object does.

#include <cstddef>

#include "platform/strings.h"

class CPhotoFile {
public:
  CPhotoFile() = default;
  ~CPhotoFile() { Remove(); }
  CPhotoFile(const CPhotoFile&) = delete;
  CPhotoFile& operator=(const CPhotoFile&) = delete;

  // Writes size bytes to a new file in folder, a path in the program's text (removing the one
  // held before); false when no file could be made or written, and then none is held.
  bool Write(const char* folder, const void* bytes, std::size_t size);
  // Deletes the file held, if any.
  void Remove();
  // The file's path in the program's text; empty while none is held.
  const CString& GetPath() const { return m_path; }

private:
  CString m_path;
};
