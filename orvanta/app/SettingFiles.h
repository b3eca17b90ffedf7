#pragma once
// CSettingFiles: the client's three small text files in its working folder. "setting.ini" holds
// the frame size and the column widths of four lists ("/" f0 "/" ... "/" f4 "/"); "AD.ini" the
// advert banners as "/"-separated triples (image, link, stamp); "ChatMacro.Ini" the eight chat
// phrases of F2 to F9, each led by a line feed. Every file is read and written whole.

#include <array>
#include <vector>

#include <platform/strings.h>
#include <platform/types.h>

#include "orvanta/app/AdvertSlots.h"

class CSettingFiles {
public:
  static constexpr int kSettingFields = 5;
  static constexpr int kChatMacros = 8;
  static constexpr int kDefaultWidth = 800;
  static constexpr int kDefaultHeight = 600;
  using ChatMacros = std::array<CString, kChatMacros>;

  // The files live in folder (the working folder by default).
  explicit CSettingFiles(const CString& folder = ".") : m_folder(folder) {}

  // Field 0..4 of "setting.ini"; "" when the file is missing or does not hold exactly five fields.
  CString ReadSetting(int field) const;
  // Replaces one field and writes the whole file anew (no old tail survives). A missing or
  // malformed file is rebuilt from the defaults, with presentSize as field 0. FALSE, file
  // untouched, when the field number is outside 0..4, text holds "/", or the file cannot be written.
  BOOL WriteSetting(int field, const CString& text, const CString& presentSize) const;
  // Field 0 as written: "fullsize" when maximised, else "|width|height|".
  static CString FormatFrameSize(BOOL maximized, int width, int height);
  // Reads field 0; an empty or malformed text gives 800x600, not maximised.
  static void ParseFrameSize(const CString& text, BOOL& maximized, int& width, int& height);
  // The built-in column widths of fields 1..4 ("" for any other field).
  static CString DefaultSetting(int field);

  // Fills slots with the first six triples of "AD.ini". FALSE, leaving slots as they were, when
  // the file is missing, empty or its field count is not a multiple of 3.
  BOOL LoadAdverts(CAdvertSlots& slots) const;
  // The greatest stamp among the banners whose slot number (characters 3 to 5 of the image name)
  // is 1..6; "00" when there is none.
  CString ReadAdvertStamp() const;

  // The eight phrases; the built-in ones when the file is missing or holds eight empty lines.
  ChatMacros LoadChatMacros() const;
  // Writes the phrases of the macro dialog anew (the built-in ones when all are empty) and puts
  // the phrases to keep in memory into kept. FALSE, file untouched, when it cannot be created.
  BOOL SaveChatMacros(const ChatMacros& edited, ChatMacros& kept) const;
  // Creates an empty phrase file when none exists; FALSE when it cannot be created.
  BOOL CreateChatMacroFileIfMissing() const;
  static ChatMacros BuiltInChatMacros();

  CString GetSettingPath() const { return PathOf("setting.ini"); }
  CString GetAdvertPath() const { return PathOf("AD.ini"); }
  CString GetChatMacroPath() const { return PathOf("ChatMacro.Ini"); }

private:
  CString PathOf(const char* name) const;
  // The five fields of "setting.ini"; false when the file is missing or malformed.
  bool ReadSettingFields(std::array<CString, kSettingFields>& fields) const;
  // The whole file up to its first NUL byte (and its first MiB); false when it cannot be read.
  static bool ReadWholeFile(const CString& path, CString& text);
  // Replaces path with text whole; false, the old file kept, on any failure.
  static bool WriteWholeFile(const CString& path, const CString& text);
  // The fields of "AD.ini" when it is usable (non-empty, a multiple of 3 fields).
  bool ReadAdvertFields(std::vector<CString>& fields) const;

  CString m_folder;
};
