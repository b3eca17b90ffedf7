// The program's printer: paper, orientation and where its pages go.
#include <cstdlib>

#include "platform/files.h"
#include "platform/printing.h"

namespace platform {

PrinterSetup& ProgramPrinter() {
  static PrinterSetup printer;
  return printer;
}

SIZE PaperSizeMm(const PrinterSetup& setup) {
  SIZE portrait = setup.paper == Paper::Letter ? SIZE{216, 279} : SIZE{210, 297};
  return setup.landscape ? SIZE{portrait.cy, portrait.cx} : portrait;
}

CString PrinterOutputPrefix(const PrinterSetup& setup) {
  if (!setup.chosenPrefix.IsEmpty()) return setup.chosenPrefix;
  const char* prefix = std::getenv("PLATFORM_PRINT_PREFIX");
  return prefix && *prefix ? ProgramPath(prefix) : CString("printed-page-");
}

}  // namespace platform
