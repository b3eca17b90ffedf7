#pragma once
// Run-time class information: what a class is called, what it derives from, and how to make one
// when the class is dynamically creatable.
//
//   // header                                // source
//   class CMyView : public CView {           IMPLEMENT_DYNCREATE(CMyView, CView)
//     DECLARE_DYNCREATE(CMyView)
//   };
//   CObject* object = RUNTIME_CLASS(CMyView)->CreateObject();

#include "platform/object.h"
#include "platform/types.h"

struct CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  CObject* (*m_pfnCreateObject)();       // null: not dynamically creatable
  CRuntimeClass* (*m_pfnGetBaseClass)();  // null at the root

  // A new object of the class, or null when the class cannot be made dynamically.
  CObject* CreateObject() const;
  // TRUE when this class is base or derives from it.
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
  // The class registered under name (every class with IMPLEMENT_* is), or null.
  static CRuntimeClass* FromName(const char* className);
  // A new object of the class registered under name, or null.
  static CObject* CreateObject(const char* className);
};

class CCmdTarget;
class CWnd;

namespace platform {

// The run-time class of T: its declared one, or for the root classes of the library the ones
// kept here (they declare none themselves).
template <class T>
struct RuntimeClassOf {
  static CRuntimeClass* Get() { return T::AfxThisRuntimeClass(); }
};
template <>
struct RuntimeClassOf<CObject> {
  static CRuntimeClass* Get() { return &CObject::classCObject; }
};
template <>
struct RuntimeClassOf<CCmdTarget> {
  static CRuntimeClass* Get();
};
template <>
struct RuntimeClassOf<CWnd> {
  static CRuntimeClass* Get();
};

// Enters a class in the by-name lookup; done by the IMPLEMENT_* macros at start-up.
struct RuntimeClassRegistrar {
  explicit RuntimeClassRegistrar(CRuntimeClass* cls);
};
}  // namespace platform

#define RUNTIME_CLASS(theClass) (platform::RuntimeClassOf<theClass>::Get())

#define DECLARE_DYNAMIC(theClass)                    \
public:                                              \
  static CRuntimeClass class##theClass;              \
  static CRuntimeClass* AfxThisRuntimeClass();       \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(theClass) \
  DECLARE_DYNAMIC(theClass)         \
  static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, create)                                    \
  CRuntimeClass theClass::class##theClass = {#theClass, static_cast<int>(sizeof(theClass)), create, \
                                             []() -> CRuntimeClass* { return RUNTIME_CLASS(baseClass); }}; \
  CRuntimeClass* theClass::AfxThisRuntimeClass() { return &theClass::class##theClass; }            \
  CRuntimeClass* theClass::GetRuntimeClass() const { return &theClass::class##theClass; }          \
  static const platform::RuntimeClassRegistrar afxRegistrar##theClass(RUNTIME_CLASS(theClass));

#define IMPLEMENT_DYNAMIC(theClass, baseClass) AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, nullptr)

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                         \
  CObject* theClass::CreateObject() { return new theClass; }             \
  AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, &theClass::CreateObject)
