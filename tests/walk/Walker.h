#pragma once
// A random walk through a program that runs in this process: before the program's own start-up
// and message loop, a walk is set going on a timer of the loop. Each tick, once the program has
// taken the previous step, the walk takes the next one (a person's action or the server's), then
// checks what must hold on every step: the program answers, its files change only by the
// person's own saves, its memory stays under a bound, and what the program's world checks (the
// server's view of every record, the board shown against the moves sent). A failure prints the
// steps taken and ends the process with code 3; a program that stops answering ends it with 4.
// The steps taken are printed as "walk: step N kind:arg" lines as they are taken.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/geometry.h"
#include "platform/types.h"
#include "walk/WalkPerson.h"
#include "walk/WalkSteps.h"

namespace walk {

// How one walk runs.
struct Options {
  std::uint64_t seed{1};
  int steps{200};            // steps to take (from the seed) when no replay is given
  int seconds{0};            // when set, steps are taken until this much time has passed
  int skip{0};               // the seed's first steps, taken before the program was started again
  std::optional<std::vector<Step>> replay;  // the steps to take instead of the seed's
  int answerMs{2000};        // a tick later than this, with the processor busy meanwhile: no answer
  int blockedMs{10000};      // a tick later than this, busy or not: no answer
  int memoryMb{3000};        // resident memory bound
  bool serverFaultsEnd{true};  // a fault the server's check finds ends the walk (else it is printed)
  std::string display;       // the X server
  std::string folder;        // the program's folder (its home inside)
};

// What a program brings to its walk: its server and what it alone can check.
class World {
public:
  virtual ~World() = default;
  // The server's actions, weighted.
  virtual std::vector<WeightedKind> ServerKinds() const = 0;
  // Takes the server action; what it did.
  virtual std::string ServerAct(const std::string& kind, std::uint32_t arg) = 0;
  // Called on each tick before the walk starts, until it returns true (the person has logged in).
  virtual bool Prepare(Person& person) = 0;
  // Fills in the login dialog and sends it when one is shown; what was done ("" when none is).
  virtual std::string LogIn(Person& person) = 0;
  // What went wrong ("" when everything holds); called after every step.
  virtual std::string Check() = 0;
  // Whether what the server was told to send has gone out (the next step waits for it).
  virtual bool Settled() const { return true; }
  // The window class of the board, and the client point of board for a step's number.
  virtual std::string BoardClass() const = 0;
  virtual POINT BoardPoint(HWND board, std::uint32_t arg) const = 0;
};

class Walker {
public:
  Walker(World& world, Options options);
  ~Walker();
  Walker(const Walker&) = delete;
  Walker& operator=(const Walker&) = delete;

  // Sets the walk going on a timer of the message loop that is about to run.
  void Start();
  // After the loop has ended: the report of a walk the program's own end cut short; 0 when the
  // walk had run to its end before.
  int Finish();

private:
  static void Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();
  void TakeStep();
  void CheckAll();
  std::string CheckFiles();
  std::optional<Step> NextStep();
  [[noreturn]] void Fail(const std::string& reason, int code);
  void Watch();

  World& m_world;
  Options m_options;
  Person m_person;
  StepSource m_source;
  std::vector<Step> m_taken;
  std::map<std::string, std::string> m_files;  // relative path -> contents at the last check
  std::vector<bool> m_recentPersonWrites;     // per step taken: whether it may have written files
  std::chrono::steady_clock::time_point m_begin;
  std::chrono::steady_clock::time_point m_prepareBegin;
  bool m_prepared{false};
  bool m_done{false};
  int m_settleTicks{0};
  std::size_t m_next{0};
  std::atomic<long long> m_lastTickMs{0};
  std::atomic<bool> m_stopWatch{false};
  std::thread m_watch;
};

}  // namespace walk
