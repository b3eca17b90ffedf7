#pragma once
// Controls: COleControl, a windowed automation object that containers host by class identifier,
// with its dispatch and event maps, the persisted state (version and size), property pages, and
// the registration and class factories of control modules. olehost.h has the container side.
//
// A control lists its members and events in the class library's style:
//
//   class CBoardCtrl : public COleControl {
//     ...
//     LONG GetGameMode();
//     void SetGameMode(LONG mode);
//     void GoPrev(SHORT flag);
//     void FirePosition(SHORT row, SHORT col) {
//       FireEvent(eventidPosition, EVENT_PARAM(VTS_I2 VTS_I2), row, col);
//     }
//     DECLARE_DISPATCH_MAP()
//     DECLARE_EVENT_MAP()
//   };
//   BEGIN_DISPATCH_MAP(CBoardCtrl, COleControl)
//     DISP_PROPERTY_EX(CBoardCtrl, "GameMode", GetGameMode, SetGameMode, VT_I4)   // DISPID 1
//     DISP_FUNCTION(CBoardCtrl, "GoPrev", GoPrev, VT_EMPTY, VTS_I2)                // DISPID 2
//   END_DISPATCH_MAP()
//   BEGIN_EVENT_MAP(CBoardCtrl, COleControl)
//     EVENT_CUSTOM("Position", FirePosition, VTS_I2 VTS_I2)                        // DISPID 1
//   END_EVENT_MAP()
//
// Members and events without an explicit id are numbered by their place in the map, from 1.

#include <atomic>
#include <type_traits>
#include <vector>

#include "platform/com_dispatch.h"
#include "platform/com_events.h"
#include "platform/com_module.h"
#include "platform/dialogs.h"
#include "platform/windows.h"

class CDC;
class CPropExchange;

// ---- The contract between a container and the controls it hosts --------------------------------

constexpr IID IID_IOleControlSite = GuidFromText("{6A1F0C40-0E2B-4C57-9B0E-3D5C2F7A8E01}");
constexpr IID IID_IOleInPlaceControl = GuidFromText("{6A1F0C41-0E2B-4C57-9B0E-3D5C2F7A8E01}");
constexpr IID IID_IOlePropertyPage = GuidFromText("{6A1F0C42-0E2B-4C57-9B0E-3D5C2F7A8E01}");

// The container's side of one hosted control.
class IOleControlSite : public IUnknown {
public:
  // The control's window is being destroyed: the site lets go of the control.
  virtual HRESULT STDMETHODCALLTYPE OnControlWindowDestroyed() = 0;
};
COM_INTERFACE_ID(IOleControlSite, IID_IOleControlSite);

// How a container places a control: its window, its events and its persisted state.
class IOleInPlaceControl : public IUnknown {
public:
  // Makes the control's window a child of parent at rect (parent client pixels) with child id id
  // and style; the control keeps site until the window goes. E_UNEXPECTED when it already has a
  // window, E_FAIL when the window cannot be made.
  virtual HRESULT STDMETHODCALLTYPE CreateInPlaceWindow(IOleControlSite* site, HWND parent, const RECT* rect,
                                                        UINT id, DWORD style, HWND* window) = 0;
  // The identifier of the control's event interface (IID_NULL when it fires none).
  virtual HRESULT STDMETHODCALLTYPE GetEventInterface(IID* iid) = 0;
  // Loads state written by SaveState; null data (or size 0) resets the control to its defaults.
  // E_FAIL for state that cannot be read (the control is then reset).
  virtual HRESULT STDMETHODCALLTYPE LoadState(const BYTE* data, ULONG size) = 0;
  // Replaces *state with the control's persisted state and clears its modified flag.
  virtual HRESULT STDMETHODCALLTYPE SaveState(std::vector<BYTE>* state) = 0;
  // Destroys the control's window; the object lives on until it is released.
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};
COM_INTERFACE_ID(IOleInPlaceControl, IID_IOleInPlaceControl);

// ---- Property exchange -------------------------------------------------------------------------

// Reads, writes or resets a control's persisted state. The stream is a run of 32-bit
// little-endian values in the order the control exchanges them.
class CPropExchange {
public:
  enum class Mode { Load, Save, Reset };

  // Load reads from data; Save appends to the stream; Reset gives every value its default.
  CPropExchange(Mode mode, const BYTE* data = nullptr, ULONG size = 0);

