#include "control/StolvexModule.h"

#include "control/BoardPictures.h"
#include "control/StolvexCtrl.h"
#include "control/StolvexIds.h"
#include "control/StolvexInterfaces.h"
#include "control/StolvexPropPage.h"
#include "platform/dialog_template.h"
#include "platform/menus.h"
#include "platform/registry.h"
#include "platform/resources.h"

namespace {

platform::ResourceModule& BuildResources() {
  platform::ResourceModule& m = platform::CreateResourceModule("stolvex");
  m.AddString(IDS_STOLVEX, "Stolvex Control");
  m.AddString(IDS_STOLVEX_PPG, "Stolvex Property Page");
  m.AddString(IDS_STOLVEX_PPG_CAPTION, "General");
  platform::DialogTemplate page;
  page.style = WS_CHILD;
  page.cx = 250;
  page.cy = 62;
  page.fontName = "MS Sans Serif";
  page.items.push_back(platform::VisibleItem(
      "Static", 0xFFFF, 7, 25, 236, 16, 0,
      "TODO: Place controls to manipulate properties of Stolvex Control on this dialog."));
  platform::AddDialogTemplate(m, IDD_PROPPAGE_STOLVEX, page);
  platform::AddCursorResource(m, IDC_ARROW_CURSOR);
  platform::AddCursorResource(m, IDC_PLAY_CURSOR);
  platform::MenuTemplate menu;
  platform::MenuItemTemplate popup;
  popup.text = "Board";
  popup.items.push_back({Cp949(" 바둑판회전"), ID_ROTATE_BOARD, 0, {}});
  popup.items.push_back({Cp949("좌표표시하기"), ID_SHOW_COORDINATES, 0, {}});
  menu.items.push_back(popup);
  platform::AddMenuResource(m, IDR_BOARD_MENU, menu);
  AddBoardPictures(m);
  return m;
}

TypeLibDescription TypeLibrary() {
  TypeLibDescription lib;
  lib.libid = LIBID_STOLVEXLib;
  lib.majorVersion = kStolvexVersionMajor;
  lib.minorVersion = kStolvexVersionMinor;
  lib.name = "STOLVEXLib";
  lib.helpString = "Stolvex ActiveX Control module";
  lib.helpFile = "Stolvex.hlp";
  lib.interfaces = {
      {DIID__DStolvex, "_DStolvex", "Dispatch interface for Stolvex Control", true},
      {DIID__DStolvexEvents, "_DStolvexEvents", "Event interface for Stolvex Control", true},
      {IID_IStoneList, "IStoneList", "IStoneList Interface", false},
      {IID_IStoneInfo, "IStoneInfo", "IStoneInfo Interface", false},
  };
  return lib;
}

constexpr const char* kAppIdRoot = "AppID";
constexpr const char* kAppExe = "AppID\\Stolvex.EXE";

std::string AppIdKey() { return std::string(kAppIdRoot) + "\\" + GuidToString(APPID_Stolvex).GetString(); }

LONG SetText(HKEY root, const std::string& subKey, const char* name, const CString& text) {
  HKEY key = nullptr;
  LONG status = RegCreateKey(root, subKey.c_str(), &key);
  if (status != ERROR_SUCCESS)
    return status;
  status = RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                         static_cast<DWORD>(text.GetLength() + 1));
  RegCloseKey(key);
  return status;
}

HRESULT ApplyAppIdScript() {
  if (SetText(HKEY_CLASSES_ROOT, AppIdKey(), nullptr, "Stolvex") != ERROR_SUCCESS ||
      SetText(HKEY_CLASSES_ROOT, kAppExe, "AppID", GuidToString(APPID_Stolvex)) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  return S_OK;
}

// Removes a key of HKEY_CLASSES_ROOT that holds nothing. Other programs keep their entries beside
// ours under these collection keys; a collection goes only when ours was its last entry, so that
// unregistering leaves the registry as registering found it.
void RemoveIfEmpty(const char* subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return;
  char name[8];
  DWORD nameSize = sizeof name;
  DWORD valueType = 0, dataSize = 0;
  const bool hasKeys = RegEnumKey(key, 0, name, sizeof name) != ERROR_NO_MORE_ITEMS;
  const bool hasValues =
      RegEnumValue(key, 0, name, &nameSize, nullptr, &valueType, nullptr, &dataSize) != ERROR_NO_MORE_ITEMS;
  RegCloseKey(key);
  if (!hasKeys && !hasValues)
    RegDeleteKey(HKEY_CLASSES_ROOT, subKey);
}

void RemoveAppIdScript() {
  RegDeleteKey(HKEY_CLASSES_ROOT, AppIdKey().c_str());
  RegDeleteKey(HKEY_CLASSES_ROOT, kAppExe);
}

}  // namespace

platform::ResourceModule& StolvexResources() {
  static platform::ResourceModule& module = BuildResources();
  return module;
}

CComModule& StolvexModule() {
  static CComModule module;
  static const bool listed = [] {
    HINSTANCE resources = StolvexResources().Handle();
    constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                  OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    COleObjectFactory::Add<CStolvexCtrl>(
        module,
        AfxOleControlClassRegistration(resources, CLSID_Stolvex, kStolvexProgId, IDS_STOLVEX, IDB_STOLVEX,
                                       kMiscStatus, LIBID_STOLVEXLib, kStolvexVersionMajor, kStolvexVersionMinor),
        resources);
    COleObjectFactory::Add<CStolvexPropPage>(
        module,
        AfxOlePropertyPageClassRegistration(resources, CLSID_StolvexPropPage, kStolvexPropPageProgId, IDS_STOLVEX_PPG),
        resources);
    module.SetTypeLibrary(TypeLibrary());
    return true;
  }();
  (void)listed;
  return module;
}

HRESULT StolvexRegisterServer() {
  const HRESULT hr = StolvexModule().RegisterServer();
  if (FAILED(hr))
    return hr;
  return ApplyAppIdScript();
}

HRESULT StolvexUnregisterServer() {
  const HRESULT hr = StolvexModule().UnregisterServer();
  RemoveAppIdScript();
  // The AppID collection itself stays, whatever is left in it.
  for (const char* collection : {"CLSID", "Interface", "TypeLib"})
    RemoveIfEmpty(collection);
  return hr;
}
