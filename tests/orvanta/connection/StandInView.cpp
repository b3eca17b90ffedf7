#include "orvanta/connection/StandInView.h"

IMPLEMENT_DYNCREATE(CStandInView, CView)
