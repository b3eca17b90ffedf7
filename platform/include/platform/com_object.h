#pragma once
// A base for objects that implement interfaces: reference counting, QueryInterface over the
// listed interfaces, and the module count that keeps the object's module loaded while it lives.
//
//   class CStoneList : public CComObjectImpl<IStoneList, ISupportErrorInfo> { ... };
//   CStoneList* list = CStoneList::Create<CStoneList>();  // one reference, or null

#include <atomic>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com.h"
#include "platform/com_module.h"

template <class... Interfaces>
class CComObjectImpl : public Interfaces... {
  static_assert(sizeof...(Interfaces) > 0, "an object implements at least one interface");
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = FindInterface(riid);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --m_refs;
    if (left == 0) {
      // References taken and dropped while the destructor runs (an event fired from it) must not
      // reach zero a second time.
      m_refs = kDestroying;
      delete this;
    }
    return left;
  }
  using IUnknown::QueryInterface;

  // The object's identity.
  IUnknown* GetUnknown() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

  // Makes a T (constructed from args) and returns it with one reference, or null when memory ran
  // out.
  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (object) object->AddRef();
    return object;
  }

protected:
  // module (may be null) counts this object as live until it is destroyed.
  explicit CComObjectImpl(CComModule* module = nullptr) : m_module(module) {
    if (m_module) m_module->Lock();
  }
  ~CComObjectImpl() override {
    if (m_module) m_module->Unlock();
  }
  CComObjectImpl(const CComObjectImpl&) = delete;
  CComObjectImpl& operator=(const CComObjectImpl&) = delete;

  // The interface pointer for riid (not AddRef'ed) or null. IUnknown is the first listed
  // interface; an interface's bases (IDispatch of a dual interface) answer with the first listed
  // interface derived from them. Override to add interfaces held elsewhere, calling this one.
  virtual void* FindInterface(REFIID riid) {
    if (riid == IID_IUnknown) return GetUnknown();
    void* found = nullptr;
    ((found = found ? found : Exact<Interfaces>(riid)), ...);
    return found;
  }
  // The pointer for riid when riid names a base of a listed interface (e.g. IDispatch).
  template <class Base>
  void* AsBase() {
    void* found = nullptr;
    ((found = found ? found : Derived<Interfaces, Base>()), ...);
    return found;
  }

  CComModule* OwningModule() const { return m_module; }

private:
  template <class I>
  void* Exact(REFIID riid) {
    return riid == InterfaceId<I>::value ? static_cast<I*>(this) : nullptr;
  }
  template <class I, class Base>
  void* Derived() {
    if constexpr (std::is_base_of_v<Base, I>)
      return static_cast<Base*>(static_cast<I*>(this));
    else
      return nullptr;
  }

  static constexpr ULONG kDestroying = 1u << 30;

  std::atomic<ULONG> m_refs{0};
  CComModule* m_module{nullptr};
};

// Creates a T and returns its interface riid: the creator a module lists for a class
// (`module.AddClass(reg, CreateObject<CWidget>)`).
template <class T>
HRESULT CreateObject(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  T* object = T::template Create<T>();
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}
