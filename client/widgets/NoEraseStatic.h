#pragma once
// CNoEraseStatic: a static whose background is never erased, so what the parent painted behind
// it stays visible.

#include "platform/controls.h"

class CNoEraseStatic : public CStatic {
public:
  CNoEraseStatic() = default;
  ~CNoEraseStatic() override = default;

protected:
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()
};
