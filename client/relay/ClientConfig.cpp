#include "client/relay/ClientConfig.h"

#include <cstdlib>
#include <vector>

#include "client/relay/FieldSplitter.h"
#include "client/widgets/TextUtilities.h"
#include "platform/files.h"

namespace {

// A port read from the file; a value outside 0..65535 names no port at all (a socket would
// silently take it modulo 65536).
int ParsePort(const CString& value) {
  const long long port = std::strtoll(value, nullptr, 10);
  return port >= 0 && port <= 65535 ? static_cast<int>(port) : 0;
}

// Applies every complete line of an open file; throws what the file throws.
void ApplyLines(CFile& file, CClientConfig& config) {
  std::vector<char> line(CClientConfig::kMaxLineBytes);
  CFieldSplitter splitter;
  while (ReadTextLine(file, line.data(), CClientConfig::kMaxLineBytes) == 1) {
    if (splitter.Split(line.data(), '=') == 2) {
      config.SetValue(splitter.GetField(0), splitter.GetField(1));
    }
  }
}

}  // namespace

CClientConfig::CClientConfig(const char* filePath) : m_filePath(filePath) {}

int CClientConfig::Load() {
  CStdioFile file;
  if (!file.Open(m_filePath, CFile::modeRead | CFile::typeBinary)) return 0;
  try {
    ApplyLines(file, *this);
  } catch (CFileException* error) {
    error->Delete();
    file.Abort();
    return 0;
  }
  file.Abort();
  return 1;
}

void CClientConfig::SetValue(CString key, CString value) {
  key.MakeLower();
  // A web address may hold case-sensitive paths: it is kept as written.
  if (key == "help url") {
    m_helpUrl = value;
    return;
  }
  value.MakeLower();
  if (key == "client ip") {
    m_clientIp = value;
  } else if (key == "client port") {
    m_clientPort = ParsePort(value);
  } else if (key == "input ip") {
    m_inputIp = value;
  } else if (key == "input port") {
    m_inputPort = ParsePort(value);
  } else if (key == "sound") {
    m_sound = value == "off" ? 0 : 1;
  }
}

CString CClientConfig::FormatContents() const {
  CString text;
  text.AppendFormat("client ip=%s\r\n", m_clientIp.GetString());
  text.AppendFormat("client port=%d\r\n", m_clientPort);
  text.AppendFormat("sound=%s\r\n", m_sound != 0 ? "on" : "off");
  // Keys nothing in the dialog edits are kept so that a save never loses them.
  if (!m_inputIp.IsEmpty()) text.AppendFormat("input ip=%s\r\n", m_inputIp.GetString());
  if (m_inputPort != 0) text.AppendFormat("input port=%d\r\n", m_inputPort);
  if (!m_helpUrl.IsEmpty()) text.AppendFormat("help url=%s\r\n", m_helpUrl.GetString());
  return text;
}

int CClientConfig::Save() const { return platform::ReplaceFileContents(m_filePath, FormatContents().str()) ? 1 : 0; }

CClientConfig& GetClientConfig() {
  static CClientConfig config;
  static const bool loaded = config.Load() == 1;
  (void)loaded;
  return config;
}
