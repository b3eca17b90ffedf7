#pragma once
// The Win32 scalar types and handle conventions the programs are written against.

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using CHAR = char;
using TCHAR = char;
using WCHAR = char16_t;
using COLORREF = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr WORD MAKEWORD(BYTE lo, BYTE hi) { return static_cast<WORD>(lo | (hi << 8)); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return r | (g << 8) | (static_cast<DWORD>(b) << 16); }
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// Handles are opaque pointer-sized values; each kind is a distinct type so they cannot be mixed up.
#define PLATFORM_DECLARE_HANDLE(name) \
  struct name##__ { int unused; };    \
  using name = name##__*
PLATFORM_DECLARE_HANDLE(HWND);
PLATFORM_DECLARE_HANDLE(HINSTANCE);
PLATFORM_DECLARE_HANDLE(HMENU);
PLATFORM_DECLARE_HANDLE(HACCEL);
PLATFORM_DECLARE_HANDLE(HICON);
PLATFORM_DECLARE_HANDLE(HCURSOR);
PLATFORM_DECLARE_HANDLE(HDC);
PLATFORM_DECLARE_HANDLE(HGDIOBJ);
PLATFORM_DECLARE_HANDLE(HBITMAP);
PLATFORM_DECLARE_HANDLE(HBRUSH);
PLATFORM_DECLARE_HANDLE(HPEN);
PLATFORM_DECLARE_HANDLE(HFONT);
PLATFORM_DECLARE_HANDLE(HPALETTE);
PLATFORM_DECLARE_HANDLE(HRGN);
PLATFORM_DECLARE_HANDLE(HIMAGELIST);
PLATFORM_DECLARE_HANDLE(HKEY);
PLATFORM_DECLARE_HANDLE(HANDLE_);
#undef PLATFORM_DECLARE_HANDLE
using HANDLE = void*;
using HMODULE = HINSTANCE;
using HGLOBAL = HANDLE;
