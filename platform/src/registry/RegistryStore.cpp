#include "RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};
const char kHeader[] = "; registry store: [key], then @ (default) or \"name\" = type:data; bytes as %HH\n";

char Fold(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

std::string Folder() {
  if (const char* home = std::getenv("PLATFORM_HOME"); home && *home) return home;
  const char* user = std::getenv("HOME");
  return std::string(user && *user ? user : "/tmp") + "/.local/share/pellomar";
}

// Makes every missing folder of path.
bool MakeFolders(const std::string& path) {
  for (std::size_t at = 1; at <= path.size(); ++at) {
    if (at != path.size() && path[at] != '/') continue;
    std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// ---- text form ----

bool NeedsEscape(unsigned char ch, bool inKeyName) {
  if (ch < 0x20 || ch >= 0x7F || ch == '%' || ch == '"') return true;
  return inKeyName && (ch == '[' || ch == ']' || ch == '\\');  // a backslash separates key names
}

std::string Escape(std::string_view bytes, bool inKeyName) {
  std::string out;
  for (char ch : bytes) {
    auto byte = static_cast<unsigned char>(ch);
    if (NeedsEscape(byte, inKeyName)) {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", byte);
      out += code;
    } else {
      out += ch;
    }
  }
  return out;
}

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  ch = Fold(ch);
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() + 0 && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsPlainString(const RegistryStore::Value& value) {
  const std::string& d = value.data;
  return !d.empty() && d.back() == '\0' && d.find('\0') == d.size() - 1;
}

std::string DataText(const RegistryStore::Value& value) {
  char prefix[32];
  if (value.type == 4 && value.data.size() == 4) {
    DWORD number = 0;
    for (int i = 3; i >= 0; --i)
      number = (number << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
    std::snprintf(prefix, sizeof prefix, "dword:%08x", number);
    return prefix;
  }
  if (IsPlainString(value)) {
    std::snprintf(prefix, sizeof prefix, "str(%u):\"", static_cast<unsigned>(value.type));
    return prefix + Escape(std::string_view(value.data).substr(0, value.data.size() - 1), false) + "\"";
  }
  std::snprintf(prefix, sizeof prefix, "hex(%u):", static_cast<unsigned>(value.type));
  std::string out = prefix;
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", static_cast<unsigned char>(value.data[i]));
    out += byte;
  }
  return out;
}

void SerialiseKey(const RegistryStore::Key& key, const std::string& path, std::string& out) {
  out += "[" + path + "]" + (key.isProtected ? " protected" : "") + "\n";
  for (const auto& value : key.values) {
    out += value.name.empty() ? std::string("@") : "\"" + Escape(value.name, false) + "\"";
    out += "=" + DataText(value) + "\n";
  }
  for (const auto& child : key.children) SerialiseKey(*child, path + "\\" + Escape(child->name, true), out);
}

// Parses "type)" after "str(" or "hex("; returns the position after ')' or npos.
std::size_t ParseType(std::string_view text, std::size_t at, DWORD& type) {
  std::size_t close = text.find(')', at);
  if (close == std::string_view::npos || close == at || close - at > 10) return std::string_view::npos;
  unsigned long long number = 0;
  for (std::size_t i = at; i < close; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::string_view::npos;
    number = number * 10 + static_cast<unsigned>(text[i] - '0');
  }
  if (number > 0xFFFFFFFFull) return std::string_view::npos;
  type = static_cast<DWORD>(number);
  return close + 1;
}

bool ParseData(std::string_view text, DWORD& type, std::string& data) {
  if (text.substr(0, 6) == "dword:") {
    std::string_view digits = text.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    DWORD number = 0;
    for (char ch : digits) {
      if (HexDigit(ch) < 0) return false;
      number = number * 16 + static_cast<DWORD>(HexDigit(ch));
    }
    type = 4;
    data.clear();
    for (int i = 0; i < 4; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
    return true;
  }
  if (text.substr(0, 4) == "str(") {
    std::size_t after = ParseType(text, 4, type);
    if (after == std::string_view::npos || text.substr(after, 2) != ":\"" || text.size() < after + 3 ||
        text.back() != '"')
      return false;
    data = Unescape(text.substr(after + 2, text.size() - after - 3));
    data += '\0';
    return true;
  }
  if (text.substr(0, 4) == "hex(") {
    std::size_t after = ParseType(text, 4, type);
    if (after == std::string_view::npos || text.substr(after, 1) != ":") return false;
    data.clear();
    std::string_view bytes = text.substr(after + 1);
    for (std::size_t i = 0; i < bytes.size();) {
      if (i + 1 >= bytes.size() || HexDigit(bytes[i]) < 0 || HexDigit(bytes[i + 1]) < 0) return false;
      data += static_cast<char>(HexDigit(bytes[i]) * 16 + HexDigit(bytes[i + 1]));
      i += 2;
      if (i < bytes.size() && bytes[i++] != ',') return false;
    }
    return true;
  }
  return false;
}

// The key a "[path]" line names, made when missing; null when the line is refused.
RegistryStore::Key* ParseKeyLine(std::string_view line, std::vector<std::unique_ptr<RegistryStore::Key>>& roots) {
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return nullptr;
  std::string_view path = line.substr(1, close - 1);
  std::string_view rest = line.substr(close + 1);
  std::size_t slash = path.find('\\');
  std::string_view rootName = path.substr(0, slash);
  RegistryStore::Key* key = nullptr;
  for (auto& root : roots) {
    if (SameRegistryName(root->name, rootName)) key = root.get();
  }
  // The names are checked before any key is made, so that a refused line leaves no trace.
  std::vector<std::string> names;
  while (key && slash != std::string_view::npos) {
    std::size_t next = path.find('\\', slash + 1);
    std::string name = Unescape(path.substr(slash + 1, next == std::string_view::npos ? next : next - slash - 1));
    if (!name.empty() && !RegistryStore::IsKeyName(name)) {
      std::fprintf(stderr, "registry: key [%s] skipped: a name holds a NUL or a backslash\n",
                   std::string(path.substr(0, 200)).c_str());
      return nullptr;
    }
    if (!name.empty()) names.push_back(std::move(name));
    if (names.size() > RegistryStore::kMaxDepth) {
      std::fprintf(stderr, "registry: key [%s...] skipped: more than %zu levels deep\n",
                   std::string(path.substr(0, 80)).c_str(), RegistryStore::kMaxDepth);
      return nullptr;
    }
    slash = next;
  }
  for (std::size_t i = 0; key && i < names.size(); ++i) {
    RegistryStore::Key* child = key->Child(names[i]);
    key = child ? child : key->AddChild(names[i]);
  }
  if (key && rest == " protected") key->isProtected = true;
  return key;
}

void ParseValueLine(std::string_view line, RegistryStore::Key& key) {
  std::string name;
  std::size_t equals = 0;
  if (line[0] == '@') {
    equals = 1;
  } else {
    std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) return;
    name = Unescape(line.substr(1, close - 1));
    equals = close + 1;
  }
  if (equals >= line.size() || line[equals] != '=') return;
  DWORD type = 0;
  std::string data;
  if (ParseData(line.substr(equals + 1), type, data)) key.SetValue(name, type, std::move(data));
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

bool RegistryStore::IsKeyName(std::string_view name) {
  return !name.empty() && name.find('\0') == std::string_view::npos && name.find('\\') == std::string_view::npos;
}

// ---- Key ----

RegistryStore::Key* RegistryStore::Key::Child(std::string_view childName) const {
  for (const auto& child : children) {
    if (SameRegistryName(child->name, childName)) return child.get();
  }
  return nullptr;
}

RegistryStore::Value* RegistryStore::Key::FindValue(std::string_view valueName) {
  for (auto& value : values) {
    if (SameRegistryName(value.name, valueName)) return &value;
  }
  return nullptr;
}

RegistryStore::Key* RegistryStore::Key::AddChild(std::string_view childName) {
  if (!IsKeyName(childName)) return nullptr;
  children.push_back(std::make_unique<Key>());
  children.back()->name = std::string(childName);
  return children.back().get();
}

void RegistryStore::Key::SetValue(std::string_view valueName, DWORD type, std::string data) {
  Value* value = FindValue(valueName);
  if (!value) {
    values.push_back(Value{std::string(valueName), type, {}});
    value = &values.back();
  }
  value->type = type;
  value->data = std::move(data);
}

bool RegistryStore::Key::RemoveValue(std::string_view valueName) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (SameRegistryName(it->name, valueName)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

bool RegistryStore::Key::RemoveChild(const Key* child) {
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->get() == child) {
      children.erase(it);
      return true;
    }
  }
  return false;
}

// ---- RegistryStore ----

RegistryStore& RegistryStore::Instance() {
  static RegistryStore store;
  return store;
}

RegistryStore::RegistryStore() { ResetRoots(); }

void RegistryStore::ResetRoots() {
  m_roots.clear();
  for (const char* name : kRootNames) {
    m_roots.push_back(std::make_unique<Key>());
    m_roots.back()->name = name;
  }
}

std::string RegistryStore::FilePath() { return Folder() + "/registry.txt"; }

RegistryStore::Key* RegistryStore::Root(HKEY root) {
  auto value = reinterpret_cast<std::uintptr_t>(root);
  if (value < 0x80000000u || value > 0x80000002u) return nullptr;
  return m_roots[value - 0x80000000u].get();
}

RegistryStore::Stamp RegistryStore::StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Stamp{};
  return Stamp{true, static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
               static_cast<long long>(info.st_size), static_cast<unsigned long long>(info.st_ino)};
}

void RegistryStore::Refresh() {
  std::string path = FilePath();
  if (m_loaded && path == m_loadedPath && StampOf(path) == m_loadedStamp) return;
  Load();
}

void RegistryStore::Load() {
  m_loadedPath = FilePath();
  m_loadedStamp = StampOf(m_loadedPath);
  m_loaded = true;
  ResetRoots();
  FILE* file = std::fopen(m_loadedPath.c_str(), "rb");
  if (!file) return;
  std::string text;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  Parse(text, m_roots);
}

std::string RegistryStore::Serialise(const std::vector<std::unique_ptr<Key>>& roots) {
  std::string out = kHeader;
  for (const auto& root : roots) {
    if (!root->children.empty() || !root->values.empty()) SerialiseKey(*root, root->name, out);
  }
  return out;
}

void RegistryStore::Parse(std::string_view text, std::vector<std::unique_ptr<Key>>& roots) {
  Key* current = nullptr;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      current = ParseKeyLine(line, roots);
    } else if (current) {
      ParseValueLine(line, *current);
    }
  }
}

RegistryStore::ChangeLock::ChangeLock(RegistryStore& store) {
  std::string path = store.FilePath();
  std::string folder = path.substr(0, path.rfind('/'));
  if (!MakeFolders(folder)) return;
  m_fd = ::open((folder + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

RegistryStore::ChangeLock::~ChangeLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

bool RegistryStore::Commit() {
  if (WriteFile(Serialise(m_roots))) return true;
  Load();  // the file still holds the state before the change
  return false;
}

bool RegistryStore::WriteFile(const std::string& text) {
  std::string path = FilePath();
  std::string folder = path.substr(0, path.rfind('/'));
  if (!MakeFolders(folder)) return false;
  std::string temporary = path + ".tmp." + std::to_string(::getpid());
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; written && done < text.size();) {
    ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    written = put > 0;
    if (written) done += static_cast<std::size_t>(put);
  }
  written = written && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  m_loadedPath = path;
  m_loadedStamp = StampOf(path);
  m_loaded = true;
  return true;
}

}  // namespace platform