  // TRUE while loading or resetting (values flow into the control).
  BOOL IsLoading() const { return m_mode != Mode::Save; }
  Mode GetMode() const { return m_mode; }
  // The version read (loading), the default (resetting) or the one written (saving).
  DWORD GetVersion() const { return m_version; }
  // Exchanges the version; loading a stream without one gives versionDefault and fails.
  BOOL ExchangeVersion(DWORD& version, DWORD versionDefault);
  // Exchanges one value; a load past the end of the stream gives defaultValue and fails.
  BOOL ExchangeLong(LONG& value, LONG defaultValue);
  // FALSE once any load ran past the end of the stream.
  BOOL Succeeded() const { return m_ok; }
  const std::vector<BYTE>& Stream() const { return m_stream; }

private:
  Mode m_mode{Mode::Reset};
  std::vector<BYTE> m_stream;
  std::size_t m_readPos{0};
  DWORD m_version{0};
  BOOL m_ok{TRUE};
};

// ---- COleControl -------------------------------------------------------------------------------

// Gives EVENT_PARAM(VTS_I2 VTS_I4) the type FireEvent takes.
#define EVENT_PARAM(vtsParams) reinterpret_cast<const BYTE*>(vtsParams)

// A control: an automation object with events whose window lives in a container's window. The
// object is reference counted; its window is made by the container (CreateInPlaceWindow) and
// goes with the container's window or Close. The window is the control's own: a container may
// attach a wrapper object to the same handle, and messages reach the control after the wrapper.
class COleControl : public CWnd,
                    public IDispatch,
                    public IConnectionPointContainer,
                    public IOleInPlaceControl {
public:
  COleControl();
  ~COleControl() override;
  COleControl(const COleControl&) = delete;
  COleControl& operator=(const COleControl&) = delete;

  // ---- object ----
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  using IDispatch::QueryInterface;
  // The object's identity.
  IUnknown* GetUnknown() { return static_cast<IDispatch*>(this); }
  // Counts this object in module's live objects and makes resources the current resource module
  // while the control runs (its class factory calls this right after construction).
  void BindToModule(CComModule* module, HINSTANCE resources);

  // ---- IDispatch, through the dispatch map ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argErr) override;

  // ---- events ----
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // ---- hosting ----
  HRESULT STDMETHODCALLTYPE CreateInPlaceWindow(IOleControlSite* site, HWND parent, const RECT* rect, UINT id,
                                                DWORD style, HWND* window) override;
  HRESULT STDMETHODCALLTYPE GetEventInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE LoadState(const BYTE* data, ULONG size) override;
  HRESULT STDMETHODCALLTYPE SaveState(std::vector<BYTE>* state) override;
  HRESULT STDMETHODCALLTYPE Close() override;

  // ---- for the control's own code ----
  // Names the dispatch interface and the event interface (call from the constructor).
  void InitializeIIDs(const IID* dispatchIid, const IID* eventIid);
  // Asks for a repaint of rect (client coordinates; null: the whole control) at the next paint.
  void InvalidateControl(LPCRECT rect = nullptr);
  void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified; }
  BOOL IsModified() const { return m_modified; }
  // The control's size in pixels: its window's while it has one.
  BOOL GetControlSize(int* cx, int* cy) const;
  // Resizes the control (and its window); FALSE for a negative size.
  BOOL SetControlSize(int cx, int cy);
  // The size a new or reset control has (call from the constructor).
  void SetInitialSize(int cx, int cy);
  // Raises an automation exception: the caller of the member running now receives it as a
  // COleDispatchException carrying sc and description (code page 949).
  [[noreturn]] void ThrowError(SCODE sc, LPCTSTR description = nullptr, UINT helpId = 0);
  // Fires event id to every connected sink; params describes the arguments (EVENT_PARAM) and
  // each argument is converted to its described type. An event the map does not list, or a
  // mismatch of arguments and description, fires nothing (and is logged).
  template <class... Args>
  void FireEvent(DISPID id, const BYTE* params, Args... args) {
    std::vector<CComVariant> values{CComVariant(args)...};
    FireEventWith(id, params, values);
  }
  // FireEvent with its arguments already made variants (converted in place).
  void FireEventWith(DISPID id, const BYTE* params, std::vector<CComVariant>& values);
  // The persisted version: read from or written to px (loading without one gives versionDefault).
  // State is always saved in versionDefault, so convert is kept only for the familiar signature.
  BOOL ExchangeVersion(CPropExchange* px, DWORD versionDefault, BOOL convert = TRUE);
  // The persisted size.
  BOOL ExchangeExtent(CPropExchange* px);
  // The version of the state last loaded (or the default after a reset).
  DWORD GetVersionLoaded() const { return m_versionLoaded; }

  // ---- overridables ----
  // Paints the control: bounds is its client rectangle, invalid the part to repaint.
  virtual void OnDraw(CDC* dc, const CRect& bounds, const CRect& invalid);
  // Exchanges the persisted state; the base exchanges the size.
  virtual void DoPropExchange(CPropExchange* px);
  // Gives the control its defaults (DoPropExchange in Reset mode).
  virtual void OnResetState();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The control's window has no procedure under it but the default one.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The dispatch map and the event map (DECLARE_DISPATCH_MAP / DECLARE_EVENT_MAP override them).
  virtual const CDispatchTableBase* GetDispatchMap() const { return nullptr; }
  virtual const std::vector<DispMemberInfo>* GetEventMap() const { return nullptr; }

