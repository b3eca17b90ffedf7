// A real control module, registered into a temporary registry and hosted by class identifier in
// containers made from dialog templates and by CreateControl.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "../com/ModuleEntryCalls.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/ddx.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/olecontrol/module/TestControl.h"
#include "platform/olehost.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/surface.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"

namespace {

constexpr UINT kContainerTemplate = 501;
constexpr UINT kMissingTemplate = 502;
constexpr UINT kBoardId = 1119;
constexpr CLSID kUnregistered = GuidFromText("{5B0E7A2F-3C41-4F6D-8E2A-91C04D7B3E01}");

// The container's typed wrapper of the test control, written as a program writes one.
class CTestCtrlWrapper : public CWnd {
public:
  BOOL Create(LPCTSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(CLSID_TestControl, name, style, rect, parent, id);
  }
  BOOL CreateUnregistered(const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(kUnregistered, nullptr, WS_VISIBLE, rect, parent, id);
  }
  CString GetCaption() {
    CString caption;
    InvokeHelper(kCtrlCaption, DISPATCH_PROPERTYGET, VT_BSTR, &caption, nullptr);
    return caption;
  }
  void SetCaption(LPCTSTR caption) {
    static const BYTE parms[] = VTS_BSTR;
    InvokeHelper(kCtrlCaption, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, caption);
  }
  LONG GetColor() {
    LONG color = 0;
    GetProperty(kCtrlColor, VT_I4, &color);
    return color;
  }
  void SetColor(LONG color) { SetProperty(kCtrlColor, VT_I4, color); }
  LONG Add(SHORT a, SHORT b) {
    static const BYTE parms[] = VTS_I2 VTS_I2;
    LONG sum = 0;
    InvokeHelper(kCtrlAdd, DISPATCH_METHOD, VT_I4, &sum, parms, a, b);
    return sum;
  }
  void Fail(SHORT code) {
    static const BYTE parms[] = VTS_I2;
    InvokeHelper(kCtrlFail, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, code);
  }
  void SetSizeControl(SHORT cx, SHORT cy) {
    static const BYTE parms[] = VTS_I2 VTS_I2;
    InvokeHelper(kCtrlSetSize, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, cx, cy);
  }
  SHORT Call(LONG dispid) {
    SHORT value = 0;
    InvokeHelper(dispid, DISPATCH_METHOD, VT_I2, &value, nullptr);
    return value;
  }
  LONG Paints() {
    LONG value = 0;
    InvokeHelper(kCtrlPaints, DISPATCH_METHOD, VT_I4, &value, nullptr);
    return value;
  }
};

struct Heard {
  std::string what;
  LONG a{0};
  LONG b{0};
  LONG c{0};
  CString text;
};

// A container whose sink map routes the control's events to its members.
class CContainerDlg : public CDialog {
public:
  explicit CContainerDlg(UINT templateId = kContainerTemplate) : CDialog(templateId) {}

  std::vector<Heard> heard;
  CTestCtrlWrapper board;
  // The container closes itself from inside the click event.
  bool destroyOnClick{false};

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kBoardId, board); }
  void OnBoardClicked(SHORT x, SHORT y, LONG hwnd) {
    heard.push_back({"clicked", x, y, hwnd, ""});
    if (destroyOnClick) DestroyWindow();
  }
  void OnBoardContextMenu(SHORT x, SHORT y) { heard.push_back({"context", x, y, 0, ""}); }
  void OnBoardResized(LPCTSTR text) { heard.push_back({"resized", 0, 0, 0, text}); }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CContainerDlg, CDialog)
  ON_EVENT(CContainerDlg, kBoardId, kEventClicked, OnBoardClicked, VTS_I2 VTS_I2 VTS_I4)
  ON_EVENT(CContainerDlg, kBoardId, kEventContextMenu, OnBoardContextMenu, VTS_I2 VTS_I2)
  ON_EVENT(CContainerDlg, kBoardId, kEventResized, OnBoardResized, VTS_BSTR)
