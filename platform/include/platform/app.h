#pragma once
// The application object: start-up (InitInstance), the message loop (Run), the profile and its
// recent-file list, the document templates, the command line, and the program-wide accessors
// AfxGetApp and AfxGetMainWnd.
//
// A program declares one global object of its CWinApp class and calls
// platform::RunApplication(argc, argv) from main.

#include <memory>
#include <vector>

#include "platform/cmdtarget.h"
#include "platform/document.h"
#include "platform/profile.h"
#include "platform/strings.h"
#include "platform/windows.h"

// Commands of the application, documents and views.
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108;
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE16 = 0xE11F;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

// What the command line asks for.
class CCommandLineInfo : public CObject {
public:
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

  // One argument: flag TRUE when it started with '/' or '-' (param is then without it); last on
  // the final one.
  virtual void ParseParam(const char* param, BOOL flag, BOOL last);

  BOOL m_bShowSplash{TRUE};
  BOOL m_bRunEmbedded{FALSE};
  BOOL m_bRunAutomation{FALSE};
  int m_nShellCommand{FileNew};
  CString m_strFileName;
};

class CWinApp : public CCmdTarget {
public:
  // appName null takes the program's name (set by RunApplication). The object becomes the one
  // AfxGetApp returns.
  explicit CWinApp(LPCTSTR appName = nullptr);
  // Deletes the document templates.
  ~CWinApp() override;

  virtual BOOL InitInstance() { return TRUE; }
  // Runs the message loop until WM_QUIT; then ExitInstance. Returns the exit code.
  virtual int Run();
  // Saves the recent-file list; returns the exit code.
  virtual int ExitInstance();
  // The code ExitInstance returns: what the message loop ended with, or what a start-up that
  // ends the program on purpose set (the loop sets it again when it runs).
  void SetExitCode(int code) { m_nExitCode = code; }
  // Idle work after the queue empties: count 0 updates the main frame's command states and
  // control bars. TRUE asks for more idle calls.
  virtual BOOL OnIdle(LONG count);
  // Filter of every message before dispatch (the windows' own chain by default).
  virtual BOOL PreTranslateMessage(MSG* msg);

  // Profile (platform::Profile under HKEY_CURRENT_USER\Software\<company>\<application>).
  void SetRegistryKey(LPCTSTR company);
  CString GetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultValue = nullptr);
  UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
  BOOL WriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
  BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
  platform::Profile& GetProfile() { return m_profile; }

  // Reads the recent-file list of maxRecent entries (at most 16) from the profile.
  void LoadStdProfileSettings(UINT maxRecent = 4);
  // Puts path first in the recent-file list (once) and stores the list in the profile.
  virtual void AddToRecentFileList(LPCTSTR path);
  // The recent files, most recent first.
  const std::vector<CString>& GetRecentFiles() const { return m_recentFiles; }

  // Takes ownership of the template.
  void AddDocTemplate(CDocTemplate* docTemplate);
  const std::vector<std::unique_ptr<CDocTemplate>>& GetDocTemplates() const { return m_templates; }
  // Opens path with the template that matches it best (the first template when none does).
  virtual CDocument* OpenDocumentFile(LPCTSTR path);
  BOOL SaveAllModified();
  void CloseAllDocuments(BOOL endSession);

  // Splits m_lpCmdLine (quotes group words) and hands each argument to info.
  void ParseCommandLine(CCommandLineInfo& info);
  // Does what info asks: a new document, or opening its file. FALSE when that fails.
  BOOL ProcessShellCommand(CCommandLineInfo& info);
  // Lets the shell open documents in this program (a later RegisterShellFileTypes records it).
  void EnableShellOpen() { m_bShellOpen = TRUE; }
  // Records each template's file extension and type in HKEY_CLASSES_ROOT.
  void RegisterShellFileTypes(BOOL compatibility = FALSE);

  // 1 shows the wait cursor, -1 ends one wait, 0 shows it again when a wait is still running.
  virtual void DoWaitCursor(int code);
  BOOL IsWaiting() const { return m_nWaitCursorCount > 0; }

  CWnd* m_pMainWnd{nullptr};
  CString m_strAppName;
  LPCTSTR m_pszAppName{nullptr};     // m_strAppName's text
  LPCTSTR m_pszExeName{nullptr};     // the program file's name without folder
  LPCTSTR m_pszRegistryKey{nullptr};
  CString m_lpCmdLine;               // the arguments, quoted when they hold spaces
  CString m_strExePath;
  CString m_strExeName;
  int m_nCmdShow{SW_SHOWNORMAL};
  HINSTANCE m_hInstance{nullptr};

protected:
  void OnFileNew();
  void OnFileOpen();
  // Print Setup: the setup-only print dialog; a program routes ID_FILE_PRINT_SETUP here.
  void OnFilePrintSetup();
  BOOL OnOpenRecentFile(UINT id);
  void OnUpdateRecentFileMenu(CCmdUI* ui);
  void OnAppExit();
  DECLARE_MESSAGE_MAP()

private:
  void SaveRecentFileList();
  void UpdateIdleCommandUI();

  platform::Profile m_profile;
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  std::vector<CString> m_recentFiles;
  CString m_strRegistryKey;
  UINT m_nMaxRecent{0};
  BOOL m_bShellOpen{FALSE};
  int m_nWaitCursorCount{0};
  int m_nExitCode{0};
  HCURSOR m_hcurWaitRestore{nullptr};
};

// The program's application object (null when none exists).
CWinApp* AfxGetApp();
// The application's main window (null when none).
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();

namespace platform {
// The program's start: records the command line in the application object, runs InitInstance,
// then Run (or only ExitInstance when InitInstance fails). Returns the exit code.
int RunApplication(int argc, char** argv);
}  // namespace platform
