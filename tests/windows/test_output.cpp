// Linked into every Windows test: the test's output goes to a file while it runs (see
// tools/winerun), and a program that dies suddenly would take its buffered lines with it,
// leaving a failure with no word of where it stopped.
#include <cstdio>

namespace {
[[maybe_unused]] const int unbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);
}
