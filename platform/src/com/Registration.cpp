#include <cstdio>

#include "RegistryText.h"
#include "platform/com_module.h"

using namespace platform::com;

namespace {

CString ClassKey(REFCLSID clsid) { return "CLSID\\" + GuidToString(clsid); }

CString VersionText(WORD major, WORD minor) {
  CString text;
  text.Format("%x.%x", major, minor);
  return text;
}

CString TypeLibKey(REFGUID libid) { return "TypeLib\\" + GuidToString(libid); }

CString TypeLibVersionKey(REFGUID libid, WORD major, WORD minor) {
  return TypeLibKey(libid) + "\\" + VersionText(major, minor);
}

CString InterfaceKey(REFIID iid) { return "Interface\\" + GuidToString(iid); }

CString FolderOf(const CString& path) {
  int slash = path.ReverseFind('/');
  return slash < 0 ? CString() : path.Left(slash);
}

bool WriteClassKeys(const ClassRegistration& reg, const char* modulePath) {
  CString key = ClassKey(reg.clsid);
  bool ok = WriteText(HKEY_CLASSES_ROOT, key, nullptr, reg.userTypeName) &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", nullptr, modulePath);
  if (ok && !reg.threadingModel.IsEmpty())
    ok = WriteText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel", reg.threadingModel);
  if (ok && !reg.progId.IsEmpty()) ok = WriteText(HKEY_CLASSES_ROOT, key + "\\ProgID", nullptr, reg.progId);
  if (ok && reg.control) ok = CreateKey(HKEY_CLASSES_ROOT, key + "\\Control");
  if (ok && reg.miscStatus != 0) {
    CString status;
    status.Format("%u", static_cast<unsigned>(reg.miscStatus));
    ok = WriteText(HKEY_CLASSES_ROOT, key + "\\MiscStatus", nullptr, "0") &&
         WriteText(HKEY_CLASSES_ROOT, key + "\\MiscStatus\\1", nullptr, status);
  }
  if (ok && reg.toolboxBitmap != 0) {
    CString bitmap;
    bitmap.Format("%s, %d", modulePath, reg.toolboxBitmap);
    ok = WriteText(HKEY_CLASSES_ROOT, key + "\\ToolboxBitmap32", nullptr, bitmap);
  }
  if (ok && reg.typeLib != GUID_NULL)
    ok = WriteText(HKEY_CLASSES_ROOT, key + "\\TypeLib", nullptr, GuidToString(reg.typeLib));
  if (ok && !reg.version.IsEmpty()) ok = WriteText(HKEY_CLASSES_ROOT, key + "\\Version", nullptr, reg.version);
  return ok;
}

bool WriteProgIdKeys(const ClassRegistration& reg) {
  if (reg.progId.IsEmpty()) return true;
  return WriteText(HKEY_CLASSES_ROOT, reg.progId, nullptr, reg.userTypeName) &&
         WriteText(HKEY_CLASSES_ROOT, reg.progId + "\\CLSID", nullptr, GuidToString(reg.clsid));
}

bool WriteInterfaceKeys(const TypeLibDescription& lib, const TypeLibInterface& item) {
  CString key = InterfaceKey(item.iid);
  return WriteText(HKEY_CLASSES_ROOT, key, nullptr, item.name) &&
         WriteText(HKEY_CLASSES_ROOT, key, "HelpString", item.helpString) &&
         WriteText(HKEY_CLASSES_ROOT, key, "Kind", item.dispatchOnly ? "dispinterface" : "dual") &&
         WriteText(HKEY_CLASSES_ROOT, key + "\\TypeLib", nullptr, GuidToString(lib.libid)) &&
         WriteText(HKEY_CLASSES_ROOT, key + "\\TypeLib", "Version", VersionText(lib.majorVersion, lib.minorVersion));
}

// The interfaces registered as belonging to one version of a library.
std::vector<IID> InterfacesOf(REFGUID libid, WORD major, WORD minor) {
  std::vector<IID> found;
  CString wantedLib = GuidToString(libid);
  CString wantedVersion = VersionText(major, minor);
  for (const CString& name : SubKeys(HKEY_CLASSES_ROOT, "Interface")) {
    CString lib, version;
    IID iid;
    if (ParseGuid(name.str(), iid) && ReadText(HKEY_CLASSES_ROOT, "Interface\\" + name + "\\TypeLib", nullptr, lib) &&
        lib.CompareNoCase(wantedLib) == 0 &&
        ReadText(HKEY_CLASSES_ROOT, "Interface\\" + name + "\\TypeLib", "Version", version) &&
        version == wantedVersion)
      found.push_back(iid);
  }
  return found;
}

}  // namespace

