#include <gtest/gtest.h>

#include "FrameTestSupport.h"

#include "platform/controlbars.h"
#include "platform/gdi.h"

namespace frametest {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// ---- document ----

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND(ID_BOTH, OnBoth)
  ON_COMMAND(ID_DOC_ONLY, OnDocOnly)
END_MESSAGE_MAP()

CTestDoc::~CTestDoc() { Log().push_back("doc deleted"); }

BOOL CTestDoc::OnNewDocument() {
  Log().push_back("doc new");
  return CDocument::OnNewDocument();
}

BOOL CTestDoc::OnOpenDocument(LPCTSTR path) {
  Log().push_back(std::string("doc open ") + path);
  return CDocument::OnOpenDocument(path);
}

void CTestDoc::OnBoth() { Log().push_back("doc both"); }
void CTestDoc::OnDocOnly() { Log().push_back("doc only"); }

// ---- views ----

BEGIN_MESSAGE_MAP(CNamedView, CView)
  ON_COMMAND(ID_BOTH, OnBoth)
END_MESSAGE_MAP()

CNamedView::~CNamedView() { Log().push_back(std::string("destroyed ") + Name()); }

void CNamedView::OnInitialUpdate() {
  Log().push_back(std::string("init ") + Name());
  CView::OnInitialUpdate();
}

void CNamedView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
  ++m_updates;
  CView::OnUpdate(sender, hint, hintObject);
}

void CNamedView::OnDraw(CDC* dc) {
  CRect area;
  if (dc->IsPrinting()) {
    area.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
  } else {
    GetClientRect(&area);
  }
  dc->FillSolidRect(&area, Colour());
}

void CNamedView::OnBoth() { Log().push_back(std::string("view both ") + Name()); }

IMPLEMENT_DYNCREATE(CFirstView, CNamedView)
IMPLEMENT_DYNCREATE(CSecondView, CNamedView)
IMPLEMENT_DYNCREATE(CThirdView, CNamedView)
IMPLEMENT_DYNCREATE(CMenuPaneView, CNamedView)

// ---- frame ----

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_COMMAND(ID_FRAME_ONLY, OnFrameOnly)
END_MESSAGE_MAP()

BOOL CTestFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
  if (!m_splitter.CreateStatic(this, 2, 1)) return FALSE;
  if (!m_splitter.CreateView(0, 0, context->m_pNewViewClass, SIZE{0, 300}, context)) return FALSE;
  if (!m_splitter.CreateView(1, 0, RUNTIME_CLASS(CMenuPaneView), SIZE{0, 100}, context)) return FALSE;
  SetActiveView(static_cast<CView*>(m_splitter.GetPane(0, 0)), FALSE);
  return TRUE;
}

void CTestFrame::SwitchView(CRuntimeClass* cls) {
  CView* active = GetActiveView();
  if (active && active->IsKindOf(cls)) return;
  m_splitter.ReplaceView(0, 0, cls);
}

void CTestFrame::OnFrameOnly() { Log().push_back("frame only"); }

// ---- application ----

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_APP_ONLY, OnAppOnly)
END_MESSAGE_MAP()

BOOL CTestApp::InitInstance() {
  SetRegistryKey("Frame Tests");
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                        RUNTIME_CLASS(CFirstView)));
  EnableShellOpen();
  CCommandLineInfo info;
  ParseCommandLine(info);
  return ProcessShellCommand(info);
}

void CTestApp::OnAppOnly() { Log().push_back("app only"); }

// ---- scripted answers ----

std::optional<int> QueuedUiScript::OnMessageBox(const char* text, const char*, UINT) {
  texts.emplace_back(text ? text : "");
  if (buttons.empty()) return std::nullopt;
  int button = buttons.front();
  buttons.pop_front();
  return button;
}

std::optional<bool> QueuedUiScript::OnPrintDialog() {
  if (printAnswers.empty()) return std::nullopt;
  bool answer = printAnswers.front();
  printAnswers.pop_front();
  return answer;
}

// ---- fixture ----

namespace {
HINSTANCE TestModule() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    platform::ResourceModule& made = platform::CreateResourceModule("frame-tests");
    made.AddString(IDR_MAINFRAME, "Tester\n\nTest\nTest files (*.tst)\n.tst\nTester.Document\nTest Document");
    platform::MenuTemplate menu;
    menu.items.push_back({"&Test", 0, 0, {{"&Frame", ID_FRAME_ONLY, 0, {}}, {"&Nobody", ID_NOBODY, 0, {}}}});
    platform::AddMenuResource(made, IDR_MAINFRAME, std::move(menu));
    made.AddString(ID_INDICATOR_TEST, "TEST");
    made.AddString(ID_FRAME_ONLY, "FRAME");
    platform::AddToolBarResource(made, IDR_MAINFRAME, {16, 15, {ID_FRAME_ONLY, ID_SEPARATOR, ID_NOBODY}});
    platform::AddAcceleratorResource(made, IDR_MAINFRAME, {{{FVIRTKEY | FCONTROL, 'F', ID_FRAME_ONLY}}});
    return made;
  }();
  return module.Handle();
}
}  // namespace

FrameFixture::FrameFixture() : m_resources(TestModule()) { Log().clear(); }

FrameFixture::~FrameFixture() {
  platform::DestroyAllWindows();
  platform::ResetMessageQueue();
}

CTestFrame* FrameFixture::MainFrame() const { return dynamic_cast<CTestFrame*>(AfxGetMainWnd()); }

}  // namespace frametest
