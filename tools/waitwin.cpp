// waitwin [SECONDS] [CLASS]: waits until a visible, non-empty top-level window (of CLASS when
// given) exists on the desktop, then until it has painted (its thread idle, no window of it
// with anything left to paint) and prints "x y width height" of the foremost such window in
// screen coordinates. Exit 1 on time-out.
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

BOOL CALLBACK HasUpdate(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}

// The window's thread has nothing queued for it and no window of it waits to be painted. A
// loaded machine can take seconds for a first paint, so this is asked, not guessed by a sleep.
bool Painted(HWND w) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer)) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
    DWORD idle = WaitForInputIdle(p, 1000);
    CloseHandle(p);
    if (idle == WAIT_TIMEOUT) return false;
  }
  bool pending = false;
  HasUpdate(w, reinterpret_cast<LPARAM>(&pending));
  if (!pending) EnumChildWindows(w, HasUpdate, reinterpret_cast<LPARAM>(&pending));
  return !pending;
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
      // Painted twice in a row: a paint can post more work (a skin attaching on activation).
      int quiet = 0;
      while (quiet < 2 && GetTickCount() - start < seconds * 1000) {
        quiet = Painted(s.found) ? quiet + 1 : 0;
        Sleep(100);
      }
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
