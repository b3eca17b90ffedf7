#pragma once
// Saves made to fail the two ways a person meets: a disk that fills up, and a program killed
// while it writes. SmallDisk mounts a small tmpfs where the test may (as root), else lets no file
// grow while the save runs; KilledWhileSaving kills a child at its first write past a limit.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"

namespace testsupport {

inline std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void PutFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The names in folder other than "." and "..", to see that no temporary was left behind.
inline std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  CFileFind find;
  BOOL more = find.FindFile((folder + "/*").c_str());
  while (more) {
    more = find.FindNextFile();
    if (!find.IsDots()) names.push_back(find.GetFileName().str());
  }
  return names;
}

class SmallDisk {
public:
  SmallDisk() {
    m_mounted = ::mount("tmpfs", m_folder.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0;
  }
  ~SmallDisk() {
    if (m_mounted) ::umount2(m_folder.Path().c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  std::string Path() const { return m_folder.Path(); }
  std::string operator/(const std::string& name) const { return m_folder / name; }
  // True on a real tmpfs, false where writes are only refused (EFBIG) while the disk is "full".
  bool Mounted() const { return m_mounted; }

  // Runs step with no byte left on the disk, then frees the space again; step's result.
  bool WhileFull(const std::function<bool()>& step) {
    return m_mounted ? WhileFilled(step) : WhileNoFileGrows(step);
  }

private:
  bool WhileFilled(const std::function<bool()>& step) {
    const std::string filler = m_folder / ".filler";
    {
      std::ofstream out(filler, std::ios::binary);
      const std::string block(4096, 'x');
      while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
      }
    }
    // The last partial block, so that not even one byte fits.
    {
      std::ofstream out(filler, std::ios::binary | std::ios::app);
      while (out.put('x') && out.flush()) {
      }
    }
    const bool result = step();
    ::unlink(filler.c_str());
    return result;
  }

  static bool WhileNoFileGrows(const std::function<bool()>& step) {
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit none = old;
    none.rlim_cur = 0;
    struct sigaction ignore{}, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);
    ::setrlimit(RLIMIT_FSIZE, &none);
    const bool result = step();
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::sigaction(SIGXFSZ, &previous, nullptr);
    return result;
  }

  platform::TempDir m_folder;
  bool m_mounted{false};
};

// Runs save in a child process that is killed (SIGXFSZ) by its first write that would take any
// file past limit bytes, as a kill in the middle of the save; true when it was killed so. The
// child does nothing else: whatever save changed on the disk is all the parent sees.
inline bool KilledWhileSaving(const std::function<bool()>& save, rlim_t limit) {
  const pid_t child = ::fork();
  if (child == 0) {
    rlimit small{limit, limit};
    ::signal(SIGXFSZ, SIG_DFL);
    ::setrlimit(RLIMIT_FSIZE, &small);
    save();
    ::_exit(0);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ;
}

// The steps a whole-file save goes through, on a disk of its own whose file name first holds
// other bytes: a full disk and then a kill halfway leave those bytes as they were (and the full
// disk leaves no other file), then the same save writes more than the kill's limit.
inline void ExpectSaveKeepsTheOldFile(const std::string& name, const std::function<bool(const std::string& path)>& save) {
  SCOPED_TRACE(name);
  SmallDisk disk;
  const std::string path = disk / name;
  const std::string old = "the file as it stood before";
  PutFileBytes(path, old);
  EXPECT_FALSE(disk.WhileFull([&] { return save(path); }));
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(FolderNames(disk.Path()), std::vector<std::string>{name});
  constexpr rlim_t kLimit = 64;
  EXPECT_TRUE(KilledWhileSaving([&] { return save(path); }, kLimit));
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_TRUE(save(path));
  EXPECT_GT(FileBytes(path).size(), kLimit);
}

}  // namespace testsupport
