#pragma once
// A plain view the tests register for screens whose own views are not part of the program, so
// that the frame can switch to them.

#include <platform/view.h>

class CStandInView : public CView {
  DECLARE_DYNCREATE(CStandInView)
public:
  void OnDraw(CDC*) override {}
};
