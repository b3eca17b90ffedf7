#include "orvanta/app/SettingFiles.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include <platform/files.h>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

// Far more than any of the files holds; a larger file is read no further, so that its size
// never decides how much memory a start takes.
constexpr std::size_t kMaxFileBytes = 1 << 20;

const char* const kDefaultWidths[CSettingFiles::kSettingFields] = {
    "",
    "|20|60|70|59|110|110|56|56|90|80|85|77|88|",
    "|50|80|90|80|80|90|80|80|70|180|",
    "|40|40|200|40|100|70|0|",
    "|55|65|180|180|70|60|300|",
};

// A frame dimension as "setting.ini" holds it: plain digits, positive, of a sane size.
bool ParseDimension(const CString& text, int& value) {
  if (text.IsEmpty() || text.GetLength() > 5)
    return false;
  for (int i = 0; i < text.GetLength(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i])))
      return false;
  value = std::stoi(text.str());
  return value > 0;
}

// The slot number a banner's image name carries in its characters 3 to 5; 0 when it has none.
int BannerSlot(const CString& imageName) {
  if (imageName.GetLength() < 3)
    return 0;
  const CString digits = imageName.Mid(2, 3);
  int slot = 0;
  for (int i = 0; i < digits.GetLength() && std::isdigit(static_cast<unsigned char>(digits[i])); ++i)
    slot = slot * 10 + (digits[i] - '0');
  return slot;
}

std::vector<CString> SplitFields(const CString& text, char separator) {
  CFieldTokenizer tokenizer(text, separator);
  const int count = tokenizer.GetCount();
  std::vector<CString> fields;
  fields.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    fields.push_back(tokenizer.NextField());
  return fields;
}

// A phrase is one line of the file: a line break inside it would shift every later phrase.
CString OneLine(const CString& phrase) {
  CString line = phrase;
  line.Remove('\n');
  line.Remove('\r');
  return line;
}

}  // namespace

CString CSettingFiles::PathOf(const char* name) const {
  if (m_folder.IsEmpty())
    return name;
  return m_folder + "/" + name;
}

