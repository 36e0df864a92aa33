// waitwin [SECONDS] [CLASS]: waits until a visible, non-empty top-level window (of CLASS when
// given) exists on the desktop, then waits a little for it to paint and prints
// "x y width height" of the foremost such window in screen coordinates. Exit 1 on time-out.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
struct Search {
  const char* cls;
  HWND found;
};

BOOL CALLBACK Visit(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (!IsWindowVisible(h)) return TRUE;
  char name[256] = {};
  GetClassNameA(h, name, sizeof name);
  // The virtual desktop's own windows are not what we are waiting for.
  if (!strcmp(name, "Shell_TrayWnd") || !strcmp(name, "Progman") || !strcmp(name, "WorkerW") ||
      !strcmp(name, "#32769"))
    return TRUE;
  if (s->cls && strcmp(name, s->cls)) return TRUE;
  RECT r;
  GetWindowRect(h, &r);
  if (r.right - r.left <= 0 || r.bottom - r.top <= 0) return TRUE;
  s->found = h;  // EnumWindows walks top to bottom: the first match is the foremost
  return FALSE;
}
}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? atof(argv[1]) : 30.0;
  Search s{argc > 2 ? argv[2] : nullptr, nullptr};
  DWORD start = GetTickCount();
  while (GetTickCount() - start < seconds * 1000) {
    s.found = nullptr;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    if (s.found) {
      Sleep(700);  // let it finish its first paint
      RECT r;
      GetWindowRect(s.found, &r);
      printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
      return 0;
    }
    Sleep(100);
  }
  fprintf(stderr, "waitwin: no window appeared within %.0f s\n", seconds);
  return 1;
}