protected:
  // The call of member index of the dispatch map (DECLARE_DISPATCH_MAP overrides it).
  virtual HRESULT InvokeDispatchMap(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO* exception, UINT* argErr);

  void OnPaint();
  void OnSize(UINT type, int cx, int cy);
  DECLARE_MESSAGE_MAP()

private:
  friend struct OleControlWindows;
  // The window is gone: forget it and let the site go.
  void WindowDestroyed();

  std::atomic<ULONG> m_refs{0};
  CComModule* m_module{nullptr};
  HINSTANCE m_resources{nullptr};
  IID m_dispatchIid{};
  IID m_eventIid{};
  CConnectionPoints m_events{this};
  CComPtr<IOleControlSite> m_site;
  BOOL m_modified{FALSE};
  SIZE m_initialSize{100, 50};
  SIZE m_size{100, 50};
  DWORD m_versionLoaded{0};
  bool m_destroying{false};  // Release reached zero: no reference may revive the object
};

// ---- dispatch map and event map ----------------------------------------------------------------

#define DECLARE_DISPATCH_MAP()                                                                         \
public:                                                                                                \
  static const CDispatchTableBase& DispatchMapTable();                                                 \
  const CDispatchTableBase* GetDispatchMap() const override { return &DispatchMapTable(); }            \
                                                                                                       \
protected:                                                                                             \
  HRESULT InvokeDispatchMap(DISPID dispatchId, WORD dispatchFlags, DISPPARAMS* dispatchParams,         \
                            VARIANT* dispatchResult, EXCEPINFO* dispatchException, UINT* argErr) override { \
    using Self = std::remove_reference_t<decltype(*this)>;                                             \
    return static_cast<const CDispatchTable<Self>&>(DispatchMapTable())                                \
        .Invoke(*this, dispatchId, dispatchFlags, dispatchParams, dispatchResult, dispatchException, argErr); \
  }

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                        \
  const CDispatchTableBase& theClass::DispatchMapTable() {             \
    using DispatchMapTableType = CDispatchTable<theClass>;             \
    [[maybe_unused]] static constexpr int kDispatchMapBase = __COUNTER__; \
    static const DispatchMapTableType table {

// Property with get and put members (`VALUE Get()`, `void Set(VALUE)`), numbered by its place.
#define DISP_PROPERTY_EX(theClass, name, getFn, setFn, vtProp) \
  DISP_PROPERTY_EX_ID(theClass, name, __COUNTER__ - kDispatchMapBase, getFn, setFn, vtProp)
#define DISP_PROPERTY_EX_ID(theClass, name, dispid, getFn, setFn, vtProp)              \
  DispatchMapTableType::PropertyGet(name, static_cast<DISPID>(dispid), &theClass::getFn), \
      DispatchMapTableType::PropertyPut(name, static_cast<DISPID>(dispid), &theClass::setFn),
// Method, numbered by its place; its signature gives the result and argument types.
#define DISP_FUNCTION(theClass, name, fn, vtRet, vtsParams) \
  DISP_FUNCTION_ID(theClass, name, __COUNTER__ - kDispatchMapBase, fn, vtRet, vtsParams)
#define DISP_FUNCTION_ID(theClass, name, dispid, fn, vtRet, vtsParams) \
  DispatchMapTableType::Function(name, static_cast<DISPID>(dispid), &theClass::fn),

#define END_DISPATCH_MAP() \
  };                       \
  return table;            \
  }

#define DECLARE_EVENT_MAP()                                        \
public:                                                            \
  const std::vector<DispMemberInfo>* GetEventMap() const override; \
                                                                   \
protected:

#define BEGIN_EVENT_MAP(theClass, baseClass)                               \
  const std::vector<DispMemberInfo>* theClass::GetEventMap() const {       \
    [[maybe_unused]] static constexpr int kEventMapBase = __COUNTER__;     \
    static const std::vector<DispMemberInfo> events {

// Event name, the member that fires it (not called by the map), and its argument types.
#define EVENT_CUSTOM(name, fireFn, vtsParams) \
  EVENT_CUSTOM_ID(name, __COUNTER__ - kEventMapBase, fireFn, vtsParams)
#define EVENT_CUSTOM_ID(name, dispid, fireFn, vtsParams) \
  platform::EventMember(name, static_cast<DISPID>(dispid), vtsParams),

#define END_EVENT_MAP() \
  };                    \
  return &events;       \
  }

