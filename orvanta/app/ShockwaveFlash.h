#pragma once
// CShockwaveFlash: the start view's movie player, an outside control reached through its
// dispatch interface.

#include <platform/com.h>
#include <platform/olehost.h>
#include <platform/windows.h>

class CShockwaveFlash : public CWnd {
public:
  static constexpr CLSID kClassId = GuidFromText("{D27CDB6E-AE6D-11CF-96B8-444553540000}");
  // The class key whose presence means the movie control is installed.
  static constexpr const char* kClassKey = "CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";
  static constexpr DISPID kFSCommandEvent = 150;

  // The player's class is registered, so that it can be made.
  static BOOL IsInstalled();

  void SetMovie(LPCTSTR path);
  void SetBackgroundColor(long colour);
  void Play();
};
