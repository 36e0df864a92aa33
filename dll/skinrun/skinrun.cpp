// skinrun.exe [--skin FILE] PROGRAM [ARGS...]: starts an unmodified Windows program with the
// skinning engine loaded on its main thread (how: SkinLaunch.h), waits for it and returns its
// exit code. Its own failures end it with 125 (bad arguments, a skin that cannot be used, the
// engine missing) or 127 (the program cannot be started); then nothing was started. When the
// engine cannot be started inside the program, the program goes on wholly unskinned and skinrun
// says why.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dll/SkinLaunch.h"

namespace {

constexpr int kOwnFailure = 125, kCannotStart = 127;

int Complain(int code, const std::wstring& text) {
  std::fwprintf(stderr, L"skinrun: %ls\n", text.c_str());
  return code;
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring s = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(error);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L'.')) s.pop_back();
  return s;
}

// One argument quoted so that the program's command-line parser gives it back unchanged.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buf)), buf, nullptr);
  return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : path;
}

std::wstring OwnFolder() {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  std::wstring p(buf, n);
  return p.substr(0, p.find_last_of(L"\\/") + 1);
}

// The program as the system finds it (the folder of the program, the current folder, the
// system's folders, PATH; ".exe" added when no extension is given); empty when not found.
std::wstring FindProgram(const std::wstring& name) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = SearchPathW(nullptr, name.c_str(), L".exe", static_cast<DWORD>(std::size(buf)), buf, nullptr);
  return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

// An export of the engine as the function type it has.
template <class F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

struct THandle {
  HANDLE h = nullptr;
  ~THandle() {
    if (h) CloseHandle(h);
  }
};

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);
  std::wstring skin;
  std::size_t first = 0;
  if (!args.empty() && args[0] == L"--skin") {
    if (args.size() < 2) return Complain(kOwnFailure, L"--skin needs a skin file");
    skin = FullPath(args[1]);
    first = 2;
  }
  if (first >= args.size()) return Complain(kOwnFailure, L"usage: skinrun [--skin FILE] PROGRAM [ARGS...]");

  // The engine and the skin are checked before anything is started.
  std::wstring dllPath = OwnFolder() + L"DaskelSkin.dll";
  HMODULE engine = LoadLibraryW(dllPath.c_str());
  if (!engine)
    return Complain(kOwnFailure,
                    L"cannot load the engine " + dllPath + L": " + SystemMessage(GetLastError()));
  auto hook = Export<HOOKPROC>(engine, kSkinLaunchHookName);
  auto check = Export<BOOL(__stdcall*)(const wchar_t*)>(engine, "DaskelSkinCheckSkinW");
  auto lastError = Export<const wchar_t*(__stdcall*)()>(engine, "DaskelSkinLastErrorW");
  if (!hook || !check || !lastError)
    return Complain(kOwnFailure, dllPath + L" is not the engine skinrun needs");
  if (skin.size() >= std::size(TSkinLaunchBlock{}.Skin))
    return Complain(kOwnFailure, L"the skin's path is too long");
  if (!skin.empty() && !check(skin.c_str())) return Complain(kOwnFailure, lastError());

  std::wstring program = FindProgram(args[first]);
  if (program.empty()) return Complain(kCannotStart, L"cannot find the program \"" + args[first] + L"\"");
  std::wstring commandLine = Quote(program);
  for (std::size_t i = first + 1; i < args.size(); ++i) commandLine += L" " + Quote(args[i]);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi))
    return Complain(kCannotStart, L"cannot start \"" + program + L"\": " + SystemMessage(GetLastError()));
  THandle process{pi.hProcess}, thread{pi.hThread};

  // What the engine inside reads and answers.
  THandle mapping{CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(TSkinLaunchBlock), SkinLaunchBlockName(pi.dwProcessId).c_str())};
  THandle started{CreateEventW(nullptr, TRUE, FALSE, SkinLaunchEventName(pi.dwProcessId).c_str())};
  auto* block =
      mapping.h ? static_cast<TSkinLaunchBlock*>(MapViewOfFile(mapping.h, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
  HHOOK installed = nullptr;
  if (block && started.h) {
    skin.copy(block->Skin, skin.size());
    installed = SetWindowsHookExW(WH_CBT, hook, engine, pi.dwThreadId);
  }
  if (!installed) {
    // Nothing of the engine got in: the program is ended before it ran a single instruction.
    std::wstring why = SystemMessage(GetLastError());
    TerminateProcess(pi.hProcess, kCannotStart);
    return Complain(kCannotStart, L"cannot load the engine into \"" + program + L"\": " + why);
  }
  ResumeThread(pi.hThread);

  // The engine reports once the program's thread shows its first window; a program that never
  // does just runs to its end.
  HANDLE waitFor[2] = {started.h, pi.hProcess};
  if (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) == WAIT_OBJECT_0 && block->State == kLaunchFailed) {
    block->Error[std::size(block->Error) - 1] = L'\0';
    Complain(0, L"the program runs unskinned: " + std::wstring(block->Error));
  }
  UnhookWindowsHookEx(installed);
  UnmapViewOfFile(block);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return static_cast<int>(code);
}
