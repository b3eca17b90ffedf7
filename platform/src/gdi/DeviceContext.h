#pragma once
// The state behind an HDC: what is selected, colours, modes, mapping, clipping, and where its
// pixels live (a window's surface, a bitmap, a printer page or the screen).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GdiObjects.h"
#include "Region.h"

namespace platform::gdi {

template <class T>
struct Selected {
  std::uintptr_t handle{0};
  std::shared_ptr<T> data;
};

struct DcState {
  Selected<PenData> pen;
  Selected<BrushData> brush;
  Selected<FontData> font;
  Selected<BitmapData> bitmap;  // memory contexts only
  Selected<PaletteData> palette;
  COLORREF textColor{RGB(0, 0, 0)};
  COLORREF bkColor{RGB(255, 255, 255)};
  int bkMode{OPAQUE};
  int rop2{R2_COPYPEN};
  UINT textAlign{TA_LEFT | TA_TOP};
  int mapMode{MM_TEXT};
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  int stretchMode{BLACKONWHITE};
  int polyFillMode{ALTERNATE};
  int graphicsMode{GM_COMPATIBLE};
  std::optional<Region> clip;  // device coordinates
  POINT current{0, 0};         // logical current position
  POINT brushOrg{0, 0};
};

// Pages of a print job, written as PNG files named <prefix><page number>.png.
struct PrintJob {
  std::string prefix;
  Surface page;
  int pagesStarted{0};
  bool inDoc{false};
  bool inPage{false};
  std::vector<std::string> written;
};

// Where a context's pixels are now, in surface coordinates.
struct Target {
  Surface* surface{nullptr};
  POINT origin{0, 0};     // device (0, 0) in the surface
  RECT clip{0, 0, 0, 0};  // what the context may touch, surface coordinates
  bool mono{false};
};

struct DeviceContext : Object {
  enum class Type { Window, Memory, Printer, Screen };
  explicit DeviceContext(Type t);
  ~DeviceContext() override;

  // Current pixels; surface is null when there is nowhere to draw.
  Target CurrentTarget();
  // Device pixels per inch.
  int Dpi() const { return dpi; }
  POINT ToDevice(POINT logical) const;
  POINT ToLogical(POINT device) const;
  RECT ToDevice(const RECT& logical) const;  // normalised
  // Device length of a logical width / height (absolute, at least 0).
  int WidthToDevice(int logical) const;
  int HeightToDevice(int logical) const;
  // Selects a bitmap; false when it is already selected elsewhere or this is not a memory context.
  bool SelectBitmap(std::uintptr_t handle, std::shared_ptr<BitmapData> bmp);
  // Replaces the current state (RestoreDC), keeping the bitmap selection counts right.
  void ReplaceState(DcState next);
  // The clip of the current target: target clip, paint rectangle and clip region together.
  Region ClipRegion(const Target& t) const;
  const PaletteData* Palette() const { return state.palette.data.get(); }
  std::uint32_t Pixel(COLORREF c) const { return ToPixel(c, Palette()); }

  Type type;
  HWND window{nullptr};
  bool nonClient{false};
  std::optional<RECT> paintRect;  // device coordinates (CPaintDC)
  int dpi{96};
  SIZE pageSize{0, 0};  // printer page in pixels
  SIZE paperMm{0, 0};   // printer paper in millimetres
  DcState state;
  std::vector<DcState> saved;
  std::unique_ptr<PrintJob> print;
  int lockDepth{0};  // nesting of TargetLock
  bool drawnWhileLocked{false};  // a writing TargetLock was held: the section's bits need the pixels back
};

std::shared_ptr<DeviceContext> FindDC(const void* hdc);
// Creates a context of the given type with default selections; returns its handle.
HDC NewDC(DeviceContext::Type type, std::shared_ptr<DeviceContext>* out = nullptr);
// Handle and data of the 1x1 monochrome bitmap every memory context starts with.
Selected<BitmapData> DefaultBitmap();
// The program-wide screen surface (SM_CXSCREEN x SM_CYSCREEN), created on first use.
Surface& ScreenSurface();

}  // namespace platform::gdi
