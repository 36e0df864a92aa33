// Which windows of a program the engine skins: every visible window of a top-level window is
// surveyed once without the engine and once with it, and each is judged skinned (the engine
// answers that it draws it), native (it does not) or broken; the verdicts become a Markdown table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// One window as it was met: its class, which of its class it is in its top-level window (in
// creation order), the engine's answer to its question, and its pixels on the screen.
struct MetWindow {
  std::string Class;
  int Ordinal = 0;
  LRESULT Held = 0;
  int Width = 0, Height = 0;
  bool Inside = false;           // wholly inside its top-level window
  bool Caret = false;            // it holds the caret, which shows or not as it blinks
  std::vector<COLORREF> Pixels;  // empty when it was not wholly on the screen
};

// A top-level window (first) and its visible descendants, once their pixels have stopped
// changing.
std::vector<MetWindow> Survey(HWND top);

enum class Look { Skinned, Native, Broken };
struct Verdict {
  std::string Class;
  Look Kind = Look::Native;
  std::string Why;  // for broken windows
};

// Judges the windows met with the engine against the same ones met without it. Broken: a window
// the engine holds that shows exactly what it shows without the engine (held, not drawn), a
// window that shows a single flat colour where it shows content without the engine (unless all
// it showed may have been its caret), and one cut
// off by its top-level window's edge where it lies wholly inside without the engine.
std::vector<Verdict> Judge(const std::vector<MetWindow>& plain, const std::vector<MetWindow>& skinned);

// The rows of the coverage table: one per program and window it showed.
struct CoverageRow {
  std::string Program, Window;
  std::vector<Verdict> Verdicts;
};
// The table in Markdown: skinned, native and broken classes of each row, with counts.
std::string CoverageMarkdown(const std::vector<CoverageRow>& rows);

}  // namespace e2e
