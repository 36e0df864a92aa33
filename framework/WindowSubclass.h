// Owning the window procedure of a window: a small per-object trampoline (thunk) turns the
// window's messages into calls of one member function of one object, the previous procedure is
// saved, and giving it back restores exactly what was there. Every skinner and every framework
// control takes over its window through this; nothing else writes a window procedure.
//
// Each message, in one place: the message record is built, the handler runs behind the exception
// barrier (framework/ExceptionBarrier.h), and whether the handler passed the message on is noted.
// WM_NCDESTROY reaches the previous procedure whatever the handler did (passed it, threw, let go
// of the window), and the subclass lets go of the window after it. A Unicode window is subclassed
// and called through the wide functions, so it stays Unicode.
#pragma once

#include <windows.h>

#include "framework/Classes.h"

class TWindowSubclass {
 public:
  using THandler = void (*)(void* object, TMessage& m);
  struct TThunk;  // what one trampoline calls with
  TWindowSubclass() = default;
  ~TWindowSubclass() { Restore(); }
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Takes over the window: every message becomes (object->*Method)(m), whose m.Result is the
  // answer. False when already attached or the window is gone.
  template <auto Method, class T>
  bool Attach(HWND wnd, T* object) {
    return AttachHandler(wnd, object, [](void* o, TMessage& m) { (static_cast<T*>(o)->*Method)(m); });
  }
  // Gives the saved procedure back. When another subclass was installed on top of ours since,
  // ours cannot be taken out of the chain: the thunk then passes every message straight on until
  // the window is destroyed. Safe inside a message of the window, and from the owner's destructor.
  void Restore();
  bool Attached() const { return thunk_ != nullptr; }
  HWND Window() const { return thunk_ ? wnd_ : nullptr; }
  // The procedure saved at the last Attach; kept after Restore for messages still on their way.
  WNDPROC Previous() const { return previous_; }
  bool Unicode() const { return unicode_; }
  // Hands m on to the saved procedure and notes that it went on (the default procedure when none
  // was saved).
  void CallPrevious(TMessage& m) const;
  // Notes that m went on another way (a default procedure the handler calls itself).
  void PassedOn(const TMessage& m) const { PassedOn(wnd_, previous_, m); }

  // For the procedure of an ANSI window class of our own, which finds its object itself (the
  // framework's controls): the same handling of the message as a subclass gives it, without a
  // trampoline. previous: the class's default procedure.
  template <auto Method, class T>
  static LRESULT Deliver(T* object, HWND wnd, WNDPROC previous, UINT msg, WPARAM wp, LPARAM lp) {
    return Deliver(
        object, [](void* o, TMessage& m) { (static_cast<T*>(o)->*Method)(m); }, wnd, previous, false, msg, wp,
        lp);
  }
  // Calls the window's present procedure with m through the variant its kind asks for (wide for
  // a Unicode window), as the system would; m.Result is the answer.
  static LRESULT CallWindowProcedure(HWND wnd, TMessage& m);
  // Deliver's counterpart of PassedOn: m, handled for wnd, went on to previous another way.
  static void PassedOn(HWND wnd, WNDPROC previous, const TMessage& m);

  // Trampolines alive in the process (each attached subclass holds one), for leak checks.
  static int ThunksAlive();
  // Messages that subclass objects of this thread are handling right now (nested ones count
  // each): while it is not 0, no subclass object may be freed.
  static int Depth();

 private:
  bool AttachHandler(HWND wnd, void* object, THandler handler);
  static LRESULT Deliver(void* object, THandler handler, HWND wnd, WNDPROC previous, bool unicode, UINT msg,
                         WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK Dispatch(TThunk* t, UINT msg, WPARAM wp, LPARAM lp);
  static TThunk* NewThunk();
  static void FreeThunk(TThunk* t);

  TThunk* thunk_ = nullptr;
  HWND wnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = false;
};
