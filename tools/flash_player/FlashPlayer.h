#pragma once
// The stand-in for the Flash player control that the start screen hosts: it keeps the movie's
// path and the background colour, accepts Play, paints the movie's file name on its background
// (it never reads the movie) and raises FSCommand when asked to, so that tests can play the
// movie's part. Its registration under its class identifier is what "installed" means.

#include "platform/olecontrol.h"

constexpr CLSID CLSID_FlashPlayer = GuidFromText("{D27CDB6E-AE6D-11CF-96B8-444553540000}");
constexpr IID DIID_FlashPlayer = GuidFromText("{8E3C51A0-47D2-4B1E-A5F6-2C9B0D4E7A10}");
constexpr IID DIID_FlashPlayerEvents = GuidFromText("{8E3C51A1-47D2-4B1E-A5F6-2C9B0D4E7A10}");
constexpr const char* kFlashPlayerProgId = "FlashStandIn.Player.1";

// Members of the player's dispatch interface.
enum FlashPlayerDispid : LONG {
  kFlashMovie = 102,            // BSTR: path of the movie file
  kFlashPlay = 112,             // method: starts playing
  kFlashBackgroundColor = 123,  // long: 0xRRGGBB behind the movie
  kFlashIsPlaying = 300,        // short: 1 after Play
  kFlashRaiseFSCommand = 301,   // RaiseFSCommand(BSTR command, BSTR args): fires FSCommand
};
// FSCommand (BSTR command, BSTR args): the movie's command to its container.
constexpr LONG kFlashFSCommandEvent = 150;

class CFlashPlayerCtrl final : public COleControl {
public:
  CFlashPlayerCtrl();

  BSTR GetMovie();
  // Keeps the path and repaints; the file is not read.
  void SetMovie(BSTR path);
  LONG GetBackgroundColor() { return m_backgroundColor; }
  void SetBackgroundColor(LONG color);
  void Play();
  SHORT IsPlaying() { return m_playing ? 1 : 0; }
  // What the movie would do: fires FSCommand (command, args).
  void RaiseFSCommand(BSTR command, BSTR args);

  // The background, and the movie's file name centred on it.
  void OnDraw(CDC* dc, const CRect& bounds, const CRect& invalid) override;
  void DoPropExchange(CPropExchange* px) override;

  // The last part of a path, after its last '/' or '\'.
  static CString MovieName(const CString& path);
  // A 0xRRGGBB colour as a GDI colour.
  static COLORREF ToColorRef(LONG rgb);

protected:
  DECLARE_DISPATCH_MAP()
  DECLARE_EVENT_MAP()

private:
  CString m_movie;
  LONG m_backgroundColor{0xFFFFFF};
  bool m_playing{false};
};
