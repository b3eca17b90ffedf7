#pragma once
// A view laid out by a dialog template: the template's controls are made as the view's
// children, and DoDataExchange moves values between them and the view's members.

#include "platform/ddx.h"
#include "platform/dialog_template.h"
#include "platform/view.h"

class CFormView : public CScrollView {
  DECLARE_DYNAMIC(CFormView)
public:
  explicit CFormView(UINT templateId);
  ~CFormView() override;

  UINT GetTemplateId() const { return m_templateId; }
  // TRUE: controls -> members with validation; FALSE: members -> controls. FALSE when a value
  // failed (its message shown, no member changed).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // Loads the members into the controls, then the view's first update.
  void OnInitialUpdate() override;
  // The controls draw themselves.
  void OnDraw(CDC* dc) override;

  // Refuses a template the current resource module does not hold.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Keys for the form's controls go through the dialog keyboard (IsDialogMessage) once the
  // frames around the view have had them for their accelerators.
  BOOL PreTranslateMessage(MSG* msg) override;

protected:
  // Lists the DDX_ and DDV_ calls; the default exchanges nothing.
  virtual void DoDataExchange(CDataExchange* dx);
  int OnCreate(LPCREATESTRUCT cs);
  DECLARE_MESSAGE_MAP()

private:
  UINT m_templateId{0};
  HFONT m_font{nullptr};
};
