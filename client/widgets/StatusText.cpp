#include "client/widgets/StatusText.h"

#include "platform/app.h"
#include "platform/controlbars.h"
#include "platform/frames.h"

void ShowStatusText(const char* text) {
  CWnd* main = AfxGetMainWnd();
  if (main == nullptr || main->GetSafeHwnd() == nullptr) return;
  auto* bar = dynamic_cast<CStatusBar*>(main->GetDlgItem(AFX_IDW_STATUS_BAR));
  if (bar == nullptr) return;
  bar->SetPaneText(0, text);
  bar->UpdateWindow();
}
