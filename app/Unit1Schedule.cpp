#include "app/Unit1Schedule.h"

#include <cstdlib>

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
