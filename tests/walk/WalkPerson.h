#pragma once
// The person of a random walk: acts on what the program shows on the tests' X server, through
// that server as a person's clicks and keys arrive (Korean text as the input method commits it).
// What is clicked is found among the windows the program shows: controls by class and id, list
// rows, scroll bars, menu bar titles and pop-up menu lines, the board. Each action takes a number
// that picks among what it finds, so the same steps act alike on the same screen.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/types.h"
#include "walk/WalkSteps.h"

namespace platform::testing {
class XPointerKeys;
}

namespace walk {

class Person {
public:
  // boardClass: the window class of the program's board; boardPoint maps a number to a client
  // point of that board window (a point where a stone goes); logIn fills in and sends the
  // program's login dialog when it is shown, as a person who knows their password does.
  Person(const std::string& display, std::string boardClass, std::function<POINT(HWND, std::uint32_t)> boardPoint,
         std::function<std::string(Person&)> logIn);
  ~Person();
  Person(const Person&) = delete;
  Person& operator=(const Person&) = delete;

  // The actions a person takes, weighted toward what a person does most.
  static std::vector<WeightedKind> Kinds();
  // Whether kind is one of them.
  static bool Does(const std::string& kind);
  // Whether a step of kind may save or delete a file (a confirmation, a command).
  static bool MayWriteFiles(const std::string& kind);

  // Takes the action; what it did, for the walk's log ("" when it found nothing to act on).
  std::string Act(const std::string& kind, std::uint32_t arg);
  // A click at the centre of hwnd; text typed into the window with the keyboard focus.
  void ClickOn(HWND hwnd);
  void Type(HWND top, const char* text);
  // The top-level window that takes the person's input now: the active window, else the frame.
  static HWND InputWindow();
  // Every visible top-level window of the program.
  static std::vector<HWND> TopLevels();
  // The class name of hwnd.
  static std::string ClassOf(HWND hwnd);
  // What a person could not have made: the modal dialog being run shown again over a dialog of
  // its own template that is still open ("" when it is not).
  static std::string DialogOpenTwice();

private:
  std::string Click(std::uint32_t arg, bool twice);
  std::string ClickPoint(std::uint32_t arg);
  std::string ListRow(std::uint32_t arg);
  std::string Scroll(std::uint32_t arg);
  std::string Menu(std::uint32_t arg, bool line);
  std::string Key(std::uint32_t arg);
  std::string Letter(std::uint32_t arg, bool alt);
  std::string FunctionKey(std::uint32_t arg);
  std::string Korean(std::uint32_t arg);
  std::string Answer(std::uint32_t arg);
  std::string Board(std::uint32_t arg);
  std::string Close();
  void ClickAt(HWND hwnd, POINT point, bool twice);

  std::unique_ptr<platform::testing::XPointerKeys> m_input;
  std::string m_display;
  std::string m_boardClass;
  std::function<POINT(HWND, std::uint32_t)> m_boardPoint;
  std::function<std::string(Person&)> m_logIn;
};

}  // namespace walk
