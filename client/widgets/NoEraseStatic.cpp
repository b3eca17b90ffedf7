#include "client/widgets/NoEraseStatic.h"

BEGIN_MESSAGE_MAP(CNoEraseStatic, CStatic)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CNoEraseStatic::OnEraseBkgnd(CDC* dc) {
  (void)dc;
  return TRUE;
}
