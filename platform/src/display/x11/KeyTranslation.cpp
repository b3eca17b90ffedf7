#include "KeyTranslation.h"

#include <X11/keysym.h>

#include "platform/messages.h"
#include "platform/strings.h"

namespace platform::detail {
namespace {

// Punctuation keys of a US layout (the codes Windows gives them).
constexpr UINT kOem1 = 0xBA;       // ;:
constexpr UINT kOemPlus = 0xBB;    // =+
constexpr UINT kOemComma = 0xBC;   // ,<
constexpr UINT kOemMinus = 0xBD;   // -_
constexpr UINT kOemPeriod = 0xBE;  // .>
constexpr UINT kOem2 = 0xBF;       // /?
constexpr UINT kOem3 = 0xC0;       // `~
constexpr UINT kOem4 = 0xDB;       // [{
constexpr UINT kOem5 = 0xDC;       // \|
constexpr UINT kOem6 = 0xDD;       // ]}
constexpr UINT kOem7 = 0xDE;       // '"
constexpr UINT kHanja = 0x19;

struct KeyPair {
  unsigned long keysym;
  UINT virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB}, {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN}, {XK_Escape, VK_ESCAPE}, {XK_space, VK_SPACE}, {XK_KP_Space, VK_SPACE},
    {XK_Shift_L, VK_SHIFT}, {XK_Shift_R, VK_SHIFT}, {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU}, {XK_Alt_R, VK_MENU}, {XK_Meta_L, VK_MENU}, {XK_Meta_R, VK_MENU}, {XK_Pause, VK_PAUSE},
    {XK_Caps_Lock, VK_CAPITAL}, {XK_Hangul, VK_HANGUL}, {XK_Hangul_Hanja, kHanja}, {XK_Prior, VK_PRIOR},
    {XK_KP_Prior, VK_PRIOR}, {XK_Next, VK_NEXT}, {XK_KP_Next, VK_NEXT}, {XK_End, VK_END}, {XK_KP_End, VK_END},
    {XK_Home, VK_HOME}, {XK_KP_Home, VK_HOME}, {XK_Left, VK_LEFT}, {XK_KP_Left, VK_LEFT}, {XK_Up, VK_UP},
    {XK_KP_Up, VK_UP}, {XK_Right, VK_RIGHT}, {XK_KP_Right, VK_RIGHT}, {XK_Down, VK_DOWN}, {XK_KP_Down, VK_DOWN},
    {XK_Print, VK_SNAPSHOT}, {XK_Insert, VK_INSERT}, {XK_KP_Insert, VK_INSERT}, {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE}, {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD}, {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE}, {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL},
    {XK_semicolon, kOem1}, {XK_colon, kOem1}, {XK_equal, kOemPlus}, {XK_plus, kOemPlus}, {XK_comma, kOemComma},
    {XK_less, kOemComma}, {XK_minus, kOemMinus}, {XK_underscore, kOemMinus}, {XK_period, kOemPeriod},
    {XK_greater, kOemPeriod}, {XK_slash, kOem2}, {XK_question, kOem2}, {XK_grave, kOem3}, {XK_asciitilde, kOem3},
    {XK_bracketleft, kOem4}, {XK_braceleft, kOem4}, {XK_backslash, kOem5}, {XK_bar, kOem5},
    {XK_bracketright, kOem6}, {XK_braceright, kOem6}, {XK_apostrophe, kOem7}, {XK_quotedbl, kOem7},
};

// Shifted digits of a US layout, in the order of the digit keys 0-9.
constexpr unsigned long kShiftedDigits[] = {XK_parenright, XK_exclam, XK_at, XK_numbersign, XK_dollar,
                                            XK_percent, XK_asciicircum, XK_ampersand, XK_asterisk, XK_parenleft};

void AppendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x110000) {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsPlainAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return !text.empty();
}

// Keys of the function-key block that type something in a text field: the editing control
// characters (Back Space, Tab, Return, Escape) and the keypad's characters. The others (Delete,
// Insert, Home, End, the arrows, Page Up/Down, F1-F12, ...) only act, even where Xlib gives them
// a byte, as it gives Delete 0x7F.
bool FunctionKeyTypes(unsigned long keysym) {
  switch (keysym) {
    case XK_BackSpace:
    case XK_Tab:
    case XK_Return:
    case XK_Escape:
    case XK_KP_Space:
    case XK_KP_Tab:
    case XK_KP_Enter:
    case XK_KP_Equal: return true;
    default: return keysym >= XK_KP_Multiply && keysym <= XK_KP_9;
  }
}

}  // namespace

UINT VirtualKeyOfKeySym(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<UINT>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<UINT>(keysym);
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<UINT>(keysym);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<UINT>(VK_F1 + (keysym - XK_F1));
  for (unsigned long i = 0; i < 10; ++i) {
    if (keysym == kShiftedDigits[i]) return static_cast<UINT>('0' + i);
  }
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.keysym == keysym) return pair.virtualKey;
  }
  return 0;
}

std::string KeySymUtf8(unsigned long keysym) {
  std::string out;
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) {
    AppendUtf8(out, keysym);
  } else if ((keysym & 0xFF000000ul) == 0x01000000ul) {
    unsigned long code = keysym & 0x00FFFFFFul;
    if (code >= 0x20 && code < 0x110000 && !(code >= 0xD800 && code <= 0xDFFF)) AppendUtf8(out, code);
  }
  return out;
}

bool IsKeypadCharacter(unsigned long keysym) {
  return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal;
}

std::string TypedText(const std::string& ascii, unsigned long keysym) {
  if ((keysym & ~0xFFul) == 0xFF00ul && !FunctionKeyTypes(keysym)) return {};
  if (IsPlainAscii(ascii)) return ascii;
  std::string utf8 = KeySymUtf8(keysym);
  if (utf8.empty()) return {};
  CString cp949 = Utf8ToCp949(utf8);
  return std::string(cp949.GetString(), static_cast<std::size_t>(cp949.GetLength()));
}

}  // namespace platform::detail
