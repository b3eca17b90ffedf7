#pragma once
// The control's property page: a page with a note and nothing to edit.

#include "platform/olecontrol.h"

class CStolvexPropPage final : public COlePropertyPage {
public:
  CStolvexPropPage();

protected:
  void DoDataExchange(CDataExchange* dx) override;
};
