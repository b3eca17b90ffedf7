#pragma once
// Files and folders: CFile, CStdioFile, CFileException, CFileFind and the Win32 file functions
// the programs call.
//
// Windows paths are accepted everywhere a path enters: every "\" becomes "/" (".\gibo\x.sgf" is
// "./gibo/x.sgf"). Code page 949 trail bytes are never 0x5C, so the byte-wise change is safe.
// Share modes are accepted and not enforced.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/object.h"
#include "platform/strings.h"
#include "platform/time.h"
#include "platform/types.h"

class CFileException : public CException {
public:
  // The class library's cause values, in its order.
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };

  explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr);

  // Fills m_cause and m_lOsError from an errno value.
  void SetFromErrno(int error, const char* fileName = nullptr);
  // The cause that matches an errno value.
  static int ErrnoToCause(int error);
  BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

  int m_cause{none};
  LONG m_lOsError{-1};  // the errno value behind the failure, -1 when none
  CString m_strFileName;
};

// Throws a new CFileException (by pointer).
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const char* fileName = nullptr);

struct CFileStatus {
  CTime m_ctime;            // status change (Linux keeps no creation time)
  CTime m_mtime;            // last change of the contents
  CTime m_atime;            // last access
  std::int64_t m_size{0};
  BYTE m_attribute{0};      // CFile::Attribute bits
  CString m_szFullName;     // the path as given, with "/" separators
};

// A binary file over a file descriptor. Read, Write, Seek and the like throw a CFileException*
// on failure (the class library's convention); Open reports failure through its result.
class CFile : public CObject {
public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum Attribute : BYTE {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20,
  };
  enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };
  static constexpr int hFileNull = -1;

  CFile() = default;
  // Opens the file; throws a CFileException* when it cannot.
  CFile(const char* fileName, UINT openFlags);
  ~CFile() override;

  // FALSE on failure, with the reason in *error when given. modeCreate without modeNoTruncate
  // truncates; modeCreate with it opens or creates.
  virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
  // Closes the file; throws a CFileException* when the close reports an error.
  virtual void Close();
  // Closes the file ignoring every error; never throws.
  virtual void Abort();
  virtual void Flush();

  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual UINT Read(void* buffer, UINT count);
  // Writes all count bytes.
  virtual void Write(const void* buffer, UINT count);
  // Moves the position; returns the new position from the start. A position before the start
  // throws with cause badSeek.
  virtual std::uint64_t Seek(std::int64_t offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  std::uint64_t SeekToEnd() { return Seek(0, end); }
  virtual std::uint64_t GetPosition() const;
  virtual std::uint64_t GetLength() const;
  virtual void SetLength(std::uint64_t newLength);

  BOOL IsOpen() const { return m_hFile != hFileNull; }
  // The path as opened ("/" separators), its last component, and that without its extension.
  // GetFileName and GetFileTitle of CFileFind give the same for its current entry.
  CString GetFilePath() const { return m_strFileName; }
  CString GetFileName() const;
  CString GetFileTitle() const;
  BOOL GetStatus(CFileStatus& status) const;

  static BOOL GetStatus(const char* fileName, CFileStatus& status);
  // Both throw a CFileException* on failure. Rename replaces an existing target in one step.
  static void Remove(const char* fileName);
  static void Rename(const char* oldName, const char* newName);

  int m_hFile{hFileNull};  // the file descriptor, hFileNull when closed

protected:
  // Throws a CFileException* for the current errno (or cause invalidFile when not open).
  [[noreturn]] void ThrowLastError() const;
  void RequireOpen() const;

  CString m_strFileName;
  UINT m_openFlags{0};
};

// A buffered file read and written line by line. Text mode keeps bytes on writing: the programs
// write "\r\n" themselves where their files need it.
class CStdioFile : public CFile {
public:
  CStdioFile() = default;
  // Wraps an open stream, which stays owned by the caller.
  explicit CStdioFile(FILE* stream);
  // Opens the file; throws a CFileException* when it cannot.
  CStdioFile(const char* fileName, UINT openFlags);
  ~CStdioFile() override;

  BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr) override;
  void Close() override;
  void Abort() override;
  void Flush() override;
  UINT Read(void* buffer, UINT count) override;
  void Write(const void* buffer, UINT count) override;
  std::uint64_t Seek(std::int64_t offset, UINT from) override;
  std::uint64_t GetPosition() const override;
  std::uint64_t GetLength() const override;
  void SetLength(std::uint64_t newLength) override;

  // Reads the next line without its "\n" (and, in text mode, a "\r" right before it); FALSE at
  // the end of the file with nothing read.
  BOOL ReadString(CString& line);
  // Reads at most maxChars - 1 bytes, stopping after a "\n" which is kept (in text mode "\r\n"
  // becomes "\n"); the text is terminated. Null at the end of the file with nothing read.
  char* ReadString(char* buffer, UINT maxChars);
  // Writes the text as it stands.
  void WriteString(const char* text);

  FILE* m_pStream{nullptr};

private:
  bool TextMode() const { return (m_openFlags & typeBinary) == 0; }
  void CloseStream(bool reportErrors);

  bool m_ownsStream{true};
};

// Enumerates the entries of a folder that match a pattern with "*" and "?" (ASCII letters match
// regardless of case, "*.*" matches every name).
class CFileFind : public CObject {
public:
  CFileFind() = default;
  ~CFileFind() override { Close(); }

