#include "platform/uiscript.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/controls_defs.h"
#include "platform/windows.h"

namespace platform {
namespace {

constexpr UINT kButtonSetCheck = BM_SETCHECK;

struct ScriptState {
  UiScript* installed{nullptr};
  std::unique_ptr<FileUiScript> file;
  bool fileTried{false};
};

ScriptState& Scripts() {
  static ScriptState state;
  return state;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Splits a line into words; a double-quoted part (with \" and \\ escapes) may appear anywhere in a
// word and keeps its spaces. False when a quote is left open.
bool Tokenize(std::string_view line, std::vector<std::string>* tokens, std::vector<bool>* quoted) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i >= line.size()) break;
    std::string token;
    bool hadQuote = false;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) {
      if (line[i] != '"') {
        token += line[i++];
        continue;
      }
      hadQuote = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '\\' && i < line.size()) {
          token += line[i++];
        } else if (c == '"') {
          closed = true;
          break;
        } else {
          token += c;
        }
      }
      if (!closed) return false;
    }
    tokens->push_back(token);
    quoted->push_back(hadQuote);
  }
  return true;
}

bool ParseNumber(const std::string& text, UINT* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (*end != '\0' || text[0] == '-' || value > 0xFFFFFFFFul) return false;
  *out = static_cast<UINT>(value);
  return true;
}

std::string ParseMessageBox(const std::vector<std::string>& t, ScriptAnswer* a) {
  if (t.size() == 2) {
    a->button = ParseButtonName(t[1]);
  } else if (t.size() == 3) {
    a->text = t[1];
    a->button = ParseButtonName(t[2]);
  } else {
    return "expected: messagebox [\"text\"] BUTTON";
  }
  return a->button ? "" : "unknown button \"" + t.back() + "\"";
}

std::string ParseDialog(const std::vector<std::string>& t, ScriptAnswer* a) {
  if (t.size() < 4 || !ParseNumber(t[1], &a->templateId)) return "expected: dialog TEMPLATE-ID ... end BUTTON";
  std::size_t i = 2;
  for (; i + 1 < t.size() && Lower(t[i]) != "end"; i += 2) {
    const std::string& setting = t[i + 1];
    std::size_t eq = setting.find('=');
    DialogAction action;
    action.verb = Lower(t[i]);
    if (eq == std::string::npos || !ParseNumber(setting.substr(0, eq), &action.id)) {
      return "expected ID=VALUE after \"" + t[i] + "\"";
    }
    action.value = setting.substr(eq + 1);
    a->actions.push_back(action);
  }
  if (i + 2 != t.size() || Lower(t[i]) != "end") return "expected: ... end BUTTON at the end";
  a->button = ParseButtonName(t[i + 1]);
  return a->button ? "" : "unknown end code \"" + t[i + 1] + "\"";
}

std::string ParseMenu(const std::vector<std::string>& t, ScriptAnswer* a) {
  if (t.size() != 2 || !ParseNumber(t[1], &a->command)) return "expected: menu COMMAND-ID";
  return "";
}

std::string ParseFile(const std::vector<std::string>& t, const std::vector<bool>& quoted, ScriptAnswer* a) {
  if (t.size() != 2) return "expected: file \"PATH\" or file cancel";
  if (!quoted[1] && Lower(t[1]) == "cancel") return "";
  if (t[1].empty()) return "empty path";
  a->path = t[1];
  return "";
}

std::string ParsePrint(const std::vector<std::string>& t, ScriptAnswer* a) {
  if (t.size() != 2) return "expected: print OK or print cancel";
  a->button = ParseButtonName(t[1]);
  if (a->button != IDOK && a->button != IDCANCEL) return "print takes OK or cancel";
  return "";
}

