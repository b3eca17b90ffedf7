#pragma once
// Automation: IDispatch, automation exceptions, dispatch tables that describe an interface in code
// and carry out Invoke by calling typed C++ members, a base class for dispatch and dual objects,
// and the client-side driver that calls an object through its IDispatch.
//
// A dual object lists its members once; the same members serve vtable callers and Invoke:
//
//   class CStoneInfo : public CDispatchObject<CStoneInfo, IStoneInfo> {
//   public:
//     static const CDispatchTable<CStoneInfo>& DispatchTable();
//     ...
//   };
//   const CDispatchTable<CStoneInfo>& CStoneInfo::DispatchTable() {
//     using T = CDispatchTable<CStoneInfo>;
//     static const T table{
//         T::Get("Sequence", 2, &IStoneInfo::get_Sequence),
//         T::Method("GetPrevValue", 4, &IStoneInfo::GetPrevValue),
//         T::Get("Character", 10, &IStoneInfo::get_Character),
//         T::Put("Character", 10, &IStoneInfo::put_Character)};
//     return table;
//   }

#include <functional>
#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/com_object.h"
#include "platform/com_variant.h"
#include "platform/object.h"

// ---- IDispatch -----------------------------------------------------------------------------------

constexpr IID IID_IDispatch = GuidFromText("{00020400-0000-0000-C000-000000000046}");

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_NEWENUM = -4;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// Arguments of Invoke: rgvarg holds them last first; named arguments come first in rgvarg.
struct DISPPARAMS {
  VARIANTARG* rgvarg{nullptr};
  DISPID* rgdispidNamedArgs{nullptr};
  UINT cArgs{0};
  UINT cNamedArgs{0};
};

// What an automation exception tells the caller. The strings belong to the caller.
struct EXCEPINFO {
  WORD wCode{0};
  WORD wReserved{0};
  BSTR bstrSource{nullptr};
  BSTR bstrDescription{nullptr};
  BSTR bstrHelpFile{nullptr};
  DWORD dwHelpContext{0};
  void* pvReserved{nullptr};
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*){nullptr};
  SCODE scode{0};
};
// Frees the strings of info and zeroes it.
void ClearExcepInfo(EXCEPINFO* info);

// Type information objects are not offered: GetTypeInfo answers E_NOTIMPL.
class ITypeInfo;

class IDispatch : public IUnknown {
public:
  // 0: no type information objects.
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
  // names[0] is a member name (any case), further names its parameters; ids gets one DISPID
  // each (DISPID_UNKNOWN and DISP_E_UNKNOWNNAME for names not found).
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count,
                                                  LCID lcid, DISPID* ids) = 0;
  // Calls member id as a method, property get or property put (flags DISPATCH_*); a result
  // VARIANT still holding a value is cleared first. Failures:
  // DISP_E_MEMBERNOTFOUND, DISP_E_BADPARAMCOUNT, DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW (argErr
  // gets the rgvarg index of the argument), DISP_E_EXCEPTION (exception filled in).
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                           DISPPARAMS* params, VARIANT* result,
                                           EXCEPINFO* exception, UINT* argErr) = 0;
};
COM_INTERFACE_ID(IDispatch, IID_IDispatch);
using LPDISPATCH = IDispatch*;

// ---- Automation exceptions (thrown by pointer, released by the catcher with Delete) ------------

class COleException : public CException {
public:
  explicit COleException(SCODE sc) : m_sc(sc) {}
  BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

  SCODE m_sc{S_OK};
};

// An automation exception raised by an object's member; Invoke turns it into EXCEPINFO and a
// client's InvokeHelper turns that back into this exception.
class COleDispatchException : public CException {
public:
  COleDispatchException(const char* description, UINT helpId, WORD code);
  BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const override;

