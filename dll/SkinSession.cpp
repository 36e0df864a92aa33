#include "dll/SkinSession.h"

#include <exception>
#include <memory>
#include <utility>

#include "framework/WindowSubclass.h"
#include "skin/data/VuzUrezData.h"
#include "skin/form/SkinEngine.h"
#include "skin/form/VuzUrezForm.h"

namespace {

TSkinSession* gSession = nullptr;

// Gives the component the skin: the one the check read, or, where none was read, the bytes in
// the stored form the component reads (4-byte size, then the package).
void ReadSkin(TSkinData& data, TSkinPackage&& package) {
  if (!package.Skin.NoSkin) {
    data.TakeSkin(package.Bytes, std::move(package.Skin));
    return;
  }
  std::string stored(4, '\0');
  auto size = static_cast<std::uint32_t>(package.Bytes.size());
  for (int i = 0; i < 4; ++i)
    stored[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  stored += package.Bytes;
  TMemoryStream s;
  s.LoadFromBytes(stored);
  data.ReadSkinStream(s);
}

// Where a fault in the engine's handling of a window's message goes while the engine runs: the
// program around it is not ours, so nothing is shown to its user (the framework application
// would show a message box); the text goes to the debugger instead.
void ReportToDebugger(const std::exception* e) {
  std::string text = "DaskelSkin: internal error in a window's message handling";
  if (e) text = text + ": " + e->what();
  OutputDebugStringA((text + "\n").c_str());
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

std::string BuiltInSkinPackage() {
  HMODULE module = ThisModule();
  HRSRC res = FindResourceA(module, "DEFAULTSKIN", MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
  const char* data = mem ? static_cast<const char*>(LockResource(mem)) : nullptr;
  DWORD size = res ? SizeofResource(module, res) : 0;
  return data ? std::string(data, size) : std::string();
}

std::vector<HWND> TThreadWindows::Windows() const {
  std::vector<HWND> out;
  EnumThreadWindows(
      thread_,
      [](HWND w, LPARAM list) -> BOOL {
        // Hidden windows are skinned when they are first activated, like every later window.
        if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

TSkinSession* TSkinSession::Current() { return gSession; }

TSkinSession::TSkinSession(DWORD thread)
    : thread_(thread), windows_(thread), previousHandler_(SetExceptionHandler(&ReportToDebugger)) {}

TSkinSession::~TSkinSession() {
  SetExceptionHandler(previousHandler_);
  if (timer_) KillTimer(nullptr, timer_);
  if (gSession == this) gSession = nullptr;
}

bool TSkinSession::Start(TSkinPackage&& package, std::wstring* error) {
  // The engine's layers are handed to one another before the component's loaded step needs them.
  InstallSkinEngine();
  auto* session = new TSkinSession(GetCurrentThreadId());
  // As a form's layout makes the component: stored values and the skin, then the loaded step,
  // which creates the manager and its hook for this thread and switches skinning on.
  auto* data = new TSkinData(nullptr);
  data->SetState(csLoading | csReading);
  data->SetSkinFormtype(sfMainform);
  data->SetActive(true);
  ReadSkin(*data, std::move(package));
  data->ClearState(csLoading | csReading);
  if (data->NoSkin()) {
    delete data;
    delete session;
    if (error) *error = L"the skin could not be read";
    return false;
  }
  session->data_ = data;
  gSession = session;
  data->Loaded();
  TSkinManage* manager = SkinManager();
  if (!manager) {
    session->EndNow();
    if (error) *error = L"the engine has no skin manager";
    return false;
  }
  manager->SetWindowSource(&session->windows_);
  // Started: requests run through the manager's timer from now on, and dead windows' skinners
  // are forgotten even before the first activation.
  if (manager->FStarted == 0) manager->FStarted = 1;
  manager->RunAction(saSkinAll, data);
  return true;
}

void TSkinSession::Change(std::function<void()> change) {
  if (TWindowSubclass::Depth() == 0 && deferred_.empty()) {
    change();
    return;
  }
  deferred_.push_back(std::move(change));
  if (!timer_) timer_ = SetTimer(nullptr, 0, 0, &TSkinSession::DeferredProc);
}

void CALLBACK TSkinSession::DeferredProc(HWND, UINT, UINT_PTR id, DWORD) {
  TSkinSession* s = gSession;
  if (!s || s->timer_ != id) {
    KillTimer(nullptr, id);
    return;
  }
  s->RunDeferred();
}

void TSkinSession::RunDeferred() {
  // Still inside a skinned window's handling (a modal loop under it): wait for the next tick.
  if (TWindowSubclass::Depth() != 0) return;
  KillTimer(nullptr, timer_);
  timer_ = 0;
  auto changes = std::move(deferred_);
  deferred_.clear();
  for (auto& change : changes) {
    change();
    if (gSession != this) return;  // the engine was stopped: this object is gone
  }
}

void TSkinSession::SetSkin(TSkinPackage&& package) {
  // Held until the change runs, which may be later (a function object must be copyable).
  auto held = std::make_shared<TSkinPackage>(std::move(package));
  Change([this, held] {
    ReadSkin(*data_, std::move(*held));
    data_->ApplySkin();
    if (TSkinManage* m = SkinManager()) m->RunAction(saSkinChanged, data_);
  });
}

void TSkinSession::Enable(bool on) {
  Change([this, on] {
    data_->SetActive(on);
    if (TSkinManage* m = SkinManager()) m->RunAction(on ? saSkinAll : saUnskinAll, data_);
  });
}

void TSkinSession::Exclude(HWND wnd) {
  Change([wnd] {
    if (TSkinManage* m = SkinManager()) m->ExcludeWindow(wnd);
  });
}

void TSkinSession::Include(HWND wnd) {
  Change([wnd] {
    if (TSkinManage* m = SkinManager()) m->IncludeWindow(wnd);
  });
}

bool TSkinSession::IsSkinned(HWND wnd) const {
  TSkinManage* m = SkinManager();
  if (!m) return false;
  for (TSkinnedWindow* f : m->Forms()) {
    if (f->Handle == wnd && f->FStage != ssDead) return true;
    auto* form = dynamic_cast<TVuzUrezForm*>(f);
    if (form && form->FindWindowSkinner(wnd)) return true;
  }
  return m->HasPopup(wnd);
}

void TSkinSession::Stop() {
  stopping_ = true;
  Change([this] { EndNow(); });
}

void TSkinSession::EndNow() {
  // Every window gets its own look back first; ending the manager then only unhooks.
  if (TSkinManage* m = SkinManager()) {
    m->RunAction(saUnskinAll, data_);
    m->SetWindowSource(nullptr);
  }
  delete data_;
  data_ = nullptr;
  FreeSkinManager();
  delete this;
}