HRESULT RegisterClassEntries(const ClassRegistration& reg, const char* modulePath) {
  if (!modulePath || reg.clsid == GUID_NULL) return E_INVALIDARG;
  return WriteClassKeys(reg, modulePath) && WriteProgIdKeys(reg) ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterClassEntries(const ClassRegistration& reg) {
  bool ok = DeleteTree(HKEY_CLASSES_ROOT, ClassKey(reg.clsid));
  // A ProgID that another class has taken over since is left to that class.
  CString owner;
  if (!reg.progId.IsEmpty() && ReadText(HKEY_CLASSES_ROOT, reg.progId + "\\CLSID", nullptr, owner) &&
      owner.CompareNoCase(GuidToString(reg.clsid)) == 0)
    ok = DeleteTree(HKEY_CLASSES_ROOT, reg.progId) && ok;
  return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT RegisterTypeLibrary(const TypeLibDescription& lib) {
  if (lib.libid == GUID_NULL) return E_INVALIDARG;
  CString key = TypeLibVersionKey(lib.libid, lib.majorVersion, lib.minorVersion);
  bool ok = WriteText(HKEY_CLASSES_ROOT, key, nullptr, lib.helpString) &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\Name", nullptr, lib.name) &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\HelpFile", nullptr, lib.helpFile) &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\FLAGS", nullptr, "0") &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\HELPDIR", nullptr, FolderOf(lib.path)) &&
            WriteText(HKEY_CLASSES_ROOT, key + "\\0\\linux", nullptr, lib.path);
  for (const TypeLibInterface& item : lib.interfaces) ok = ok && WriteInterfaceKeys(lib, item);
  return ok ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD majorVersion, WORD minorVersion, LCID) {
  CString key = TypeLibVersionKey(libid, majorVersion, minorVersion);
  if (!KeyExists(HKEY_CLASSES_ROOT, key)) return TYPE_E_LIBNOTREGISTERED;
  bool ok = true;
  for (const IID& iid : InterfacesOf(libid, majorVersion, minorVersion))
    ok = DeleteTree(HKEY_CLASSES_ROOT, InterfaceKey(iid)) && ok;
  ok = DeleteTree(HKEY_CLASSES_ROOT, key) && ok;
  if (ok && SubKeys(HKEY_CLASSES_ROOT, TypeLibKey(libid)).empty()) ok = DeleteTree(HKEY_CLASSES_ROOT, TypeLibKey(libid));
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT QueryTypeLibrary(REFGUID libid, WORD majorVersion, WORD minorVersion, TypeLibDescription& out) {
  CString key = TypeLibVersionKey(libid, majorVersion, minorVersion);
  if (!KeyExists(HKEY_CLASSES_ROOT, key)) return TYPE_E_LIBNOTREGISTERED;
  out = TypeLibDescription{};
  out.libid = libid;
  out.majorVersion = majorVersion;
  out.minorVersion = minorVersion;
  ReadText(HKEY_CLASSES_ROOT, key, nullptr, out.helpString);
  ReadText(HKEY_CLASSES_ROOT, key + "\\Name", nullptr, out.name);
  ReadText(HKEY_CLASSES_ROOT, key + "\\HelpFile", nullptr, out.helpFile);
  ReadText(HKEY_CLASSES_ROOT, key + "\\0\\linux", nullptr, out.path);
  for (const IID& iid : InterfacesOf(libid, majorVersion, minorVersion)) {
    TypeLibInterface item;
    item.iid = iid;
    CString kind;
    ReadText(HKEY_CLASSES_ROOT, InterfaceKey(iid), nullptr, item.name);
    ReadText(HKEY_CLASSES_ROOT, InterfaceKey(iid), "HelpString", item.helpString);
    ReadText(HKEY_CLASSES_ROOT, InterfaceKey(iid), "Kind", kind);
    item.dispatchOnly = kind == "dispinterface";
    out.interfaces.push_back(item);
  }
  return S_OK;
}