  WORD m_wCode{0};           // the object's own error code (0 when m_scError says it all)
  SCODE m_scError{S_OK};     // the failure code when m_wCode is 0
  CString m_strDescription;  // code page 949
  CString m_strSource;
  CString m_strHelpFile;
  DWORD m_dwHelpContext{0};
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
// Raises an automation exception with the object's error code and text (code page 949).
[[noreturn]] void AfxThrowOleDispatchException(WORD code, const char* description, UINT helpId = 0);

// ---- Dispatch tables -----------------------------------------------------------------------------

// One member as a type library would describe it; a property with get and put is two members.
struct DispMemberInfo {
  CString name;
  DISPID dispid{DISPID_UNKNOWN};
  WORD kind{DISPATCH_METHOD};  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
  VARTYPE result{VT_EMPTY};    // VT_EMPTY when there is none
  std::vector<VARTYPE> params; // declaration order; a put's value is the last
};

// The untyped half of a dispatch table: name lookup, member selection, argument checks and
// coercion, and the turning of failures into EXCEPINFO.
class CDispatchTableBase {
public:
  // Calls member index with coerced arguments in declaration order; result may be null.
  using Call = std::function<HRESULT(std::size_t index, VARIANT* args, VARIANT* result)>;

  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
  HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                 UINT* argErr, const Call& call) const;
  // The member id of the given kind, or null.
  const DispMemberInfo* FindMember(DISPID id, WORD kind) const;
  const std::vector<DispMemberInfo>& Members() const { return m_members; }

protected:
  std::vector<DispMemberInfo> m_members;

private:
  // Index of the member that flags select, or -1.
  int SelectMember(DISPID id, WORD flags) const;
  static HRESULT CallMember(const Call& call, std::size_t index, VARIANT* args, VARIANT* result,
                            EXCEPINFO* exception);
};

// How a C++ parameter type travels in a VARIANT.
template <class A>
struct DispArg;
#define PLATFORM_DISP_ARG(Type, Vt, Field)                          \
  template <>                                                      \
  struct DispArg<Type> {                                           \
    static constexpr VARTYPE vt = Vt;                              \
    static Type From(VARIANT& v) { return v.Field; }               \
  }
PLATFORM_DISP_ARG(SHORT, VT_I2, iVal);
PLATFORM_DISP_ARG(LONG, VT_I4, lVal);
PLATFORM_DISP_ARG(BSTR, VT_BSTR, bstrVal);
PLATFORM_DISP_ARG(IDispatch*, VT_DISPATCH, pdispVal);
PLATFORM_DISP_ARG(IUnknown*, VT_UNKNOWN, punkVal);
PLATFORM_DISP_ARG(SHORT*, VT_I2 | VT_BYREF, piVal);
PLATFORM_DISP_ARG(LONG*, VT_I4 | VT_BYREF, plVal);
PLATFORM_DISP_ARG(BSTR*, VT_BSTR | VT_BYREF, pbstrVal);
PLATFORM_DISP_ARG(IDispatch**, VT_DISPATCH | VT_BYREF, ppdispVal);
PLATFORM_DISP_ARG(IUnknown**, VT_UNKNOWN | VT_BYREF, ppunkVal);
PLATFORM_DISP_ARG(VARIANT*, VT_VARIANT | VT_BYREF, pvarVal);
#undef PLATFORM_DISP_ARG
template <>
struct DispArg<VARIANT> {
  static constexpr VARTYPE vt = VT_VARIANT;
  static VARIANT From(VARIANT& v) { return v; }
};
template <>
struct DispArg<const VARIANT&> {
  static constexpr VARTYPE vt = VT_VARIANT;
  static const VARIANT& From(VARIANT& v) { return v; }
};

// How a C++ result type is handed back in a VARIANT; Store takes ownership of the value.
template <class R>
struct DispValue;
#define PLATFORM_DISP_VALUE(Type, Vt, Field, Free)                       \
  template <>                                                           \
  struct DispValue<Type> {                                              \
    static constexpr VARTYPE vt = Vt;                                   \
    static Type Empty() { return {}; }                              \
    static void Store(VARIANT& out, Type value) { out.vt = Vt; out.Field = value; } \
    static void Discard(Type& value) { Free; }                          \
  }
