// Printer contexts, and snapshots of what a window or context shows.
#include <cmath>
#include <cstdio>

#include "DeviceContext.h"
#include "Raster.h"
#include "platform/files.h"
#include "platform/gdi.h"

using namespace platform::gdi;

namespace {

std::shared_ptr<DeviceContext> Printer(HDC h) {
  std::shared_ptr<DeviceContext> dc = FindDC(h);
  return dc && dc->type == DeviceContext::Type::Printer ? dc : nullptr;
}

}  // namespace

HDC platform::CreatePrinterDC(const std::string& outputPrefix, int dpi, SIZE paperMm) {
  if (dpi <= 0 || paperMm.cx <= 0 || paperMm.cy <= 0) return nullptr;
  std::shared_ptr<DeviceContext> dc;
  HDC h = NewDC(DeviceContext::Type::Printer, &dc);
  dc->dpi = dpi;
  dc->paperMm = paperMm;
  dc->pageSize = SIZE{static_cast<LONG>(std::lround(paperMm.cx * dpi / 25.4)),
                      static_cast<LONG>(std::lround(paperMm.cy * dpi / 25.4))};
  dc->print->prefix = NativePath(outputPrefix.c_str());
  return h;
}

std::vector<std::string> platform::PrintedPages(HDC printer) {
  std::shared_ptr<DeviceContext> dc = Printer(printer);
  return dc ? dc->print->written : std::vector<std::string>{};
}

int CDC::StartDoc(LPCSTR documentName) {
  DOCINFO info{sizeof(DOCINFO), documentName, nullptr, nullptr, 0};
  return StartDoc(&info);
}

int CDC::StartDoc(DOCINFO* info) {
  std::shared_ptr<DeviceContext> dc = Printer(m_hDC);
  if (!dc || !info || dc->print->inDoc) return -1;
  dc->print->inDoc = true;
  dc->print->pagesStarted = 0;
  dc->print->written.clear();
  return 1;
}

int CDC::StartPage() {
  std::shared_ptr<DeviceContext> dc = Printer(m_hDC);
  if (!dc || !dc->print->inDoc || dc->print->inPage) return -1;
  dc->print->page = platform::Surface(dc->pageSize.cx, dc->pageSize.cy);
  dc->print->inPage = true;
  ++dc->print->pagesStarted;
  return 1;
}

int CDC::EndPage() {
  std::shared_ptr<DeviceContext> dc = Printer(m_hDC);
  if (!dc || !dc->print->inPage) return -1;
  PrintJob& job = *dc->print;
  job.inPage = false;
  std::string path = job.prefix + std::to_string(job.pagesStarted) + ".png";
  bool saved = platform::SaveSurfacePng(job.page, path.c_str());
  job.page = platform::Surface();
  if (!saved) return -1;
  job.written.push_back(path);
  return 1;
}

int CDC::EndDoc() {
  std::shared_ptr<DeviceContext> dc = Printer(m_hDC);
  if (!dc || !dc->print->inDoc) return -1;
  int result = 1;
  if (dc->print->inPage) result = EndPage();
  dc->print->inDoc = false;
  return result;
}

int CDC::AbortDoc() {
  std::shared_ptr<DeviceContext> dc = Printer(m_hDC);
  if (!dc || !dc->print->inDoc) return -1;
  PrintJob& job = *dc->print;
  // An aborted job prints nothing: the pages already written go too.
  for (const std::string& path : job.written) std::remove(path.c_str());
  job.written.clear();
  job.inDoc = job.inPage = false;
  job.page = platform::Surface();
  return 1;
}

namespace platform {
namespace {

bool CopyArea(const Surface& from, const RECT& area, Surface& out) {
  RECT r{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, from.width),
         std::min<LONG>(area.bottom, from.height)};
  if (r.right <= r.left || r.bottom <= r.top) return false;
  Surface s(r.right - r.left, r.bottom - r.top);
  for (int y = r.top; y < r.bottom; ++y) { std::copy(from.Row(y) + r.left, from.Row(y) + r.right, s.Row(y - r.top)); }
  out = std::move(s);
  return true;
}

}  // namespace

bool SaveSurfacePng(HWND window, const char* path) {
  PaintTarget t = GetPaintTarget(window, true);
  Surface area;
  return t.surface && CopyArea(*t.surface, t.clip, area) && SaveSurfacePng(area, path);
}

bool CopyDCPixels(CDC* cdc, Surface& out) {
  std::shared_ptr<DeviceContext> dc = cdc ? FindDC(cdc->GetSafeHdc()) : nullptr;
  if (!dc) return false;
  TargetLock lock(*dc, TargetLock::Access::Read);
  if (!lock) return false;
  return CopyArea(*lock.target().surface, lock.target().clip, out);
}

bool SaveDCPng(CDC* dc, const char* path) {
  Surface area;
  return CopyDCPixels(dc, area) && SaveSurfacePng(area, path);
}

}  // namespace platform
