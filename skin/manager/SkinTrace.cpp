#include "skin/manager/SkinTrace.h"

#include <windows.h>

#include <cstdio>

namespace {
bool gToDebugger = false;
}

void SetSkinTraceToDebugger(bool on) { gToDebugger = on; }

void SkinTrace(const std::string& text) {
  if (gToDebugger) OutputDebugStringA((text + "\n").c_str());
}

std::string SkinTraceHex(const char* prefix, unsigned long long value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%llx", value);
  return std::string(prefix) + buf;
}
