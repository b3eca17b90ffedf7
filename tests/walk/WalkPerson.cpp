#include "walk/WalkPerson.h"

#include <algorithm>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/menus.h"
#include "platform/testinput.h"
#include "platform/windows.h"
// Last: they bring in Xlib, whose macros would clash with the names above.
#include "platform/display/XPointerKeys.h"
#include "support/ProgramScreen.h"

namespace walk {
namespace {

bool Shown(HWND hwnd) {
  for (HWND at = hwnd; at; at = ::GetParent(at))
    if (!::IsWindowVisible(at)) return false;
  return true;
}

BOOL CollectChild(HWND hwnd, LPARAM into) {
  if (Shown(hwnd) && ::IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(into)->push_back(hwnd);
  return TRUE;
}

// The visible, enabled windows inside top.
std::vector<HWND> Controls(HWND top) {
  std::vector<HWND> controls;
  if (top) ::EnumChildWindows(top, &CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

bool IsList(const std::string& kind) {
  return kind == "ListBox" || kind == "SysListView32" || kind == "ComboBox" || kind == "SysTreeView32";
}
bool IsDialog(HWND hwnd) {
  const std::string kind = Person::ClassOf(hwnd);
  return kind == "#32770" || kind == "PlatformMessageBox";
}

template <class T>
const T& Pick(const std::vector<T>& from, std::uint32_t arg) {
  return from[arg % from.size()];
}

POINT Centre(HWND hwnd) {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  return POINT{r.right / 2, r.bottom / 2};
}

std::string Describe(HWND hwnd) {
  char title[48] = {};
  ::GetWindowText(hwnd, title, sizeof title);
  // The log stays readable as it is: titles in the program's code page are left out.
  for (const char* at = title; *at; ++at)
    if (static_cast<unsigned char>(*at) >= 0x80) title[0] = 0;
  return Person::ClassOf(hwnd) + "#" + std::to_string(::GetDlgCtrlID(hwnd)) + (title[0] ? " \"" + std::string(title) + "\"" : "");
}

const std::vector<const char*>& KoreanTexts() {
  static const std::vector<const char*> texts = {
      "안녕하세요", "좋은 수네요!", "흑 불계승", "한 판 더 두실래요?", "ㄱㄴㄷ", "바둑",
      "가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라마바사아자차카타파하", "😀 이모지", "|구분|"};
  return texts;
}

}  // namespace

Person::Person(const std::string& display, std::string boardClass, std::function<POINT(HWND, std::uint32_t)> boardPoint,
               std::function<std::string(Person&)> logIn)
    : m_input(std::make_unique<platform::testing::XPointerKeys>(display)),
      m_display(display),
      m_boardClass(std::move(boardClass)),
      m_boardPoint(std::move(boardPoint)),
      m_logIn(std::move(logIn)) {}

Person::~Person() = default;

std::vector<WeightedKind> Person::Kinds() {
  return {{"click", 30}, {"board", 30}, {"list", 14}, {"dblclick", 8}, {"answer", 14}, {"menu", 6},
          {"menuline", 8}, {"key", 12}, {"letter", 8}, {"korean", 5}, {"alt", 4}, {"scroll", 5},
          {"point", 4}, {"fkey", 1}, {"login", 4}, {"close", 2}};
}

bool Person::Does(const std::string& kind) {
  for (const WeightedKind& known : Kinds())
    if (known.kind == kind) return true;
  return false;
}

bool Person::MayWriteFiles(const std::string& kind) {
  return kind != "letter" && kind != "korean" && kind != "scroll" && kind != "point";
}

std::string Person::ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassName(hwnd, name, sizeof name);
  return name;
}

std::vector<HWND> Person::TopLevels() {
  std::vector<HWND> tops;
  HWND main = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : ::GetActiveWindow();
  if (!main) return tops;
  for (HWND at = ::GetWindow(main, GW_HWNDFIRST); at && tops.size() < 200; at = ::GetWindow(at, GW_HWNDNEXT))
    if (::IsWindowVisible(at) && (::GetWindowLong(at, GWL_STYLE) & WS_CHILD) == 0) tops.push_back(at);
  return tops;
}

std::string Person::DialogOpenTwice() {
  const CDialog* modal = platform::CurrentModalDialog();
  if (!modal || !modal->m_hWnd) return "";
  for (HWND top : TopLevels()) {
    const auto* other = dynamic_cast<const CDialog*>(CWnd::FromHandlePermanent(top));
    if (other && other != modal && other->GetTemplateId() == modal->GetTemplateId())
      return "the dialog " + Describe(modal->m_hWnd) + " was opened again while it was open";
  }
  return "";
}

HWND Person::InputWindow() {
  const HWND active = ::GetActiveWindow();
  if (active && ::IsWindowVisible(active)) return active;
  for (HWND top : TopLevels())
    if (IsDialog(top)) return top;
  return AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
}

std::string Person::Act(const std::string& kind, std::uint32_t arg) {
  if (!InputWindow()) return "";
  if (kind == "click") return Click(arg, false);
  if (kind == "dblclick") return Click(arg, true);
  if (kind == "point") return ClickPoint(arg);
  if (kind == "list") return ListRow(arg);
  if (kind == "scroll") return Scroll(arg);
  if (kind == "menu") return Menu(arg, false);
  if (kind == "menuline") return Menu(arg, true);
  if (kind == "key") return Key(arg);
  if (kind == "letter") return Letter(arg, false);
  if (kind == "alt") return Letter(arg, true);
  if (kind == "fkey") return FunctionKey(arg);
  if (kind == "korean") return Korean(arg);
  if (kind == "answer") return Answer(arg);
  if (kind == "board") return Board(arg);
  if (kind == "login") return m_logIn(*this);
  if (kind == "close") return Close();
  return "";
}

void Person::ClickOn(HWND hwnd) { ClickAt(hwnd, Centre(hwnd), false); }

void Person::Type(HWND top, const char* text) { m_input->Type(top, text); }

void Person::ClickAt(HWND hwnd, POINT point, bool twice) {
  if (twice) {
    m_input->DoubleClick(hwnd, point);
  } else {
    m_input->Click(hwnd, point);
  }
}

std::string Person::Click(std::uint32_t arg, bool twice) {
  const HWND top = InputWindow();
  // Buttons are what a person clicks most; every other control now and then.
  std::vector<HWND> buttons, others;
  for (HWND control : Controls(top)) {
    const std::string kind = ClassOf(control);
    (kind == "Button" || kind == "ToolbarWindow32" ? buttons : others).push_back(control);
  }
  const std::vector<HWND>& from = !buttons.empty() && (others.empty() || arg % 4 != 0) ? buttons : others;
  if (from.empty()) {
    ClickAt(top, Centre(top), twice);
    return "the window " + Describe(top);
  }
  const HWND target = Pick(from, arg >> 2);
  RECT r{};
  ::GetClientRect(target, &r);
  // Wide windows (tool bars, lists) are clicked along their width.
  POINT at = Centre(target);
  if (r.right > 60) at.x = static_cast<int>((arg >> 12) % static_cast<std::uint32_t>(r.right));
  ClickAt(target, at, twice);
  return Describe(target) + " at " + std::to_string(at.x) + "," + std::to_string(at.y);
}

std::string Person::ClickPoint(std::uint32_t arg) {
  const HWND top = InputWindow();
  RECT r{};
  ::GetClientRect(top, &r);
  if (r.right <= 0 || r.bottom <= 0) return "";
  const POINT at{static_cast<int>(arg % static_cast<std::uint32_t>(r.right)),
                 static_cast<int>((arg >> 16) % static_cast<std::uint32_t>(r.bottom))};
  ClickAt(top, at, false);
  return Describe(top) + " at " + std::to_string(at.x) + "," + std::to_string(at.y);
}

std::string Person::ListRow(std::uint32_t arg) {
  std::vector<HWND> lists;
  for (HWND top : TopLevels())
    for (HWND control : Controls(top))
      if (IsList(ClassOf(control))) lists.push_back(control);
  if (lists.empty()) return Click(arg, arg % 3 == 0);
  const HWND list = Pick(lists, arg);
  RECT r{};
  ::GetClientRect(list, &r);
  if (r.bottom <= 4) return "";
  const bool twice = (arg >> 20) % 3 == 0;
  const std::string kind = ClassOf(list);
  // A row the list holds, most often; now and then the empty space below the rows.
  const bool listView = kind == "SysListView32";
  const LRESULT count = listView || kind == "ListBox" ? ::SendMessage(list, listView ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0) : 0;
  POINT at{std::max(4, r.right / 3), std::min<int>(r.bottom - 2, 24 + static_cast<int>((arg >> 8) % 12) * 16 + 6)};
  std::string row = "below the rows";
  if (count > 0 && (arg >> 24) % 6 != 0) {
    const int index = static_cast<int>((arg >> 8) % static_cast<std::uint32_t>(count));
    RECT item{};
    item.left = LVIR_BOUNDS;
    if (::SendMessage(list, listView ? LVM_GETITEMRECT : LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) &&
        item.bottom > item.top) {
      at = POINT{std::clamp<int>(item.left + 24, 2, std::max(2, static_cast<int>(r.right) - 2)), (item.top + item.bottom) / 2};
      row = "row " + std::to_string(index);
    }
  }
  if (at.y < 0 || at.y >= r.bottom) return Describe(list) + " has its rows out of sight";
  ClickAt(list, at, twice);
  return Describe(list) + " " + row + (twice ? " twice" : "");
}

std::string Person::Scroll(std::uint32_t arg) {
  std::vector<HWND> scrolled;
  for (HWND top : TopLevels())
    for (HWND control : Controls(top))
      if ((::GetWindowLong(control, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0 || ClassOf(control) == "ScrollBar")
        scrolled.push_back(control);
  if (scrolled.empty()) return "";
  const HWND target = Pick(scrolled, arg);
  RECT r{};
  ::GetWindowRect(target, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "";
  // The bar lies along the window's right (or bottom) edge, where its client area ends.
  const bool vertical = ClassOf(target) == "ScrollBar" ? height > width : (::GetWindowLong(target, GWL_STYLE) & WS_VSCROLL) != 0;
  const int along = static_cast<int>((arg >> 8) % 100);
  POINT screen = vertical ? POINT{r.right - 6, r.top + height * along / 100} : POINT{r.left + width * along / 100, r.bottom - 6};
  const HWND top = ::GetAncestorTopLevel(target);
  ::ScreenToClient(top, &screen);
  if ((arg >> 16) % 4 == 0) {
    m_input->Wheel(target, Centre(target), (arg >> 18) % 2 ? 3 : -3);
    return Describe(target) + " wheel";
  }
  ClickAt(top, screen, false);
  return Describe(target) + " bar at " + std::to_string(along) + "%";
}

std::string Person::Menu(std::uint32_t arg, bool line) {
  testsupport::ProgramScreen screen(m_display);
  if (!screen.Ready()) return "";
  if (line) {
    const Window popup = screen.Popup();
    if (popup) {
      const std::vector<testsupport::Span> lines = screen.PopupLines(popup);
      if (lines.empty()) return "";
      const testsupport::Span& chosen = Pick(lines, arg);
      screen.Click(popup, 30, chosen.Middle());
      return "menu line " + std::to_string(arg % lines.size());
    }
  }
  CWnd* main = AfxGetMainWnd();
  if (!main || !::GetMenu(main->GetSafeHwnd())) return "";
  const Window frame = static_cast<Window>(platform::display::NativeWindowOf(main->GetSafeHwnd()));
  const std::vector<testsupport::Span> titles = screen.MenuBarTitles(frame);
  if (titles.empty()) return "";
  screen.Click(frame, Pick(titles, arg >> 4).Middle(), testsupport::ProgramScreen::kMenuBarHeight / 2);
  return "menu title " + std::to_string((arg >> 4) % titles.size());
}

std::string Person::Key(std::uint32_t arg) {
  static const KeySym keys[] = {XK_Tab, XK_Tab, XK_Return, XK_Return, XK_Escape, XK_Escape, XK_space, XK_Up,
                                XK_Down, XK_Left, XK_Right, XK_BackSpace, XK_Delete, XK_Home, XK_End, XK_Prior,
                                XK_Next, XK_Tab};
  const KeySym key = keys[arg % (sizeof keys / sizeof keys[0])];
  const unsigned state = (arg >> 8) % 5 == 0 ? ShiftMask : ((arg >> 8) % 9 == 1 ? ControlMask : 0);
  const HWND top = InputWindow();
  m_input->Key(top, key, state);
  return std::string(XKeysymToString(key)) + (state == ShiftMask ? " with Shift" : state ? " with Ctrl" : "") +
         " on " + Describe(top);
}

std::string Person::Letter(std::uint32_t arg, bool alt) {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const char letter = letters[arg % (sizeof letters - 1)];
  const HWND top = InputWindow();
  const unsigned state = alt ? Mod1Mask : ((arg >> 8) % 6 == 0 ? ShiftMask : 0);
  m_input->Key(top, static_cast<KeySym>(letter), state);
  return std::string(alt ? "Alt+" : "") + letter + " on " + Describe(top);
}

std::string Person::FunctionKey(std::uint32_t arg) {
  const int number = static_cast<int>(arg % 12) + 1;
  const HWND top = InputWindow();
  m_input->Key(top, static_cast<KeySym>(XK_F1 + number - 1), (arg >> 8) % 4 == 0 ? Mod1Mask : 0);
  return "F" + std::to_string(number) + ((arg >> 8) % 4 == 0 ? " with Alt" : "");
}

std::string Person::Korean(std::uint32_t arg) {
  const char* text = Pick(KoreanTexts(), arg);
  // As the input method commits it: to the window with the keyboard focus.
  platform::input::ComposeText(text);
  return std::string("typed ") + text;
}

std::string Person::Answer(std::uint32_t arg) {
  HWND dialog = nullptr;
  for (HWND top : TopLevels())
    if (IsDialog(top)) dialog = top;
  if (!dialog) return Key(arg);
  switch (arg % 4) {
    case 0: m_input->Key(dialog, XK_Return); return "Return on " + Describe(dialog);
    case 1: m_input->Key(dialog, XK_Escape); return "Escape on " + Describe(dialog);
    default: {
      std::vector<HWND> buttons;
      for (HWND control : Controls(dialog))
        if (ClassOf(control) == "Button") buttons.push_back(control);
      if (buttons.empty()) {
        m_input->Key(dialog, XK_Return);
        return "Return on " + Describe(dialog);
      }
      const HWND button = Pick(buttons, arg >> 2);
      ClickAt(button, Centre(button), false);
      return Describe(button) + " of " + Describe(dialog);
    }
  }
}

std::string Person::Close() {
  // What a window manager sends when the window's close button is clicked.
  const HWND top = InputWindow();
  ::Display* x = m_input->Connection();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<Window>(platform::display::NativeWindowOf(top));
  event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  if (!event.xclient.window) return "";
  XSendEvent(x, event.xclient.window, False, NoEventMask, &event);
  XSync(x, False);
  return "the close button of " + Describe(top);
}

std::string Person::Board(std::uint32_t arg) {
  std::vector<HWND> boards;
  for (HWND top : TopLevels()) {
    if (ClassOf(top) == m_boardClass) boards.push_back(top);
    for (HWND control : Controls(top))
      if (ClassOf(control) == m_boardClass) boards.push_back(control);
  }
  if (boards.empty()) return ListRow(arg);
  const HWND board = Pick(boards, arg >> 28);
  const POINT at = m_boardPoint(board, arg);
  ClickAt(board, at, false);
  return "board at " + std::to_string(at.x) + "," + std::to_string(at.y);
}

}  // namespace walk