PLATFORM_DISP_VALUE(SHORT, VT_I2, iVal, (void)value);
PLATFORM_DISP_VALUE(LONG, VT_I4, lVal, (void)value);
PLATFORM_DISP_VALUE(BSTR, VT_BSTR, bstrVal, SysFreeString(value));
PLATFORM_DISP_VALUE(IDispatch*, VT_DISPATCH, pdispVal, if (value) value->Release());
PLATFORM_DISP_VALUE(IUnknown*, VT_UNKNOWN, punkVal, if (value) value->Release());
#undef PLATFORM_DISP_VALUE
template <>
struct DispValue<VARIANT> {
  static constexpr VARTYPE vt = VT_VARIANT;
  static VARIANT Empty() { return VARIANT{}; }
  static void Store(VARIANT& out, VARIANT value) { out = value; }
  static void Discard(VARIANT& value) { VariantClear(&value); }
};

// The dispatch table of class T: members described and bound to T's (or its interfaces')
// member functions. Dual members return HRESULT; plain members (dispatch-map style) return their
// value and report failures by throwing COleDispatchException.
template <class T>
class CDispatchTable : public CDispatchTableBase {
public:
  using Invoker = std::function<HRESULT(T& self, VARIANT* args, VARIANT* result)>;
  struct Entry {
    DispMemberInfo info;
    Invoker invoke;
  };

  CDispatchTable(std::initializer_list<Entry> entries) {
    for (const Entry& e : entries) {
      m_members.push_back(e.info);
      m_invokers.push_back(e.invoke);
    }
  }

  HRESULT Invoke(T& self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argErr) const {
    return CDispatchTableBase::Invoke(
        id, flags, params, result, exception, argErr,
        [this, &self](std::size_t index, VARIANT* args, VARIANT* out) {
          return m_invokers[index](self, args, out);
        });
  }

  // Dual method whose parameters are all arguments (pointers travel by reference).
  template <class C, class... A>
  static Entry Method(const char* name, DISPID id, HRESULT (STDMETHODCALLTYPE C::*fn)(A...)) {
    return {{name, id, DISPATCH_METHOD, VT_EMPTY, {DispArg<A>::vt...}},
            [fn](T& self, VARIANT* args, VARIANT*) {
              return CallAll(self, fn, args, std::index_sequence_for<A...>{});
            }};
  }
  // Dual method whose last parameter receives the result.
  template <class C, class... A>
  static Entry MethodWithResult(const char* name, DISPID id, HRESULT (STDMETHODCALLTYPE C::*fn)(A...)) {
    return WithResult(name, id, DISPATCH_METHOD, fn);
  }
  // Dual property get; parameters before the last (the result) are indexes.
  template <class C, class... A>
  static Entry Get(const char* name, DISPID id, HRESULT (STDMETHODCALLTYPE C::*fn)(A...)) {
    return WithResult(name, id, DISPATCH_PROPERTYGET, fn);
  }
  // Dual property put; the last parameter is the new value.
  template <class C, class... A>
  static Entry Put(const char* name, DISPID id, HRESULT (STDMETHODCALLTYPE C::*fn)(A...)) {
    Entry e = Method(name, id, fn);
    e.info.kind = DISPATCH_PROPERTYPUT;
    return e;
  }
  // Plain method: returns its value (or void).
  template <class C, class R, class... A>
  static Entry Function(const char* name, DISPID id, R (C::*fn)(A...)) {
    return Plain(name, id, DISPATCH_METHOD, fn);
  }
  template <class C, class R>
  static Entry PropertyGet(const char* name, DISPID id, R (C::*fn)()) {
    return Plain(name, id, DISPATCH_PROPERTYGET, fn);
  }
  template <class C, class V>
  static Entry PropertyPut(const char* name, DISPID id, void (C::*fn)(V)) {
    return Plain(name, id, DISPATCH_PROPERTYPUT, fn);
  }

private:
  template <class C, class... A, std::size_t... I>
  static HRESULT CallAll(T& self, HRESULT (STDMETHODCALLTYPE C::*fn)(A...), VARIANT* args,
                         std::index_sequence<I...>) {
    (void)args;
    return (self.*fn)(DispArg<A>::From(args[I])...);
  }

