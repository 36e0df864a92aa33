// Text between the ANSI code page and UTF-16. The framework's own texts are bytes in the ANSI
// code page (GBK for the scheduler); the windows of other programs keep theirs as UTF-16. What
// reads or draws the text of any window holds it wide: an ANSI text widened here with the ANSI
// code page is exactly what the ANSI drawing functions would have made of it, and a Unicode
// window's text never passes through a code page that lacks its characters.
#pragma once

#include <windows.h>

#include <string>

std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);

// The window's text (WM_GETTEXT), whole, as UTF-16, whatever kind the window is: the system
// converts an ANSI window's answer from the ANSI code page.
std::wstring WindowTextW(HWND wnd);
