// The templates of the platform's own dialogs.
#include "PlatformDialogs.h"

#include "platform/controls_defs.h"
#include "platform/dialogs.h"
#include "platform/windows.h"

namespace platform::detail {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr UINT kNoId = 0xFFFF;

DialogTemplate Frame(int cx, int cy, const char* caption) {
  DialogTemplate t;
  t.style = kDialogStyle;
  t.cx = cx;
  t.cy = cy;
  t.caption = caption;
  return t;
}

// Folder line, list, name edit, filter choice; the OK button's text is set for open or save.
DialogTemplate FileDialog() {
  DialogTemplate t = Frame(280, 196, "Open");
  t.items = {
      VisibleItem("Static", kFolderLabel, 7, 9, 40, 8, SS_LEFT, "Look in:"),
      VisibleItem("Static", kFolderText, 50, 9, 223, 8, SS_LEFT | SS_NOPREFIX),
      VisibleItem("ListBox", kFileList, 7, 22, 266, 116,
                  LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Static", kNoId, 7, 148, 52, 8, SS_LEFT, "File &name:"),
      VisibleItem("Edit", kFileNameEdit, 62, 146, 150, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Static", kNoId, 7, 168, 52, 8, SS_LEFT, "Files of &type:"),
      VisibleItem("ComboBox", kFilterCombo, 62, 166, 150, 80, CBS_DROPDOWNLIST | WS_TABSTOP),
      VisibleItem("Button", IDOK, 220, 145, 53, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "&Open"),
      VisibleItem("Button", IDCANCEL, 220, 165, 53, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

// The printer and where its pages go, the pages to print.
DialogTemplate PrintDialog() {
  DialogTemplate t = Frame(260, 160, "Print");
  t.items = {
      VisibleItem("Button", kNoId, 7, 4, 246, 70, BS_GROUPBOX, "Printer"),
      VisibleItem("Static", kNoId, 14, 18, 60, 8, SS_LEFT, "Name:"),
      VisibleItem("Static", kPrinterName, 78, 18, 168, 8, SS_LEFT | SS_NOPREFIX),
      VisibleItem("Static", kNoId, 14, 35, 60, 8, SS_LEFT, "&Folder:"),
      VisibleItem("Edit", kPrintFolderEdit, 78, 33, 168, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Static", kNoId, 14, 54, 60, 8, SS_LEFT, "File name &prefix:"),
      VisibleItem("Edit", kPrintPrefixEdit, 78, 52, 168, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kNoId, 7, 80, 246, 50, BS_GROUPBOX, "Page range"),
      VisibleItem("Button", kAllPages, 14, 94, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&All"),
      VisibleItem("Button", kPageRange, 14, 111, 40, 10, BS_AUTORADIOBUTTON, "Pa&ges"),
      VisibleItem("Static", kNoId, 58, 112, 22, 8, SS_LEFT, "from:"),
      VisibleItem("Edit", kFromPageEdit, 82, 110, 30, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP | WS_GROUP),
      VisibleItem("Static", kNoId, 120, 112, 14, 8, SS_LEFT, "to:"),
      VisibleItem("Edit", kToPageEdit, 136, 110, 30, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", IDOK, 146, 138, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      VisibleItem("Button", IDCANCEL, 203, 138, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

// The printer, its paper and the orientation.
DialogTemplate PrintSetupDialog() {
  DialogTemplate t = Frame(220, 124, "Print Setup");
  t.items = {
      VisibleItem("Static", kNoId, 7, 9, 40, 8, SS_LEFT, "Printer:"),
      VisibleItem("Static", kPrinterName, 50, 9, 163, 8, SS_LEFT | SS_NOPREFIX),
      VisibleItem("Button", kNoId, 7, 24, 100, 72, BS_GROUPBOX, "Paper"),
      VisibleItem("Static", kNoId, 14, 40, 30, 8, SS_LEFT, "Si&ze:"),
      VisibleItem("ComboBox", kPaperCombo, 14, 52, 86, 60, CBS_DROPDOWNLIST | WS_TABSTOP),
      VisibleItem("Button", kNoId, 113, 24, 100, 72, BS_GROUPBOX, "Orientation"),
      VisibleItem("Button", kPortrait, 120, 42, 80, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Po&rtrait"),
      VisibleItem("Button", kLandscape, 120, 60, 80, 10, BS_AUTORADIOBUTTON, "&Landscape"),
      VisibleItem("Button", IDOK, 106, 103, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      VisibleItem("Button", IDCANCEL, 163, 103, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

}  // namespace

ResourceModule& PlatformResources() {
  static ResourceModule& module = [] () -> ResourceModule& {
    ResourceModule& m = CreateResourceModule("platform");
    AddDialogTemplate(m, kFileDialogTemplate, FileDialog());
    AddDialogTemplate(m, kPrintDialogTemplate, PrintDialog());
    AddDialogTemplate(m, kPrintSetupTemplate, PrintSetupDialog());
    return m;
  }();
  return module;
}

const DialogTemplate* PlatformDialogTemplate(UINT id) { return PlatformResources().Find<DialogTemplate>(id); }

}  // namespace platform::detail
