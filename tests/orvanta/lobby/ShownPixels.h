#pragma once
// What a window shows on the X server, for the lobby's pictures: read back from the PNG written
// for people to look at, so that a test checks the very picture it leaves behind.

#include <cstdint>
#include <string>

#include <platform/controls.h>
#include <platform/display.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/windows.h>

namespace lobbytest {

// The pixels of window (its part of its top-level surface) after pending paints, also written to
// path; an empty surface when they cannot be read.
inline platform::Surface ShownPixels(HWND window, const std::string& path) {
  platform::PumpMessages();
  platform::display::Sync();
  platform::Surface shot;
  if (!platform::SaveSurfacePng(window, path.c_str()) || !platform::LoadPng(path.c_str(), shot))
    return platform::Surface();
  return shot;
}

// Pixels darker than mid-grey: the strokes of text and lines.
inline int DarkPixels(const platform::Surface& shot) {
  int dark = 0;
  for (const std::uint32_t pixel : shot.pixels)
    if (((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80)
      ++dark;
  return dark;
}

// Waits (pumping, at most a few seconds) until window shows at least minimum dark pixels; the
// count last seen.
inline int WaitForText(HWND window, const std::string& path, int minimum) {
  int dark = 0;
  platform::RunUntil([&] {
    dark = DarkPixels(ShownPixels(window, path));
    return dark >= minimum;
  }, 5000);
  return dark;
}

// Dark pixels of a report list's rows: the list's less its header's.
inline int RowTextPixels(CListCtrl& list, const std::string& path) {
  CHeaderCtrl* header = list.GetHeaderCtrl();
  const int headerPixels = header ? DarkPixels(ShownPixels(header->m_hWnd, path)) : 0;
  return DarkPixels(ShownPixels(list.m_hWnd, path)) - headerPixels;
}

// Waits (pumping, at most a few seconds) until list's rows show at least minimum dark pixels; the
// count last seen.
inline int WaitForRows(CListCtrl& list, const std::string& path, int minimum) {
  int dark = 0;
  platform::RunUntil([&] {
    dark = RowTextPixels(list, path);
    return dark >= minimum;
  }, 5000);
  return dark;
}

}  // namespace lobbytest
