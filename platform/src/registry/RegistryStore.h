#pragma once
// The program-wide registry tree and the file it is kept in (see platform/registry.h).

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

class RegistryStore {
public:
  struct Value {
    std::string name;  // "" is the key's default value
    DWORD type{0};
    std::string data;  // the bytes as stored
  };
  struct Key {
    std::string name;
    bool isProtected{false};  // opening it for more than reading is refused
    std::vector<Value> values;
    std::vector<std::unique_ptr<Key>> children;  // in creation order

    Key* Child(std::string_view childName) const;
    Value* FindValue(std::string_view valueName);
    // Null when childName cannot name a key (see IsKeyName).
    Key* AddChild(std::string_view childName);
    void SetValue(std::string_view valueName, DWORD type, std::string data);
    bool RemoveValue(std::string_view valueName);
    bool RemoveChild(const Key* child);
  };

  // Levels of keys below a root, as the system allows; deeper keys are never made, so every walk
  // of a tree ends.
  static constexpr std::size_t kMaxDepth = 512;
  // Whether name can name a key: not empty, and no NUL or backslash, which would make the key
  // its own child once its name is read back or put in a path.
  static bool IsKeyName(std::string_view name);

  // The one store of the program.
  static RegistryStore& Instance();

  // Held for the whole of every registry call.
  std::mutex& Mutex() { return m_mutex; }
  // Brings the tree up to date with the file (re-reading it when it or PLATFORM_HOME changed).
  void Refresh();
  // Holds the store's lock file for a change (read, modify, write) so that another process's
  // change in between is not lost; a store whose folder cannot be made goes unlocked and its
  // write fails later.
  class ChangeLock {
  public:
    explicit ChangeLock(RegistryStore& store);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

  private:
    int m_fd{-1};
  };
  // The root key for HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; null otherwise.
  Key* Root(HKEY root);
  // Writes the whole tree to the file atomically. On failure the tree is read back from the
  // file, dropping the change, and false is returned.
  bool Commit();
  std::string FilePath();

  // The text form of a tree of roots, and the roots read back from it (bad lines are skipped; a
  // key whose name cannot be a key's or that lies too deep is skipped with a line on stderr).
  static std::string Serialise(const std::vector<std::unique_ptr<Key>>& roots);
  static void Parse(std::string_view text, std::vector<std::unique_ptr<Key>>& roots);

private:
  RegistryStore();
  struct Stamp {
    bool exists{false};
    long long mtimeNs{0};
    long long size{0};
    unsigned long long inode{0};
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const std::string& path);
  void ResetRoots();
  void Load();
  bool WriteFile(const std::string& text);

  std::mutex m_mutex;
  std::vector<std::unique_ptr<Key>> m_roots;  // classes root, current user, local machine
  std::string m_loadedPath;                   // the file the tree was read from
  Stamp m_loadedStamp;
  bool m_loaded{false};
};

// True when two names are equal regardless of the case of ASCII letters.
bool SameRegistryName(std::string_view a, std::string_view b);

}  // namespace platform
