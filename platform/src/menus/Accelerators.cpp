// Accelerator tables, scan codes and key names.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "../display/InputRouting.h"
#include "platform/menus.h"

namespace {

struct AccelStore {
  std::map<HACCEL, std::vector<ACCEL>> tables;
  std::uintptr_t next{0x5000};
};

AccelStore& Accels() {
  static AccelStore store;
  return store;
}

// One key of the keyboard: virtual key, scan code (set 1), extended flag and name.
struct KeyInfo {
  UINT vk;
  UINT scan;
  bool extended;
  const char* name;
};

const std::vector<KeyInfo>& Keys() {
  static const std::vector<KeyInfo> keys = [] {
    std::vector<KeyInfo> k = {
        {VK_ESCAPE, 0x01, false, "Esc"},      {VK_BACK, 0x0E, false, "Backspace"}, {VK_TAB, 0x0F, false, "Tab"},
        {VK_RETURN, 0x1C, false, "Enter"},    {VK_CONTROL, 0x1D, false, "Ctrl"},   {VK_SHIFT, 0x2A, false, "Shift"},
        {VK_MENU, 0x38, false, "Alt"},        {VK_SPACE, 0x39, false, "Space"},    {VK_CAPITAL, 0x3A, false, "Caps Lock"},
        {VK_NUMLOCK, 0x45, true, "Num Lock"}, {VK_SCROLL, 0x46, false, "Scroll Lock"},
        {VK_MULTIPLY, 0x37, false, "Num *"},  {VK_SUBTRACT, 0x4A, false, "Num -"}, {VK_ADD, 0x4E, false, "Num +"},
        {VK_DECIMAL, 0x53, false, "Num Del"}, {VK_DIVIDE, 0x35, true, "Num /"},
        {VK_HOME, 0x47, true, "Home"},        {VK_UP, 0x48, true, "Up"},           {VK_PRIOR, 0x49, true, "Page Up"},
        {VK_LEFT, 0x4B, true, "Left"},        {VK_RIGHT, 0x4D, true, "Right"},     {VK_END, 0x4F, true, "End"},
        {VK_DOWN, 0x50, true, "Down"},        {VK_NEXT, 0x51, true, "Page Down"},  {VK_INSERT, 0x52, true, "Insert"},
        {VK_DELETE, 0x53, true, "Delete"},    {VK_PAUSE, 0x45, false, "Pause"},
    };
    static const char* const kFunctionNames[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    static const UINT kFunctionScans[] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
    for (UINT i = 0; i < 12; ++i) k.push_back({VK_F1 + i, kFunctionScans[i], false, kFunctionNames[i]});
    static const char kLetterRows[] = "QWERTYUIOP\0ASDFGHJKL\0ZXCVBNM";
    static const UINT kRowStarts[] = {0x10, 0x1E, 0x2C};
    static const char* const kSingles[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                           "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
    const char* row = kLetterRows;
    for (UINT r = 0; r < 3; ++r) {
      for (UINT i = 0; row[i]; ++i) k.push_back({static_cast<UINT>(row[i]), kRowStarts[r] + i, false, kSingles[row[i] - 'A']});
      row += std::strlen(row) + 1;
    }
    static const char* const kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (UINT d = 1; d <= 9; ++d) k.push_back({'0' + d, 0x01 + d, false, kDigits[d]});
    k.push_back({'0', 0x0B, false, "0"});
    static const char* const kPad[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4", "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    static const UINT kPadScans[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    for (UINT d = 0; d < 10; ++d) k.push_back({VK_NUMPAD0 + d, kPadScans[d], false, kPad[d]});
    return k;
  }();
  return keys;
}

const KeyInfo* KeyByScan(UINT scan, bool extended) {
  for (const KeyInfo& key : Keys()) {
    if (key.scan == scan && key.extended == extended) return &key;
  }
  return nullptr;
}

bool Held(UINT vk) { return ::GetKeyState(static_cast<int>(vk)) < 0; }

// Alt as it was when the key went: the key data says so, as Alt may be up by the time the
// message is handled.
bool AltWith(const MSG& msg) { return (msg.lParam & platform::detail::kAltContext) != 0 || Held(VK_MENU); }

bool ModifiersMatch(BYTE fVirt, const MSG& msg) {
  return Held(VK_SHIFT) == ((fVirt & FSHIFT) != 0) && Held(VK_CONTROL) == ((fVirt & FCONTROL) != 0) &&
         AltWith(msg) == ((fVirt & FALT) != 0);
}

bool Matches(const ACCEL& entry, const MSG& msg) {
  bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
  if (virtualKey) {
    return (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == entry.key &&
           ModifiersMatch(entry.fVirt, msg);
  }
  // A character entry matches the character typed, with Alt as its only modifier flag.
  return (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) && msg.wParam == entry.key &&
         AltWith(msg) == ((entry.fVirt & FALT) != 0);
}

}  // namespace

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
  if (!entries || count <= 0) return nullptr;
  HACCEL handle = reinterpret_cast<HACCEL>(Accels().next++);
  Accels().tables[handle].assign(entries, entries + count);
  return handle;
}

BOOL DestroyAcceleratorTable(HACCEL table) { return Accels().tables.erase(table) ? TRUE : FALSE; }

HACCEL LoadAccelerators(HINSTANCE module, LPCTSTR name) {
  platform::ResourceModule* resources = module ? platform::FindResourceModule(module) : platform::CurrentResourceModule();
  const auto* tmpl = resources ? resources->Find<platform::AcceleratorTemplate>(name) : nullptr;
  return tmpl ? CreateAcceleratorTable(tmpl->entries.data(), static_cast<int>(tmpl->entries.size())) : nullptr;
}

int CopyAcceleratorTable(HACCEL table, LPACCEL entries, int count) {
  auto it = Accels().tables.find(table);
  if (it == Accels().tables.end()) return 0;
  const std::vector<ACCEL>& all = it->second;
  if (!entries) return static_cast<int>(all.size());
  int copied = std::clamp(count, 0, static_cast<int>(all.size()));
  std::copy_n(all.begin(), copied, entries);
  return copied;
}

int TranslateAccelerator(HWND hwnd, HACCEL table, MSG* msg) {
  auto it = Accels().tables.find(table);
  if (!msg || !::IsWindow(hwnd) || it == Accels().tables.end()) return 0;
  for (const ACCEL& entry : it->second) {
    if (!Matches(entry, *msg)) continue;
    ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
    return 1;
  }
  return 0;
}

UINT MapVirtualKey(UINT code, UINT mapType) {
  for (const KeyInfo& key : Keys()) {
    if (mapType == MAPVK_VK_TO_VSC && key.vk == code) return key.scan;
    if (mapType == MAPVK_VSC_TO_VK && key.scan == code && !key.extended) return key.vk;
  }
  if (mapType == MAPVK_VK_TO_CHAR && ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || code == VK_SPACE)) {
    return code;
  }
  return 0;
}

int GetKeyNameText(LONG lParam, LPTSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  UINT scan = (static_cast<ULONG>(lParam) >> 16) & 0xFF;
  bool extended = (static_cast<ULONG>(lParam) >> 24) & 1;
  const KeyInfo* key = KeyByScan(scan, extended);
  // The keys with an extended twin (arrows, Insert, ...) share their scan code with the keypad.
  if (!key && extended) key = KeyByScan(scan, false);
  const char* name = key ? key->name : "";
  int length = std::min(static_cast<int>(std::strlen(name)), size - 1);
  std::memcpy(buffer, name, static_cast<std::size_t>(length));
  buffer[length] = '\0';
  return length;
}

namespace platform {

void AddAcceleratorResource(ResourceModule& module, UINT id, AcceleratorTemplate table) {
  module.Add<AcceleratorTemplate>(id, std::move(table));
}

}  // namespace platform
