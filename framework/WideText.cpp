#include "framework/WideText.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                        nullptr);
  return s;
}

std::wstring WindowTextW(HWND wnd) {
  if (!wnd) return {};
  // Most window texts are short: one message fetches them whole (each message to a window is a
  // trip to the window server under Wine). A longer one is asked for its length first.
  wchar_t shortText[256];
  shortText[0] = L'\0';
  const LRESULT got =
      SendMessageW(wnd, WM_GETTEXT, std::size(shortText), reinterpret_cast<LPARAM>(shortText));
  if (got <= 0) return {};
  if (got < static_cast<LRESULT>(std::size(shortText)) - 1)
    return std::wstring(shortText, wcsnlen(shortText, static_cast<std::size_t>(got)));
  // The length is an upper bound (an ANSI window's is counted in bytes); the copy says how much
  // there really is.
  LRESULT length = SendMessageW(wnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied = SendMessageW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied > 0 ? std::min<LRESULT>(copied, length) : 0));
  return text;
}
