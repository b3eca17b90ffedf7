#pragma once
// Drawing: device contexts, drawing objects, DIBs, text, system colours and metrics, printer
// pages, PNG snapshots of what a window or context shows, and bitmap resources of a module.

#include <string>
#include <vector>

#include "platform/gdi_dc.h"
#include "platform/gdi_defs.h"
#include "platform/gdi_objects.h"
#include "platform/surface.h"

namespace platform {

class ResourceModule;

// Writes a surface as an 8-bit RGB PNG file; false when the file cannot be written.
bool SaveSurfacePng(const Surface& surface, const char* path);
// Writes what a window shows (its part of its top-level window's surface, frame included).
bool SaveSurfacePng(HWND window, const char* path);
// Writes what a context shows: a memory context's bitmap, a window context's area, a printer's page.
bool SaveDCPng(CDC* dc, const char* path);
// Reads a PNG file into a surface (alpha is dropped); false when it is not a readable PNG.
bool LoadPng(const char* path, Surface& out);
// Copies what a context shows into out (same areas as SaveDCPng); false when it shows nothing.
bool CopyDCPixels(CDC* dc, Surface& out);

// A printer context drawing on raster pages of paperMm at dpi; EndPage writes page n (from 1) of
// each document to "<outputPrefix><n>.png". Delete it with DeleteDC.
HDC CreatePrinterDC(const std::string& outputPrefix, int dpi = 300, SIZE paperMm = SIZE{210, 297});
// Files written by a printer context so far (AbortDoc removes those of the aborted document).
std::vector<std::string> PrintedPages(HDC printer);

// Registers bitmap id of a module: pixels as 32-bit colour, or a DIB (copied, format kept).
void AddBitmapResource(ResourceModule& module, UINT id, const Surface& pixels);
bool AddBitmapResource(ResourceModule& module, UINT id, const BITMAPINFO* info, const void* bits);
// Registers a PNG file as bitmap id; false when the file is not a readable PNG.
bool AddBitmapResourcePng(ResourceModule& module, UINT id, const char* path);

// Gives the window side the hooks that make DCs on window surfaces (done at load time; calling
// it again is harmless).
void InstallWindowDcHooks();

}  // namespace platform
