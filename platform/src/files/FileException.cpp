#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace {

// The name a message shows: the program's text, with the file system's separators.
CString ShownPath(const char* fileName) { return platform::ProgramPath(platform::NativePath(fileName)); }

}  // namespace

CFileException::CFileException(int cause, LONG osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName ? ShownPath(fileName) : CString()) {}

void CFileException::SetFromErrno(int error, const char* fileName) {
  m_cause = ErrnoToCause(error);
  m_lOsError = error;
  if (fileName) m_strFileName = ShownPath(fileName);
}

int CFileException::ErrnoToCause(int error) {
  switch (error) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EBUSY:
      return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    case EINVAL:
    case ESPIPE:
      return badSeek;
    case EIO:
      return hardIO;
    default:
      return genericException;
  }
}

BOOL CFileException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  static const char* const texts[] = {"No error occurred.",
                                      "An unspecified error occurred.",
                                      "was not found.",
                                      "contains an invalid path.",
                                      "could not be opened because there are too many open files.",
                                      "Access to %s was denied.",
                                      "An invalid file handle was associated with %s.",
                                      "could not be removed because it is the current directory.",
                                      "could not be created because the directory is full.",
                                      "Seek failed on",
                                      "A hardware I/O error was reported while accessing",
                                      "A sharing violation occurred while accessing",
                                      "A locking violation occurred while locking",
                                      "Disk full while accessing",
                                      "An attempt was made to access beyond the end of"};
  int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
  CString text;
  if (cause == none || cause == genericException) {
    text = texts[cause];
  } else if (cause == accessDenied || cause == invalidFile) {
    text.Format(texts[cause], m_strFileName.GetString());
  } else if (cause <= directoryFull) {
    text.Format("%s %s", m_strFileName.GetString(), texts[cause]);
  } else {
    text.Format("%s %s.", texts[cause], m_strFileName.GetString());
  }
  return platform::CopyToBuffer(text, buffer, maxChars);
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName) {
  throw new CFileException(cause, osError, fileName);
}
