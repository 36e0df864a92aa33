#include "skin/manager/SkinSubclass.h"

#include <cstdint>
#include <cstring>
#include <vector>

static_assert(sizeof(void*) == 8, "the trampoline is written for x86-64");

// One trampoline: code that loads the address of its own data into the first argument register
// (in place of the window handle, which the data holds) and jumps to Dispatch.
struct TWindowSubclass::TThunk {
  std::uint8_t Code[32];
  HWND Wnd;
  WNDPROC Previous;
  void* Object;
  THandler Handler;
  bool PassThrough;  // the object let go while another subclass sat on top of ours
  bool InNcDestroy;  // WM_NCDESTROY is being handled: the trampoline is freed once it returns
  bool FreeAfter;    // given back during WM_NCDESTROY
};

namespace {

constexpr std::size_t kPageSize = 4096;
std::vector<TWindowSubclass::TThunk*> gFree;
int gAlive = 0;
thread_local int gDepth = 0;

// Counts one message being handled by a subclass object.
struct TDepthScope {
  TDepthScope() { ++gDepth; }
  ~TDepthScope() { --gDepth; }
};

LRESULT CALLBACK Dispatch(TWindowSubclass::TThunk* t, UINT msg, WPARAM wp, LPARAM lp);

TWindowSubclass::TThunk* NewThunk() {
  if (gFree.empty()) {
    void* page = VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!page) return nullptr;
    auto* blocks = static_cast<TWindowSubclass::TThunk*>(page);
    // Pages are never given back: the process keeps a small pool of trampolines for reuse.
    for (std::size_t i = kPageSize / sizeof(TWindowSubclass::TThunk); i-- > 0;) gFree.push_back(blocks + i);
  }
  TWindowSubclass::TThunk* t = gFree.back();
  gFree.pop_back();
  std::memset(t, 0, sizeof *t);
  auto data = reinterpret_cast<std::uint64_t>(t);
  auto target = reinterpret_cast<std::uint64_t>(&Dispatch);
  std::uint8_t* c = t->Code;
  c[0] = 0x48, c[1] = 0xB9;  // mov rcx, imm64
  std::memcpy(c + 2, &data, 8);
  c[10] = 0x48, c[11] = 0xB8;  // mov rax, imm64
  std::memcpy(c + 12, &target, 8);
  c[20] = 0xFF, c[21] = 0xE0;  // jmp rax
  FlushInstructionCache(GetCurrentProcess(), t->Code, sizeof t->Code);
  ++gAlive;
  return t;
}

void FreeThunk(TWindowSubclass::TThunk* t) {
  --gAlive;
  gFree.push_back(t);
}

LRESULT CALLBACK Dispatch(TWindowSubclass::TThunk* t, UINT msg, WPARAM wp, LPARAM lp) {
  HWND wnd = t->Wnd;
  if (t->PassThrough) {
    WNDPROC previous = t->Previous;
    if (msg == WM_NCDESTROY) FreeThunk(t);
    return CallWindowProcA(previous, wnd, msg, wp, lp);
  }
  TDepthScope depth;
  if (msg != WM_NCDESTROY) return t->Handler(t->Object, wnd, msg, wp, lp);
  // The window's last message: a subclass given back while handling it (even under another
  // one, which can no longer be taken out of the chain) will never see another message.
  t->InNcDestroy = true;
  LRESULT r = t->Handler(t->Object, wnd, msg, wp, lp);
  t->InNcDestroy = false;
  if (t->FreeAfter) FreeThunk(t);
  return r;
}

}  // namespace

int TWindowSubclass::ThunksAlive() { return gAlive; }
int TWindowSubclass::Depth() { return gDepth; }
HWND TWindowSubclass::Window() const { return thunk_ ? thunk_->Wnd : nullptr; }
WNDPROC TWindowSubclass::Previous() const { return thunk_ ? thunk_->Previous : nullptr; }

LRESULT TWindowSubclass::CallPrevious(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) const {
  WNDPROC previous = Previous();
  return previous ? CallWindowProcA(previous, wnd, msg, wp, lp) : DefWindowProcA(wnd, msg, wp, lp);
}

bool TWindowSubclass::Attach(HWND wnd, void* object, THandler handler) {
  if (thunk_ || !IsWindow(wnd)) return false;
  TThunk* t = NewThunk();
  if (!t) return false;
  t->Wnd = wnd;
  t->Object = object;
  t->Handler = handler;
  t->Previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t->Code));
  thunk_ = t;
  return true;
}

void TWindowSubclass::Restore() {
  TThunk* t = thunk_;
  if (!t) return;
  thunk_ = nullptr;
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(t->Wnd, GWLP_WNDPROC));
  if (t->InNcDestroy) {
    if (current == reinterpret_cast<WNDPROC>(t->Code))
      SetWindowLongPtrA(t->Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t->Previous));
    t->PassThrough = true;
    t->FreeAfter = true;
  } else if (!IsWindow(t->Wnd)) {
    FreeThunk(t);
  } else if (current == reinterpret_cast<WNDPROC>(t->Code)) {
    SetWindowLongPtrA(t->Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t->Previous));
    FreeThunk(t);
  } else {
    t->PassThrough = true;
  }
}