  template <class C, class... A>
  static Entry WithResult(const char* name, DISPID id, WORD kind, HRESULT (STDMETHODCALLTYPE C::*fn)(A...)) {
    static_assert(sizeof...(A) > 0, "the last parameter receives the result");
    using Params = std::tuple<A...>;
    using Out = std::tuple_element_t<sizeof...(A) - 1, Params>;
    static_assert(std::is_pointer_v<Out>, "the result parameter is a pointer");
    using R = std::remove_pointer_t<Out>;
    constexpr std::size_t n = sizeof...(A) - 1;
    return {{name, id, kind, DispValue<R>::vt, ArgTypes<Params>(std::make_index_sequence<n>{})},
            [fn](T& self, VARIANT* args, VARIANT* result) {
              return CallWithResult<R>(self, fn, args, result, std::make_index_sequence<n>{});
            }};
  }

  template <class Params, std::size_t... I>
  static std::vector<VARTYPE> ArgTypes(std::index_sequence<I...>) {
    return {DispArg<std::tuple_element_t<I, Params>>::vt...};
  }

  template <class R, class C, class... A, std::size_t... I>
  static HRESULT CallWithResult(T& self, HRESULT (STDMETHODCALLTYPE C::*fn)(A...), VARIANT* args,
                                VARIANT* result, std::index_sequence<I...>) {
    using Params = std::tuple<A...>;
    (void)args;
    R value = DispValue<R>::Empty();
    HRESULT hr = (self.*fn)(DispArg<std::tuple_element_t<I, Params>>::From(args[I])..., &value);
    if (SUCCEEDED(hr) && result)
      DispValue<R>::Store(*result, value);
    else if (SUCCEEDED(hr))
      DispValue<R>::Discard(value);
    return hr;
  }

  template <class C, class R, class... A>
  static Entry Plain(const char* name, DISPID id, WORD kind, R (C::*fn)(A...)) {
    VARTYPE resultType = VT_EMPTY;
    if constexpr (!std::is_void_v<R>) resultType = DispValue<R>::vt;
    return {{name, id, kind, resultType, {DispArg<A>::vt...}},
            [fn](T& self, VARIANT* args, VARIANT* result) {
              CallPlain(self, fn, args, result, std::index_sequence_for<A...>{});
              return S_OK;
            }};
  }

  template <class C, class R, class... A, std::size_t... I>
  static void CallPlain(T& self, R (C::*fn)(A...), VARIANT* args, VARIANT* result,
                        std::index_sequence<I...>) {
    (void)args;
    if constexpr (std::is_void_v<R>) {
      (self.*fn)(DispArg<A>::From(args[I])...);
    } else {
      R value = (self.*fn)(DispArg<A>::From(args[I])...);
      if (result)
        DispValue<R>::Store(*result, value);
      else
        DispValue<R>::Discard(value);
    }
  }

  std::vector<Invoker> m_invokers;
};

// Base of an object whose first interface is IDispatch or a dual interface derived from it.
// Derived supplies `static const CDispatchTable<Derived>& DispatchTable();`.
template <class Derived, class DispatchInterface, class... Others>
class CDispatchObject : public CComObjectImpl<DispatchInterface, Others...> {
  using Base = CComObjectImpl<DispatchInterface, Others...>;

public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    return Derived::DispatchTable().GetIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argErr) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return Derived::DispatchTable().Invoke(static_cast<Derived&>(*this), id, flags, params, result,
                                           exception, argErr);
  }

protected:
  using Base::Base;

  void* FindInterface(REFIID riid) override {
    if (riid == IID_IDispatch) return static_cast<IDispatch*>(static_cast<DispatchInterface*>(this));
    return Base::FindInterface(riid);
  }
};

// ---- Calling objects through IDispatch -----------------------------------------------------------

// Parameter descriptions for InvokeHelper: one byte per argument, concatenated
// (`static const BYTE parms[] = VTS_I2 VTS_I2;`). VTS_BSTR arguments are code page 949 texts
// (const char* or CString); VTS_VARIANT arguments are const VARIANT*; VTS_P* are pointers
// passed by reference.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PVARIANT "\x4C"
constexpr BYTE VTS_BYREF_FLAG = 0x40;

