#pragma once
// Dialogs: CDialog made from a template of the current resource module, modal (DoModal) or
// modeless (Create), and data exchange between its controls and its members (ddx.h).
//
// Headless, a modal dialog cannot wait for a person: after OnInitDialog the UI script (uiscript.h)
// sees the template id and the dialog, may set control values, and answers an end code; that
// button is then pressed (its WM_COMMAND sent to the dialog). Without an answer IDCANCEL is
// pressed and the question logged. A dialog still open after the press closes with IDCANCEL
// (logged), since nobody is left to answer it.

#include "platform/dialog_template.h"
#include "platform/windows.h"

class CDataExchange;

// WM_GETDLGCODE answers: keys a control keeps from the dialog's keyboard handling.
constexpr UINT DLGC_WANTARROWS = 0x0001;
constexpr UINT DLGC_WANTTAB = 0x0002;
constexpr UINT DLGC_WANTALLKEYS = 0x0004;
constexpr UINT DLGC_WANTMESSAGE = 0x0004;
constexpr UINT DLGC_HASSETSEL = 0x0008;
constexpr UINT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr UINT DLGC_RADIOBUTTON = 0x0040;
constexpr UINT DLGC_WANTCHARS = 0x0080;
constexpr UINT DLGC_STATIC = 0x0100;
constexpr UINT DLGC_BUTTON = 0x2000;

// Dialog messages: the default push button's id (DM_GETDEFID answers MAKELONG(id, DC_HASDEFID)).
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

class CDialog : public CWnd {
public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog modally; returns the EndDialog code, or -1 when the template is missing or
  // the window cannot be made.
  virtual INT_PTR DoModal();
  using CWnd::Create;
  // Makes a modeless dialog (visible when the template says WS_VISIBLE); FALSE on failure.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL Create(LPCTSTR templateName, CWnd* parent = nullptr);
  // Makes the dialog from tmpl (kept alive by the caller) instead of a template of the resource
  // module: the platform's own dialogs.
  void InitModalIndirect(const platform::DialogTemplate* tmpl) { m_indirect = tmpl; }

  // After the controls exist; TRUE gives the focus to the first tab stop.
  virtual BOOL OnInitDialog();
  // UpdateData(TRUE), and on success EndDialog(IDOK).
  virtual void OnOK();
  virtual void OnCancel();
  // Ends a modal dialog with result (any code); hides a modeless one.
  void EndDialog(int result);
  // TRUE: controls -> members with validation; FALSE: members -> controls. FALSE when a value
  // failed (its message shown, its control focused, no member changed).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  // Focus moves, wrapping at the ends, among visible enabled tab stops.
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* control);
  // Checks check and unchecks the other buttons with ids first..last.
  void CheckRadioButton(int first, int last, int check);
  // The first checked button with an id in first..last; 0 when none.
  int GetCheckedRadioButton(int first, int last) const;
  // The default push button (Enter presses it): the one set here or by DM_SETDEFID, else the
  // template's BS_DEFPUSHBUTTON, else IDOK. Setting it moves the default look to that button.
  void SetDefID(UINT id);
  DWORD GetDefID() const;

  // Enter presses the focused push button or the default one, Escape cancels, Tab and Shift+Tab
  // move the focus, arrow keys move the choice within a group of radio buttons.
  BOOL PreTranslateMessage(MSG* msg) override;

  UINT GetTemplateId() const { return m_templateId; }
  // Base units of the template's font (see DialogBaseUnits).
  SIZE GetBaseUnits() const { return m_baseUnits; }
  // Converts a rectangle in this dialog's units to pixels.
  void MapDialogRect(LPRECT rect) const;

  CWnd* m_pParentWnd{nullptr};

protected:
  // Lists the DDX_ and DDV_ calls; the default exchanges nothing.
  virtual void DoDataExchange(CDataExchange* dx);
  DECLARE_MESSAGE_MAP()

  LRESULT HandleInitDialog(WPARAM, LPARAM);
  LRESULT OnGetDefId(WPARAM, LPARAM);
  LRESULT OnSetDefId(WPARAM id, LPARAM);
  // The focus given to the dialog itself goes on to its first tab stop.
  void OnSetFocus(CWnd* oldWnd);
  void OnClose();
  // Fills the client area with the 3D face colour.
  BOOL OnEraseBkgnd(CDC* dc);

private:
  const platform::DialogTemplate* FindTemplate() const;
  BOOL CreateFromTemplate(const platform::DialogTemplate& tmpl, HWND parent, bool modal);
  void RunHeadless();
  void PressButton(int id);
  UINT DefaultButtonId() const;
  CWnd* NextTabStop(HWND from, bool forward) const;
  void ReleaseFont();

  UINT m_templateId{0};
  LPCTSTR m_templateName{nullptr};
  const platform::DialogTemplate* m_indirect{nullptr};
  SIZE m_baseUnits{8, 16};
  HFONT m_font{nullptr};
  UINT m_defId{0};  // set by SetDefID or DM_SETDEFID; 0: the template's choice
  int m_modalResult{-1};
  bool m_ended{false};
  bool m_modal{false};
};

namespace platform {

// The modal dialog being run (innermost), or null.
CDialog* CurrentModalDialog();

// Registered window class of dialogs.
inline constexpr const char* kDialogClassName = "#32770";

// The control the keyboard enters when it reaches control: the checked button of a radio group,
// control itself otherwise.
HWND DialogEntryControl(HWND dialog, HWND control);
// Gives control the focus as the dialog keyboard does: an edit's text is selected, and the
// default look goes to a focused push button (back to the default button otherwise).
void FocusDialogControl(HWND dialog, HWND control);

}  // namespace platform

// Win32 shapes of the dialog helpers.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
BOOL EndDialog(HWND dialog, INT_PTR result);
// The next (or previous) visible enabled control of control's group, wrapping within the group
// (from a WS_GROUP control up to the next one); control itself when it is alone.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Converts a dialog-unit rectangle of a dialog window made from a template to pixels.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The next (or previous) tab stop of a dialog after control, wrapping; null when none.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The dialog keyboard for msg when it is for dialog or one of its controls: Tab and Shift+Tab,
// arrows within a group of buttons, Return (the focused push button or the default one), Escape
// (IDCANCEL), Return and Escape to an open combo's list, and underlined letters (with Alt, or
// alone where the focus takes no letters); Ctrl+Tab is left to a multi-line edit, which types a
// tab. A disabled default or Cancel button is never pressed. TRUE when msg was handled so.
BOOL IsDialogMessage(HWND dialog, MSG* msg);
