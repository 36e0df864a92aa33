#include "tests/e2e/E2eCoverage.h"

#include <algorithm>
#include <map>

#include "dll/DaskelSkin.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

namespace e2e {

namespace {

BOOL CALLBACK AddWindow(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

LRESULT EngineAnswer(HWND w) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(w, DASKEL_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  return static_cast<LRESULT>(answer);
}

bool Flat(const std::vector<COLORREF>& p) {
  return !p.empty() && std::all_of(p.begin(), p.end(), [&](COLORREF c) { return c == p[0]; });
}

}  // namespace

std::vector<MetWindow> Survey(HWND top) {
  // The picture is taken once the window has painted what it had to paint and looks the same
  // four times in a row, each time after its thread has answered a message (a thread busy with
  // something else shows an unchanging picture that is not yet painted; a caret may blink: the
  // wait is bounded).
  RECT topRect{};
  Pixels shot;
  int same = 0;
  WaitUntil(
      [&] {
        Ask(top, WM_NULL);
        RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT now = ScreenRect(top);
        Pixels again = ScreenPixels(now);
        same = EqualRect(&now, &topRect) && again.Data == shot.Data ? same + 1 : 0;
        topRect = now;
        shot = std::move(again);
        return same >= 3;
      },
      10000);
  // Only what is on the screen shows (the rest reads black).
  const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  std::vector<HWND> windows{top};
  EnumChildWindows(top, AddWindow, reinterpret_cast<LPARAM>(&windows));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &thread);
  std::vector<MetWindow> met;
  std::map<std::string, int> perClass;
  for (HWND w : windows) {
    if (!IsWindowVisible(w)) continue;
    MetWindow m;
    m.Class = ClassOf(w);
    m.Ordinal = perClass[m.Class]++;
    m.Held = EngineAnswer(w);
    m.Caret = w == thread.hwndCaret;
    RECT r = ScreenRect(w);
    m.Width = r.right - r.left;
    m.Height = r.bottom - r.top;
    if (m.Width <= 0 || m.Height <= 0) continue;
    RECT inside{};
    m.Inside = IntersectRect(&inside, &r, &topRect) && EqualRect(&inside, &r);
    if (m.Inside && IntersectRect(&inside, &r, &screen) && EqualRect(&inside, &r) &&
        shot.Width == topRect.right - topRect.left && shot.Height == topRect.bottom - topRect.top)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) m.Pixels.push_back(shot.At(x - topRect.left, y - topRect.top));
    met.push_back(std::move(m));
  }
  return met;
}

std::vector<Verdict> Judge(const std::vector<MetWindow>& plain, const std::vector<MetWindow>& skinned) {
  std::vector<Verdict> out;
  for (const MetWindow& w : skinned) {
    Verdict v{w.Class, w.Held ? Look::Skinned : Look::Native, ""};
    // A menu window answers as a frame does: the engine draws the whole of it.
    if (w.Held == DASKEL_SKIN_FRAME && w.Class != "#32768") v.Class += " (frame)";
    auto same = std::find_if(plain.begin(), plain.end(), [&](const MetWindow& p) {
      return p.Class == w.Class && p.Ordinal == w.Ordinal;
    });
    if (same != plain.end() && same->Inside && !w.Inside) {
      v.Kind = Look::Broken;
      v.Why = "cut off by its window's edge where it shows whole without the engine";
    } else if (same != plain.end() && !same->Pixels.empty() && !w.Pixels.empty()) {
      if (w.Held && same->Width == w.Width && same->Height == w.Height && same->Pixels == w.Pixels) {
        v.Kind = Look::Broken;
        v.Why = "held by the engine but drawn exactly as without it";
      } else if (Flat(w.Pixels) && !Flat(same->Pixels) && !w.Caret && !same->Caret) {
        v.Kind = Look::Broken;
        v.Why = "one flat colour where it shows content without the engine";
      }
    }
    out.push_back(v);
  }
  return out;
}

namespace {

// The classes of one kind, each once, with how many windows of it there were.
std::string Cell(const std::vector<Verdict>& verdicts, Look kind) {
  std::map<std::string, int> count;
  for (const Verdict& v : verdicts)
    if (v.Kind == kind) ++count["`" + v.Class + "`" + (v.Why.empty() ? "" : " (" + v.Why + ")")];
  std::string cell;
  for (const auto& [cls, n] : count)
    cell += (cell.empty() ? "" : ", ") + cls + (n > 1 ? " \xC3\x97" + std::to_string(n) : "");
  return cell.empty() ? "\xE2\x80\x94" : cell;  // a dash for none
}

}  // namespace

std::string CoverageMarkdown(const std::vector<CoverageRow>& rows) {
  std::string md = "| Program | Window | Skinned | Native | Broken |\n|---|---|---|---|---|\n";
  for (const CoverageRow& r : rows)
    md += "| " + r.Program + " | " + r.Window + " | " + Cell(r.Verdicts, Look::Skinned) + " | " +
          Cell(r.Verdicts, Look::Native) + " | " + Cell(r.Verdicts, Look::Broken) + " |\n";
  return md;
}

}  // namespace e2e