END_EVENTSINK_MAP()

// A derived container takes the context menu itself; the other events reach the base's map.
class CDerivedContainerDlg : public CContainerDlg {
public:
  int ownContextMenus{0};

protected:
  BOOL OnOwnContextMenu(SHORT, SHORT) {
    ++ownContextMenus;
    return TRUE;
  }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CDerivedContainerDlg, CContainerDlg)
  ON_EVENT(CDerivedContainerDlg, kBoardId, kEventContextMenu, OnOwnContextMenu, VTS_I2 VTS_I2)
END_EVENTSINK_MAP()

// A plain container window for controls made by CreateControl.
class CPlainContainer : public CWnd {
public:
  std::vector<Heard> heard;

protected:
  void OnClicked(SHORT x, SHORT y, LONG) { heard.push_back({"clicked", x, y, 0, ""}); }
  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CPlainContainer, CWnd)
  ON_EVENT(CPlainContainer, 7, kEventClicked, OnClicked, VTS_I2 VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

platform::DialogTemplate ContainerTemplate(const CLSID& control) {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_VISIBLE;
  t.cx = 200;
  t.cy = 120;
  t.items = {platform::VisibleItem("Static", 0xFFFF, 7, 7, 100, 8, 0, "Board"), platform::VisibleItem(GuidToString(control), kBoardId, 7, 20, 150, 80, 0)};
  return t;
}

std::uint32_t PixelAt(HWND window, int x, int y) {
  platform::PaintTarget target = platform::GetPaintTarget(window);
  if (!target.surface) return 0xFFFFFFFF;
  return target.surface->Row(target.origin.y + y)[target.origin.x + x];
}

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

class OleControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(comtest::CallModuleEntry(OLECONTROL_TEST_MODULE_PATH, "DllRegisterServer"), S_OK);
    static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
      platform::ResourceModule& m = platform::CreateResourceModule("olecontrol-host");
      platform::AddDialogTemplate(m, kContainerTemplate, ContainerTemplate(CLSID_TestControl));
      platform::AddDialogTemplate(m, kMissingTemplate, ContainerTemplate(kUnregistered));
      // The control's module has its own string 300; the host's must not be the one it finds.
      m.AddString(kCtrlDefaultCaptionId, "host");
      return m;
    }();
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }
  void TearDown() override {
    m_scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
    EXPECT_EQ(platform::HostedControlCount(), 0u);
    CoFreeUnusedLibraries();
  }

  platform::ScopedPlatformHome m_home;
  std::unique_ptr<platform::ResourceScope> m_scope;
};

TEST_F(OleControlTest, TemplateHostsControlByClassIdAndWrapperBindsToIt) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  HWND board = ::GetDlgItem(dlg.m_hWnd, kBoardId);
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(dlg.board.m_hWnd, board);
  EXPECT_EQ(::GetParent(board), dlg.m_hWnd);
  EXPECT_NE(dlg.board.GetControlUnknown(), nullptr);
  // The control found its own module's string, not the host's of the same id.
  EXPECT_STREQ(dlg.board.GetCaption(), "control");
}

TEST_F(OleControlTest, ControlSizedAtCreationTellsItsContainer) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_FALSE(dlg.heard.empty());
  EXPECT_EQ(dlg.heard[0].what, "resized");
}

TEST_F(OleControlTest, ClickOnControlReachesContainerSinkMapWithArguments) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  dlg.heard.clear();
  HWND board = ::GetDlgItem(dlg.m_hWnd, kBoardId);
  platform::input::Click(board, POINT{10, 12});
  ASSERT_EQ(dlg.heard.size(), 1u);
  EXPECT_EQ(dlg.heard[0].what, "clicked");
  EXPECT_EQ(dlg.heard[0].a, 10);
  EXPECT_EQ(dlg.heard[0].b, 12);
  EXPECT_EQ(dlg.heard[0].c, static_cast<LONG>(reinterpret_cast<std::intptr_t>(board)));
}

