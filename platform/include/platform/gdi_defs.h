#pragma once
// Drawing constants, structures and the handle-level drawing calls, with Win32's names and values.

#include "platform/geometry.h"
#include "platform/types.h"

using LPSIZE = SIZE*;

// ---- raster operations (three operands: pattern, source, destination) ----
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// ---- two-operand mixes for pens and brushes (SetROP2) ----
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
              R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
              R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;

// ---- stock objects ----
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              OEM_FIXED_FONT = 10, ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13,
              DEVICE_DEFAULT_FONT = 14, DEFAULT_PALETTE = 15, SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17;

// ---- object types (GetObjectType) ----
constexpr DWORD OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_PAL = 5, OBJ_FONT = 6, OBJ_BITMAP = 7,
                OBJ_REGION = 8, OBJ_MEMDC = 10;

// ---- pens and brushes ----
constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
              PS_INSIDEFRAME = 6;
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_PATTERN = 3;

// ---- modes ----
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
              MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE, STRETCH_ORSCANS = WHITEONBLACK, STRETCH_DELETESCANS = COLORONCOLOR,
              STRETCH_HALFTONE = HALFTONE;
constexpr int ALTERNATE = 1, WINDING = 2;
constexpr int GM_COMPATIBLE = 1, GM_ADVANCED = 2;
constexpr DWORD MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3;

// ---- text ----
constexpr UINT TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
               TA_BOTTOM = 8, TA_BASELINE = 24;
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
               DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
               DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
               DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_WORD_ELLIPSIS = 0x40000,
               DT_HIDEPREFIX = 0x100000;
constexpr UINT ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4;
constexpr int FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
              FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, HANGUL_CHARSET = 129,
               OEM_CHARSET = 255;
constexpr BYTE OUT_DEFAULT_PRECIS = 0, CLIP_DEFAULT_PRECIS = 0, DEFAULT_QUALITY = 0, DEFAULT_PITCH = 0,
               FIXED_PITCH = 1, VARIABLE_PITCH = 2, FF_DONTCARE = 0, FF_ROMAN = 0x10, FF_SWISS = 0x20,
               FF_MODERN = 0x30;
constexpr int LF_FACESIZE = 32;

// ---- regions ----
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3, RGN_ERROR = ERROR;

// ---- bitmaps and DIBs ----
constexpr DWORD BI_RGB = 0, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 0x4;
constexpr UINT IMAGE_BITMAP = 0, IMAGE_ICON = 1;
constexpr UINT LR_DEFAULTCOLOR = 0x0, LR_MONOCHROME = 0x1, LR_LOADFROMFILE = 0x10, LR_CREATEDIBSECTION = 0x2000,
               LR_SHARED = 0x8000;

// ---- device capabilities ----
constexpr int DRIVERVERSION = 0, TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10,
              BITSPIXEL = 12, PLANES = 14, NUMCOLORS = 24, RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90,
              SIZEPALETTE = 104, PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112,
              PHYSICALOFFSETY = 113;
constexpr int DT_RASDISPLAY = 1, DT_RASPRINTER = 2;
constexpr int RC_BITBLT = 0x1, RC_BITMAP64 = 0x8, RC_DI_BITMAP = 0x80, RC_PALETTE = 0x100, RC_DIBTODEV = 0x200,
              RC_STRETCHBLT = 0x800, RC_STRETCHDIB = 0x2000;

// ---- edges, frame controls, states ----
constexpr UINT BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8;
constexpr UINT EDGE_RAISED = 0x5, EDGE_SUNKEN = 0xA, EDGE_ETCHED = 0x6, EDGE_BUMP = 0x9;
constexpr UINT BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = 0x3,
               BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000,
               BF_FLAT = 0x4000, BF_MONO = 0x8000;
constexpr UINT DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1, DFCS_BUTTONRADIOMASK = 0x2,
               DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10, DFCS_MENUARROW = 0x0,
               DFCS_MENUCHECK = 0x1, DFCS_MENUBULLET = 0x2, DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200,
               DFCS_CHECKED = 0x400, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;
constexpr UINT DST_COMPLEX = 0x0, DST_TEXT = 0x1, DST_PREFIXTEXT = 0x2, DST_ICON = 0x3, DST_BITMAP = 0x4;
constexpr UINT DSS_NORMAL = 0x0, DSS_UNION = 0x10, DSS_DISABLED = 0x20, DSS_MONO = 0x80, DSS_RIGHT = 0x8000;

// ---- system colours and metrics ----
constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
              COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
              COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
              COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
              COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
              COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
              COLOR_DESKTOP = COLOR_BACKGROUND, COLOR_3DFACE = COLOR_BTNFACE, COLOR_3DSHADOW = COLOR_BTNSHADOW,
              COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT, COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
              COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
              SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
              SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21,
              SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33,
              SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49,
              SM_CYSMICON = 50, SM_CXMAXIMIZED = 61, SM_CYMAXIMIZED = 62, SM_CXMENUCHECK = 71,
              SM_CYMENUCHECK = 72;

