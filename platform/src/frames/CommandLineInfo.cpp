// The arguments of the program's command line.
#include <strings.h>

#include "platform/app.h"

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL last) {
  if (flag) {
    if (strcasecmp(param, "pt") == 0) {
      m_nShellCommand = FilePrintTo;
    } else if (strcasecmp(param, "p") == 0) {
      m_nShellCommand = FilePrint;
    } else if (strcasecmp(param, "dde") == 0) {
      m_nShellCommand = FileDDE;
    } else if (strcasecmp(param, "Embedding") == 0) {
      m_bRunEmbedded = TRUE;
      m_bShowSplash = FALSE;
    } else if (strcasecmp(param, "Automation") == 0) {
      m_bRunAutomation = TRUE;
      m_bShowSplash = FALSE;
    } else if (strcasecmp(param, "Register") == 0 || strcasecmp(param, "Regserver") == 0) {
      m_nShellCommand = AppRegister;
    } else if (strcasecmp(param, "Unregister") == 0 || strcasecmp(param, "Unregserver") == 0) {
      m_nShellCommand = AppUnregister;
    }
  } else if (m_strFileName.IsEmpty()) {
    m_strFileName = param;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  }
  // A program started by a client makes no document of its own.
  if (last && m_nShellCommand == FileNew && (m_bRunEmbedded || m_bRunAutomation)) m_nShellCommand = FileNothing;
}
