// The dialog keyboard shared by dialogs, form views and message boxes: Tab and Shift+Tab, the
// arrows within a group of buttons, Return and Escape, and the controls' underlined letters.
#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/controls_defs.h"
#include "platform/dialogs.h"
#include "platform/windows.h"

namespace {

bool ClassIs(HWND hwnd, const char* name) { return platform::WindowClassName(hwnd).CompareNoCase(name) == 0; }

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE)); }

bool IsUsable(HWND hwnd) { return (StyleOf(hwnd) & WS_VISIBLE) && !(StyleOf(hwnd) & WS_DISABLED); }

DWORD ButtonType(HWND hwnd) { return ClassIs(hwnd, "Button") ? StyleOf(hwnd) & BS_TYPEMASK : 0xFFFFFFFF; }

bool IsPushButton(HWND hwnd) {
  DWORD type = ButtonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool IsRadioButton(HWND hwnd) {
  DWORD type = ButtonType(hwnd);
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsCheckBox(HWND hwnd) {
  DWORD type = ButtonType(hwnd);
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

// Buttons of any kind but the group box: what the arrows move between.
bool IsChoiceButton(HWND hwnd) { return IsPushButton(hwnd) || IsRadioButton(hwnd) || IsCheckBox(hwnd); }

// The combo box that owns focus (the box itself or its edit), null for none.
HWND ComboOf(HWND focus) {
  if (!focus) return nullptr;
  if (ClassIs(focus, "ComboBox")) return focus;
  HWND parent = ::GetParent(focus);
  return parent && ClassIs(parent, "ComboBox") ? parent : nullptr;
}

// A control that takes typed letters as text or as its own search: no letter alone is a mnemonic
// while it has the focus.
bool TakesLetters(HWND dialog, HWND focus, UINT code) {
  if (code & (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTALLKEYS)) return true;
  // The dialog itself (its focus given back by the window manager) types nothing.
  if (!focus || focus == dialog || IsChoiceButton(focus)) return false;
  return !ClassIs(focus, "Static");
}

// The underlined letter of a control's text ("&Pages" -> 'p'), 0 for none.
char MnemonicOf(HWND hwnd) {
  char text[256] = "";
  ::GetWindowText(hwnd, text, sizeof text);
  for (const char* p = text; *p; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
  }
  return 0;
}

void SendCommand(HWND dialog, int id, HWND control) {
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Presses the dialog's button id as a click would; a disabled button is not pressed.
void PressId(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  if (button && !::IsWindowEnabled(button)) return;
  SendCommand(dialog, id, button);
}

int DefaultId(HWND dialog) {
  LRESULT answer = ::SendMessage(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
}

// The default look goes with the focus among push buttons, and back to the dialog's default
// button when the focus leaves them.
void FollowDefaultLook(HWND dialog, HWND focus) {
  HWND lookFor = focus && IsPushButton(focus) ? focus : ::GetDlgItem(dialog, DefaultId(dialog));
  for (HWND child : platform::ChildWindows(dialog)) {
    DWORD type = ButtonType(child);
    if (type == BS_DEFPUSHBUTTON && child != lookFor) ::SendMessage(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (type == BS_PUSHBUTTON && child == lookFor) ::SendMessage(child, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
}

void Focus(HWND dialog, HWND control) {
  ::SetFocus(control);
  if (ClassIs(control, "Edit")) ::SendMessage(control, EM_SETSEL, 0, -1);
  FollowDefaultLook(dialog, control);
}

// Whether b is in the group of a (from a WS_GROUP control up to the next one).
bool SameGroup(HWND dialog, HWND a, HWND b) {
  for (HWND item = ::GetNextDlgGroupItem(dialog, a, FALSE); item && item != a;
       item = ::GetNextDlgGroupItem(dialog, item, FALSE)) {
    if (item == b) return true;
  }
  return false;
}

// Tab leaves a radio group as a whole: its other buttons are no stops on the way.
bool MoveTab(HWND dialog, HWND focus, bool backwards) {
  HWND next = ::GetNextDlgTabItem(dialog, focus, backwards ? TRUE : FALSE);
  if (focus && IsRadioButton(focus)) {
    while (next && next != focus && IsRadioButton(next) && SameGroup(dialog, focus, next))
      next = ::GetNextDlgTabItem(dialog, next, backwards ? TRUE : FALSE);
  }
  if (!next) return true;
  Focus(dialog, platform::DialogEntryControl(dialog, next));
  return true;
}

// An arrow on a button: the next button of its group gets the focus; a radio button reached
// this way is chosen, as a click would choose it.
bool MoveInGroup(HWND dialog, HWND focus, UINT key) {
  if (!IsChoiceButton(focus)) return false;
  bool previous = key == VK_LEFT || key == VK_UP;
  HWND next = focus;
  for (;;) {
    next = ::GetNextDlgGroupItem(dialog, next, previous ? TRUE : FALSE);
    if (!next || next == focus || IsChoiceButton(next)) break;
  }
  if (!next || next == focus) return true;
  Focus(dialog, next);
  if (IsRadioButton(next)) ::SendMessage(next, BM_CLICK, 0, 0);
  return true;
}

bool Return(HWND dialog, HWND focus) {
  if (focus && IsPushButton(focus) && ::IsChild(dialog, focus)) {
    SendCommand(dialog, ::GetDlgCtrlID(focus), focus);
  } else {
    PressId(dialog, DefaultId(dialog));
  }
  return true;
}

// The letter ch chooses the next control after the focus that shows it underlined: a button is
// pressed (a push button when it alone has the letter), a label or group box hands the focus to
// the control after it.
bool Mnemonic(HWND dialog, HWND focus, char ch) {
  ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (!std::isalnum(static_cast<unsigned char>(ch))) return false;
  std::vector<HWND> matches;
  for (HWND child : platform::ChildWindows(dialog)) {
    if (::GetParent(child) == dialog && IsUsable(child) && MnemonicOf(child) == ch) matches.push_back(child);
  }
  if (matches.empty()) return false;
  HWND target = matches.front();
  std::vector<HWND> all = platform::ChildWindows(dialog);
  auto focusAt = std::find(all.begin(), all.end(), focus);
  if (focusAt != all.end()) {
    for (auto it = focusAt + 1; it != all.end(); ++it) {
      if (std::find(matches.begin(), matches.end(), *it) != matches.end()) {
        target = *it;
        break;
      }
    }
  }
  if (ClassIs(target, "Static") || ButtonType(target) == BS_GROUPBOX) {
    if (HWND next = ::GetNextDlgTabItem(dialog, target, FALSE)) Focus(dialog, platform::DialogEntryControl(dialog, next));
    return true;
  }
  if (IsPushButton(target) && matches.size() == 1) {
    SendCommand(dialog, ::GetDlgCtrlID(target), target);
    return true;
  }
  Focus(dialog, target);
  if (IsRadioButton(target) || (IsCheckBox(target) && matches.size() == 1)) ::SendMessage(target, BM_CLICK, 0, 0);
  return true;
}

}  // namespace

namespace platform {

HWND DialogEntryControl(HWND dialog, HWND control) {
  if (!control || !IsRadioButton(control)) return control;
  for (HWND item = control;;) {
    if (IsRadioButton(item) && ::SendMessage(item, BM_GETCHECK, 0, 0) == BST_CHECKED) return item;
    item = ::GetNextDlgGroupItem(dialog, item, FALSE);
    if (!item || item == control) return control;
  }
}

void FocusDialogControl(HWND dialog, HWND control) {
  if (control) Focus(dialog, control);
}

}  // namespace platform

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
  if (!dialog || !msg || (msg->hwnd != dialog && !::IsChild(dialog, msg->hwnd))) return FALSE;
  HWND focus = ::GetFocus();
  if (focus && focus != dialog && !::IsChild(dialog, focus)) focus = nullptr;
  const UINT key = static_cast<UINT>(msg->wParam);
  if (msg->message == WM_SYSCHAR) return Mnemonic(dialog, focus, static_cast<char>(key)) ? TRUE : FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR) return FALSE;
  const UINT code = focus ? static_cast<UINT>(::SendMessage(focus, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg))) : 0;
  if (msg->message == WM_CHAR) {
    if (TakesLetters(dialog, focus, code)) return FALSE;
    return Mnemonic(dialog, focus, static_cast<char>(key)) ? TRUE : FALSE;
  }
  if (code & DLGC_WANTALLKEYS) return FALSE;
  // An open combo's list answers Return and Escape itself: they close only the list.
  if (key == VK_RETURN || key == VK_ESCAPE) {
    if (HWND combo = ComboOf(focus); combo && ::SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0)) {
      ::SendMessage(combo, WM_KEYDOWN, key, 0);
      return TRUE;
    }
  }
  switch (key) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return FALSE;
      // Tab leaves a multi-line edit; Ctrl+Tab types its tab.
      if (::GetKeyState(VK_CONTROL) < 0 && focus && ClassIs(focus, "Edit") && (StyleOf(focus) & ES_MULTILINE))
        return FALSE;
      return MoveTab(dialog, focus, ::GetKeyState(VK_SHIFT) < 0) ? TRUE : FALSE;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (!focus || (code & DLGC_WANTARROWS)) return FALSE;
      return MoveInGroup(dialog, focus, key) ? TRUE : FALSE;
    case VK_RETURN: {
      if (focus && ClassIs(focus, "Edit") && (StyleOf(focus) & ES_MULTILINE) && (StyleOf(focus) & ES_WANTRETURN))
        return FALSE;
      return Return(dialog, focus) ? TRUE : FALSE;
    }
    case VK_ESCAPE: {
      PressId(dialog, IDCANCEL);
      return TRUE;
    }
    default: return FALSE;
  }
}
