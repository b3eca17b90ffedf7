#pragma once
// The UI script: headless, every question a person would answer (message boxes, modal dialogs,
// pop-up menus, file and print dialogs) is put to a handler object instead. Tests install one in
// C++; whole-program runs name a file of answers in PLATFORM_UI_SCRIPT, one answer a line:
//   messagebox "Already logged in." OK        (text optional; compared as UTF-8)
//   dialog 179 text 1127=alice check 1226=1 end OK
//   menu 32771
//   file "/tmp/a.sgf"                          (or: file cancel)
//   print OK                                   (or: print cancel)
// Lines that are empty or start with # are ignored.

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/strings.h"
#include "platform/types.h"

class CDialog;

namespace platform {

enum class UiQuestion { MessageBox, Dialog, Menu, File, Print };

// One control setting of a dialog answer: verb ("text", "check", "select", ...), control id and
// value (UTF-8 as written).
struct DialogAction {
  std::string verb;
  UINT id{0};
  std::string value;
};

// One parsed answer of a script file.
struct ScriptAnswer {
  UiQuestion kind{UiQuestion::MessageBox};
  int line{0};                      // line number in the file, for messages
  std::optional<std::string> text;  // message box: the text it must show (UTF-8)
  int button{0};                    // message box button, dialog end code, print IDOK/IDCANCEL
  UINT templateId{0};               // dialog
  std::vector<DialogAction> actions;  // dialog
  UINT command{0};                  // menu
  std::optional<std::string> path;  // file dialog; none means cancel (UTF-8)
};

// Parses script text; each bad line is skipped and described in errors (with its number).
std::vector<ScriptAnswer> ParseUiScript(std::string_view text, std::vector<std::string>* errors);
// Button name (OK, Cancel, Yes, No, Abort, Retry, Ignore, Close, Help; any case) or number;
// 0 when neither.
int ParseButtonName(std::string_view name);

// The questions; each hook returns an answer or nothing (then the default applies and the
// question is logged). Texts are the program's code page 949 bytes.
class UiScript {
public:
  virtual ~UiScript() = default;

  // -> the button pressed (IDOK, IDYES, ...).
  virtual std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style);
  // Called after OnInitDialog with the dialog and its window; may set control values through the
  // window. -> the end code (IDOK, IDCANCEL, ...).
  virtual std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND dialogWnd);
  // -> the command chosen from a pop-up menu (0: dismissed).
  virtual std::optional<UINT> OnPopupMenu(HMENU menu, POINT screenPoint, HWND owner);
  // -> the path chosen (code page 949); an empty optional inside means cancelled.
  virtual std::optional<std::optional<CString>> OnFileDialog(BOOL openDialog, const char* defaultName,
                                                             const char* filter);
  // -> true to print, false to cancel.
  virtual std::optional<bool> OnPrintDialog();
};

// Answers from a parsed script file, taken in order: a question takes the first answer left only
// when that answer is of its kind (and, for a message box with a text, shows that text).
class FileUiScript : public UiScript {
public:
  explicit FileUiScript(std::vector<ScriptAnswer> answers);
  // Reads and parses path; null (and a message on standard error) when it cannot be read.
  static std::unique_ptr<FileUiScript> Load(const char* path);

  std::optional<int> OnMessageBox(const char* text, const char* caption, UINT style) override;
  // Applies "text" (WM_SETTEXT) and "check" (BM_SETCHECK) actions to the dialog's controls.
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND dialogWnd) override;
  std::optional<UINT> OnPopupMenu(HMENU menu, POINT screenPoint, HWND owner) override;
  std::optional<std::optional<CString>> OnFileDialog(BOOL openDialog, const char* defaultName,
                                                     const char* filter) override;
  std::optional<bool> OnPrintDialog() override;

  // The next answer if it is of kind (not taken).
  const ScriptAnswer* Peek(UiQuestion kind) const;
  // Takes the next answer if it is of kind.
  std::optional<ScriptAnswer> Take(UiQuestion kind);
  // Answers not yet taken.
  const std::deque<ScriptAnswer>& Remaining() const { return m_answers; }

private:
  std::deque<ScriptAnswer> m_answers;
};

// Installs the program-wide handler (null removes it); the caller keeps ownership.
void SetUiScript(UiScript* script);
// The handler questions go to: the installed one, else the file named by PLATFORM_UI_SCRIPT
// (read once), else null.
UiScript* GetUiScript();
// Loads a script file as the program-wide file script (replacing an earlier one); false when it
// cannot be read.
bool LoadUiScriptFile(const char* path);
// Drops the file script (it is read again from PLATFORM_UI_SCRIPT on the next question).
void ResetUiScriptFile();

// Writes one line about an unanswered question to standard error (texts converted to UTF-8).
void LogUnanswered(const char* what, const char* detail);

// RAII: installs a handler for a scope and puts the previous one back.
class ScopedUiScript {
public:
  explicit ScopedUiScript(UiScript* script);
  ~ScopedUiScript();
  ScopedUiScript(const ScopedUiScript&) = delete;
  ScopedUiScript& operator=(const ScopedUiScript&) = delete;

private:
  UiScript* m_previous{nullptr};
};

}  // namespace platform