// Holds one IDispatch and calls it with typed arguments; failures are thrown as
// COleDispatchException* (an exception raised by the object) or COleException* (anything else).
class COleDispatchDriver {
public:
  COleDispatchDriver() = default;
  explicit COleDispatchDriver(LPDISPATCH dispatch, BOOL autoRelease = TRUE)
      : m_lpDispatch(dispatch), m_bAutoRelease(autoRelease) {}
  ~COleDispatchDriver() { ReleaseDispatch(); }
  COleDispatchDriver(const COleDispatchDriver&) = delete;
  COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

  // Takes over a reference (released later when autoRelease).
  void AttachDispatch(LPDISPATCH dispatch, BOOL autoRelease = TRUE);
  LPDISPATCH DetachDispatch();
  void ReleaseDispatch();
  // Creates the class and holds its IDispatch; FALSE (and the code in *error) on failure.
  BOOL CreateDispatch(REFCLSID clsid, COleException* error = nullptr);

  // Invokes id with the arguments described by paramInfo (null for none). The result, converted
  // to vtRet, is stored at result: SHORT* (VT_I2), LONG* (VT_I4), BOOL* (VT_BOOL), CString*
  // (VT_BSTR, code page 949), VARIANT* (VT_VARIANT, the caller clears it), LPDISPATCH* and
  // LPUNKNOWN* (the caller releases them); nothing for VT_EMPTY. A VARIANT result is cleared
  // before it is filled.
  template <class... Args>
  void InvokeHelper(DISPID id, WORD flags, VARTYPE vtRet, void* result, const BYTE* paramInfo,
                    Args... args) {
    std::vector<CComVariant> values;
    (values.push_back(Argument(args)), ...);
    InvokeWithArguments(id, flags, vtRet, result, paramInfo, values);
  }
  void GetProperty(DISPID id, VARTYPE vtProp, void* value) {
    InvokeHelper(id, DISPATCH_PROPERTYGET, vtProp, value, nullptr);
  }
  // Puts property id as type vtProp (VT_I2, VT_I4, VT_BOOL, VT_BSTR, VT_DISPATCH, VT_VARIANT).
  template <class T>
  void SetProperty(DISPID id, VARTYPE vtProp, T value) {
    const BYTE described[2] = {static_cast<BYTE>(vtProp), 0};
    InvokeHelper(id, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, described, value);
  }

  // The untyped core: values in declaration order, checked and converted against paramInfo.
  void InvokeWithArguments(DISPID id, WORD flags, VARTYPE vtRet, void* result,
                           const BYTE* paramInfo, std::vector<CComVariant>& values);

  LPDISPATCH m_lpDispatch{nullptr};
  BOOL m_bAutoRelease{TRUE};

private:
  // Each argument as a value of its own type; InvokeWithArguments converts it to the described
  // type. Pointers become references to the caller's storage.
  static CComVariant Argument(SHORT v) { return CComVariant(v); }
  static CComVariant Argument(int v) { return CComVariant(static_cast<LONG>(v)); }
  static CComVariant Argument(long v);
  static CComVariant Argument(bool v) { return CComVariant(v); }
  static CComVariant Argument(const char* v) { return CComVariant(v); }
  static CComVariant Argument(const CString& v) { return CComVariant(v.GetString()); }
  static CComVariant Argument(IDispatch* v) { return CComVariant(v); }
  static CComVariant Argument(IUnknown* v) { return CComVariant(v); }
  static CComVariant Argument(const VARIANT* v);
  static CComVariant Argument(VARIANT* v) { return ByReference(VT_VARIANT, v); }
  static CComVariant Argument(SHORT* v) { return ByReference(VT_I2, v); }
  static CComVariant Argument(LONG* v) { return ByReference(VT_I4, v); }
  static CComVariant Argument(BSTR* v) { return ByReference(VT_BSTR, v); }
  static CComVariant Argument(IDispatch** v) { return ByReference(VT_DISPATCH, v); }
  static CComVariant ByReference(VARTYPE vt, void* pointer);
};
