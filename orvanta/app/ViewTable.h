#pragma once
// The views the main frame can show in its upper pane, by view id: each entry gives the view's
// class (made by dynamic creation when the frame switches to it) and the layout mode of the main
// menu pane. A screen joins the switch by adding its entry to the table; an id without an entry
// is not a view the program has, and a switch to it keeps the current view.

#include <platform/runtime_class.h>
#include <platform/types.h>

struct CViewTableEntry {
  UINT m_nViewId;
  int m_nMenuMode;                      // the main menu pane's layout for the view
  CRuntimeClass* (*m_pfnViewClass)();  // the view's class
};

// The entry of viewId, or null.
const CViewTableEntry* FindViewEntry(UINT viewId);
