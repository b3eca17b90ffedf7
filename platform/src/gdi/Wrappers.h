#pragma once
// Class-library objects for handles: the object a handle is attached to, or a temporary wrapper
// that lives until the handle is deleted.

#include <memory>

#include "platform/gdi_dc.h"
#include "platform/gdi_objects.h"

namespace platform::gdi {

CGdiObject* AttachedObject(HGDIOBJ handle);
void RegisterAttached(HGDIOBJ handle, CGdiObject* object);
void UnregisterAttached(HGDIOBJ handle, CGdiObject* object);
CGdiObject* TemporaryObject(HGDIOBJ handle);
CGdiObject* KeepTemporary(HGDIOBJ handle, std::unique_ptr<CGdiObject> object);
// Drops the temporary wrapper of a deleted handle.
void ForgetTemporary(HGDIOBJ handle);

template <class T>
T* WrapperFor(HGDIOBJ handle) {
  if (!handle) return nullptr;
  if (T* attached = dynamic_cast<T*>(AttachedObject(handle))) return attached;
  if (T* temp = dynamic_cast<T*>(TemporaryObject(handle))) return temp;
  auto wrapper = std::make_unique<T>();
  wrapper->m_hObject = handle;
  return static_cast<T*>(KeepTemporary(handle, std::move(wrapper)));
}

}  // namespace platform::gdi
