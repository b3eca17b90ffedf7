#include "orvanta/app/StandInView.h"

IMPLEMENT_DYNCREATE(CStandInView, CView)
