#pragma once
// The menu bar of a top-level window: its top-level items laid out left to right in the band the
// non-client area reserves under the caption, painted there, and opened by a press or a key.

#include <vector>

#include "platform/gdi.h"
#include "platform/menus.h"

namespace platform::detail {

// The letter after the first single '&' of a menu text ("&&" is a literal ampersand); 0 when none.
char MenuMnemonic(const CString& text);
// Whether a typed letter is a mnemonic, case aside (never for 0).
bool SameMnemonic(char mnemonic, char typed);

class MenuBar {
public:
  // The layout of hwnd's bar; empty when hwnd is not a top-level window with a menu.
  explicit MenuBar(HWND hwnd);

  bool Shown() const { return m_menu != nullptr; }
  // The band in window coordinates (0,0 is the window rectangle's top-left corner).
  const RECT& Band() const { return m_band; }
  int ItemCount() const { return static_cast<int>(m_items.size()); }
  // The rectangle of item index in window coordinates.
  RECT ItemRect(int index) const;
  // The item under a window point; -1 when there is none.
  int ItemAt(POINT windowPoint) const;
  // The item whose mnemonic (the letter after '&') is ch, case aside; -1 when none.
  int ItemWithMnemonic(char ch) const;
  // Draws the band and the items into a window DC; pressed (-1: none) is drawn sunken.
  void Paint(CDC& dc, int pressed) const;
  // Opens item index: its pop-up, or its command at once for an item without one. Left and Right
  // from the keyboard go on to the neighbouring pop-ups until one is closed otherwise.
  // byKey: opened by Alt with a letter, so its pop-up starts with its first enabled item highlighted.
  void Open(int index, bool byKey = false) const;

private:
  void Layout();
  // Opens one item; returns the step asked for from the keyboard (0: none).
  int OpenOnce(int index, bool byKey) const;
  // The next item from index in the direction of step that has a pop-up to open; -1 when none.
  int Neighbour(int index, int step) const;
  void PaintItem(CDC& dc, int index, bool pressed) const;

  HWND m_hwnd{nullptr};
  HMENU m_menu{nullptr};
  RECT m_band{0, 0, 0, 0};
  std::vector<RECT> m_items;
};

// WM_NCHITTEST over the bar: HTMENU on the band, 0 elsewhere (the caller decides then).
int MenuBarHitTest(HWND hwnd, POINT screen);
// A left press in the non-client area: opens the item under screen; false when it was not on the bar.
bool MenuBarPress(HWND hwnd, POINT screen);
// Paints hwnd's bar, if it has one.
void PaintMenuBar(HWND hwnd);
// F10 or a lone Alt (ch 0) opens the first item; Alt+letter the item with that mnemonic. True when
// an item was opened.
bool MenuBarKey(HWND hwnd, char ch);
// While owner's bar has a pop-up open: asks the bar to open its neighbour (step -1 left, 1 right)
// once the pop-up closes. False when owner's bar has nothing open (a pop-up of its own).
bool MenuBarStep(HWND owner, int step);
// Whether the bar of owner has a pop-up open that the keyboard opened.
bool MenuBarOpenedByKey(HWND owner);

}  // namespace platform::detail
