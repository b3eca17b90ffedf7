#pragma once
// The platform's own dialogs (file, print, print setup): their templates live in the platform's
// resource module, apart from every program's, under the ids below.

#include "platform/dialog_template.h"

namespace platform::detail {

constexpr UINT kFileDialogTemplate = 1, kPrintDialogTemplate = 2, kPrintSetupTemplate = 3;

// Controls of the file dialog.
constexpr UINT kFolderLabel = 1100, kFolderText = 1101, kFileList = 1102, kFileNameEdit = 1103, kFilterCombo = 1104;
// Controls of the print and print setup dialogs.
constexpr UINT kPrinterName = 1200, kPrintFolderEdit = 1201, kPrintPrefixEdit = 1202, kAllPages = 1203,
               kPageRange = 1204, kFromPageEdit = 1205, kToPageEdit = 1206, kPaperCombo = 1210, kPortrait = 1211,
               kLandscape = 1212;

// The platform's own resource module, its templates registered on first use.
ResourceModule& PlatformResources();
// The template of one of the platform's dialogs (registered on first use); null for another id.
const DialogTemplate* PlatformDialogTemplate(UINT id);

}  // namespace platform::detail
