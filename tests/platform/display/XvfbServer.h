#pragma once
// The X server display tests run on: the one named by DISPLAY when it can be opened, else a
// private Xvfb started on a free display number (stopped when the tests end), else none. The
// private server does not reset when its last client leaves, so tests may come and go.

#include <string>

namespace platform::testing {

// The display name to open; empty when no X server can be had (the tests skip).
const std::string& TestDisplayName();

}  // namespace platform::testing
