// Dialog data exchange: CDataExchange and the DDX_/DDV_ functions.
#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <algorithm>
#include <vector>

#include "platform/controls_defs.h"
#include "platform/ddx.h"
#include "platform/msgbox.h"

namespace {

CString WindowText(HWND hwnd) {
  CString text;
  if (CWnd* wnd = CWnd::FromHandle(hwnd)) wnd->GetWindowText(text);
  return text;
}

// Shows why a value was refused, then ends the exchange.
[[noreturn]] void Refuse(CDataExchange* dx, const CString& message) {
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  dx->Fail();
}

CString Trimmed(HWND hwnd) {
  CString text = WindowText(hwnd);
  text.Trim();
  return text;
}

template <class T>
bool ParseSigned(const CString& text, T* out) {
  if (text.IsEmpty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(text.GetString(), &end, 10);
  if (*end != '\0' || errno == ERANGE || v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return false;
  *out = static_cast<T>(v);
  return true;
}

bool ParseUnsigned(const CString& text, UINT* out) {
  if (text.IsEmpty() || text[0] == '-') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(text.GetString(), &end, 10);
  if (*end != '\0' || errno == ERANGE || v > 0xFFFFFFFFull) return false;
  *out = static_cast<UINT>(v);
  return true;
}

bool ParseReal(const CString& text, double* out) {
  if (text.IsEmpty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.GetString(), &end);
  if (*end != '\0' || errno == ERANGE) return false;
  *out = v;
  return true;
}

// Loads text into the control, or parses the control into a staged value with parse.
template <class T, class Parse>
void ExchangeNumber(CDataExchange* dx, int id, T& value, const char* format, Parse parse, const char* complaint) {
  HWND control = dx->PrepareEditCtrl(id);
  if (!control) return;
  if (!dx->m_bSaveAndValidate) {
    CString text;
    text.Format(format, value);
    ::SetWindowText(control, text);
    return;
  }
  T parsed{};
  if (!parse(Trimmed(control), &parsed)) Refuse(dx, complaint);
  dx->Stage(value, parsed);
}

bool IsRadio(HWND hwnd) {
  if (platform::WindowClassName(hwnd).CompareNoCase("Button") != 0) return false;
  DWORD type = static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The radio buttons of the group starting at first, in z-order, up to the next WS_GROUP.
std::vector<HWND> RadioGroup(HWND first) {
  std::vector<HWND> group;
  std::vector<HWND> siblings = platform::ChildWindows(::GetParent(first));
  auto it = std::find(siblings.begin(), siblings.end(), first);
  for (; it != siblings.end(); ++it) {
    if (it != siblings.begin() && *it != first && (::GetWindowLong(*it, GWL_STYLE) & WS_GROUP)) break;
    if (IsRadio(*it)) group.push_back(*it);
  }
  return group;
}

bool IsDropList(HWND combo) {
  return (static_cast<DWORD>(::GetWindowLong(combo, GWL_STYLE)) & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
}

template <class T>
void CheckRange(CDataExchange* dx, T value, T low, T high, const char* format) {
  if (!dx->m_bSaveAndValidate) return;
  T staged = dx->LastStaged<T>(value);
  if (staged >= low && staged <= high) return;
  CString message;
  message.Format(format, low, high);
  Refuse(dx, message);
}

}  // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
  m_last.reset();
  HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
  if (!control) std::fprintf(stderr, "platform: data exchange: dialog has no control %d\n", id);
  m_lastControl = control;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) { return PrepareCtrl(id); }

void CDataExchange::Fail() {
  if (m_lastControl && ::IsWindow(m_lastControl)) {
    ::SetFocus(m_lastControl);
    if (platform::WindowClassName(m_lastControl).CompareNoCase("Edit") == 0) ::SendMessage(m_lastControl, EM_SETSEL, 0, -1);
  }
  throw platform::DataExchangeFailure{};
}

void CDataExchange::Commit() {
  for (auto& commit : m_commits) commit();
  m_commits.clear();
}

BOOL platform::ExchangeData(CWnd* window, BOOL saveAndValidate,
                            const std::function<void(CDataExchange*)>& exchange) {
  if (!window || !window->m_hWnd) return FALSE;
  CDataExchange dx(window, saveAndValidate);
  try {
    exchange(&dx);
  } catch (const DataExchangeFailure&) {
    return FALSE;
  }
  dx.Commit();
  return TRUE;
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (!control) return;
  if (dx->m_bSaveAndValidate) {
    dx->Stage(value, WindowText(control));
  } else {
    ::SetWindowText(control, value);
  }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  ExchangeNumber(dx, id, value, "%d", ParseSigned<int>, "Please enter a whole number.");
}

void DDX_Text(CDataExchange* dx, int id, long& value) {
  ExchangeNumber(dx, id, value, "%ld", ParseSigned<long>, "Please enter a whole number.");
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
  ExchangeNumber(dx, id, value, "%u", ParseUnsigned, "Please enter a positive whole number.");
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
  ExchangeNumber(dx, id, value, "%.15g", ParseReal, "Please enter a number.");
}

void DDX_Text(CDataExchange* dx, int id, float& value) {
  auto parseFloat = [](const CString& text, float* out) {
    double v = 0;
    if (!ParseReal(text, &v) || v > FLT_MAX || v < -FLT_MAX) return false;
    *out = static_cast<float>(v);
    return true;
  };
  ExchangeNumber(dx, id, value, "%.7g", parseFloat, "Please enter a number.");
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->m_bSaveAndValidate) {
    dx->Stage(value, static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0)));
  } else {
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  HWND first = dx->PrepareCtrl(id);
  if (!first) return;
  std::vector<HWND> group = RadioGroup(first);
  if (dx->m_bSaveAndValidate) {
    int checked = -1;
    for (std::size_t i = 0; i < group.size() && checked < 0; ++i) {
      if (::SendMessage(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) checked = static_cast<int>(i);
    }
    dx->Stage(value, checked);
    return;
  }
  for (std::size_t i = 0; i < group.size(); ++i) {
    ::SendMessage(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
  HWND combo = dx->PrepareCtrl(id);
  if (!combo) return;
  if (dx->m_bSaveAndValidate) {
    CString text;
    int selected = static_cast<int>(::SendMessage(combo, CB_GETCURSEL, 0, 0));
    if (IsDropList(combo) && selected >= 0) {
      CString item;
      int length = static_cast<int>(::SendMessage(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0));
      ::SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(item.GetBuffer(length + 1)));
      item.ReleaseBuffer();
      text = item;
    } else if (!IsDropList(combo)) {
      text = WindowText(combo);
    }
    dx->Stage(value, text);
    return;
  }
  LRESULT found = ::SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
  if (found == CB_ERR && !IsDropList(combo)) ::SetWindowText(combo, value);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND combo = dx->PrepareCtrl(id);
  if (!combo) return;
  if (dx->m_bSaveAndValidate) {
    dx->Stage(index, static_cast<int>(::SendMessage(combo, CB_GETCURSEL, 0, 0)));
  } else {
    ::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  HWND list = dx->PrepareCtrl(id);
  if (!list) return;
  if (dx->m_bSaveAndValidate) {
    dx->Stage(index, static_cast<int>(::SendMessage(list, LB_GETCURSEL, 0, 0)));
  } else {
    ::SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void DDX_LBString(CDataExchange* dx, int id, CString& value) {
  HWND list = dx->PrepareCtrl(id);
  if (!list) return;
  if (!dx->m_bSaveAndValidate) {
    ::SendMessage(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    return;
  }
  CString text;
  int selected = static_cast<int>(::SendMessage(list, LB_GETCURSEL, 0, 0));
  if (selected >= 0) {
    int length = static_cast<int>(::SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0));
    ::SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
    text.ReleaseBuffer();
  }
  dx->Stage(value, text);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  HWND item = dx->PrepareCtrl(id);
  if (item && !control.SubclassWindow(item)) {
    std::fprintf(stderr, "platform: data exchange: control %d is already attached to another object\n", id);
  }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars) {
  if (!dx->m_bSaveAndValidate) return;
  CString staged = dx->LastStaged<CString>(value);
  if (staged.GetLength() <= maxChars) return;
  CString message;
  message.Format("Please enter no more than %d characters.", maxChars);
  Refuse(dx, message);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
  CheckRange(dx, value, minValue, maxValue, "Please enter a whole number between %d and %d.");
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue) {
  CheckRange(dx, value, minValue, maxValue, "Please enter a whole number between %u and %u.");
}

void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue) {
  CheckRange<double>(dx, value, minValue, maxValue, "Please enter a number between %g and %g.");
}

void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue) {
  CheckRange(dx, value, minValue, maxValue, "Please enter a number between %g and %g.");
}
