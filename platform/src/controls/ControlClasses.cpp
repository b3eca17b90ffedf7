#include "platform/controls.h"

#include "ButtonModel.h"
#include "ComboBoxModel.h"
#include "ComboListModel.h"
#include "DateTimeModel.h"
#include "EditModel.h"
#include "HeaderModel.h"
#include "IpAddressModel.h"
#include "ListBoxModel.h"
#include "ListViewModel.h"
#include "RangeModels.h"
#include "SpinModel.h"
#include "StaticModel.h"
#include "StatusBarModel.h"
#include "ToolBarModel.h"
#include "ToolTipModel.h"
#include "TreeModel.h"

namespace platform {
namespace {

struct ControlClass {
  const char* name;
  WNDPROC proc;
};

const ControlClass kControlClasses[] = {
    {"Button", &detail::ControlProc<detail::ButtonModel>},
    {"Static", &detail::ControlProc<detail::StaticModel>},
    {"Edit", &detail::ControlProc<detail::EditModel>},
    {"ListBox", &detail::ControlProc<detail::ListBoxModel>},
    {"ComboBox", &detail::ControlProc<detail::ComboBoxModel>},
    {"ComboLBox", &detail::ControlProc<detail::ComboListModel>},
    {"SysHeader32", &detail::ControlProc<detail::HeaderModel>},
    {"SysListView32", &detail::ControlProc<detail::ListViewModel>},
    {"SysTreeView32", &detail::ControlProc<detail::TreeModel>},
    {"msctls_progress32", &detail::ControlProc<detail::ProgressModel>},
    {"msctls_trackbar32", &detail::ControlProc<detail::TrackbarModel>},
    {"msctls_updown32", &detail::ControlProc<detail::SpinModel>},
    {"SysIPAddress32", &detail::ControlProc<detail::IpAddressModel>},
    {"tooltips_class32", &detail::ControlProc<detail::ToolTipModel>},
    {"msctls_statusbar32", &detail::ControlProc<detail::StatusBarModel>},
    {"ToolbarWindow32", &detail::ControlProc<detail::ToolBarModel>},
    {"SysDateTimePick32", &detail::ControlProc<detail::DateTimeModel>},
};

// The classes are ready before any program code runs.
const int g_registeredAtLoad = RegisterControlClasses();

}  // namespace

int RegisterControlClasses() {
  int registered = 0;
  for (const ControlClass& c : kControlClasses) {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = c.proc;
    wc.lpszClassName = c.name;
    if (::RegisterClass(&wc)) ++registered;
  }
  return registered;
}

}  // namespace platform
