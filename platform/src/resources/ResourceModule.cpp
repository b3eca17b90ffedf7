#include "platform/resources.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

struct ModuleRegistry {
  std::vector<std::unique_ptr<ResourceModule>> modules;
  std::uintptr_t nextHandle{0x400000};
  HINSTANCE instance{nullptr};
  HINSTANCE resource{nullptr};
};

ModuleRegistry& Modules() {
  static ModuleRegistry registry;
  return registry;
}

HINSTANCE NextModuleHandle() {
  ModuleRegistry& reg = Modules();
  auto handle = reinterpret_cast<HINSTANCE>(reg.nextHandle);
  reg.nextHandle += 0x10000;
  return handle;
}

}  // namespace

ResourceModule::ResourceModule(std::string name) : m_name(std::move(name)), m_handle(NextModuleHandle()) {}

void ResourceModule::AddString(UINT id, const char* text) { m_strings[id] = CString(text ? text : ""); }

const CString* ResourceModule::FindString(UINT id) const {
  auto it = m_strings.find(id);
  return it == m_strings.end() ? nullptr : &it->second;
}

std::string ResourceModule::KeyOf(LPCTSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return std::string(name);
}

const ResourceModule::KindTable* ResourceModule::FindTable(std::type_index kind) const {
  auto it = m_tables.find(kind);
  return it == m_tables.end() ? nullptr : &it->second;
}

ResourceModule& CreateResourceModule(const std::string& name) {
  ModuleRegistry& reg = Modules();
  reg.modules.push_back(std::make_unique<ResourceModule>(name));
  return *reg.modules.back();
}

ResourceModule* FindResourceModule(HINSTANCE handle) {
  if (!handle) return nullptr;
  for (auto& m : Modules().modules) {
    if (m->Handle() == handle) return m.get();
  }
  return nullptr;
}

ResourceModule* CurrentResourceModule() { return FindResourceModule(Modules().resource); }

void SetInstanceHandle(HINSTANCE handle) {
  ModuleRegistry& reg = Modules();
  reg.instance = handle;
  if (!reg.resource) reg.resource = handle;
}

ResourceScope::ResourceScope(HINSTANCE handle) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(handle); }
ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_previous); }

}  // namespace platform

BOOL AfxLoadStringResource(UINT id, CString& out) {
  platform::ResourceModule* module = platform::CurrentResourceModule();
  const CString* text = module ? module->FindString(id) : nullptr;
  if (!text) {
    out.Empty();
    return FALSE;
  }
  out = *text;
  return TRUE;
}

HINSTANCE AfxGetResourceHandle() { return platform::Modules().resource; }
void AfxSetResourceHandle(HINSTANCE handle) { platform::Modules().resource = handle; }
HINSTANCE AfxGetInstanceHandle() { return platform::Modules().instance; }

int LoadString(HINSTANCE module, UINT id, LPTSTR buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = '\0';
  platform::ResourceModule* m = platform::FindResourceModule(module);
  const CString* text = m ? m->FindString(id) : nullptr;
  if (!text) return 0;
  int n = std::min(text->GetLength(), maxCount - 1);
  std::copy_n(text->GetString(), n, buffer);
  buffer[n] = '\0';
  return n;
}
