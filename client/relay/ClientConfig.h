#pragma once
// CClientConfig: the viewer's settings (relay server address and port, sound, help address),
// read from and written to the text file "client.cfg" of the current folder.

#include "platform/object.h"
#include "platform/strings.h"

class CClientConfig : public CObject {
public:
  static constexpr const char* kFileName = "client.cfg";
  static constexpr int kMaxLineBytes = 1024;

  // Defaults only; the program's one instance (GetClientConfig) loads the file when built.
  explicit CClientConfig(const char* filePath = kFileName);

  // Reads the file: 1 when read to its end, 0 when it cannot be opened or a file error occurs
  // (the values read so far stay). A last line without LF, or one over 1024 bytes, ends reading.
  int Load();
  // Applies one "key=value" line; the key, and every value but the help address, are lower-cased
  // first. A port outside 0..65535 reads as 0 (no server). Unknown keys do nothing.
  void SetValue(CString key, CString value);
  // Rewrites the whole file (CR LF lines): 1 on success, 0 on failure (the old file then stays).
  int Save() const;

  // Null when no address is set.
  const char* GetClientIp() const { return NullIfEmpty(m_clientIp); }
  const char* GetHelpUrl() const { return NullIfEmpty(m_helpUrl); }
  const char* GetInputIp() const { return NullIfEmpty(m_inputIp); }
  int GetClientPort() const { return m_clientPort; }
  int GetInputPort() const { return m_inputPort; }
  bool IsSoundOn() const { return m_sound != 0; }
  // A server address and a port above 0 are both set.
  bool HasServer() const { return !m_clientIp.IsEmpty() && m_clientPort > 0; }

  void SetClientIp(const char* ip) { m_clientIp = ip; }
  void SetClientPort(int port) { m_clientPort = port; }
  void SetSound(bool on) { m_sound = on ? 1 : 0; }

  const CString& GetFilePath() const { return m_filePath; }

private:
  static const char* NullIfEmpty(const CString& text) { return text.IsEmpty() ? nullptr : static_cast<const char*>(text); }
  // The file's text as Save writes it.
  CString FormatContents() const;

  CString m_filePath;
  CString m_clientIp;
  CString m_inputIp;
  int m_clientPort{0};
  int m_inputPort{0};
  int m_sound{1};
  CString m_helpUrl;
};

// The program's one configuration, loaded from "client.cfg" when first asked for.
CClientConfig& GetClientConfig();
