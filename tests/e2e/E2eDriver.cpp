#include "tests/e2e/E2eDriver.h"

#include <algorithm>
#include <iterator>

namespace e2e {

Process::Process(const std::string& commandLine) : Process(commandLine, std::string()) {}

Process::Process(const std::string& commandLine, const std::string& outputFile) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  HANDLE out = INVALID_HANDLE_VALUE;
  if (!outputFile.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    out =
        CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
  }
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, out != INVALID_HANDLE_VALUE, 0, nullptr, nullptr,
                      &si, &pi_))
    pi_ = {};
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (pi_.hProcess) WaitForInputIdle(pi_.hProcess, 10000);
}

Process::~Process() {
  if (!pi_.hProcess) return;
  if (Running()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

bool Process::Running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

int Process::WaitExit(DWORD ms) {
  if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return static_cast<int>(code);
}

namespace {
std::vector<HWND> WindowsOfClass(const char* cls) {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w; w = FindWindowExA(nullptr, w, cls, nullptr))
    found.push_back(w);
  return found;
}

std::string ProgramCommand(const std::string& program, const std::string& skinrun, const std::string& skin) {
  if (skinrun.empty()) return program;
  return "\"" + skinrun + "\" " + (skin.empty() ? "" : "--skin \"" + skin + "\" ") + program;
}
}  // namespace

ForeignProgram::ForeignProgram(const std::string& program, const char* windowClass,
                               const std::string& skinrun, const std::string& skin)
    : before_(WindowsOfClass(windowClass)), process_(ProgramCommand(program, skinrun, skin)) {
  WaitUntil([&] {
    for (HWND w : WindowsOfClass(windowClass))
      if (std::find(before_.begin(), before_.end(), w) == before_.end() && IsWindowVisible(w)) main_ = w;
    return main_ != nullptr;
  });
  GetWindowThreadProcessId(main_, &pid_);
}

ForeignProgram::~ForeignProgram() {
  if (!pid_ || !IsWindow(main_)) return;
  if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid_)) {
    TerminateProcess(h, 1);
    WaitForSingleObject(h, kPatience);
    CloseHandle(h);
  }
}

int ForeignProgram::Close() {
  PostMessageA(main_, WM_CLOSE, 0, 0);
  return WaitExit();
}

int ForeignProgram::WaitExit() { return process_.WaitExit(kPatience); }

SetAsideSettings::SetAsideSettings(const std::wstring& key) : key_(key) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
  aside_ = L"Software\\DaskelSetAside" + std::to_wstring(GetCurrentProcessId());
  HKEY copy = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, aside_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy, nullptr);
  RegCopyTreeW(k, nullptr, copy);
  RegCloseKey(copy);
  RegCloseKey(k);
  RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
}

SetAsideSettings::~SetAsideSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
  if (aside_.empty()) return;
  HKEY k = nullptr, copy = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
  if (RegOpenKeyExW(HKEY_CURRENT_USER, aside_.c_str(), 0, KEY_READ, &copy) == ERROR_SUCCESS) {
    RegCopyTreeW(copy, nullptr, k);
    RegCloseKey(copy);
  }
  RegCloseKey(k);
  RegDeleteTreeW(HKEY_CURRENT_USER, aside_.c_str());
}

RemoteMemory::RemoteMemory(HWND owner, std::size_t size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(owner, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
  if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteMemory::Write(const void* data, std::size_t size, std::size_t offset) {
  return at_ && WriteProcessMemory(process_, static_cast<char*>(at_) + offset, data, size, nullptr);
}

bool RemoteMemory::Read(void* data, std::size_t size, std::size_t offset) const {
  return at_ && ReadProcessMemory(process_, static_cast<char*>(at_) + offset, data, size, nullptr);
}

LRESULT Ask(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

HWND WaitDialog(DWORD pid) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    auto found = TopLevels(pid, "#32770");
    return !found.empty() && (dialog = found[0]) != nullptr;
  });
  return dialog;
}