namespace platform {
// One event as the event map lists it.
DispMemberInfo EventMember(const char* name, DISPID id, const char* vtsParams);
}  // namespace platform

// ---- property pages ------------------------------------------------------------------------------

// What a property page shows in a frame.
struct PROPPAGEINFO {
  CString title;
  SIZE size{0, 0};  // pixels
  CString docString;
  CString helpFile;
};

// A page that edits properties of controls, shown by a property frame.
class IOlePropertyPage : public IUnknown {
public:
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) = 0;
  // The objects whose properties the page edits (references held until replaced).
  virtual HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) = 0;
  // Shows the page as a child of parent at rect; E_FAIL when its template is missing.
  virtual HRESULT STDMETHODCALLTYPE Activate(HWND parent, const RECT* rect, BOOL modal) = 0;
  virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
  // Writes the page's values to the objects; S_FALSE when validation refused them.
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
  // S_OK when the page has changes not yet applied.
  virtual HRESULT STDMETHODCALLTYPE IsPageDirty() = 0;
};
COM_INTERFACE_ID(IOlePropertyPage, IID_IOlePropertyPage);

// A property page made from a dialog template of the control's resource module. The template
// should be a child dialog without a frame.
class COlePropertyPage : public CDialog, public IOlePropertyPage {
public:
  COlePropertyPage(UINT templateId, UINT captionId);
  ~COlePropertyPage() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, const RECT* rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;

  // Counts this object in module and makes resources current while the page runs.
  void BindToModule(CComModule* module, HINSTANCE resources);
  // The documentation string and help file the page's frame shows.
  void SetHelpInfo(LPCTSTR docString, LPCTSTR helpFile = nullptr, DWORD helpContext = 0);
  void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified; }
  BOOL IsModified() const { return m_modified; }
  // The objects the page edits.
  const std::vector<CComPtr<IUnknown>>& GetObjects() const { return m_objects; }

protected:
  // The page ends inside its frame, never by itself.
  void OnOK() override {}
  void OnCancel() override {}

private:
  std::atomic<ULONG> m_refs{0};
  CComModule* m_module{nullptr};
  HINSTANCE m_resources{nullptr};
  UINT m_templateId{0};
  UINT m_captionId{0};
  CString m_docString;
  CString m_helpFile;
  DWORD m_helpContext{0};
  BOOL m_modified{FALSE};
  std::vector<CComPtr<IUnknown>> m_objects;
};

// Finishes the property exchange of a page's DoDataExchange (pages edit their objects through
// automation, so nothing is left to do but keep the call).
void DDP_PostProcessing(CDataExchange* dx);

// ---- registration and class factories ------------------------------------------------------------

// The registration of a control class: user type name from string idTypeName of resources,
// Control key, toolbox bitmap, miscellaneous status, apartment threading, type library tlid and
// version verMajor.verMinor.
ClassRegistration AfxOleControlClassRegistration(HINSTANCE resources, REFCLSID clsid, LPCTSTR progId,
                                                 UINT idTypeName, UINT idBitmap, DWORD miscStatus,
                                                 REFGUID tlid, WORD verMajor, WORD verMinor);
// The registration of a property page class: user type name from string idTypeName.
ClassRegistration AfxOlePropertyPageClassRegistration(HINSTANCE resources, REFCLSID clsid, LPCTSTR progId,
                                                      UINT idTypeName);
// Writes a registration now for the module at modulePath (TRUE on success).
BOOL AfxOleRegisterClass(const ClassRegistration& reg, const char* modulePath);
// Removes a registration (TRUE also when it was absent).
BOOL AfxOleUnregisterClass(const ClassRegistration& reg);

// The class factories of a control module: lists a control or property page class T (default
// constructible) in the module's class table under reg. Each object is a new T, made with
// resources current (its constructor may load bitmaps and fonts) and counted by module.
class COleObjectFactory {
public:
  template <class T>
  static void Add(CComModule& module, const ClassRegistration& reg, HINSTANCE resources) {
    CComModule* owner = &module;
    module.AddClass(reg, [owner, resources](REFIID riid, void** ppv) {
      return Create<T>(owner, resources, riid, ppv);
    });
  }

private:
  template <class T>
  static HRESULT Create(CComModule* module, HINSTANCE resources, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    platform::ResourceScope scope(resources);
    T* object = new (std::nothrow) T();
    if (!object) return E_OUTOFMEMORY;
    object->BindToModule(module, resources);
    object->AddRef();
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
};