// Colour references that name a palette entry or ask for the nearest palette colour.
constexpr COLORREF PALETTEINDEX(WORD i) { return 0x01000000u | i; }
constexpr COLORREF PALETTERGB(BYTE r, BYTE g, BYTE b) { return 0x02000000u | RGB(r, g, b); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// ---- structures ----
struct LOGFONT {
  LONG lfHeight;  // < 0: character height, > 0: cell height, 0: default (logical units)
  LONG lfWidth;   // average character width, 0: natural
  LONG lfEscapement;  // tenths of a degree, counter-clockwise
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];  // code page 949
};
using LOGFONTA = LOGFONT;
using LPLOGFONT = LOGFONT*;

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using LPTEXTMETRIC = TEXTMETRIC*;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // x is the width
  COLORREF lopnColor;
};
struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;  // BS_PATTERN: the HBITMAP
};

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;  // DIB sections only
};
using LPBITMAP = BITMAP*;

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // > 0: bottom-up rows, < 0: top-down rows
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
using LPBITMAPINFOHEADER = BITMAPINFOHEADER*;
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];  // the colour table continues past the structure
};
using LPBITMAPINFO = BITMAPINFO*;
#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)
struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};
struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];  // continues past the structure
};
using LPLOGPALETTE = LOGPALETTE*;

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;   // 1 where the destination shows through
  HBITMAP hbmColor;  // black where the mask is 1
};

struct XFORM {
  float eM11, eM12, eM21, eM22, eDx, eDy;
};

struct DOCINFO {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;
  LPCSTR lpszDatatype;
  DWORD fwType;
};

// ---- objects ----
HGDIOBJ GetStockObject(int index);
// Deletes a pen, brush, font, bitmap, palette or region; stock objects are kept. An object still
// selected into a context stays alive there until it is deselected.
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONT, BITMAP or DIBSECTION, WORD entry count)
// into buffer; returns the bytes written, or the size needed when buffer is null; 0 on failure.
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
// A brush tiling a copy of the bitmap; a monochrome pattern takes the context's text and background colours.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirect(const LOGFONT* font);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, LPCSTR face);
// Monochrome when bitsPerPixel is 1, else 32-bit colour; bits (may be null) in GetBitmapBits' layout,
// read for 1 and 32 bits per pixel only (other depths start black). Null beyond 2^25 pixels.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A bitmap in the format of the context's surface (monochrome for a memory context holding a
// monochrome bitmap); a 1x1 monochrome bitmap when width or height is 0.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);

// ---- palettes (the display is true colour: realising selects nothing in hardware) ----
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE CreateHalftonePalette(HDC dc);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
// Returns the number of entries mapped into the system palette: always 0 on a true-colour display.
UINT RealizePalette(HDC dc);

// ---- regions ----
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(LPCRECT rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(LPCRECT rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// dest = a op b (RGN_COPY: a); returns NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, LPRECT box);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, LPCRECT rect);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// Gives the window a region; the system owns it from then on (the previous one is deleted).
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
// Copies the window's region into region; ERROR when the window has none.
int GetWindowRgn(HWND window, HRGN region);

// ---- icons drawn from a colour bitmap and a mask ----
HICON CreateIconIndirect(const ICONINFO* info);
BOOL DestroyIcon(HICON icon);
BOOL GetIconInfo(HICON icon, ICONINFO* info);

// ---- system colours, metrics and the screen ----
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
int GetSystemMetrics(int index);

// ---- bitmap resources of a module ----
HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name);
// IMAGE_BITMAP from the module's table (LR_CREATEDIBSECTION keeps the stored DIB format); other
// kinds and files give null.
HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags);

// ---- contexts ----
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
int SetMapMode(HDC dc, int mode);
int SetStretchBltMode(HDC dc, int mode);
int SetGraphicsMode(HDC dc, int mode);
BOOL ModifyWorldTransform(HDC dc, const XFORM* xform, DWORD mode);
BOOL SetWorldTransform(HDC dc, const XFORM* xform);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
int FillRect(HDC dc, LPCRECT rect, HBRUSH brush);
int FrameRect(HDC dc, LPCRECT rect, HBRUSH brush);
BOOL InvertRect(HDC dc, LPCRECT rect);
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);
BOOL DrawFocusRect(HDC dc, LPCRECT rect);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count);
BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
int SelectClipRgn(HDC dc, HRGN region);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, LPRECT rect);

// ---- device-independent bitmaps ----
// A device bitmap compatible with dc, filled from bits when init holds CBM_INIT.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
// A bitmap whose pixels live in *bits in the DIB's own layout; drawing on it updates them.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC dc, int xDest, int yDest, int widthDest, int heightDest, int xSrc, int ySrc, int widthSrc,
                  int heightSrc, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// Reads rows of bitmap in info's format; with bits null fills in info's header (and colour table).
int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
              UINT usage);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
