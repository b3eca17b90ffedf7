// Dialog templates: registration, dialog units and creating a template's controls.
#include "platform/dialog_template.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <string>

#include "platform/gdi.h"
#include "platform/windows.h"

namespace platform {
namespace {

std::map<std::string, CustomControlFactory>& Factories() {
  static std::map<std::string, CustomControlFactory> factories;
  return factories;
}

// Class names compare without case, as window class names do.
std::string FoldedName(const char* name) {
  std::string folded = name ? name : "";
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

const CustomControlFactory* FindFactory(const CString& className) {
  auto it = Factories().find(FoldedName(className.GetString()));
  return it == Factories().end() ? nullptr : &it->second;
}

// A class name that is a braced class identifier names a hosted control.
bool NamesHostedControl(const DialogItemTemplate& item) { return item.className.GetString()[0] == '{'; }

HWND CreateItem(HWND dialog, const DialogItemTemplate& item, SIZE baseUnits) {
  RECT r = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, baseUnits);
  if (const CustomControlFactory* factory = FindFactory(item.className)) return (*factory)(item, dialog, r);
  if (NamesHostedControl(item)) return CreateTemplateControl(item, dialog, r);
  return ::CreateWindowEx(item.exStyle, item.className, item.text, item.style | WS_CHILD, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, dialog,
                          reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)), AfxGetInstanceHandle(),
                          nullptr);
}

}  // namespace

void AddDialogTemplate(ResourceModule& module, UINT id, DialogTemplate tmpl) {
  module.Add<DialogTemplate>(id, std::move(tmpl));
}

const DialogTemplate* FindDialogTemplate(LPCTSTR name) {
  ResourceModule* module = CurrentResourceModule();
  return module ? module->Find<DialogTemplate>(name) : nullptr;
}

HFONT CreateDialogFont(const DialogTemplate& tmpl) {
  int height = -(tmpl.fontSize * 96 + 36) / 72;
  return ::CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, tmpl.fontName);
}

SIZE DialogBaseUnits(const CString& fontName, int pointSize) {
  // Screen fonts are 96 pixels per inch.
  int height = -(pointSize * 96 + 36) / 72;
  HFONT font = ::CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, fontName);
  HDC dc = ::CreateCompatibleDC(nullptr);
  SIZE units{8, 16};
  if (font && dc) {
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{0, 0};
    TEXTMETRIC metrics{};
    if (::GetTextExtentPoint32(dc, kLetters, 52, &extent) && extent.cx > 0) units.cx = (extent.cx / 26 + 1) / 2;
    if (::GetTextMetrics(dc, &metrics) && metrics.tmHeight > 0) units.cy = metrics.tmHeight;
    ::SelectObject(dc, old);
  }
  if (dc) ::DeleteDC(dc);
  if (font) ::DeleteObject(reinterpret_cast<HGDIOBJ>(font));
  return units;
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE baseUnits) {
  auto horizontal = [&](int units) { return (units * baseUnits.cx + 2) / 4; };
  auto vertical = [&](int units) { return (units * baseUnits.cy + 4) / 8; };
  return RECT{horizontal(x), vertical(y), horizontal(x + cx), vertical(y + cy)};
}

void SetCustomControlFactory(const char* className, CustomControlFactory factory) {
  if (factory) {
    Factories()[FoldedName(className)] = std::move(factory);
  } else {
    Factories().erase(FoldedName(className));
  }
}

int CreateDialogControls(HWND dialog, const DialogTemplate& tmpl, SIZE baseUnits, HFONT font, int* hostedFailed) {
  int failed = 0;
  if (hostedFailed) *hostedFailed = 0;
  for (const DialogItemTemplate& item : tmpl.items) {
    HWND control = CreateItem(dialog, item, baseUnits);
    if (!control) {
      std::fprintf(stderr, "platform: dialog control %u of class \"%s\" could not be created\n", item.id,
                   item.className.GetString());
      ++failed;
      if (hostedFailed && NamesHostedControl(item)) ++*hostedFailed;
      continue;
    }
    if (font) ::SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return failed;
}

DialogItemTemplate VisibleItem(const CString& className, UINT id, int x, int y, int cx, int cy, DWORD style,
                               const char* text) {
  DialogItemTemplate item;
  item.className = className;
  item.id = id;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.style = style | WS_VISIBLE;
  item.text = text;
  return item;
}

}  // namespace platform
