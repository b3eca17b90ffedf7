#pragma once
// Keys of the X keyboard as the programs see them: virtual-key codes and typed text.

#include <string>

#include "platform/types.h"

namespace platform::detail {

// The virtual-key code of an X key symbol (letters as their upper-case code whatever the shift
// state); 0 for a key the programs have no code for.
UINT VirtualKeyOfKeySym(unsigned long keysym);
// The text (UTF-8) a key symbol types when Xlib gives none in ASCII: Latin-1 and Unicode key
// symbols; empty for the others.
std::string KeySymUtf8(unsigned long keysym);
// The text a key press types, in code page 949: ascii is what Xlib's lookup gave (control
// characters included), used when it is plain ASCII; otherwise the key symbol's own text. Keys
// that only act (Delete, Insert, Home, End, arrows, Page Up/Down, F-keys) type nothing.
std::string TypedText(const std::string& ascii, unsigned long keysym);
// Whether a key symbol (as looked up with the modifiers) is a keypad digit or decimal point,
// which Num Lock makes of the keypad's movement keys.
bool IsKeypadCharacter(unsigned long keysym);

}  // namespace platform::detail