std::wstring ComboItemText(HWND combo, int index) {
  // The system hands the text across the processes for this message of a combo box.
  wchar_t text[256] = {};
  const LRESULT length = Ask(combo, CB_GETLBTEXTLEN, index);
  if (length <= 0 || length >= LRESULT{256}) return {};
  Ask(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

HWND ChildWithText(HWND parent, const char* cls, const std::string& text) {
  for (HWND h : Children(parent, cls))
    if (TextOf(h) == text) return h;
  return nullptr;
}

bool SkinnedFrame(HWND w) {
  constexpr UINT kSkinQuery = 0x3504;  // a skinned window answers 1
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  return answer == 1;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > ms) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
}

std::string WindowsPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

std::string ClassOf(HWND h) {
  char buf[256] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

std::string TextOf(HWND h) {
  // WM_GETTEXT reaches into the other process's window; GetWindowText would not for controls.
  char buf[1024] = {};
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return buf;
}

std::wstring WideTextOf(HWND h) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, std::size(buf), reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return buf;
}

RECT ScreenRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

namespace {
struct TopSearch {
  DWORD pid;
  const char* cls;
  const char* caption;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK VisitTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid) return TRUE;
  if (s->visibleOnly && !IsWindowVisible(h)) return TRUE;
  if (s->cls && ClassOf(h) != s->cls) return TRUE;
  if (s->caption && TextOf(h) != s->caption) return TRUE;
  s->found.push_back(h);
  return TRUE;
}

struct ChildSearch {
  const char* cls;
  std::vector<HWND> found;
};

BOOL CALLBACK VisitChild(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  if (ClassOf(h) == s->cls) s->found.push_back(h);
  return TRUE;
}

// Every event carries its own absolute position: a cursor moved by SetCursorPos may not have
// arrived where it was sent by the time a following button event is taken from the queue.
void SendMouse(int x, int y, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}
}  // namespace

std::vector<HWND> TopLevels(DWORD pid, const char* cls, const char* caption, bool visibleOnly) {
  TopSearch s{pid, cls, caption, visibleOnly, {}};
  EnumWindows(VisitTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> Children(HWND parent, const char* cls) {
  ChildSearch s{cls, {}};
  EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&s));
  std::stable_sort(s.found.begin(), s.found.end(), [](HWND a, HWND b) {
    RECT ra = ScreenRect(a), rb = ScreenRect(b);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return s.found;
}

HWND FocusOf(HWND w) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
  return info.hwndFocus;
}

void ClickScreen(int x, int y, bool right) {
  SendMouse(x, y, 0);
  Sleep(30);
  SendMouse(x, y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Sleep(30);
  SendMouse(x, y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Sleep(100);
}

void ClickCenter(HWND h) {
  // Aim only once the window has stopped moving: a window that was just shown may still be
  // placed (centred) after it became visible.
  RECT r = ScreenRect(h);
  for (int i = 0; i < 20; ++i) {
    Sleep(50);
    RECT again = ScreenRect(h);
    if (EqualRect(&r, &again) && IsWindowVisible(h)) break;
    r = again;
  }
  // And only where its own top-level window is in front at the point: a window still being
  // raised, or another shown over it a moment ago, would take the click instead. (A sibling such
  // as a group box around the control may be the one found at the point: it passes clicks on.)
  POINT p{};
  WaitUntil([&] {
    r = ScreenRect(h);
    p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND hit = WindowFromPoint(p);
    return hit && GetAncestor(hit, GA_ROOT) == GetAncestor(h, GA_ROOT);
  });
  ClickScreen(p.x, p.y);
}

void DoubleClickScreen(int x, int y) {
  // All four in one call: separate calls on a busy machine may come further apart than the
  // double-click time, and the program then sees two single clicks.
  INPUT in[4]{};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN));
    in[i].mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN));
    in[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(4, in, sizeof in[0]);
  Sleep(100);
}

void PressKey(WORD vk, bool withAlt) {
  if (withAlt) {
    PressKeyWith(VK_MENU, vk);
    return;
  }
  PressKeyWith(0, vk);
}

void PressKeyWith(WORD modifier, WORD vk) {
  INPUT in[4]{};
  int n = 0;
  auto key = [&](WORD k, bool up) {
    in[n].type = INPUT_KEYBOARD;
    in[n].ki.wVk = k;
    in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ++n;
  };
  if (modifier) key(modifier, false);
  key(vk, false);
  key(vk, true);
  if (modifier) key(modifier, true);
  SendInput(n, in, sizeof in[0]);
  Sleep(60);
}

void TypeUnicode(const std::wstring& text) {
  std::vector<INPUT> in(text.size() * 2);
  for (std::size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = text[i / 2];
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof in[0]);
}

void TypeText(const std::string& text) {
  for (char c : text) {
    SHORT vk = VkKeyScanA(c);
    if (vk == -1) continue;
    PressKey(static_cast<WORD>(vk & 0xFF));
  }
}

void PickItem(HWND combo, int index) {
  ClickCenter(combo);
  WaitUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; });
  PressKey(VK_HOME);
  for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  WaitUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; });
  // The list lets go of the mouse a moment after it closes.
  WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(combo, nullptr), &info);
    return info.hwndCapture == nullptr;
  });
}

}  // namespace e2e