TEST_F(OleControlTest, ContextMenuCursorAndSizeMessagesReachTheControl) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  HWND board = dlg.board.m_hWnd;
  platform::input::MouseMove(board, POINT{5, 5});
  EXPECT_GT(dlg.board.Call(kCtrlSetCursorHits), 0);

  platform::input::Click(board, POINT{20, 30}, platform::input::Button::Right);
  ASSERT_FALSE(dlg.heard.empty());
  EXPECT_EQ(dlg.heard.back().what, "context");

  dlg.heard.clear();
  dlg.board.SetSizeControl(90, 70);
  RECT r{};
  ::GetClientRect(board, &r);
  EXPECT_EQ(r.right, 90);
  EXPECT_EQ(r.bottom, 70);
  ASSERT_FALSE(dlg.heard.empty());
  EXPECT_EQ(dlg.heard.back().what, "resized");
  EXPECT_STREQ(dlg.heard.back().text, "90 x 70");
}

TEST_F(OleControlTest, DerivedSinkMapComesFirstAndFallsBackToBase) {
  CDerivedContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  dlg.heard.clear();
  HWND board = ::GetDlgItem(dlg.m_hWnd, kBoardId);
  platform::input::Click(board, POINT{3, 4}, platform::input::Button::Right);
  platform::input::Click(board, POINT{3, 4});
  EXPECT_EQ(dlg.ownContextMenus, 1);
  ASSERT_EQ(dlg.heard.size(), 1u);
  EXPECT_EQ(dlg.heard[0].what, "clicked");
}

TEST_F(OleControlTest, InvokeHelperSetsAndGetsPropertiesAndCallsMethods) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  EXPECT_EQ(dlg.board.Call(kCtrlIsModified), 0);
  dlg.board.SetCaption(Cp949("흑 차례"));
  EXPECT_STREQ(dlg.board.GetCaption(), Cp949("흑 차례"));
  dlg.board.SetColor(RGB(10, 20, 30));
  EXPECT_EQ(dlg.board.GetColor(), static_cast<LONG>(RGB(10, 20, 30)));
  EXPECT_EQ(dlg.board.Add(300, -42), 258);
  EXPECT_EQ(dlg.board.Call(kCtrlIsModified), 1);
}

TEST_F(OleControlTest, ThrowErrorReachesTheCallerAsDispatchException) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  try {
    dlg.board.Fail(7);
    FAIL() << "no exception";
  } catch (COleDispatchException* e) {
    EXPECT_EQ(static_cast<std::uint32_t>(e->m_scError), 0x800A0007u);
    EXPECT_STREQ(e->m_strDescription, "The board refused");
    e->Delete();
  }
  // The control is still usable afterwards.
  EXPECT_EQ(dlg.board.Add(1, 2), 3);
}

TEST_F(OleControlTest, WrapperWithoutControlThrowsInsteadOfCrashing) {
  CTestCtrlWrapper unbound;
  try {
    unbound.Add(1, 2);
    FAIL() << "no exception";
  } catch (COleException* e) {
    EXPECT_EQ(e->m_sc, E_UNEXPECTED);
    e->Delete();
  }
}

TEST_F(OleControlTest, ControlRepaintsAfterInvalidateControl) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  platform::PumpMessages();
  HWND board = dlg.board.m_hWnd;
  EXPECT_EQ(PixelAt(board, 60, 50), Rgb(RGB(0, 96, 0)));
  LONG paints = dlg.board.Paints();

  dlg.board.SetColor(RGB(200, 40, 40));
  platform::PumpMessages();
  EXPECT_EQ(PixelAt(board, 60, 50), Rgb(RGB(200, 40, 40)));
  EXPECT_GT(dlg.board.Paints(), paints);
}

