#include "framework/ExceptionBarrier.h"

namespace {
// Constant-initialised: windows made by static initialisers may report before main runs.
TExceptionHandler gHandler = nullptr;
}  // namespace

TExceptionHandler SetExceptionHandler(TExceptionHandler handler) {
  TExceptionHandler old = gHandler;
  gHandler = handler;
  return old;
}

void ReportException(const std::exception* e) noexcept {
  if (!gHandler) return;
  try {
    gHandler(e);
  } catch (...) {
    // The report failed too: nothing sensible is left to do with it here.
  }
}
