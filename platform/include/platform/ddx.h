#pragma once
// Dialog data exchange: DoDataExchange lists DDX_ calls (a control <-> a member) and DDV_ calls
// (a check of the member just exchanged). Saving collects every new value first and writes the
// members only when all of them passed, so a failed validation leaves every member unchanged.

#include <any>
#include <functional>
#include <type_traits>
#include <vector>

#include "platform/dialogs.h"

class CDataExchange {
public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);

  // The control of id (remembered for the failure focus); null, and logged, when there is none.
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  // Shows nothing itself: focuses the last prepared control and stops the exchange (throws the
  // exchange's failure, which UpdateData catches).
  [[noreturn]] void Fail();

  // Saving: records value as the new content of member, written by Commit; the DDV_ call that
  // follows checks it.
  template <class T>
  void Stage(T& member, T value) {
    m_last = value;
    m_commits.push_back([&member, value] { member = value; });
  }
  // The value staged by the last DDX_ call while saving (converted between number types), else
  // fallback.
  template <class T>
  T LastStaged(T fallback) const {
    if (const T* same = std::any_cast<T>(&m_last)) return *same;
    if constexpr (std::is_arithmetic_v<T>) {
      if (const int* v = std::any_cast<int>(&m_last)) return static_cast<T>(*v);
      if (const UINT* v = std::any_cast<UINT>(&m_last)) return static_cast<T>(*v);
      if (const long* v = std::any_cast<long>(&m_last)) return static_cast<T>(*v);
      if (const float* v = std::any_cast<float>(&m_last)) return static_cast<T>(*v);
      if (const double* v = std::any_cast<double>(&m_last)) return static_cast<T>(*v);
    }
    return fallback;
  }
  // Writes every staged value into its member.
  void Commit();

  BOOL m_bSaveAndValidate{FALSE};
  CWnd* m_pDlgWnd{nullptr};

private:
  HWND m_lastControl{nullptr};
  std::any m_last;
  std::vector<std::function<void()>> m_commits;
};

namespace platform {
// Thrown by CDataExchange::Fail.
struct DataExchangeFailure {};

// Runs one exchange over window: loads the controls, or validates and then stores every member
// only when all checks passed. FALSE when the window is gone or a check failed.
BOOL ExchangeData(CWnd* window, BOOL saveAndValidate, const std::function<void(CDataExchange*)>& exchange);
}  // namespace platform

// Text of an edit (or any window) <-> member. Numbers that do not parse fail with a message.
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
// Check box state (BST_*).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Index of the checked button of the group that starts at id (up to the next WS_GROUP); -1 none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Combo box: loading selects the first item starting with value (or sets the edit text when none
// matches); saving reads the edit text, or the selected item of a drop list.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
// Attaches control to the dialog's control id (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// Validation, after the DDX_ call of the same member; each checks only while saving.
// A failure shows its message box and calls Fail.
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue);