TEST_F(OleControlTest, ContainerSnapshotShowsTheControl) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  dlg.board.SetCaption("Hosted control");
  dlg.board.SetColor(RGB(30, 60, 160));
  dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  std::string path = testsupport::SnapshotPath("olecontrol_container.png");
  ASSERT_TRUE(platform::SaveSurfacePng(dlg.m_hWnd, path.c_str()));
  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  RECT place{};
  ::GetWindowRect(dlg.board.m_hWnd, &place);
  RECT frame{};
  ::GetWindowRect(dlg.m_hWnd, &frame);
  EXPECT_EQ(shot.Row(place.bottom - frame.top - 3)[place.right - frame.left - 3], Rgb(RGB(30, 60, 160)));
}

TEST_F(OleControlTest, UnregisteredClassMakesCreateReturnZero) {
  CPlainContainer host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  CTestCtrlWrapper wrapper;
  EXPECT_EQ(wrapper.CreateUnregistered(CRect(0, 0, 50, 50), &host, 3), FALSE);
  EXPECT_EQ(wrapper.m_hWnd, nullptr);
  EXPECT_EQ(::GetDlgItem(host.m_hWnd, 3), nullptr);
  EXPECT_EQ(platform::HostedControlCount(), 0u);
}

TEST_F(OleControlTest, TemplateNamingAnUnregisteredControlFailsTheDialog) {
  CContainerDlg dlg(kMissingTemplate);
  EXPECT_FALSE(dlg.Create(kMissingTemplate));
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  CContainerDlg modal(kMissingTemplate);
  EXPECT_EQ(modal.DoModal(), -1);
  EXPECT_EQ(platform::HostedControlCount(), 0u);
}

TEST_F(OleControlTest, ContainerClosingInsideTheControlsEventIsSafe) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  dlg.destroyOnClick = true;
  HWND board = ::GetDlgItem(dlg.m_hWnd, kBoardId);
  platform::input::Click(board, POINT{8, 8});
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(board));
  EXPECT_EQ(platform::HostedControlCount(), 0u);
  EXPECT_EQ(comtest::CanUnloadLoadedModule(OLECONTROL_TEST_MODULE_PATH), S_OK);
}

TEST_F(OleControlTest, WrapperGoingAwayTakesTheControlWithIt) {
  CPlainContainer host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  {
    CTestCtrlWrapper wrapper;
    ASSERT_TRUE(wrapper.Create(nullptr, WS_VISIBLE, CRect(0, 0, 50, 50), &host, 7));
    EXPECT_EQ(platform::HostedControlCount(), 1u);
  }
  EXPECT_EQ(::GetDlgItem(host.m_hWnd, 7), nullptr);
  EXPECT_EQ(platform::HostedControlCount(), 0u);
}

TEST_F(OleControlTest, CreateControlHostsInAPlainWindow) {
  CPlainContainer host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  CTestCtrlWrapper wrapper;
  ASSERT_TRUE(wrapper.Create("board", WS_VISIBLE, CRect(10, 10, 110, 90), &host, 7));
  EXPECT_EQ(::GetDlgItem(host.m_hWnd, 7), wrapper.m_hWnd);
  CString name;
  wrapper.GetWindowText(name);
  EXPECT_STREQ(name, "board");
  platform::input::Click(wrapper.m_hWnd, POINT{4, 5});
  ASSERT_EQ(host.heard.size(), 1u);
  EXPECT_EQ(host.heard[0].a, 4);
  // A second control under another id is routed by its own id: nothing here listens to it.
  CTestCtrlWrapper other;
  ASSERT_TRUE(other.Create(nullptr, WS_VISIBLE, CRect(120, 10, 200, 90), &host, 8));
  platform::input::Click(other.m_hWnd, POINT{4, 5});
  EXPECT_EQ(host.heard.size(), 1u);
  EXPECT_EQ(platform::HostedControlCount(), 2u);
}

