// The C API of the skin DLL: it checks what a caller hands in, reads skins, keeps the last error
// of each thread, and leaves the engine's work to TSkinSession. Nothing a caller passes may get
// past here into the engine unchecked, and no C++ exception leaves a function.
#include "dll/DaskelSkin.h"

#include <exception>
#include <string>

#include "dll/SkinSession.h"
#include "framework/WideText.h"
#include "framework/WindowSubclass.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/VuzUrezDataRead.h"

// What the header promises other processes is what the engine answers.
static_assert(DASKEL_SKIN_QUERY == WM_SKINQUERY && DASKEL_SKIN_FRAME == kSkinQueryFrame &&
              DASKEL_SKIN_CONTROL == kSkinQueryControl);

namespace {

thread_local std::wstring tError;
thread_local std::string tErrorA;

BOOL Fail(const std::wstring& text) {
  tError = text;
  return FALSE;
}

BOOL Succeed() {
  tError.clear();
  return TRUE;
}

// Runs one API call: C++ exceptions become a failure with a reason.
template <class F>
BOOL ApiCall(F f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return Fail(L"out of memory");
  } catch (const std::exception& e) {
    return Fail(L"internal error: " + Widen(e.what()));
  } catch (...) {
    return Fail(L"internal error");
  }
}

// Reads a skin file whole into *out, or says why not.
bool ReadSkinFile(const std::wstring& path, std::string* out, std::wstring* why) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    *why = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? L"the file does not exist"
                                                                  : L"the file cannot be opened";
    return false;
  }
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) != 0;
  if (ok && static_cast<unsigned long long>(size.QuadPart) > kMaxSkinPackageSize) {
    CloseHandle(file);
    *why = L"the skin is too large (" + std::to_wstring(size.QuadPart) + L" bytes, at most " +
           std::to_wstring(kMaxSkinPackageSize) + L")";
    return false;
  }
  out->assign(ok ? static_cast<std::size_t>(size.QuadPart) : 0, '\0');
  DWORD read = 0;
  ok = ok && (out->empty() || ReadFile(file, out->data(), static_cast<DWORD>(out->size()), &read, nullptr));
  CloseHandle(file);
  if (!ok || read != out->size()) {
    *why = L"the file cannot be read";
    return false;
  }
  return true;
}

// The package a start or a switch asks for, checked: from a file (empty path: the built-in
// skin, whose bytes are ours and are read only when they are used) or from memory. The check
// reads the skin, and the skin read goes along with the bytes, so that it is read once. False
// with the reason in the thread's last error.
bool PackageFromFile(const wchar_t* path, TSkinPackage* package) {
  std::wstring why;
  if (!path || !*path) {
    package->Bytes = BuiltInSkinPackage();
    if (package->Bytes.empty()) return Fail(L"the built-in skin is missing from the DLL");
    return true;
  }
  if (!ReadSkinFile(path, &package->Bytes, &why))
    return Fail(L"skin \"" + std::wstring(path) + L"\": " + why);
  std::string problem = SkinPackageProblem(reinterpret_cast<const std::uint8_t*>(package->Bytes.data()),
                                           package->Bytes.size(), &package->Skin);
  if (!problem.empty()) return Fail(L"skin \"" + std::wstring(path) + L"\": " + Widen(problem, CP_UTF8));
  return true;
}

bool PackageFromMemory(const void* data, DWORD size, TSkinPackage* package) {
  if (!data) return Fail(L"no skin given (a null pointer)");
  std::string problem = SkinPackageProblem(static_cast<const std::uint8_t*>(data), size, &package->Skin);
  if (!problem.empty()) return Fail(L"skin in memory: " + Widen(problem, CP_UTF8));
  package->Bytes.assign(static_cast<const char*>(data), size);
  return true;
}

// The running session when it may be used from this thread, or nullptr with the reason set.
TSkinSession* Session() {
  TSkinSession* s = TSkinSession::Current();
  if (!s) {
    Fail(L"the engine is not running");
    return nullptr;
  }
  if (s->Thread() != GetCurrentThreadId()) {
    Fail(L"the engine runs on another thread (" + std::to_wstring(s->Thread()) +
         L"); call it from that thread");
    return nullptr;
  }
  if (s->Stopping()) {
    Fail(L"the engine is stopping");
    return nullptr;
  }
  return s;
}

BOOL Start(TSkinPackage&& package) {
  if (TSkinSession* s = TSkinSession::Current())
    return Fail(s->Thread() == GetCurrentThreadId()
                    ? L"the engine is already running; stop it first or switch skins"
                    : L"the engine already runs on another thread (" + std::to_wstring(s->Thread()) + L")");
  std::wstring error;
  if (!TSkinSession::Start(std::move(package), &error)) return Fail(error);
  return Succeed();
}

BOOL SetSkin(TSkinPackage&& package) {
  TSkinSession* s = Session();
  if (!s) return FALSE;
  s->SetSkin(std::move(package));
  return Succeed();
}

