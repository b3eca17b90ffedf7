// Voice commentary: the media player found through the registry, started on the relay's stream
// and ended again.
#include <cstdlib>
#include <string>

#include "client/app/ClientView.h"
#include "client/relay/FieldSplitter.h"
#include "client/widgets/RegistryKey.h"
#include "client/widgets/RegistryValue.h"
#include "client/widgets/StatusText.h"
#include "client/widgets/TextUtilities.h"

namespace {

constexpr const char* kRequiredVersion = "6.0.6.45";
constexpr const char* kNotInstalled =
    "RealPlayer isn't installed. the later RealPlayer G2 version must be installed.";
constexpr const char* kMustInstall = "The later RealPlayer G2 version must be installed.";
constexpr const char* kVersionLower =
    "RealPlayer's version is lower. The later RealPlayer G2 version must be installed.";
constexpr const char* kCannotRun = "RealPlayer can't be excuted.";

void ShowStatus(const char* literal) {
  CString text;
  LoadUiText(literal, text);
  ShowStatusText(text);
}

// One argument quoted so that the command-line splitter gives it back unchanged, blanks and
// quotes included: the stream address must reach the player as one argument, whatever it holds.
std::string QuoteArgument(const std::string& argument) {
  std::string quoted = "\"";
  std::size_t slashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    if (c == '"') {
      quoted.append(slashes * 2 + 1, '\\');
    } else {
      quoted.append(slashes, '\\');
    }
    slashes = 0;
    quoted += c;
  }
  quoted.append(slashes * 2, '\\');
  quoted += '"';
  return quoted;
}

// Whether the installed version is at least the required one, field by field.
bool IsVersionSufficient(const char* installed) {
  CFieldSplitter required;
  CFieldSplitter present;
  const int requiredCount = required.Split(kRequiredVersion, '.');
  const int presentCount = present.Split(installed, '.');
  for (int i = 0; i < requiredCount && i < presentCount; ++i) {
    const char* r = required.GetField(i);
    const char* p = present.GetField(i);
    const int want = r ? std::atoi(r) : 0;
    const int have = p ? std::atoi(p) : 0;
    if (want > have) return false;
    if (have > want) return true;
  }
  return requiredCount <= presentCount;
}

}  // namespace

void CClientView::OnVoiceCommentary() {
  if (!CheckRealPlayer()) return;
  if (StopRealPlayer(true)) return;
  CString path;
  if (!FindRealPlayerPath(path)) {
    ShowMessage(kCannotRun);
    return;
  }
  // The program and the stream as two arguments: nothing of the address is ever read as a
  // further argument or by a shell.
  std::string line = QuoteArgument(static_cast<const char*>(path)) + " " +
                     QuoteArgument(static_cast<const char*>(m_mediaAddress));
  STARTUPINFO startup{};
  startup.cb = 68;
  PROCESS_INFORMATION info{};
  if (CreateProcess(path, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) &&
      info.hProcess != nullptr) {
    m_playerInfo = info;
    ShowStatus("Voice on.");
  } else {
    m_playerInfo = PROCESS_INFORMATION{};
    ShowMessage(kCannotRun);
  }
}

bool CClientView::StopRealPlayer(bool announce) {
  if (m_playerInfo.hProcess == nullptr) return false;
  TerminateProcess(m_playerInfo.hProcess, 0);
  CloseHandle(m_playerInfo.hProcess);
  m_playerInfo = PROCESS_INFORMATION{};
  if (announce) ShowStatus("Voice off.");
  return true;
}

int CClientView::CheckRealPlayer() {
  CRegistryKey classes(HKEY_CLASSES_ROOT);
  CRegistryValue value;
  if (!classes.ReadValue("Software\\RealNetworks\\RealPlayer\\CurrentVersion", "", value)) {
    ShowMessage(kNotInstalled);
    return 0;
  }
  CString version;
  if (!value.GetString(version)) {
    ShowMessage(kMustInstall);
    return 0;
  }
  if (std::atof(version) < 6.0) {
    ShowMessage(kVersionLower);
    return 0;
  }
  CString component;
  component.Format("Software\\RealNetworks\\Update\\%s\\Preferences\\Components\\Player:%s",
                   static_cast<const char*>(version), static_cast<const char*>(version));
  CString installed;
  if (!classes.ReadValue(component, "", value) || !value.GetString(installed)) {
    ShowMessage(kMustInstall);
    return 0;
  }
  if (!IsVersionSufficient(installed)) {
    ShowMessage(kVersionLower);
    return 0;
  }
  return 1;
}

int CClientView::FindRealPlayerPath(CString& path) {
  CRegistryKey classes(HKEY_CLASSES_ROOT);
  CRegistryValue value;
  CString fileType;
  if (!classes.ReadValue(".rm", "", value) || !value.GetString(fileType)) return 0;
  CString command;
  if (!classes.ReadValue(fileType + "\\shell\\open\\command", "", value) || !value.GetString(command)) return 0;
  const std::string text = static_cast<const char*>(command);
  const std::size_t open = text.find('"');
  if (open == std::string::npos) return 0;
  const std::size_t close = text.find('"', open + 1);
  if (close == std::string::npos) return 0;
  path = text.substr(open + 1, close - open - 1).c_str();
  return 1;
}
