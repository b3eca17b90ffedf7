#pragma once
// The command line of a walk program (orvanta_walk, client_walk):
//   <walk> [--seed N] [--steps N | --seconds N] [--replay "kind:arg ..."] [--wm] [--shrink-runs N]
//          [--answer-ms N] [--memory-mb N] [--show] [--go-on]
// runs one walk on a private X server (under openbox with --wm) in a fresh folder, the program in
// a process of its own. A walk that fails is shortened to fewer steps that still fail the same
// way; its seed, the reason and the shortened steps are printed with the command that replays
// them, and the exit code is 1. With --go-on a fault of the server's own check (a record for
// another place) is printed and the walk goes on, to look past it for other faults. The child process the walk runs in gets --child.

#include <functional>

#include "walk/Walker.h"

namespace walk {

// runChild runs the walk in this process (the program's start-up with a Walker started before
// its loop) and returns the exit code; Main calls it in the child.
int Main(int argc, char** argv, const std::function<int(const Options&)>& runChild);

}  // namespace walk