// Parses one non-empty line; returns an error text or "".
std::string ParseLine(std::string_view line, ScriptAnswer* a) {
  std::vector<std::string> t;
  std::vector<bool> quoted;
  if (!Tokenize(line, &t, &quoted)) return "unclosed quote";
  if (t.empty()) return "empty line";
  std::string kind = Lower(t[0]);
  if (kind == "messagebox") {
    a->kind = UiQuestion::MessageBox;
    return ParseMessageBox(t, a);
  }
  if (kind == "dialog") {
    a->kind = UiQuestion::Dialog;
    return ParseDialog(t, a);
  }
  if (kind == "menu") {
    a->kind = UiQuestion::Menu;
    return ParseMenu(t, a);
  }
  if (kind == "file") {
    a->kind = UiQuestion::File;
    return ParseFile(t, quoted, a);
  }
  if (kind == "print") {
    a->kind = UiQuestion::Print;
    return ParsePrint(t, a);
  }
  return "unknown question kind \"" + t[0] + "\"";
}

// Selects the first item of a combo or list box that starts with the value, as a person picking it
// would: the dialog hears the selection change.
void SelectListItem(HWND dialogWnd, HWND item, const DialogAction& action) {
  CString text = Utf8ToCp949(action.value);
  bool combo = WindowClassName(item).CompareNoCase("ComboBox") == 0;
  UINT message = combo ? CB_SELECTSTRING : LB_SELECTSTRING;
  LRESULT index = ::SendMessage(item, message, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.GetString()));
  if (index < 0) {
    std::fprintf(stderr, "platform: ui script: control %u has no item \"%s\"\n", action.id, action.value.c_str());
    return;
  }
  int code = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
  ::SendMessage(dialogWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(action.id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(item));
}

void ApplyDialogAction(HWND dialogWnd, const DialogAction& action) {
  HWND item = ::GetDlgItem(dialogWnd, static_cast<int>(action.id));
  if (!item) {
    std::fprintf(stderr, "platform: ui script: dialog has no control %u for \"%s\"\n", action.id, action.verb.c_str());
    return;
  }
  if (action.verb == "text") {
    CString text = Utf8ToCp949(action.value);
    ::SendMessage(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.GetString()));
  } else if (action.verb == "check") {
    ::SendMessage(item, kButtonSetCheck, static_cast<WPARAM>(std::atoi(action.value.c_str())), 0);
  } else if (action.verb == "select") {
    SelectListItem(dialogWnd, item, action);
  } else {
    std::fprintf(stderr, "platform: ui script: unknown dialog verb \"%s\"\n", action.verb.c_str());
  }
}

}  // namespace

std::vector<ScriptAnswer> ParseUiScript(std::string_view text, std::vector<std::string>* errors) {
  std::vector<ScriptAnswer> answers;
  int number = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto first = std::find_if(line.begin(), line.end(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); });
    if (first == line.end() || *first == '#') {
      if (end == text.size()) break;
      continue;
    }
    ScriptAnswer answer;
    answer.line = number;
    std::string error = ParseLine(line, &answer);
    if (error.empty()) {
      answers.push_back(std::move(answer));
    } else if (errors) {
      errors->push_back("line " + std::to_string(number) + ": " + error);
    }
    if (end == text.size()) break;
  }
  return answers;
}

int ParseButtonName(std::string_view name) {
  static const std::pair<const char*, int> kNames[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT},
                                                       {"retry", IDRETRY},   {"ignore", IDIGNORE}, {"yes", IDYES},
                                                       {"no", IDNO},         {"close", IDCLOSE},   {"help", IDHELP}};
  std::string lower = Lower(name);
  for (const auto& [text, id] : kNames) {
    if (lower == text) return id;
  }
  UINT number = 0;
  return ParseNumber(lower, &number) && number > 0 && number < 0x10000 ? static_cast<int>(number) : 0;
}

// ---- default hooks: no answer ----

std::optional<int> UiScript::OnMessageBox(const char*, const char*, UINT) { return std::nullopt; }
std::optional<INT_PTR> UiScript::OnModalDialog(UINT, CDialog*, HWND) { return std::nullopt; }
std::optional<UINT> UiScript::OnPopupMenu(HMENU, POINT, HWND) { return std::nullopt; }
std::optional<std::optional<CString>> UiScript::OnFileDialog(BOOL, const char*, const char*) { return std::nullopt; }
std::optional<bool> UiScript::OnPrintDialog() { return std::nullopt; }

