// TSkinSession: the engine running on one thread of a program that is not built on our framework.
// It owns the skin data component, hands the manager the thread's windows in place of the
// framework application's forms, and carries out what the C API asks, at once or, when asked
// from inside a skinned window's message handling, as soon as that has ended.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/ExceptionBarrier.h"
#include "skin/data/VuzUrezDataElements.h"
#include "skin/manager/SkinManage.h"

class TSkinData;

// The visible top-level windows of one thread: what a switch-on action skins.
class TThreadWindows : public TSkinWindowSource {
 public:
  explicit TThreadWindows(DWORD thread) : thread_(thread) {}
  std::vector<HWND> Windows() const override;
  TCustomForm* FormOf(HWND) const override { return nullptr; }

 private:
  DWORD thread_;
};

// A skin the API has checked: the bytes of a skin file and, where the check has read it, the
// skin itself (NoSkin where it has not: the built-in skin is read when it is used).
struct TSkinPackage {
  std::string Bytes;
  TSkinElements Skin;
};

class TSkinSession {
 public:
  // The session of this process, or nullptr when the engine does not run.
  static TSkinSession* Current();
  // Starts the engine on the calling thread with the checked package. False with *error when it
  // cannot.
  static bool Start(TSkinPackage&& package, std::wstring* error);

  DWORD Thread() const { return thread_; }
  bool Stopping() const { return stopping_; }
  void SetSkin(TSkinPackage&& package);
  void Enable(bool on);
  void Stop();
  void Exclude(HWND wnd);
  void Include(HWND wnd);
  bool IsSkinned(HWND wnd) const;

  TSkinSession(const TSkinSession&) = delete;
  TSkinSession& operator=(const TSkinSession&) = delete;

 private:
  explicit TSkinSession(DWORD thread);
  ~TSkinSession();
  // Runs the change now, or, while a skinned window is handling a message (its skinner may not
  // be freed under it), from the thread's next timer message after that handling has ended.
  void Change(std::function<void()> change);
  static void CALLBACK DeferredProc(HWND, UINT, UINT_PTR, DWORD);
  void RunDeferred();
  void EndNow();

  DWORD thread_;
  TThreadWindows windows_;
  TSkinData* data_ = nullptr;
  std::vector<std::function<void()>> deferred_;
  UINT_PTR timer_ = 0;
  bool stopping_ = false;
  TExceptionHandler previousHandler_;  // given back when the engine ends
};

// The bytes of the built-in skin (a skin file's bytes), from the DLL's resources.
std::string BuiltInSkinPackage();