  // Starts a search ("dir/*.sgf"; null means "*.*" in the current folder); FALSE when nothing
  // matches. Entries come in name order.
  BOOL FindFile(const char* pattern = nullptr, DWORD flags = 0);
  // Moves to the next entry; FALSE when the entry moved to is the last one (it is still valid),
  // as in the class library: call once before reading the first entry.
  BOOL FindNextFile();
  void Close();

  CString GetFileName() const;
  CString GetFilePath() const;
  CString GetFileTitle() const;
  // The folder searched ("" when the pattern named none).
  CString GetRoot() const { return m_root; }
  std::uint64_t GetLength() const;
  BOOL IsDirectory() const;
  BOOL IsDots() const;
  BOOL IsReadOnly() const;

private:
  struct Entry {
    CString name;
    std::uint64_t size{0};
    bool directory{false};
    bool readOnly{false};
  };
  const Entry* Current() const;

  std::vector<Entry> m_entries;
  CString m_root;      // the folder searched, without a trailing "/" (unless it is "/")
  int m_current{-1};   // index of the entry FindNextFile last moved to
};

// Win32 file functions. Results follow Win32: BOOL success, sizes in bytes.
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr int MAX_PATH = 260;

BOOL CreateDirectory(const char* path, void* security = nullptr);
BOOL RemoveDirectory(const char* path);
BOOL DeleteFile(const char* path);
// Copies a file; with failIfExists an existing target makes it fail.
BOOL CopyFile(const char* from, const char* to, BOOL failIfExists);
BOOL MoveFile(const char* from, const char* to);
// FILE_ATTRIBUTE_* bits, or INVALID_FILE_ATTRIBUTES when the path does not exist.
DWORD GetFileAttributes(const char* path);
// Copies the current folder into buffer; returns its length, or the size needed (with the
// terminator) when the buffer is too small.
DWORD GetCurrentDirectory(DWORD bufferSize, char* buffer);
BOOL SetCurrentDirectory(const char* path);
// The temporary folder with a trailing "/" (TMPDIR or /tmp) in the program's text; length as
// GetCurrentDirectory.
DWORD GetTempPath(DWORD bufferSize, char* buffer);
// Makes a new empty file "<path>/<prefix up to 3 bytes><hex>.tmp" and puts its name, in the
// program's text, in tempFileName (MAX_PATH bytes); with unique non-zero only builds the name. Returns the number
// used, 0 on failure.
UINT GetTempFileName(const char* path, const char* prefix, UINT unique, char* tempFileName);
// The running program's path (module null only); length as GetCurrentDirectory, 0 on failure.
DWORD GetModuleFileName(HMODULE module, char* buffer, DWORD bufferSize);
// 0 when the path exists and allows mode (0 exists, 2 write, 4 read, 6 both), else -1.
int _access(const char* path, int mode);

// The old handle-based file functions.
using HFILE = int;
constexpr HFILE HFILE_ERROR = -1;
constexpr UINT OF_READ = 0x0000;
constexpr UINT OF_WRITE = 0x0001;
constexpr UINT OF_READWRITE = 0x0002;
constexpr UINT OF_CREATE = 0x1000;
struct OFSTRUCT {
  BYTE cBytes{0};
  BYTE fFixedDisk{1};
  WORD nErrCode{0};  // errno of a failed open
  WORD Reserved1{0};
  WORD Reserved2{0};
  char szPathName[128]{};
};
HFILE OpenFile(const char* path, OFSTRUCT* info, UINT style);
// Bytes read or written, HFILE_ERROR on failure.
UINT _lread(HFILE file, void* buffer, UINT count);
UINT _lwrite(HFILE file, const void* buffer, UINT count);
// The new position, HFILE_ERROR on failure; from is 0 start, 1 current, 2 end.
LONG _llseek(HFILE file, LONG offset, int from);
HFILE _lclose(HFILE file);

namespace platform {

// Programs name files in their own text (code page 949), the file system in UTF-8: NativePath
// turns a program's path into the file system's bytes (every "\" a "/"), ProgramPath a name read
// from the file system back (a character code page 949 lacks becomes '?').
std::string NativePath(const char* path);
CString ProgramPath(std::string_view native);
// The last component of a "/" path, and a file name without its extension (".x" stays whole).
CString FileNameOf(const CString& path);
CString FileTitleOf(const CString& name);
// Opens a descriptor with CFile's open flags (the path already native); -1 with errno set on
// failure. A folder is refused (EISDIR).
int OpenDescriptor(const std::string& path, UINT openFlags);

// Replaces the file at path (the program's text) with bytes as a whole, so that a failed or
// interrupted save never leaves it cut: the bytes go to a new temporary file in the same folder,
// which is flushed to the disk, given the old file's permissions and renamed over path. On any
// failure the temporary is removed, path keeps what it held (or stays absent), errno tells why
// and FALSE is returned. A symbolic link keeps pointing where it did: its target is replaced. An
// existing file this user may not write is refused, as opening it would be; a device or a pipe
// is written in place.
BOOL ReplaceFileContents(const char* path, std::string_view bytes);
// Whether an errno value says the disk took not all the bytes (full, over a limit, failing),
// rather than that the file could not be made at all.
bool IsWriteFailure(int error);

// A fresh folder under the temporary folder, removed with all its content on destruction.
// Meant for tests.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  // Path of name inside the folder.
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

// A new TempDir (tests: `auto dir = platform::MakeTempDir();`).
TempDir MakeTempDir();

// Removes a file or a folder with everything in it; FALSE when something remained.
BOOL RemoveTree(const std::string& path);

}  // namespace platform
