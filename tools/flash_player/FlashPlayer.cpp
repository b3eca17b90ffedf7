#include "flash_player/FlashPlayer.h"

#include "platform/gdi_dc.h"

namespace {
constexpr DWORD kVersion = 0x00010000;
}

BEGIN_DISPATCH_MAP(CFlashPlayerCtrl, COleControl)
  DISP_PROPERTY_EX_ID(CFlashPlayerCtrl, "Movie", kFlashMovie, GetMovie, SetMovie, VT_BSTR)
  DISP_FUNCTION_ID(CFlashPlayerCtrl, "Play", kFlashPlay, Play, VT_EMPTY, VTS_NONE)
  DISP_PROPERTY_EX_ID(CFlashPlayerCtrl, "BackgroundColor", kFlashBackgroundColor, GetBackgroundColor,
                      SetBackgroundColor, VT_I4)
  DISP_FUNCTION_ID(CFlashPlayerCtrl, "IsPlaying", kFlashIsPlaying, IsPlaying, VT_I2, VTS_NONE)
  DISP_FUNCTION_ID(CFlashPlayerCtrl, "RaiseFSCommand", kFlashRaiseFSCommand, RaiseFSCommand, VT_EMPTY,
                   VTS_BSTR VTS_BSTR)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CFlashPlayerCtrl, COleControl)
  EVENT_CUSTOM_ID("FSCommand", kFlashFSCommandEvent, RaiseFSCommand, VTS_BSTR VTS_BSTR)
END_EVENT_MAP()

CFlashPlayerCtrl::CFlashPlayerCtrl() {
  InitializeIIDs(&DIID_FlashPlayer, &DIID_FlashPlayerEvents);
  SetInitialSize(320, 240);
}

BSTR CFlashPlayerCtrl::GetMovie() { return Cp949ToBstr(m_movie.GetString()); }

void CFlashPlayerCtrl::SetMovie(BSTR path) {
  m_movie = BstrToCp949(path);
  SetModifiedFlag();
  InvalidateControl();
}

void CFlashPlayerCtrl::SetBackgroundColor(LONG color) {
  m_backgroundColor = color;
  SetModifiedFlag();
  InvalidateControl();
}

void CFlashPlayerCtrl::Play() { m_playing = true; }

void CFlashPlayerCtrl::RaiseFSCommand(BSTR command, BSTR args) {
  FireEvent(kFlashFSCommandEvent, EVENT_PARAM(VTS_BSTR VTS_BSTR), BstrToCp949(command).GetString(),
            BstrToCp949(args).GetString());
}

void CFlashPlayerCtrl::OnDraw(CDC* dc, const CRect& bounds, const CRect&) {
  dc->FillSolidRect(&bounds, ToColorRef(m_backgroundColor));
  CString name = MovieName(m_movie);
  if (name.IsEmpty()) return;
  // The name in black or white, whichever stands out from the background.
  LONG c = m_backgroundColor;
  int lightness = ((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF);
  dc->SetTextColor(lightness > 1280 ? RGB(0, 0, 0) : RGB(255, 255, 255));
  dc->SetBkMode(TRANSPARENT);
  CRect text = bounds;
  dc->DrawText(name, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CFlashPlayerCtrl::DoPropExchange(CPropExchange* px) {
  ExchangeVersion(px, kVersion);
  COleControl::DoPropExchange(px);
}

CString CFlashPlayerCtrl::MovieName(const CString& path) {
  const char* text = path.GetString();
  const char* name = text;
  for (const char* p = text; *p; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  return CString(name);
}

COLORREF CFlashPlayerCtrl::ToColorRef(LONG rgb) {
  auto bits = static_cast<DWORD>(rgb);
  return RGB((bits >> 16) & 0xFF, (bits >> 8) & 0xFF, bits & 0xFF);
}
