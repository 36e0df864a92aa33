#include "framework/WindowSubclass.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "framework/ExceptionBarrier.h"

static_assert(sizeof(void*) == 8, "the trampoline is written for x86-64");

// What one trampoline calls with. The trampoline's code sits in a page of its own that is
// executable and never writable once written; this part, which changes, in ordinary memory.
struct TWindowSubclass::TThunk {
  void* Code;  // this thunk's trampoline, fixed for the life of the process
  HWND Wnd;
  WNDPROC Previous;
  bool Unicode;
  void* Object;
  THandler Handler;
  TWindowSubclass* Owner;  // null once the owner let go: messages then pass straight on
  int Depth;               // messages of the window being handled through this thunk
  bool Dead;               // no message will come through it again: freed once Depth is 0
};

namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kSlotSize = 32;
constexpr std::size_t kSlotsPerPage = kPageSize / kSlotSize;

std::mutex gPoolLock;
std::vector<TWindowSubclass::TThunk*> gFree;
int gAlive = 0;

// One message being handled through a thunk, innermost first: where CallPrevious notes that
// the message went on.
struct TFrame {
  TFrame* Outer;
  HWND Wnd;
  WNDPROC Previous;
  UINT Msg;
  bool Passed;
};
thread_local TFrame* gFrames = nullptr;
thread_local int gDepth = 0;  // messages handled by subclass objects, nested ones each

LONG_PTR GetProc(HWND wnd, bool unicode) {
  return unicode ? GetWindowLongPtrW(wnd, GWLP_WNDPROC) : GetWindowLongPtrA(wnd, GWLP_WNDPROC);
}

void SetProc(HWND wnd, bool unicode, LONG_PTR proc) {
  if (unicode) {
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc);
  } else {
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc);
  }
}

LRESULT CallProc(WNDPROC proc, bool unicode, HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!proc) return unicode ? DefWindowProcW(wnd, msg, wp, lp) : DefWindowProcA(wnd, msg, wp, lp);
  return unicode ? CallWindowProcW(proc, wnd, msg, wp, lp) : CallWindowProcA(proc, wnd, msg, wp, lp);
}

}  // namespace

TWindowSubclass::TThunk* TWindowSubclass::NewThunk() {
  std::lock_guard<std::mutex> lock(gPoolLock);
  if (gFree.empty()) {
    // A page of trampolines is written whole while it is only writable, then made only
    // executable; each trampoline loads the address of its own data into the first argument
    // register (in place of the window handle, which the data holds) and jumps to Dispatch.
    auto* code = static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!code) return nullptr;
    // Pages and data are never given back: the process keeps a small pool for reuse.
    auto* data = new TThunk[kSlotsPerPage]{};
    auto target = reinterpret_cast<std::uint64_t>(&TWindowSubclass::Dispatch);
    std::memset(code, 0xCC, kPageSize);  // int3 between the trampolines
    for (std::size_t i = 0; i < kSlotsPerPage; ++i) {
      std::uint8_t* c = code + i * kSlotSize;
      auto self = reinterpret_cast<std::uint64_t>(data + i);
      c[0] = 0x48, c[1] = 0xB9;  // mov rcx, imm64
      std::memcpy(c + 2, &self, 8);
      c[10] = 0x48, c[11] = 0xB8;  // mov rax, imm64
      std::memcpy(c + 12, &target, 8);
      c[20] = 0xFF, c[21] = 0xE0;  // jmp rax
      data[i].Code = c;
    }
    DWORD old = 0;
    if (!VirtualProtect(code, kPageSize, PAGE_EXECUTE_READ, &old)) {
      VirtualFree(code, 0, MEM_RELEASE);
      delete[] data;
      return nullptr;
    }
    FlushInstructionCache(GetCurrentProcess(), code, kPageSize);
    for (std::size_t i = kSlotsPerPage; i-- > 0;) gFree.push_back(data + i);
  }
  TThunk* t = gFree.back();
  gFree.pop_back();
  void* code = t->Code;
  *t = TThunk{};
  t->Code = code;
  ++gAlive;
  return t;
}

