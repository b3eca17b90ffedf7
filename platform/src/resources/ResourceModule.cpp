#include "platform/resources.h"

BOOL AfxLoadStringResource(UINT, CString&) { return FALSE; }
