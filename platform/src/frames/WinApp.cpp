// The application object: start-up, the message loop, the profile and its recent-file list,
// document templates and the command line.
#include "platform/app.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/commondlg.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/frames.h"
#include "platform/messageloop.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/uiscript.h"

namespace {

// The program's one application object (the class library's global accessor).
CWinApp* g_app = nullptr;

constexpr const char* kRecentSection = "Recent File List";
constexpr UINT kMaxRecentFiles = 16;

CString RecentEntryName(size_t index) {
  CString entry;
  entry.Format("File%d", static_cast<int>(index + 1));
  return entry;
}

// The name of a path without its folder.
CString BaseName(const char* path) {
  std::string text = path ? path : "";
  size_t slash = text.find_last_of("/\\");
  return CString(slash == std::string::npos ? text.c_str() : text.c_str() + slash + 1);
}

// "-word" is a flag; "/word" too, but only when it is a bare word, since paths here start with '/'.
bool IsFlag(const std::string& arg) {
  if (arg.size() < 2) return false;
  if (arg[0] == '-') return true;
  return arg[0] == '/' && std::all_of(arg.begin() + 1, arg.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

}  // namespace

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

LPCTSTR AfxGetAppName() {
  return g_app && !g_app->m_strAppName.IsEmpty() ? g_app->m_pszAppName : platform::AppName();
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
  ON_COMMAND(ID_FILE_NEW, OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  {WM_COMMAND, CN_COMMAND, ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, nullptr,
   [](CCmdTarget* t, AfxCall& c) { c.handled = AFX_THIS(t)->OnOpenRecentFile(c.nID); }},
  ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnUpdateRecentFileMenu)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR appName) : m_strAppName(appName ? appName : "") {
  g_app = this;
  m_pszAppName = m_strAppName;
  m_profile.SetAppName(m_strAppName);
  if (!m_strAppName.IsEmpty()) platform::SetAppName(m_strAppName);
}

CWinApp::~CWinApp() {
  m_templates.clear();
  if (g_app == this) g_app = nullptr;
}

// ---- running ----

int CWinApp::Run() {
  platform::SetIdleHook([this](long count) { return OnIdle(count); });
  platform::SetPreTranslateHook([this](MSG* msg) { return PreTranslateMessage(msg); });
  m_nExitCode = platform::Run();
  platform::SetIdleHook(nullptr);
  platform::SetPreTranslateHook(nullptr);
  return ExitInstance();
}

int CWinApp::ExitInstance() {
  SaveRecentFileList();
  return m_nExitCode;
}

BOOL CWinApp::OnIdle(LONG count) {
  if (count == 0) UpdateIdleCommandUI();
  return FALSE;
}

void CWinApp::UpdateIdleCommandUI() {
  if (m_pMainWnd && ::IsWindow(m_pMainWnd->m_hWnd)) m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) { return CWnd::WalkPreTranslateTree(nullptr, msg); }

// ---- profile ----

void CWinApp::SetRegistryKey(LPCTSTR company) {
  m_strRegistryKey = company ? company : "";
  m_pszRegistryKey = m_strRegistryKey;
  m_profile.SetRegistryKey(company);
}

CString CWinApp::GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue) {
  return m_profile.GetProfileString(section, entry, defaultValue);
}

UINT CWinApp::GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
  return m_profile.GetProfileInt(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
  return m_profile.WriteProfileString(section, entry, value);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
  return m_profile.WriteProfileInt(section, entry, value);
}

// ---- recent files ----

void CWinApp::LoadStdProfileSettings(UINT maxRecent) {
  m_nMaxRecent = std::min(maxRecent, kMaxRecentFiles);
  m_recentFiles.clear();
  for (size_t i = 0; i < m_nMaxRecent; ++i) {
    CString path = m_profile.GetProfileString(kRecentSection, RecentEntryName(i));
    if (!path.IsEmpty()) m_recentFiles.push_back(path);
  }
}

void CWinApp::AddToRecentFileList(LPCTSTR path) {
  if (m_nMaxRecent == 0 || !path || !*path) return;
  CString entry(path);
  m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), entry), m_recentFiles.end());
  m_recentFiles.insert(m_recentFiles.begin(), entry);
  if (m_recentFiles.size() > m_nMaxRecent) m_recentFiles.resize(m_nMaxRecent);
  // Written at once, so that the list survives a program that does not end normally.
  SaveRecentFileList();
}

void CWinApp::SaveRecentFileList() {
  for (size_t i = 0; i < m_nMaxRecent; ++i) {
    const char* value = i < m_recentFiles.size() ? m_recentFiles[i].GetString() : nullptr;
    if (value || !m_profile.GetProfileString(kRecentSection, RecentEntryName(i)).IsEmpty()) {
      m_profile.WriteProfileString(kRecentSection, RecentEntryName(i), value);
    }
  }
}

BOOL CWinApp::OnOpenRecentFile(UINT id) {
  size_t index = id - ID_FILE_MRU_FILE1;
  if (index >= m_recentFiles.size()) return FALSE;
  CString path = m_recentFiles[index];
  if (!OpenDocumentFile(path)) {
    // A file that can no longer be opened leaves the list.
    m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), path), m_recentFiles.end());
    SaveRecentFileList();
  }
  return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
  size_t index = ui->m_nID - ID_FILE_MRU_FILE1;
  ui->Enable(index < m_recentFiles.size());
  if (index < m_recentFiles.size()) {
    CString text;
    text.Format("&%d %s", static_cast<int>(index + 1), BaseName(m_recentFiles[index]).GetString());
    ui->SetText(text);
  }
}

