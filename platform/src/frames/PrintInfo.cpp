// The description of a print job.
#include <cstdlib>

#include "platform/printing.h"

CPrintInfo::CPrintInfo() {
  const char* prefix = std::getenv("PLATFORM_PRINT_PREFIX");
  m_strOutputPrefix = prefix && *prefix ? prefix : "printed-page-";
}
