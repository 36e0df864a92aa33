// Owning the window procedure of a window: a small per-object trampoline (thunk) routes the
// window's messages to one C++ object, the previous procedure is saved, and giving it back
// restores exactly what was there. Every skinner that takes over a window does it through this.
#pragma once

#include <windows.h>

// The subclass of one window by one object. Messages reach Owner::WndProc-like handlers through
// the handler given at Attach; CallPrevious hands a message on to the saved procedure.
class TWindowSubclass {
 public:
  using THandler = LRESULT (*)(void* object, HWND, UINT, WPARAM, LPARAM);
  struct TThunk;  // the trampoline's code and what it calls
  TWindowSubclass() = default;
  ~TWindowSubclass() { Restore(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Takes over the window; false when already attached or the window is gone.
  bool Attach(HWND wnd, void* object, THandler handler);
  // Gives the saved procedure back. When another subclass was installed on top of ours since,
  // ours cannot be taken out of the chain: the thunk is then kept alive, passing every message
  // straight on, until the window is destroyed.
  void Restore();
  bool Attached() const { return thunk_ != nullptr; }
  HWND Window() const;
  WNDPROC Previous() const;
  LRESULT CallPrevious(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) const;

  // Trampolines alive in the process (each attached subclass holds one), for leak checks.
  static int ThunksAlive();
  // Messages that subclass objects of this thread are handling right now (nested ones count
  // each): while it is not 0, no subclass object may be freed.
  static int Depth();

 private:
  TThunk* thunk_ = nullptr;
};
