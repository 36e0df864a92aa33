// Where the scheduler gets the time: the real local clock, or a fake one in tests.
#pragma once

#include <string>

#include "app/Unit1Schedule.h"

class TClock {
 public:
  virtual ~TClock() = default;
  virtual TLocalTime Now() = 0;
};

// The local clock of the system (Windows build).
TClock& SystemClock();

// The date in the user's short date format and the time in the user's long time format.
std::string FormatShortDate(const TLocalTime& t);
std::string FormatLongTime(const TLocalTime& t);