// A window of the engine's thread, or nullptr with the reason set.
TSkinSession* SessionFor(HWND wnd) {
  TSkinSession* s = Session();
  if (!s) return nullptr;
  if (!wnd || !IsWindow(wnd)) {
    Fail(L"not a window");
    return nullptr;
  }
  if (GetWindowThreadProcessId(wnd, nullptr) != s->Thread()) {
    Fail(L"the window belongs to another thread than the engine's");
    return nullptr;
  }
  return s;
}

}  // namespace

extern "C" {

BOOL __stdcall DaskelSkinStartW(const wchar_t* skinFile) {
  return ApiCall([&] {
    TSkinPackage package;
    return PackageFromFile(skinFile, &package) ? Start(std::move(package)) : FALSE;
  });
}

BOOL __stdcall DaskelSkinStartA(const char* skinFile) {
  return ApiCall([&] {
    std::wstring path = skinFile ? Widen(skinFile) : std::wstring();
    return DaskelSkinStartW(path.c_str());
  });
}

BOOL __stdcall DaskelSkinStartMemory(const void* package, DWORD size) {
  return ApiCall([&] {
    TSkinPackage checked;
    return PackageFromMemory(package, size, &checked) ? Start(std::move(checked)) : FALSE;
  });
}

BOOL __stdcall DaskelSkinSetSkinW(const wchar_t* skinFile) {
  return ApiCall([&] {
    if (!Session()) return FALSE;
    TSkinPackage package;
    return PackageFromFile(skinFile, &package) ? SetSkin(std::move(package)) : FALSE;
  });
}

BOOL __stdcall DaskelSkinSetSkinA(const char* skinFile) {
  return ApiCall([&] {
    std::wstring path = skinFile ? Widen(skinFile) : std::wstring();
    return DaskelSkinSetSkinW(path.c_str());
  });
}

BOOL __stdcall DaskelSkinSetSkinMemory(const void* package, DWORD size) {
  return ApiCall([&] {
    if (!Session()) return FALSE;
    TSkinPackage checked;
    return PackageFromMemory(package, size, &checked) ? SetSkin(std::move(checked)) : FALSE;
  });
}

BOOL __stdcall DaskelSkinEnable(BOOL on) {
  return ApiCall([&] {
    TSkinSession* s = Session();
    if (!s) return FALSE;
    s->Enable(on != FALSE);
    return Succeed();
  });
}

BOOL __stdcall DaskelSkinStop(void) {
  return ApiCall([&] {
    TSkinSession* s = Session();
    if (!s) return FALSE;
    s->Stop();
    return Succeed();
  });
}

BOOL __stdcall DaskelSkinExcludeWindow(HWND window) {
  return ApiCall([&] {
    TSkinSession* s = SessionFor(window);
    if (!s) return FALSE;
    s->Exclude(window);
    return Succeed();
  });
}

BOOL __stdcall DaskelSkinIncludeWindow(HWND window) {
  return ApiCall([&] {
    TSkinSession* s = SessionFor(window);
    if (!s) return FALSE;
    s->Include(window);
    return Succeed();
  });
}

BOOL __stdcall DaskelSkinCheckSkinW(const wchar_t* skinFile) {
  return ApiCall([&] {
    if (!skinFile || !*skinFile) return Fail(L"no skin file given");
    TSkinPackage package;
    return PackageFromFile(skinFile, &package) ? Succeed() : FALSE;
  });
}

BOOL __stdcall DaskelSkinCheckSkinA(const char* skinFile) {
  return ApiCall([&] {
    std::wstring path = skinFile ? Widen(skinFile) : std::wstring();
    return DaskelSkinCheckSkinW(path.c_str());
  });
}

BOOL __stdcall DaskelSkinIsRunning(void) {
  return ApiCall([&] {
    TSkinSession* s = TSkinSession::Current();
    return s && !s->Stopping() ? Succeed() : Fail(L"the engine is not running");
  });
}

BOOL __stdcall DaskelSkinIsWindowSkinned(HWND window) {
  return ApiCall([&] {
    TSkinSession* s = SessionFor(window);
    if (!s) return FALSE;
    return s->IsSkinned(window) ? Succeed() : Fail(L"the window is not skinned");
  });
}

BOOL __stdcall DaskelSkinGetCounts(DaskelSkinCounts* counts) {
  return ApiCall([&] {
    if (!counts) return Fail(L"no place for the counts given (a null pointer)");
    if (counts->size != sizeof(DaskelSkinCounts))
      return Fail(L"the counts' size field does not hold sizeof(DaskelSkinCounts)");
    TSkinManage* m = SkinManager();
    counts->windowSkinners = m ? static_cast<DWORD>(m->Forms().size()) : 0;
    counts->menuSkinners = m ? static_cast<DWORD>(m->Popups().size()) : 0;
    counts->controlSkinners = static_cast<DWORD>(TSkinControl::Alive());
    counts->windowProcedures = static_cast<DWORD>(TWindowSubclass::ThunksAlive());
    counts->hooks = m && m->Hooked() ? 1 : 0;
    return Succeed();
  });
}

const wchar_t* __stdcall DaskelSkinLastErrorW(void) { return tError.c_str(); }

const char* __stdcall DaskelSkinLastErrorA(void) {
  try {
    tErrorA = Narrow(tError);
  } catch (...) {
    tErrorA.clear();
  }
  return tErrorA.c_str();
}

}  // extern "C"
