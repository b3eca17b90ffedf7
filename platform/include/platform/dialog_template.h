#pragma once
// Dialog templates defined in code: the dialog's frame and its controls, in dialog units of the
// template's font. Each program registers its templates in its own resource module under their
// numeric ids; CDialog looks them up in the current resource module.

#include <functional>
#include <vector>

#include "platform/geometry.h"
#include "platform/resources.h"
#include "platform/strings.h"
#include "platform/types.h"

// Dialog styles.
constexpr DWORD DS_ABSALIGN = 0x01;
constexpr DWORD DS_SYSMODAL = 0x02;
constexpr DWORD DS_LOCALEDIT = 0x20;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_NOIDLEMSG = 0x100;
constexpr DWORD DS_SETFOREGROUND = 0x200;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;

namespace platform {

// One control of a template. The rectangle is x, y, width, height in dialog units.
struct DialogItemTemplate {
  CString className;  // "Button", "Edit", ... or a custom class registered later
  UINT id{0};
  int x{0};
  int y{0};
  int cx{0};
  int cy{0};
  DWORD style{0};  // WS_CHILD is always added
  DWORD exStyle{0};
  CString text;
};

// A shown item for a template built in code (WS_VISIBLE is added to style).
DialogItemTemplate VisibleItem(const CString& className, UINT id, int x, int y, int cx, int cy, DWORD style,
                               const char* text = "");

// A whole dialog. x, y, cx, cy in dialog units; cx and cy size the client area.
struct DialogTemplate {
  DWORD style{0};
  DWORD exStyle{0};
  int x{0};
  int y{0};
  int cx{0};
  int cy{0};
  CString caption;
  CString fontName{"MS Sans Serif"};
  int fontSize{8};  // points
  std::vector<DialogItemTemplate> items;
};

// Registers tmpl in module under id (replacing an earlier one).
void AddDialogTemplate(ResourceModule& module, UINT id, DialogTemplate tmpl);
// The template named name (MAKEINTRESOURCE id or string) in the current resource module; null when
// there is none.
const DialogTemplate* FindDialogTemplate(LPCTSTR name);

// The base units of a font: average character width (cx) and character height (cy) in pixels.
// A horizontal dialog unit is a quarter of cx, a vertical one an eighth of cy.
SIZE DialogBaseUnits(const CString& fontName, int pointSize);
// The font a template names, at its point size on the 96-dpi screen; the caller deletes it.
HFONT CreateDialogFont(const DialogTemplate& tmpl);
// Converts a rectangle given as x, y, width, height in dialog units to pixels.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE baseUnits);

// Creates the window of a template control whose class is not a window class (a class the
// program hosts itself); returns the control's window or null. rect is in the dialog's client
// pixels.
using CustomControlFactory = std::function<HWND(const DialogItemTemplate& item, HWND dialog, const RECT& rect)>;
// Registers (or, with an empty factory, removes) the creator for className.
void SetCustomControlFactory(const char* className, CustomControlFactory factory);
// Creates a hosted control for an item whose class name is a braced class identifier
// ("{87C23E88-...}"); null when the class is not registered or cannot be made (olehost.h).
HWND CreateTemplateControl(const DialogItemTemplate& item, HWND dialog, const RECT& rect);
// Creates every control of tmpl in dialog, in template order, with font set on each (may be null).
// Returns the number of controls that could not be created (each one is logged); *hostedFailed
// (when given) gets how many of them were hosted controls named by class identifier.
int CreateDialogControls(HWND dialog, const DialogTemplate& tmpl, SIZE baseUnits, HFONT font,
                         int* hostedFailed = nullptr);

}  // namespace platform
