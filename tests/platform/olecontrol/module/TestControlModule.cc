// The control test module: a windowed control with a dispatch map, an event map, persisted state,
// resources of its own and a property page, built into its own shared object.

#include "platform/gdi_dc.h"
#include "platform/olecontrol.h"
#include "platform/olecontrol/module/TestControl.h"
#include "platform/resources.h"

namespace {

platform::ResourceModule& Resources() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    platform::ResourceModule& m = platform::CreateResourceModule("olecontrol-test-module");
    m.AddString(kCtrlTypeNameId, "Test Control");
    m.AddString(kCtrlPageNameId, "Test Control Property Page");
    m.AddString(kCtrlPageCaptionId, "General");
    m.AddString(kCtrlDefaultCaptionId, "control");
    platform::DialogTemplate page;
    page.style = WS_CHILD;
    page.cx = 250;
    page.cy = 62;
    platform::DialogItemTemplate text;
    text.className = "Static";
    text.id = 0xFFFF;
    text.x = 7;
    text.y = 7;
    text.cx = 200;
    text.cy = 20;
    text.style = WS_VISIBLE;
    text.text = "TODO: Place controls to manipulate properties of Test Control on this dialog.";
    page.items.push_back(text);
    platform::AddDialogTemplate(m, kCtrlPageTemplateId, page);
    return m;
  }();
  return module;
}

CComModule& Module();

}  // namespace

class CTestCtrl final : public COleControl {
public:
  CTestCtrl() {
    InitializeIIDs(&DIID_DTestControl, &DIID_DTestControlEvents);
    SetInitialSize(kCtrlInitialCx, kCtrlInitialCy);
    AfxLoadStringResource(kCtrlDefaultCaptionId, m_caption);
  }

  BSTR GetCaption() { return Cp949ToBstr(m_caption.GetString()); }
  void SetCaption(BSTR caption) {
    m_caption = BstrToCp949(caption);
    SetModifiedFlag();
    InvalidateControl();
  }
  LONG GetColor() { return static_cast<LONG>(m_color); }
  void SetColor(LONG color) {
    m_color = static_cast<COLORREF>(color);
    SetModifiedFlag();
    InvalidateControl();
  }
  LONG Add(SHORT a, SHORT b) { return LONG{a} + LONG{b}; }
  void Fail(SHORT code) { ThrowError(static_cast<SCODE>(0x800A0000u + static_cast<unsigned>(code)), "The board refused"); }
  void SetSizeControl(SHORT cx, SHORT cy) { SetControlSize(cx, cy); }
  SHORT GetIsModified() { return static_cast<SHORT>(IsModified()); }
  SHORT GetSetCursorHits() { return m_setCursorHits; }
  void FireBad() { FireEvent(kEventClicked, EVENT_PARAM(VTS_I2 VTS_I2 VTS_I4), SHORT{1}); }
  LONG GetPaints() { return m_paints; }

  void OnDraw(CDC* dc, const CRect& bounds, const CRect&) override {
    ++m_paints;
    dc->FillSolidRect(&bounds, m_color);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(255, 255, 255));
    dc->TextOut(4, 4, m_caption);
  }

  void DoPropExchange(CPropExchange* px) override {
    ExchangeVersion(px, kCtrlVersion);
    COleControl::DoPropExchange(px);
  }

protected:
  void OnLButtonDown(UINT, CPoint point) {
    FireEvent(kEventClicked, EVENT_PARAM(VTS_I2 VTS_I2 VTS_I4), static_cast<SHORT>(point.x),
              static_cast<SHORT>(point.y), static_cast<LONG>(reinterpret_cast<std::intptr_t>(m_hWnd)));
  }
  void OnContextMenu(CWnd*, CPoint point) {
    FireEvent(kEventContextMenu, EVENT_PARAM(VTS_I2 VTS_I2), static_cast<SHORT>(point.x), static_cast<SHORT>(point.y));
  }
  BOOL OnSetCursor(CWnd*, UINT, UINT) {
    ++m_setCursorHits;
    return TRUE;
  }
  void OnSize(UINT type, int cx, int cy) {
    COleControl::OnSize(type, cx, cy);
    CString text;
    text.Format("%d x %d", cx, cy);
    FireEvent(kEventResized, EVENT_PARAM(VTS_BSTR), text.GetString());
  }

  DECLARE_MESSAGE_MAP()
  DECLARE_DISPATCH_MAP()
  DECLARE_EVENT_MAP()

private:
  CString m_caption;
  COLORREF m_color{RGB(0, 96, 0)};
  SHORT m_setCursorHits{0};
  LONG m_paints{0};
};

BEGIN_MESSAGE_MAP(CTestCtrl, COleControl)
  ON_WM_LBUTTONDOWN()
  ON_WM_CONTEXTMENU()
  ON_WM_SETCURSOR()
  ON_WM_SIZE()
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CTestCtrl, COleControl)
  DISP_PROPERTY_EX(CTestCtrl, "Caption", GetCaption, SetCaption, VT_BSTR)
  DISP_PROPERTY_EX(CTestCtrl, "Color", GetColor, SetColor, VT_I4)
  DISP_FUNCTION(CTestCtrl, "Add", Add, VT_I4, VTS_I2 VTS_I2)
  DISP_FUNCTION(CTestCtrl, "Fail", Fail, VT_EMPTY, VTS_I2)
  DISP_FUNCTION(CTestCtrl, "SetSizeControl", SetSizeControl, VT_EMPTY, VTS_I2 VTS_I2)
  DISP_FUNCTION(CTestCtrl, "IsModified", GetIsModified, VT_I2, VTS_NONE)
  DISP_FUNCTION(CTestCtrl, "SetCursorHits", GetSetCursorHits, VT_I2, VTS_NONE)
  DISP_FUNCTION(CTestCtrl, "FireBad", FireBad, VT_EMPTY, VTS_NONE)
  DISP_FUNCTION_ID(CTestCtrl, "Paints", kCtrlPaints, GetPaints, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CTestCtrl, COleControl)
  EVENT_CUSTOM("Clicked", FireClicked, VTS_I2 VTS_I2 VTS_I4)
  EVENT_CUSTOM("ContextMenu", FireContextMenu, VTS_I2 VTS_I2)
  EVENT_CUSTOM("Resized", FireResized, VTS_BSTR)
END_EVENT_MAP()

class CTestPropPage final : public COlePropertyPage {
public:
  CTestPropPage() : COlePropertyPage(kCtrlPageTemplateId, kCtrlPageCaptionId) {
    SetHelpInfo("Names to appear in the control", "TESTCONTROL.HLP");
  }

protected:
  void DoDataExchange(CDataExchange* dx) override { DDP_PostProcessing(dx); }
};

namespace {

CComModule& Module() {
  static CComModule module;
  static const bool listed = [] {
    HINSTANCE resources = Resources().Handle();
    constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                  OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    COleObjectFactory::Add<CTestCtrl>(
        module,
        AfxOleControlClassRegistration(resources, CLSID_TestControl, kTestControlProgId, kCtrlTypeNameId, 1,
                                       kMiscStatus, LIBID_TestControlLib, 1, 0),
        resources);
    COleObjectFactory::Add<CTestPropPage>(
        module,
        AfxOlePropertyPageClassRegistration(resources, CLSID_TestControlPage, kTestControlPageProgId, kCtrlPageNameId),
        resources);
    return true;
  }();
  (void)listed;
  return module;
}

}  // namespace

IMPLEMENT_MODULE_ENTRY_POINTS(Module())