// ---- documents ----

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
  if (!docTemplate) return;
  docTemplate->LoadTemplate();
  m_templates.emplace_back(docTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR path) {
  if (m_templates.empty()) return nullptr;
  CDocTemplate* best = nullptr;
  CDocTemplate::Confidence bestConfidence = CDocTemplate::noAttempt;
  for (const auto& candidate : m_templates) {
    CDocument* open = nullptr;
    CDocTemplate::Confidence confidence = candidate->MatchDocType(path, open);
    if (confidence == CDocTemplate::yesAlreadyOpen) return open;
    if (confidence > bestConfidence) {
      bestConfidence = confidence;
      best = candidate.get();
    }
  }
  return (best ? best : m_templates.front().get())->OpenDocumentFile(path);
}

BOOL CWinApp::SaveAllModified() {
  for (const auto& docTemplate : m_templates) {
    if (!docTemplate->SaveAllModified()) return FALSE;
  }
  return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
  for (const auto& docTemplate : m_templates) docTemplate->CloseAllDocuments(endSession);
}

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog dialog(TRUE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS, m_pMainWnd);
  dialog.DoModal();
}

void CWinApp::OnFileOpen() {
  CString filter;
  for (const auto& docTemplate : m_templates) {
    CString name, ext;
    if (docTemplate->GetDocString(name, CDocTemplate::filterName) &&
        docTemplate->GetDocString(ext, CDocTemplate::filterExt)) {
      filter += name + "|*" + ext + "|";
    }
  }
  filter += "All Files (*.*)|*.*||";
  if (platform::display::IsInteractive()) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter, m_pMainWnd);
    if (dialog.DoModal() == IDOK) OpenDocumentFile(dialog.GetPathName());
    return;
  }
  platform::UiScript* script = platform::GetUiScript();
  auto answer = script ? script->OnFileDialog(TRUE, nullptr, filter) : std::nullopt;
  if (!answer) {
    platform::LogUnanswered("file open dialog", filter);
    return;
  }
  if (*answer) OpenDocumentFile(**answer);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- command line and shell ----

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  std::vector<std::string> args;
  std::string current;
  bool inWord = false;
  bool quoted = false;
  for (const char* p = m_lpCmdLine.GetString(); *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((*p == ' ' || *p == '\t') && !quoted) {
      if (inWord) args.push_back(current);
      current.clear();
      inWord = false;
    } else {
      current += *p;
      inWord = true;
    }
  }
  if (inWord) args.push_back(current);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool flag = IsFlag(arg);
    info.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag, i + 1 == args.size());
  }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
  switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrintTo:
      return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
      // Prints the file and ends the program.
      if (OpenDocumentFile(info.m_strFileName) && m_pMainWnd) {
        m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
      }
      return FALSE;
    case CCommandLineInfo::AppRegister:
      RegisterShellFileTypes();
      return FALSE;
    case CCommandLineInfo::AppUnregister:
      return FALSE;
    default:
      return TRUE;
  }
}

void CWinApp::RegisterShellFileTypes(BOOL) {
  CString openCommand;
  openCommand.Format("\"%s\" \"%%1\"", m_strExePath.IsEmpty() ? m_strExeName.GetString() : m_strExePath.GetString());
  for (const auto& docTemplate : m_templates) {
    CString typeId, typeName, ext;
    if (!docTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty()) continue;
    docTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName);
    RegSetValue(HKEY_CLASSES_ROOT, typeId, REG_SZ, typeName, typeName.GetLength());
    if (m_bShellOpen) {
      CString key = typeId + "\\shell\\open\\command";
      RegSetValue(HKEY_CLASSES_ROOT, key, REG_SZ, openCommand, openCommand.GetLength());
    }
    if (docTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
      RegSetValue(HKEY_CLASSES_ROOT, ext, REG_SZ, typeId, typeId.GetLength());
    }
  }
}

// ---- wait cursor ----

void CWinApp::DoWaitCursor(int code) {
  if (code > 0) {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (m_nWaitCursorCount++ == 0) m_hcurWaitRestore = previous;
  } else if (code < 0) {
    if (m_nWaitCursorCount == 0) return;
    if (--m_nWaitCursorCount == 0) ::SetCursor(m_hcurWaitRestore);
  } else if (m_nWaitCursorCount > 0) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  }
}

// ---- start-up ----

int platform::RunApplication(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  if (!app) {
    std::fprintf(stderr, "no application object\n");
    return 1;
  }
  app->m_strExePath = argc > 0 && argv[0] ? argv[0] : "";
  app->m_strExeName = BaseName(app->m_strExePath);
  app->m_pszExeName = app->m_strExeName;
  if (app->m_strAppName.IsEmpty()) {
    app->m_strAppName = app->m_strExeName;
    app->m_pszAppName = app->m_strAppName;
    app->GetProfile().SetAppName(app->m_strAppName);
    platform::SetAppName(app->m_strAppName);
  }
  CString line;
  for (int i = 1; i < argc; ++i) {
    // The command line is the system's UTF-8; the program reads its own code page.
    CString arg(platform::ProgramPath(argv[i] ? argv[i] : ""));
    if (!line.IsEmpty()) line += " ";
    line += arg.Find(' ') >= 0 ? "\"" + arg + "\"" : arg;
  }
  app->m_lpCmdLine = line;
  if (!app->InitInstance()) {
    if (app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd)) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}
