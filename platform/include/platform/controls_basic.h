#pragma once
// Button, static, edit, list box and combo box: window objects over the system control classes.
// Each method sends the control's message, so a raw SendMessage does the same thing.

#include "platform/controls_defs.h"
#include "platform/gdi.h"
#include "platform/windows.h"

class CButton : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int check);
  // BST_* of the check plus BST_PUSHED and BST_FOCUS.
  UINT GetState() const;
  // Shows the button pushed in (TRUE) or released; sends no notification.
  void SetState(BOOL pushed);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  // The picture a BS_BITMAP push button shows centred in place of its text (not owned).
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  // Drawing of an owner-drawn button, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
  DECLARE_MESSAGE_MAP()
};

class CStatic : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  // The bitmap an SS_BITMAP static shows (not owned); returns the previous one.
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
};

class CEdit : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Selection as character offsets; end -1 (or start 0, end -1) selects to the end.
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  DWORD GetSel() const;
  // Replaces the selection with text (the caret ends after it); EN_CHANGE follows.
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  void Clear();
  // Most characters the user may type (0: the largest limit).
  void SetLimitText(UINT max);
  void LimitText(int max = 0) { SetLimitText(static_cast<UINT>(max)); }
  UINT GetLimitText() const;
  // Lines as shown: a multi-line edit without ES_AUTOHSCROLL or WS_HSCROLL also wraps at its width.
  int GetLineCount() const;
  // Copies line index (no terminator added beyond maxLength); returns the characters copied.
  int GetLine(int index, LPTSTR buffer, int maxLength) const;
  int LineIndex(int line = -1) const;
  int LineLength(int line = -1) const;
  int LineFromChar(int index = -1) const;
  int GetFirstVisibleLine() const;
  // Scrolls a multi-line edit by lines (clamped to the text).
  void LineScroll(int lines, int chars = 0);
  // TRUE: GetWindowText marks soft line breaks with "\r\r\n" (and text set meanwhile has them
  // taken out, so text read and set back is unchanged).
  BOOL FmtLines(BOOL addEol);
  void SetPasswordChar(TCHAR ch);
  TCHAR GetPasswordChar() const;
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
};

class CListBox : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const;
  // Index of the new string (sorted position with LBS_SORT), LB_ERR on failure.
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCurSel() const;
  int SetCurSel(int index);
  int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);
  int GetSelCount() const;
  int GetText(int index, LPTSTR buffer) const;
  void GetText(int index, CString& text) const;
  int GetTextLen(int index) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  int GetTopIndex() const;
  int SetTopIndex(int index);
  int GetItemRect(int index, LPRECT rect) const;
  int GetItemHeight(int index) const;
  int SetItemHeight(int index, UINT height);
};

class CComboBox : public CWnd {
public:
  using CWnd::Create;
  // For a drop-down kind the height of rect is the height with the list dropped; the window itself
  // is only as high as its field, and the list shows as its own pop-up window while dropped.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const;
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCurSel() const;
  // Selects index (-1 clears) and shows its text in the edit part; no notification.
  int SetCurSel(int index);
  int GetLBText(int index, LPTSTR buffer) const;
  void GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  BOOL LimitText(int max);
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  int SetExtendedUI(BOOL extended = TRUE);
  BOOL GetExtendedUI() const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
};