bool CSettingFiles::ReadWholeFile(const CString& path, CString& text) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
    return false;
  try {
    std::string bytes;
    char chunk[4096];
    for (UINT got; bytes.size() < kMaxFileBytes && (got = file.Read(chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, got);
    file.Close();
    text = CString(bytes.c_str());
    return true;
  } catch (CException* error) {
    error->Delete();
    file.Abort();
    return false;
  }
}

bool CSettingFiles::WriteWholeFile(const CString& path, const CString& text) {
  return platform::ReplaceFileContents(path, text.str()) != FALSE;
}

// ---------------------------------------------------------------------------------------------
// "setting.ini"

bool CSettingFiles::ReadSettingFields(std::array<CString, kSettingFields>& fields) const {
  CString text;
  if (!ReadWholeFile(GetSettingPath(), text))
    return false;
  const std::vector<CString> found = SplitFields(text, '/');
  if (found.size() != kSettingFields)
    return false;
  std::copy(found.begin(), found.end(), fields.begin());
  return true;
}

CString CSettingFiles::ReadSetting(int field) const {
  std::array<CString, kSettingFields> fields;
  if (field < 0 || field >= kSettingFields || !ReadSettingFields(fields))
    return CString();
  return fields[static_cast<std::size_t>(field)];
}

BOOL CSettingFiles::WriteSetting(int field, const CString& text, const CString& presentSize) const {
  // A "/" inside a value would split it into two fields and make the whole file unreadable.
  if (field < 0 || field >= kSettingFields || text.Find('/') >= 0)
    return FALSE;
  std::array<CString, kSettingFields> fields;
  if (!ReadSettingFields(fields)) {
    fields[0] = presentSize;
    for (int i = 1; i < kSettingFields; ++i)
      fields[static_cast<std::size_t>(i)] = DefaultSetting(i);
  }
  fields[static_cast<std::size_t>(field)] = text;
  CString content = "/";
  for (const CString& value : fields)
    content += value + "/";
  return WriteWholeFile(GetSettingPath(), content) ? TRUE : FALSE;
}

CString CSettingFiles::DefaultSetting(int field) {
  if (field < 1 || field >= kSettingFields)
    return CString();
  return kDefaultWidths[field];
}

CString CSettingFiles::FormatFrameSize(BOOL maximized, int width, int height) {
  if (maximized)
    return "fullsize";
  CString text;
  text.Format("|%d|%d|", width, height);
  return text;
}

void CSettingFiles::ParseFrameSize(const CString& text, BOOL& maximized, int& width, int& height) {
  maximized = FALSE;
  width = kDefaultWidth;
  height = kDefaultHeight;
  if (text == "fullsize") {
    maximized = TRUE;
    return;
  }
  CFieldTokenizer size(text);
  int w = 0;
  int h = 0;
  if (size.GetCount() == 2 && text[0] == '|' && ParseDimension(size.GetField(0), w) &&
      ParseDimension(size.GetField(1), h)) {
    width = w;
    height = h;
  }
}

// ---------------------------------------------------------------------------------------------
// "AD.ini"

bool CSettingFiles::ReadAdvertFields(std::vector<CString>& fields) const {
  CString text;
  if (!ReadWholeFile(GetAdvertPath(), text) || text.IsEmpty())
    return false;
  fields = SplitFields(text, '/');
  return fields.size() % 3 == 0;
}

BOOL CSettingFiles::LoadAdverts(CAdvertSlots& slots) const {
  std::vector<CString> fields;
  if (!ReadAdvertFields(fields))
    return FALSE;
  slots.m_nCount = 0;
  for (std::size_t i = 0; i + 2 < fields.size() && slots.m_nCount < CAdvertSlots::kMaxBanners; i += 3) {
    const auto slot = static_cast<std::size_t>(slots.m_nCount);
    slots.m_images[slot] = fields[i];
    slots.m_links[slot] = fields[i + 1];
    ++slots.m_nCount;
  }
  return TRUE;
}

CString CSettingFiles::ReadAdvertStamp() const {
  std::vector<CString> fields;
  if (!ReadAdvertFields(fields))
    return "00";
  std::array<CString, CAdvertSlots::kMaxBanners> places;
  std::array<bool, CAdvertSlots::kMaxBanners> filled{};
  const std::size_t triples = std::min<std::size_t>(fields.size() / 3, CAdvertSlots::kMaxBanners);
  for (std::size_t i = 0; i < triples; ++i) {
    const int slot = BannerSlot(fields[3 * i]);
    if (slot < 1 || slot > CAdvertSlots::kMaxBanners)
      continue;
    places[static_cast<std::size_t>(slot - 1)] = fields[3 * i + 2];
    filled[static_cast<std::size_t>(slot - 1)] = true;
  }
  CString stamp;
  bool any = false;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (filled[i] && (!any || places[i] > stamp)) {
      stamp = places[i];
      any = true;
    }
  }
  return any ? stamp : CString("00");
}

// ---------------------------------------------------------------------------------------------
// "ChatMacro.Ini"

CSettingFiles::ChatMacros CSettingFiles::BuiltInChatMacros() {
  ChatMacros phrases;
  phrases[0] = Cp949("안녕하세요.");
  phrases[1] = Cp949("반갑습니다.");
  phrases[2] = Cp949("한 수 배우겠습니다.");
  phrases[3] = Cp949("잘 두었습니다.");
  return phrases;
}

CSettingFiles::ChatMacros CSettingFiles::LoadChatMacros() const {
  CString text;
  if (!ReadWholeFile(GetChatMacroPath(), text) || text == CString('\n', kChatMacros))
    return BuiltInChatMacros();
  CFieldTokenizer lines(text, '\n');
  ChatMacros phrases;
  for (CString& phrase : phrases)
    phrase = lines.NextField();
  return phrases;
}

BOOL CSettingFiles::SaveChatMacros(const ChatMacros& edited, ChatMacros& kept) const {
  CString joined;
  for (const CString& phrase : edited)
    joined += OneLine(phrase);
  const ChatMacros source = joined.IsEmpty() ? BuiltInChatMacros() : edited;
  ChatMacros phrases;
  CString content = "\n";
  for (std::size_t i = 0; i < phrases.size(); ++i) {
    phrases[i] = OneLine(source[i]);
    content += phrases[i] + "\n";
  }
  if (!WriteWholeFile(GetChatMacroPath(), content))
    return FALSE;
  kept = phrases;
  return TRUE;
}

BOOL CSettingFiles::CreateChatMacroFileIfMissing() const {
  // A file that is there but cannot be read now keeps its phrases for a later start.
  if (::_access(GetChatMacroPath(), 0) == 0)
    return TRUE;
  return WriteWholeFile(GetChatMacroPath(), CString()) ? TRUE : FALSE;
}