TEST_F(OleControlTest, ControlsGoWithTheirContainerAndTheModuleMayUnload) {
  {
    CContainerDlg dlg;
    ASSERT_TRUE(dlg.Create(kContainerTemplate));
    EXPECT_EQ(platform::HostedControlCount(), 1u);
    EXPECT_EQ(comtest::CanUnloadLoadedModule(OLECONTROL_TEST_MODULE_PATH), S_FALSE);
  }
  EXPECT_EQ(platform::HostedControlCount(), 0u);
  EXPECT_EQ(comtest::CanUnloadLoadedModule(OLECONTROL_TEST_MODULE_PATH), S_OK);
}

TEST_F(OleControlTest, EventWithArgumentsNotMatchingItsDescriptionIsNotFired) {
  CContainerDlg dlg;
  ASSERT_TRUE(dlg.Create(kContainerTemplate));
  ASSERT_TRUE(dlg.UpdateData(FALSE));
  dlg.heard.clear();
  dlg.board.Call(kCtrlFireBad);
  EXPECT_TRUE(dlg.heard.empty());
}

// ---- the control object without a container ----

class OleControlObjectTest : public OleControlTest {
protected:
  CComPtr<IUnknown> CreateObject(const CLSID& clsid) {
    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }
};

TEST_F(OleControlObjectTest, DispatchMapNumbersMembersByPlaceUnlessGivenAnId) {
  CComPtr<IUnknown> object = CreateObject(CLSID_TestControl);
  CComPtr<IDispatch> dispatch;
  ASSERT_EQ(object->QueryInterface(DIID_DTestControl, reinterpret_cast<void**>(&dispatch)), S_OK);
  auto idOf = [&](const char16_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    return id;
  };
  EXPECT_EQ(idOf(u"Caption"), kCtrlCaption);
  EXPECT_EQ(idOf(u"color"), kCtrlColor);
  EXPECT_EQ(idOf(u"SetSizeControl"), kCtrlSetSize);
  EXPECT_EQ(idOf(u"FireBad"), kCtrlFireBad);
  EXPECT_EQ(idOf(u"Paints"), kCtrlPaints);
  EXPECT_EQ(idOf(u"Nothing"), DISPID_UNKNOWN);
}

TEST_F(OleControlObjectTest, PersistedStateCarriesVersionAndSize) {
  CComPtr<IUnknown> object = CreateObject(CLSID_TestControl);
  CComPtr<IOleInPlaceControl> control;
  ASSERT_EQ(object->QueryInterface(&control), S_OK);
  ASSERT_EQ(control->LoadState(nullptr, 0), S_OK);
  std::vector<BYTE> state;
  ASSERT_EQ(control->SaveState(&state), S_OK);
  ASSERT_EQ(state.size(), 12u);
  CPropExchange read(CPropExchange::Mode::Load, state.data(), static_cast<ULONG>(state.size()));
  DWORD version = 0;
  LONG cx = 0, cy = 0;
  read.ExchangeVersion(version, 0);
  read.ExchangeLong(cx, 0);
  read.ExchangeLong(cy, 0);
  EXPECT_EQ(version, kCtrlVersion);
  EXPECT_EQ(cx, kCtrlInitialCx);
  EXPECT_EQ(cy, kCtrlInitialCy);

  CPropExchange write(CPropExchange::Mode::Save);
  DWORD older = 0x00000005;
  LONG width = 64, height = 48;
  write.ExchangeVersion(older, older);
  write.ExchangeLong(width, 0);
  write.ExchangeLong(height, 0);
  ASSERT_EQ(control->LoadState(write.Stream().data(), static_cast<ULONG>(write.Stream().size())), S_OK);
  ASSERT_EQ(control->SaveState(&state), S_OK);
  CPropExchange again(CPropExchange::Mode::Load, state.data(), static_cast<ULONG>(state.size()));
  again.ExchangeVersion(version, 0);
  again.ExchangeLong(cx, 0);
  again.ExchangeLong(cy, 0);
  EXPECT_EQ(version, kCtrlVersion);  // saved in the present version
  EXPECT_EQ(cx, 64);
  EXPECT_EQ(cy, 48);
}

