#pragma once
// A small document application shared by the frame tests: a frame whose client area is a
// two-row splitter, three interchangeable upper views, a fixed lower view, and a document that
// records what happens to it.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/frames.h"
#include "platform/messageloop.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/splitter.h"
#include "platform/uiscript.h"
#include "platform/view.h"

namespace frametest {

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT ID_BOTH = 33001;       // handled by the views and the document
constexpr UINT ID_DOC_ONLY = 33002;
constexpr UINT ID_FRAME_ONLY = 33003;
constexpr UINT ID_APP_ONLY = 33004;
constexpr UINT ID_NOBODY = 33005;
constexpr UINT ID_INDICATOR_TEST = 33010;  // a status pane with a string and no command handler
constexpr UINT ID_INDICATOR_MISSING = 33011;  // a status pane without a string

// What happened, in order, across all the test classes.
std::vector<std::string>& Log();

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
public:
  ~CTestDoc() override;
  BOOL OnNewDocument() override;
  BOOL OnOpenDocument(LPCTSTR path) override;

protected:
  void OnBoth();
  void OnDocOnly();
  DECLARE_MESSAGE_MAP()
};

// Upper views: each logs its initial update and its destruction, and fills itself (and the
// printed page) with its own colour.
class CNamedView : public CView {
public:
  CNamedView(const char* name, COLORREF colour) : m_name(name), m_colour(colour) {}
  ~CNamedView() override;
  const char* Name() const { return m_name; }
  COLORREF Colour() const { return m_colour; }
  void OnInitialUpdate() override;
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
  void OnDraw(CDC* dc) override;
  int m_updates{0};

protected:
  void OnBoth();
  DECLARE_MESSAGE_MAP()

private:
  const char* m_name;
  COLORREF m_colour;
};

class CFirstView : public CNamedView {
  DECLARE_DYNCREATE(CFirstView)
public:
  CFirstView() : CNamedView("first", RGB(255, 0, 0)) {}
};

class CSecondView : public CNamedView {
  DECLARE_DYNCREATE(CSecondView)
public:
  CSecondView() : CNamedView("second", RGB(0, 128, 0)) {}
};

class CThirdView : public CNamedView {
  DECLARE_DYNCREATE(CThirdView)
public:
  CThirdView() : CNamedView("third", RGB(0, 0, 255)) {}
};

class CMenuPaneView : public CNamedView {
  DECLARE_DYNCREATE(CMenuPaneView)
public:
  CMenuPaneView() : CNamedView("menu", RGB(128, 128, 128)) {}
};

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
public:
  BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
  // Puts a view of cls in the upper pane unless the active view already is one.
  void SwitchView(CRuntimeClass* cls);
  CSplitterWnd m_splitter;

protected:
  void OnFrameOnly();
  DECLARE_MESSAGE_MAP()
};

class CTestApp : public CWinApp {
public:
  CTestApp() : CWinApp("FrameTester") {}
  BOOL InitInstance() override;

protected:
  void OnAppOnly();
  DECLARE_MESSAGE_MAP()
};

// Answers message boxes and the print dialog from queues, recording the message texts.
class QueuedUiScript : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style) override;
  std::optional<bool> OnPrintDialog() override;
  std::deque<int> buttons;
  std::deque<bool> printAnswers;
  std::vector<std::string> texts;
};

// Installs the string resource of the template and a fresh profile for the test; tears every
// window down afterwards.
class FrameFixture : public ::testing::Test {
protected:
  FrameFixture();
  ~FrameFixture() override;
  CTestFrame* MainFrame() const;

  platform::ScopedPlatformHome m_home;
  platform::ResourceScope m_resources;
  QueuedUiScript m_script;
  platform::ScopedUiScript m_scriptScope{&m_script};
};

}  // namespace frametest
