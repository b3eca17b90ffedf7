// Arbitrary contents of the three settings files through every reader, then a write that must
// read back. The first byte picks the file and the field written; the rest is the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <platform/files.h>

#include "orvanta/app/SettingFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return 0;
  static platform::TempDir folder;
  static const char* const kNames[] = {"setting.ini", "AD.ini", "ChatMacro.Ini"};
  const std::string path = folder / kNames[data[0] % 3];
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);
  }
  CSettingFiles files(CString(folder.Path()));
  for (int field = 0; field < CSettingFiles::kSettingFields; ++field)
    files.ReadSetting(field);
  BOOL maximized = FALSE;
  int width = 0;
  int height = 0;
  CSettingFiles::ParseFrameSize(files.ReadSetting(0), maximized, width, height);
  if (width <= 0 || height <= 0)
    __builtin_trap();
  CAdvertSlots slots;
  files.LoadAdverts(slots);
  if (slots.m_nCount < 0 || slots.m_nCount > CAdvertSlots::kMaxBanners)
    __builtin_trap();
  files.ReadAdvertStamp();
  files.LoadChatMacros();

  const int field = (data[0] / 3) % CSettingFiles::kSettingFields;
  if (files.WriteSetting(field, "|12|34|", "|800|600|") && files.ReadSetting(field) != "|12|34|")
    __builtin_trap();
  std::remove(path.c_str());
  std::remove((folder / "setting.ini").c_str());
  return 0;
}
