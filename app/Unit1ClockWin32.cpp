#include <windows.h>

#include <cstdio>

#include "app/Unit1Clock.h"

namespace {
SYSTEMTIME ToSystemTime(const TLocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.Year);
  st.wMonth = static_cast<WORD>(t.Month);
  st.wDay = static_cast<WORD>(t.Day);
  st.wHour = static_cast<WORD>(t.Hour);
  st.wMinute = static_cast<WORD>(t.Minute);
  st.wSecond = static_cast<WORD>(t.Second);
  st.wMilliseconds = static_cast<WORD>(t.Millisecond);
  return st;
}

class Win32Clock final : public TClock {
 public:
  TLocalTime Now() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  }
};
}  // namespace

TClock& SystemClock() {
  static Win32Clock clock;
  return clock;
}

std::string FormatShortDate(const TLocalTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buf[128] = {};
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf))
    snprintf(buf, sizeof buf, "%04d-%d-%d", t.Year, t.Month, t.Day);
  return buf;
}

std::string FormatLongTime(const TLocalTime& t) {
  SYSTEMTIME st = ToSystemTime(t);
  char buf[128] = {};
  if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, sizeof buf))
    snprintf(buf, sizeof buf, "%d:%02d:%02d", t.Hour, t.Minute, t.Second);
  return buf;
}
