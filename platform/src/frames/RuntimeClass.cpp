// Run-time class information and the by-name lookup of classes.
#include "platform/runtime_class.h"

#include <cstring>
#include <vector>

namespace {

// Filled during static initialisation only; read afterwards.
std::vector<CRuntimeClass*>& Registered() {
  static std::vector<CRuntimeClass*> classes;
  return classes;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
  return cls && GetRuntimeClass()->IsDerivedFrom(cls);
}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* cls = this; cls; cls = cls->GetBaseClass()) {
    if (cls == base) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* className) {
  if (!className) return nullptr;
  if (std::strcmp(className, "CObject") == 0) return &CObject::classCObject;
  for (CRuntimeClass* cls : Registered()) {
    if (std::strcmp(cls->m_lpszClassName, className) == 0) return cls;
  }
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* className) {
  CRuntimeClass* cls = FromName(className);
  return cls ? cls->CreateObject() : nullptr;
}

platform::RuntimeClassRegistrar::RuntimeClassRegistrar(CRuntimeClass* cls) { Registered().push_back(cls); }

CRuntimeClass* platform::RuntimeClassOf<CCmdTarget>::Get() {
  static CRuntimeClass cls = {"CCmdTarget", 0, nullptr, []() -> CRuntimeClass* { return &CObject::classCObject; }};
  return &cls;
}

CRuntimeClass* platform::RuntimeClassOf<CWnd>::Get() {
  static CRuntimeClass cls = {"CWnd", 0, nullptr, []() -> CRuntimeClass* { return RUNTIME_CLASS(CCmdTarget); }};
  return &cls;
}
