// The scheduler's arithmetic: arming a task in seconds, the remaining-time text, the minute-field
// rule, the hour list and the clock text. No window is needed here, so it is tested on the host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A local date and time as the clock seam delivers it.
struct TLocalTime {
  int Year = 2000, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;

  // Milliseconds since midnight.
  std::int32_t TimeOfDayMs() const { return ((Hour * 60 + Minute) * 60 + Second) * 1000 + Millisecond; }
};

constexpr std::int32_t kMsPerDay = 86'400'000;

// A local time as milliseconds on one running scale (days counted from 1970-01-01), so that a
// deadline survives midnight and a jump of the clock; and back.
std::int64_t LocalMs(const TLocalTime& t);
TLocalTime LocalTimeAt(std::int64_t ms);

// The count a countdown tick shows: the seconds from now to the deadline, to the nearest whole
// second (a tick a few milliseconds late still shows the second it stands for).
std::int32_t SecondsLeft(std::int64_t deadlineMs, std::int64_t nowMs);

// Splits a difference of two times of day (in milliseconds) the way the countdown needs it: the
// magnitude modulo a day, milliseconds dropped. Returns hours * 3600 + minutes * 60 + seconds.
std::int32_t SplitToSeconds(std::int32_t differenceMs);

struct TArmResult {
  bool Refused = false;      // today, and the target time is already past
  std::int32_t Seconds = 0;  // the count to run down when not refused
};

// Turns the chosen day, hour and minute into a count of seconds. nowFirstMs is the time of day
// used for the "already past" test, nowSecondMs the one read again for the count (they differ by
// the few milliseconds between the two readings). Tomorrow counts to 23:59:59 of today, then the
// target, so a full day is 86 399 seconds.
TArmResult ArmSeconds(bool tomorrow, int hour, int minute, std::int32_t nowFirstMs, std::int32_t nowSecondMs);

// "1小时2分5秒", "0小时2分5秒", "0小时 0分42秒" (GBK).
std::string FormatRemaining(std::int32_t seconds);

// What the minute field becomes after its text changed: the text to write back (two digits,
// "00".."59") and the position to give the spinner (the unclamped number; the spinner limits it).
struct TMinuteRule {
  std::string Text;
  int Spinner = 0;
};
TMinuteRule ApplyMinuteRule(std::string_view fieldText);

// The hour list for the day: first hour to 23, as decimal numbers without leading zero.
std::vector<std::string> HourList(int firstHour);

// The clock caption: SO "当前时间：" date SO SO time SO, with the date and time already
// formatted in the user's short date and long time formats.
std::string ClockText(std::string_view shortDate, std::string_view longTime);

// The countdown caption: SO "离关机时间还有:" and the remaining-time text.
std::string CountdownText(std::int32_t seconds);

// The warning text: the prompt, a carriage return, "点击【Yes】将取消" and the action's name.
std::string WarningText(std::string_view prompt, std::string_view actionName);
