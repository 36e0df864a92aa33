#include "app/Unit1Schedule.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

std::int64_t LocalMs(const TLocalTime& t) {
  return DaysFromCivil(t.Year, t.Month, t.Day) * kMsPerDay + t.TimeOfDayMs();
}

TLocalTime LocalTimeAt(std::int64_t ms) {
  std::int64_t days = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
  auto rest = static_cast<std::int32_t>(ms - days * kMsPerDay);
  TLocalTime t;
  CivilFromDays(days, t.Year, t.Month, t.Day);
  t.Hour = rest / 3'600'000;
  t.Minute = rest / 60'000 % 60;
  t.Second = rest / 1000 % 60;
  t.Millisecond = rest % 1000;
  return t;
}

std::int32_t SecondsLeft(std::int64_t deadlineMs, std::int64_t nowMs) {
  std::int64_t left = deadlineMs - nowMs;
  std::int64_t seconds = left >= 0 ? (left + 500) / 1000 : -((-left + 499) / 1000);
  if (seconds > INT32_MAX) return INT32_MAX;
  if (seconds < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(seconds);
}

std::int32_t SplitToSeconds(std::int32_t differenceMs) {
  std::int32_t magnitude = std::abs(differenceMs) % kMsPerDay;
  std::int32_t hours = magnitude / 3'600'000;
  std::int32_t minutes = (magnitude / 60'000) % 60;
  std::int32_t seconds = (magnitude / 1000) % 60;
  return hours * 3600 + minutes * 60 + seconds;
}

TArmResult ArmSeconds(bool tomorrow, int hour, int minute, std::int32_t nowFirstMs,
                      std::int32_t nowSecondMs) {
  const std::int32_t targetMs = (hour * 60 + minute) * 60'000;
  TArmResult r;
  if (tomorrow) {
    const std::int32_t endOfTodayMs = (23 * 3600 + 59 * 60 + 59) * 1000;
    r.Seconds = SplitToSeconds(endOfTodayMs - nowFirstMs) + SplitToSeconds(targetMs);
    return r;
  }
  if (targetMs < nowFirstMs) {
    r.Refused = true;
    return r;
  }
  // The clock may pass the target between the two readings; the magnitude of that small negative
  // difference would be a count that never meets zero, so such a target counts as reached now.
  r.Seconds = targetMs < nowSecondMs ? 0 : SplitToSeconds(targetMs - nowSecondMs);
  return r;
}

std::string FormatRemaining(std::int32_t n) {
  if (n >= 3600)
    return std::to_string(n / 3600) + "小时" + std::to_string(n % 3600 / 60) + "分" + std::to_string(n % 60) +
           "秒";
  if (n >= 60) return "0小时" + std::to_string(n / 60) + "分" + std::to_string(n % 60) + "秒";
  return "0小时 0分" + std::to_string(n) + "秒";
}

TMinuteRule ApplyMinuteRule(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  std::string digits(text);
  for (char c : digits) {
    // The mask only lets digits in; anything else (set by a program) reads as no minute at all.
    if (c < '0' || c > '9') {
      digits.clear();
      break;
    }
  }
  if (digits.size() > 2) digits = "99";  // longer than the field: past the last minute
  if (digits.size() == 1) digits = "0" + digits;
  if (digits.empty()) digits = "00";
  int number = (digits[0] - '0') * 10 + (digits[1] - '0');
  return {number <= 59 ? digits : std::string("59"), number};
}

std::vector<std::string> HourList(int firstHour) {
  std::vector<std::string> hours;
  for (int h = firstHour < 0 ? 0 : firstHour; h <= 23; ++h) hours.push_back(std::to_string(h));
  return hours;
}

std::string ClockText(std::string_view shortDate, std::string_view longTime) {
  std::string s = "\x0E当前时间：";
  s += shortDate;
  s += "\x0E\x0E";
  s += longTime;
  s += "\x0E";
  return s;
}

std::string CountdownText(std::int32_t seconds) { return "\x0E离关机时间还有:" + FormatRemaining(seconds); }

std::string WarningText(std::string_view prompt, std::string_view actionName) {
  std::string s(prompt);
  s += "\r点击【Yes】将取消";
  s += actionName;
  return s;
}
