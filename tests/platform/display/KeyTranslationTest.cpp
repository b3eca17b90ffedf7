#include "../../../platform/src/display/x11/KeyTranslation.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/messages.h"
#include "platform/strings.h"

namespace {

using platform::detail::KeySymUtf8;
using platform::detail::TypedText;
using platform::detail::VirtualKeyOfKeySym;

TEST(KeyTranslation, LettersDigitsAndNamedKeysGetWindowsCodes) {
  EXPECT_EQ(VirtualKeyOfKeySym(XK_a), 'A');
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Z), 'Z');
  EXPECT_EQ(VirtualKeyOfKeySym(XK_7), '7');
  EXPECT_EQ(VirtualKeyOfKeySym(XK_exclam), '1');  // the shifted digit is still the digit key
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Return), VK_RETURN);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_KP_Enter), VK_RETURN);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Escape), VK_ESCAPE);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Left), VK_LEFT);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_KP_Down), VK_DOWN);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_F12), VK_F12);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_KP_3), VK_NUMPAD0 + 3);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Shift_R), VK_SHIFT);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Control_L), VK_CONTROL);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_Hangul), VK_HANGUL);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_comma), 0xBCu);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_less), 0xBCu);
  EXPECT_EQ(VirtualKeyOfKeySym(0), 0u);
  EXPECT_EQ(VirtualKeyOfKeySym(XK_VoidSymbol), 0u);
}

TEST(KeyTranslation, TextComesFromTheLookupWhenAsciiElseFromTheSymbol) {
  EXPECT_EQ(TypedText("a", XK_a), "a");
  EXPECT_EQ(TypedText("\x01", XK_a), "\x01");  // Ctrl+A types the control character
  EXPECT_EQ(TypedText("", XK_Left), "");
  // A Unicode key symbol (한) types its code page 949 bytes.
  std::string han = TypedText("", 0x0100D55Cul);
  EXPECT_EQ(han, std::string(Cp949("한")));
  EXPECT_EQ(han.size(), 2u);
  // Latin-1 symbols come back as UTF-8 before conversion; a lookup's Latin-1 byte is not taken as it is.
  EXPECT_EQ(KeySymUtf8(XK_eacute), "é");
  EXPECT_EQ(KeySymUtf8(XK_BackSpace), "");
  EXPECT_EQ(KeySymUtf8(0x0100D800ul), "");  // a lone surrogate is no character
  EXPECT_EQ(KeySymUtf8(0x01110000ul), "");  // beyond Unicode
}

}  // namespace