TEST_F(OleControlObjectTest, TruncatedStateResetsTheControl) {
  CComPtr<IUnknown> object = CreateObject(CLSID_TestControl);
  CComPtr<IOleInPlaceControl> control;
  ASSERT_EQ(object->QueryInterface(&control), S_OK);
  const BYTE truncated[6] = {0, 0, 1, 0, 64, 0};
  EXPECT_EQ(control->LoadState(truncated, sizeof truncated), E_FAIL);
  std::vector<BYTE> state;
  ASSERT_EQ(control->SaveState(&state), S_OK);
  CPropExchange read(CPropExchange::Mode::Load, state.data(), static_cast<ULONG>(state.size()));
  DWORD version = 0;
  LONG cx = 0, cy = 0;
  read.ExchangeVersion(version, 0);
  read.ExchangeLong(cx, 0);
  read.ExchangeLong(cy, 0);
  EXPECT_EQ(cx, kCtrlInitialCx);
  EXPECT_EQ(cy, kCtrlInitialCy);
}

TEST_F(OleControlObjectTest, RegistrationWritesControlAndPageKeys) {
  char text[256] = {};
  LONG size = sizeof text;
  CString key = "CLSID\\" + GuidToString(CLSID_TestControl);
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, key, text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "Test Control");
  HKEY control = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, key + "\\Control", 0, KEY_READ, &control), ERROR_SUCCESS);
  if (control) RegCloseKey(control);
  size = sizeof text;
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, key + "\\MiscStatus\\1", text, &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "131473");  // 0x20191
  size = sizeof text;
  ASSERT_EQ(RegQueryValue(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_TestControlPage), text, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, "Test Control Property Page");
  HKEY pageControl = nullptr;
  EXPECT_NE(RegOpenKeyEx(HKEY_CLASSES_ROOT, "CLSID\\" + GuidToString(CLSID_TestControlPage) + "\\Control", 0,
                         KEY_READ, &pageControl),
            ERROR_SUCCESS);
}

TEST_F(OleControlObjectTest, PropertyPageShowsItsTemplateInAFrame) {
  CComPtr<IUnknown> object = CreateObject(CLSID_TestControlPage);
  CComPtr<IOlePropertyPage> page;
  ASSERT_EQ(object->QueryInterface(&page), S_OK);
  PROPPAGEINFO info;
  ASSERT_EQ(page->GetPageInfo(&info), S_OK);
  EXPECT_STREQ(info.title, "General");
  EXPECT_STREQ(info.docString, "Names to appear in the control");
  EXPECT_STREQ(info.helpFile, "TESTCONTROL.HLP");
  EXPECT_GT(info.size.cx, 0);

  CComPtr<IUnknown> control = CreateObject(CLSID_TestControl);
  IUnknown* objects[] = {control};
  EXPECT_EQ(page->SetObjects(1, objects), S_OK);

  CPlainContainer frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 200, nullptr, nullptr));
  RECT place{5, 5, 5 + info.size.cx, 5 + info.size.cy};
  ASSERT_EQ(page->Activate(frame.m_hWnd, &place, TRUE), S_OK);
  std::vector<HWND> children = platform::ChildWindows(frame.m_hWnd);
  ASSERT_EQ(children.size(), 1u);
  CString text;
  CWnd::FromHandle(platform::ChildWindows(children[0]).at(0))->GetWindowText(text);
  EXPECT_EQ(text.Find("TODO: Place controls"), 0);
  EXPECT_EQ(page->Apply(), S_OK);
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);
  EXPECT_EQ(page->Deactivate(), S_OK);
  EXPECT_TRUE(platform::ChildWindows(frame.m_hWnd).empty());
  EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
}

}  // namespace
