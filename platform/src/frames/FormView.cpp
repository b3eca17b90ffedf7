// Views laid out by a dialog template.
#include "platform/formview.h"

#include "platform/dialogs.h"
#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/resources.h"
#include "platform/uiscript.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
  ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

const platform::DialogTemplate* TemplateOf(UINT id) { return platform::FindDialogTemplate(MAKEINTRESOURCE(id)); }

// The template's font at the screen's 96 dots per inch.

}  // namespace

CFormView::CFormView(UINT templateId) : m_templateId(templateId) {}

CFormView::~CFormView() {
  if (m_font) ::DeleteObject(reinterpret_cast<HGDIOBJ>(m_font));
}

BOOL CFormView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!TemplateOf(m_templateId)) {
    CString id;
    id.Format("dialog template %u", m_templateId);
    platform::LogUnanswered("form view without its template", id);
    return FALSE;
  }
  return CScrollView::PreCreateWindow(cs);
}

int CFormView::OnCreate(LPCREATESTRUCT cs) {
  if (CView::OnCreate(cs) == -1) return -1;
  const platform::DialogTemplate* tmpl = TemplateOf(m_templateId);
  if (!tmpl) return -1;
  SIZE units = platform::DialogBaseUnits(tmpl->fontName, tmpl->fontSize);
  m_font = platform::CreateDialogFont(*tmpl);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
  int hostedFailed = 0;
  platform::CreateDialogControls(m_hWnd, *tmpl, units, m_font, &hostedFailed);
  // A form made around a control that cannot be had is not shown without it.
  if (hostedFailed > 0) return -1;
  RECT size = platform::DialogUnitsToPixels(0, 0, tmpl->cx, tmpl->cy, units);
  SetScrollSizes(MM_TEXT, SIZE{size.right - size.left, size.bottom - size.top});
  return 0;
}

BOOL CFormView::UpdateData(BOOL saveAndValidate) {
  return platform::ExchangeData(this, saveAndValidate, [this](CDataExchange* dx) { DoDataExchange(dx); });
}

void CFormView::DoDataExchange(CDataExchange*) {}

BOOL CFormView::PreTranslateMessage(MSG* msg) {
  if (CScrollView::PreTranslateMessage(msg)) return TRUE;
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  // The dialog keyboard would take the frames' accelerators (Return, letters): they go first.
  // Only the frames the view lies in: never on from a pop-up frame to its owner.
  for (HWND up = ::GetParent(m_hWnd); up; up = (::GetWindowLong(up, GWL_STYLE) & WS_CHILD) ? ::GetParent(up) : nullptr) {
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(up));
    if (frame && frame->PreTranslateMessage(msg)) return TRUE;
  }
  return ::IsDialogMessage(m_hWnd, msg);
}

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CScrollView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC*) {}