// ---- file script ----

FileUiScript::FileUiScript(std::vector<ScriptAnswer> answers) : m_answers(answers.begin(), answers.end()) {}

std::unique_ptr<FileUiScript> FileUiScript::Load(const char* path) {
  std::ifstream in(path ? path : "", std::ios::binary);
  if (!path || !in) {
    std::fprintf(stderr, "platform: ui script: cannot read \"%s\"\n", path ? path : "");
    return nullptr;
  }
  std::stringstream content;
  content << in.rdbuf();
  std::vector<std::string> errors;
  auto answers = ParseUiScript(content.str(), &errors);
  for (const std::string& e : errors) std::fprintf(stderr, "platform: ui script %s: %s (line ignored)\n", path, e.c_str());
  return std::make_unique<FileUiScript>(std::move(answers));
}

const ScriptAnswer* FileUiScript::Peek(UiQuestion kind) const {
  return !m_answers.empty() && m_answers.front().kind == kind ? &m_answers.front() : nullptr;
}

std::optional<ScriptAnswer> FileUiScript::Take(UiQuestion kind) {
  if (!Peek(kind)) return std::nullopt;
  ScriptAnswer answer = std::move(m_answers.front());
  m_answers.pop_front();
  return answer;
}

std::optional<int> FileUiScript::OnMessageBox(const char* text, const char* caption, UINT) {
  (void)caption;
  const ScriptAnswer* next = Peek(UiQuestion::MessageBox);
  if (!next || (next->text && *next->text != Cp949ToUtf8(text ? text : ""))) return std::nullopt;
  return Take(UiQuestion::MessageBox)->button;
}

std::optional<INT_PTR> FileUiScript::OnModalDialog(UINT templateId, CDialog*, HWND dialogWnd) {
  const ScriptAnswer* next = Peek(UiQuestion::Dialog);
  if (!next || next->templateId != templateId) return std::nullopt;
  ScriptAnswer answer = *Take(UiQuestion::Dialog);
  for (const DialogAction& action : answer.actions) ApplyDialogAction(dialogWnd, action);
  return answer.button;
}

std::optional<UINT> FileUiScript::OnPopupMenu(HMENU, POINT, HWND) {
  auto answer = Take(UiQuestion::Menu);
  return answer ? std::optional<UINT>(answer->command) : std::nullopt;
}

std::optional<std::optional<CString>> FileUiScript::OnFileDialog(BOOL, const char*, const char*) {
  auto answer = Take(UiQuestion::File);
  if (!answer) return std::nullopt;
  if (!answer->path) return std::optional<CString>();
  return std::optional<CString>(Utf8ToCp949(*answer->path));
}

std::optional<bool> FileUiScript::OnPrintDialog() {
  auto answer = Take(UiQuestion::Print);
  return answer ? std::optional<bool>(answer->button == IDOK) : std::nullopt;
}

// ---- program-wide handler ----

void SetUiScript(UiScript* script) { Scripts().installed = script; }

UiScript* GetUiScript() {
  ScriptState& s = Scripts();
  if (s.installed) return s.installed;
  if (!s.fileTried) {
    s.fileTried = true;
    if (const char* path = std::getenv("PLATFORM_UI_SCRIPT"); path && *path) s.file = FileUiScript::Load(path);
  }
  return s.file.get();
}

bool LoadUiScriptFile(const char* path) {
  ScriptState& s = Scripts();
  s.fileTried = true;
  s.file = FileUiScript::Load(path);
  return s.file != nullptr;
}

void ResetUiScriptFile() {
  ScriptState& s = Scripts();
  s.file.reset();
  s.fileTried = false;
}

void LogUnanswered(const char* what, const char* detail) {
  std::fprintf(stderr, "platform: unanswered %s: %s\n", what ? what : "question", detail ? detail : "");
}

ScopedUiScript::ScopedUiScript(UiScript* script) : m_previous(Scripts().installed) { SetUiScript(script); }
ScopedUiScript::~ScopedUiScript() { SetUiScript(m_previous); }

}  // namespace platform