void TWindowSubclass::FreeThunk(TThunk* t) {
  std::lock_guard<std::mutex> lock(gPoolLock);
  --gAlive;
  gFree.push_back(t);
}

int TWindowSubclass::Depth() { return gDepth; }

int TWindowSubclass::ThunksAlive() {
  std::lock_guard<std::mutex> lock(gPoolLock);
  return gAlive;
}

LRESULT TWindowSubclass::Deliver(void* object, THandler handler, HWND wnd, WNDPROC previous, bool unicode,
                                 UINT msg, WPARAM wp, LPARAM lp) {
  TFrame frame{gFrames, wnd, previous, msg, false};
  gFrames = &frame;
  TMessage m{msg, wp, lp, 0};
  Guarded([&] { handler(object, m); });
  // The window's last message always goes on, whatever the handler did.
  if (msg == WM_NCDESTROY && !frame.Passed) m.Result = CallProc(previous, unicode, wnd, msg, wp, lp);
  gFrames = frame.Outer;
  return m.Result;
}

LRESULT CALLBACK TWindowSubclass::Dispatch(TThunk* t, UINT msg, WPARAM wp, LPARAM lp) {
  ++t->Depth;
  LRESULT r = 0;
  if (t->Owner) {
    ++gDepth;
    r = Deliver(t->Object, t->Handler, t->Wnd, t->Previous, t->Unicode, msg, wp, lp);
    --gDepth;
  } else {
    // A thunk its owner let go of passes messages straight on.
    r = CallProc(t->Previous, t->Unicode, t->Wnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    // No message comes after this one: the subclass lets go of the window.
    if (t->Owner) t->Owner->thunk_ = nullptr;
    t->Owner = nullptr;
    t->Dead = true;
  }
  if (--t->Depth == 0 && t->Dead) FreeThunk(t);
  return r;
}

void TWindowSubclass::CallPrevious(TMessage& m) const {
  PassedOn(m);
  if (!wnd_) return;
  m.Result = CallProc(previous_, unicode_, wnd_, m.Msg, m.WParam, m.LParam);
}

LRESULT TWindowSubclass::CallWindowProcedure(HWND wnd, TMessage& m) {
  const bool unicode = IsWindowUnicode(wnd) != FALSE;
  m.Result =
      CallProc(reinterpret_cast<WNDPROC>(GetProc(wnd, unicode)), unicode, wnd, m.Msg, m.WParam, m.LParam);
  return m.Result;
}

void TWindowSubclass::PassedOn(HWND wnd, WNDPROC previous, const TMessage& m) {
  for (TFrame* f = gFrames; f; f = f->Outer) {
    if (f->Wnd == wnd && f->Previous == previous && f->Msg == m.Msg) {
      f->Passed = true;
      return;
    }
  }
}

bool TWindowSubclass::AttachHandler(HWND wnd, void* object, THandler handler) {
  if (thunk_ || !IsWindow(wnd)) return false;
  TThunk* t = NewThunk();
  if (!t) return false;
  t->Wnd = wnd;
  t->Unicode = IsWindowUnicode(wnd) != FALSE;
  t->Object = object;
  t->Handler = handler;
  t->Owner = this;
  t->Previous = reinterpret_cast<WNDPROC>(GetProc(wnd, t->Unicode));
  SetProc(wnd, t->Unicode, reinterpret_cast<LONG_PTR>(t->Code));
  thunk_ = t;
  wnd_ = wnd;
  previous_ = t->Previous;
  unicode_ = t->Unicode;
  return true;
}

void TWindowSubclass::Restore() {
  TThunk* t = thunk_;
  if (!t) return;
  thunk_ = nullptr;
  t->Owner = nullptr;
  if (!IsWindow(t->Wnd)) {
    t->Dead = true;
  } else if (GetProc(t->Wnd, t->Unicode) == reinterpret_cast<LONG_PTR>(t->Code)) {
    SetProc(t->Wnd, t->Unicode, reinterpret_cast<LONG_PTR>(t->Previous));
    t->Dead = true;
  }
  // Otherwise another subclass sits on top: ours passes messages on until WM_NCDESTROY.
  if (t->Dead && t->Depth == 0) FreeThunk(t);
}
