// The description of a print job.
#include "platform/printing.h"

CPrintInfo::CPrintInfo() : m_strOutputPrefix(platform::PrinterOutputPrefix(platform::ProgramPrinter())) {}
