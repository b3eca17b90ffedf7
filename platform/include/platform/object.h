#pragma once
// The root of the class library's object hierarchy and its heap-thrown exceptions.
//
// Exceptions are thrown as heap pointers and released by the catcher:
//   try { ... } catch (CFileException* e) { e->Delete(); }

#include "platform/types.h"

struct CRuntimeClass;  // runtime_class.h

// Base of the library's classes. Objects are not copyable through the base, as in the class
// library.
class CObject {
public:
  CObject() = default;
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
  virtual ~CObject() = default;

  // The run-time class of the object's most derived class that declares one (runtime_class.h).
  virtual CRuntimeClass* GetRuntimeClass() const;
  // TRUE when the object's run-time class is cls or derives from it.
  BOOL IsKindOf(const CRuntimeClass* cls) const;

  static CRuntimeClass classCObject;
};

class CException : public CObject {
public:
  // autoDelete FALSE marks an exception object that lives elsewhere (static or on the stack):
  // Delete() then leaves it alone.
  explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}

  // Releases a caught exception; the pointer must not be used afterwards.
  void Delete();
  // Copies a readable description (at most maxChars - 1 bytes and a terminator) into buffer;
  // FALSE when the exception has none to give.
  virtual BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const;

  BOOL m_bAutoDelete{TRUE};
};

class CMemoryException : public CException {
public:
  using CException::CException;
  BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;
};

// Throws a new CMemoryException (by pointer).
[[noreturn]] void AfxThrowMemoryException();

namespace platform {
// Copies text into a caller's buffer of maxChars bytes, always terminated; FALSE when it cannot.
BOOL CopyToBuffer(const char* text, char* buffer, UINT maxChars);
}  // namespace platform
