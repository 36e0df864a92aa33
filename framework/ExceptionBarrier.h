// Where an exception that reaches the edge of our code goes: a window procedure, a timer, a
// hook or the message loop runs its work through Guarded, and what is thrown there is reported
// to the one handler the program installs (the application shows it) instead of unwinding into
// the system, which cannot carry it.
#pragma once

#include <exception>
#include <utility>

// e: the exception, or null for one that is not a std::exception.
using TExceptionHandler = void (*)(const std::exception* e);

// Installs the handler; returns the one it replaces. Without one, errors are dropped.
TExceptionHandler SetExceptionHandler(TExceptionHandler handler);
// Hands an exception to the installed handler; anything the handler throws is dropped.
void ReportException(const std::exception* e) noexcept;

// Runs f; what it throws is reported and goes no further. True when f returned normally.
template <class F>
bool Guarded(F&& f) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (const std::exception& e) {
    ReportException(&e);
  } catch (...) {
    ReportException(nullptr);
  }
  return false;
}
