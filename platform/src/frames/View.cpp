// Views: painting through OnDraw, the document link, activation and command routing.
#include "platform/view.h"

#include <algorithm>

#include "../dialogs/PrintChooser.h"
#include "platform/app.h"
#include "platform/display.h"
#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/preview.h"
#include "platform/uiscript.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
  ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::OnDestroy() {
  if (CFrameWnd* frame = GetParentFrame()) {
    if (frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
  }
  CWnd::OnDestroy();
}

CFrameWnd* CView::GetParentFrame() const {
  if (!m_hWnd) return nullptr;
  for (HWND parent = ::GetParent(m_hWnd); parent; parent = ::GetParent(parent)) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(parent))) return frame;
  }
  return nullptr;
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = "AfxFrameOrView";
  cs.style |= WS_CLIPSIBLINGS;
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::PostNcDestroy() { delete this; }

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL activate, CView* activateView, CView*) {
  if (activate && activateView == this && ::IsWindow(m_hWnd)) SetFocus();
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd*, UINT, UINT) {
  if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this);
  return MA_ACTIVATE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- printing ----

void CView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
  // Without a known page count only the first page is printed.
  if (info && dc && dc->IsPrinting()) info->m_bContinuePrinting = info->GetMaxPage() != 0xFFFF || info->m_nCurPage == 1;
}

BOOL CView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

BOOL CView::DoPreparePrinting(CPrintInfo* info) {
  // A preview asks nothing: the user chooses when printing from it.
  if (!info || info->m_bDirect || info->m_bPreview) return info != nullptr;
  if (platform::display::IsInteractive()) return AskPrintOnScreen(*info);
  platform::UiScript* script = platform::GetUiScript();
  std::optional<bool> answer = script ? script->OnPrintDialog() : std::nullopt;
  if (!answer) {
    // Nobody to ask: the dialog's default button prints.
    platform::LogUnanswered("print dialog", m_pDocument ? m_pDocument->GetTitle().GetString() : "");
    return TRUE;
  }
  return *answer ? TRUE : FALSE;
}

BOOL CView::AskPrintOnScreen(CPrintInfo& info) {
  platform::detail::PrintChoice question;
  question.prefix = info.m_strOutputPrefix;
  question.minPage = info.GetMinPage();
  question.maxPage = info.GetMaxPage();
  platform::detail::PrintChooser chooser(question, this);
  if (chooser.DoModal() != IDOK) return FALSE;
  const platform::detail::PrintChoice& choice = chooser.Choice();
  info.m_strOutputPrefix = choice.prefix;
  info.SetPageRange(choice.fromPage, choice.toPage);
  platform::ProgramPrinter().chosenPrefix = choice.prefix;  // the printer stays where it was sent
  return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnFilePrint() {
  CPrintInfo info;
  const MSG* current = GetCurrentMessage();
  info.m_bDirect = current && current->message == WM_COMMAND && LOWORD(current->wParam) == ID_FILE_PRINT_DIRECT;
  RunPrintJob(info);
}

void CView::OnFilePrintPreview() { CPreviewView::ShowPreview(this); }

BOOL CView::CreatePrinterContext(CDC& dc, const CPrintInfo& info) {
  if (!dc.Attach(platform::CreatePrinterDC(info.m_strOutputPrefix.GetString(), info.m_nDpi,
                                                 platform::PaperSizeMm(platform::ProgramPrinter())))) {
    AfxMessageBox("The printer could not be prepared.", MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  dc.m_bPrinting = TRUE;
  return TRUE;
}

BOOL CView::RunPrintJob(CPrintInfo& info) {
  if (!OnPreparePrinting(&info)) return FALSE;
  CDC dc;
  if (!CreatePrinterContext(dc, info)) return FALSE;
  OnBeginPrinting(&dc, &info);
  CString title = m_pDocument && !m_pDocument->GetTitle().IsEmpty() ? m_pDocument->GetTitle() : CString("Untitled");
  bool ok = dc.StartDoc(title) > 0;
  UINT printed = 0;
  // The range asked for is kept within the document's pages, known once printing has begun: a
  // range past the end prints the last page rather than blank sheets.
  const UINT least = info.GetMinPage();
  const UINT most = info.GetMaxPage();
  const UINT first = most < least ? 1 : std::clamp(info.GetFromPage(), least, most);
  const UINT last = most < least ? 0 : std::clamp(info.GetToPage(), least, most);
  for (info.m_nCurPage = first; ok && info.m_nCurPage <= last; ++info.m_nCurPage) {
    OnPrepareDC(&dc, &info);
    if (!info.m_bContinuePrinting) break;
    ok = dc.StartPage() > 0;
    if (!ok) break;
    info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    OnPrint(&dc, &info);
    ok = dc.EndPage() > 0;
    if (ok) ++printed;
  }
  if (ok) {
    dc.EndDoc();
  } else {
    dc.AbortDoc();
    AfxMessageBox("The document could not be printed.", MB_OK | MB_ICONEXCLAMATION);
  }
  OnEndPrinting(&dc, &info);
  dc.DeleteDC();
  return ok && printed > 0;
}
