// The skinning engine's diagnostic texts go to one sink. It discards them; a developer who wants
// to see them can switch the sink to the debugger output.
#pragma once

#include <string>

void SkinTrace(const std::string& text);
// "%1x" / "%1d" style formatting of one value into a trace text.
std::string SkinTraceHex(const char* prefix, unsigned long long value);
// Whether texts reach the debugger output (off by default).
void SetSkinTraceToDebugger(bool on);
