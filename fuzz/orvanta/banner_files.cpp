// "AD.ini", "setting.ini" and the "image" folder together, as the start-up and the main menu
// pane read them. The input is split at NUL bytes: AD.ini, setting.ini, then the names of the
// files in the image folder (one a line), then the bytes every one of those files holds. The
// banners are then rotated through twice, each loaded into the banner control.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <platform/files.h>

#include "orvanta/app/SettingFiles.h"
#include "orvanta/widgets/BannerRotation.h"
#include "orvanta/widgets/GifAnimCtrl.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

// Only plain names: the listing stands for files in one folder.
bool PlainName(const std::string& name) {
  if (name.empty() || name.size() > 40 || name == "." || name == "..")
    return false;
  for (char c : name)
    if (c == '/' || c == '\\' || c == '\0')
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 4)
      parts.emplace_back();
    else
      parts.back() += static_cast<char>(data[i]);
  }
  parts.resize(4);
  static platform::TempDir folder;
  const std::string images = folder / "image";
  ::mkdir(images.c_str(), 0700);
  Write(folder / "AD.ini", parts[0]);
  Write(folder / "setting.ini", parts[1]);
  std::vector<std::string> written;
  std::size_t from = 0;
  while (from <= parts[2].size() && written.size() < 8) {
    const std::size_t end = parts[2].find('\n', from);
    const std::string name = parts[2].substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (PlainName(name)) {
      Write(images + "/" + name, parts[3]);
      written.push_back(name);
    }
    if (end == std::string::npos)
      break;
    from = end + 1;
  }

  CSettingFiles files(CString(folder.Path()));
  BOOL maximised = FALSE;
  int width = 0;
  int height = 0;
  CSettingFiles::ParseFrameSize(files.ReadSetting(0), maximised, width, height);
  if (width <= 0 || height <= 0)
    __builtin_trap();
  CAdvertSlots slots;
  const BOOL found = files.LoadAdverts(slots);
  files.ReadAdvertStamp();
  CBannerRotation rotation;
  rotation.Reset(found ? slots.m_nCount : 0);
  CGifAnimCtrl banner;
  for (int step = 0; step < 2 * CBannerRotation::kMaxBanners + 1; ++step) {
    const int index = rotation.Advance();
    if (index < -1 || index >= CBannerRotation::kMaxBanners || index >= rotation.GetCount())
      __builtin_trap();
    if (index < 0)
      break;
    const CString name = slots.m_images[static_cast<std::size_t>(index)];
    if (banner.Load(CMainMenu::BannerPath(CString(folder.Path()), name)))
      banner.ComposeNextFrame();
  }
  for (const std::string& name : written)
    std::remove((images + "/" + name).c_str());
  return 0;
}
