// The scheduler's arithmetic and power dispatch, at the edges where a slip would shut a computer
// down at the wrong time or not at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Unit1Power.h"
#include "app/Unit1Schedule.h"
#include "tests/SchedulerFakes.h"

namespace {

std::int32_t Ms(int h, int m, int s, int ms = 0) { return ((h * 60 + m) * 60 + s) * 1000 + ms; }

TEST(ArmSeconds, TodayTruncatesMillisecondsAndAcceptsTheCurrentMinuteOnlyBeforeItStarts) {
  // 10:06 armed at 10:05:00.4: 59.6 seconds left, counted as 59.
  EXPECT_EQ(ArmSeconds(false, 10, 6, Ms(10, 5, 0, 400), Ms(10, 5, 0, 400)).Seconds, 59);
  // 10:05 at 10:05:30 is already past: refused.
  EXPECT_TRUE(ArmSeconds(false, 10, 5, Ms(10, 5, 30), Ms(10, 5, 30)).Refused);
  // Exactly now is accepted, with nothing left.
  auto exact = ArmSeconds(false, 10, 5, Ms(10, 5, 0), Ms(10, 5, 0));
  EXPECT_FALSE(exact.Refused);
  EXPECT_EQ(exact.Seconds, 0);
  // 23:59 at 23:00:00 and a whole hour ahead.
  EXPECT_EQ(ArmSeconds(false, 23, 59, Ms(23, 0, 0), Ms(23, 0, 0)).Seconds, 59 * 60);
  EXPECT_EQ(ArmSeconds(false, 0, 0, Ms(0, 0, 0), Ms(0, 0, 0)).Seconds, 0);
}

TEST(ArmSeconds, ClockPassingTheTargetBetweenTheTwoReadingsCountsAsReached) {
  // Checked at 10:04:59.9 (accepted), read again at 10:05:00.2: the target is 0.2 s behind.
  auto r = ArmSeconds(false, 10, 5, Ms(10, 5, 0) - 100, Ms(10, 5, 0, 200));
  EXPECT_FALSE(r.Refused);
  EXPECT_EQ(r.Seconds, 0);
}

TEST(ArmSeconds, TomorrowCountsToTheEndOfTodayAsOneSecondBeforeMidnight) {
  EXPECT_EQ(ArmSeconds(true, 10, 0, Ms(10, 0, 0), Ms(10, 0, 0)).Seconds, 86'399);
  EXPECT_EQ(ArmSeconds(true, 0, 0, Ms(0, 0, 0), Ms(0, 0, 0)).Seconds, 86'399);
  // Any time is accepted tomorrow, even one earlier than now.
  EXPECT_EQ(ArmSeconds(true, 9, 0, Ms(23, 30, 0), Ms(23, 30, 0)).Seconds, 29 * 60 + 59 + 9 * 3600);
  // At 23:59:59.5 the end of today is half a second behind: its magnitude is dropped, not added.
  EXPECT_EQ(ArmSeconds(true, 0, 1, Ms(23, 59, 59, 500), Ms(23, 59, 59, 500)).Seconds, 60);
}

TEST(Deadline, LocalTimesMapToOneScaleAcrossMidnightAndMonthsAndBack) {
  TLocalTime evening{2026, 12, 31, 23, 59, 59, 900};
  TLocalTime morning{2027, 1, 1, 0, 0, 1, 100};
  EXPECT_EQ(LocalMs(morning) - LocalMs(evening), 1200);
  TLocalTime leap{2028, 2, 29, 12, 0, 0, 0};
  EXPECT_EQ(LocalMs(TLocalTime{2028, 3, 1, 12, 0, 0, 0}) - LocalMs(leap), kMsPerDay);
  TLocalTime back = LocalTimeAt(LocalMs(evening) + 3'600'000);
  EXPECT_EQ(back.Year, 2027);
  EXPECT_EQ(back.Hour, 0);
  EXPECT_EQ(back.Minute, 59);
  EXPECT_EQ(back.Second, 59);
  EXPECT_EQ(back.Millisecond, 900);
}

TEST(Deadline, SecondsLeftRoundsToTheNearestSecondOnBothSidesOfZero) {
  EXPECT_EQ(SecondsLeft(10'000, 0), 10);
  EXPECT_EQ(SecondsLeft(10'000, 1'016), 9);  // a late tick still shows its second
  EXPECT_EQ(SecondsLeft(10'000, 1'600), 8);
  EXPECT_EQ(SecondsLeft(10'000, 10'000), 0);
  EXPECT_EQ(SecondsLeft(10'000, 10'400), 0);
  EXPECT_EQ(SecondsLeft(10'000, 10'600), -1);
  EXPECT_EQ(SecondsLeft(0, 3'600'000), -3600);
}

TEST(FormatRemaining, EachRangeHasItsOwnShape) {
  EXPECT_EQ(FormatRemaining(3725), "1小时2分5秒");
  EXPECT_EQ(FormatRemaining(3600), "1小时0分0秒");
  EXPECT_EQ(FormatRemaining(3599), "0小时59分59秒");
  EXPECT_EQ(FormatRemaining(125), "0小时2分5秒");
  EXPECT_EQ(FormatRemaining(60), "0小时1分0秒");
  EXPECT_EQ(FormatRemaining(59), "0小时 0分59秒");
  EXPECT_EQ(FormatRemaining(0), "0小时 0分0秒");
  EXPECT_EQ(FormatRemaining(86'399), "23小时59分59秒");
  EXPECT_EQ(CountdownText(42), "\x0E离关机时间还有:0小时 0分42秒");
}

TEST(MinuteRule, MakesTwoDigitsAndClampsOnlyTheText) {
  struct Case {
    const char* in;
    const char* text;
    int spinner;
  } cases[] = {{" 7", "07", 7},  {"7 ", "07", 7},  {"07", "07", 7}, {"75", "59", 75},
               {"60", "59", 60}, {"61", "59", 61}, {"", "00", 0},   {"  ", "00", 0},
               {"59", "59", 59}, {"0", "00", 0},   {"x", "00", 0},  {"123", "59", 99}};
  for (const auto& c : cases) {
    auto r = ApplyMinuteRule(c.in);
    EXPECT_EQ(r.Text, c.text) << "'" << c.in << "'";
    EXPECT_EQ(r.Spinner, c.spinner) << "'" << c.in << "'";
    // The text written back is stable: applying the rule to it changes nothing.
    EXPECT_EQ(ApplyMinuteRule(r.Text).Text, r.Text);
  }
}

TEST(HourList, StartsAtTheFirstHourAndEndsAt23) {
  EXPECT_EQ(HourList(23), std::vector<std::string>{"23"});
  auto all = HourList(0);
  ASSERT_EQ(all.size(), 24u);
  EXPECT_EQ(all.front(), "0");
  EXPECT_EQ(all[9], "9");
  EXPECT_EQ(all.back(), "23");
}

TEST(Texts, ClockAndWarningKeepTheirSeparators) {
  EXPECT_EQ(ClockText("2026/12/7", "21:30:05"),
            "\x0E当前时间：2026/12/7\x0E\x0E"
            "21:30:05\x0E");
  EXPECT_EQ(WarningText("单击这里修改提示内容", "注销"), "单击这里修改提示内容\r点击【Yes】将取消注销");
}

TEST(PowerAction, NtFamilyEnablesThePrivilegeAndAsksForEachActionItsOwnWay) {
  const std::vector<std::string> expected[] = {{"privilege", "exit 9 planned"},
                                               {"privilege", "exit 2"},
                                               {"privilege", "exit 4"},
                                               {"privilege", "power 00"},
                                               {"privilege"}};
  for (int code = 0; code <= 4; ++code) {
    RecordingPower p;
    DoPowerAction(p, code);
    EXPECT_EQ(p.calls, expected[code]) << "code " << code;
  }
}

TEST(PowerAction, OlderFamilyForcesPowerOffForEveryAction) {
  for (int code = 0; code <= 3; ++code) {
    RecordingPower old;
    old.platform = kVerPlatformWin32Windows;
    DoPowerAction(old, code);
    EXPECT_EQ(old.calls, std::vector<std::string>{"exit 29"});
  }
  RecordingPower unknown;
  unknown.platform = 7;
  EXPECT_EQ(GetWinVersion(unknown), "");
}

TEST(PowerAction, AnUnknownFamilyGetsTheRequestedActionNeverAPowerOff) {
  for (bool versionOk : {false, true}) {
    RecordingPower p;
    p.versionOk = versionOk;
    p.platform = 7;
    DoPowerAction(p, 1);
    EXPECT_EQ(p.calls, (std::vector<std::string>{"privilege", "exit 2"}));
  }
}

TEST(PowerAction, ARefusalSaysWhyAndAMissingPrivilegeAloneStopsNothing) {
  RecordingPower p;
  EXPECT_EQ(DoPowerAction(p, 0), "");
  p.requestRefused = true;
  std::string why = DoPowerAction(p, 0);
  EXPECT_NE(why.find("request refused"), std::string::npos) << why;
  // Without the privilege the request is still made (a log-off needs none) ...
  RecordingPower logoff;
  logoff.privilegeRefused = true;
  EXPECT_EQ(DoPowerAction(logoff, 2), "");
  EXPECT_EQ(logoff.calls, (std::vector<std::string>{"privilege", "exit 4"}));
  // ... and when it then fails, the missing privilege is the reason given.
  logoff.requestRefused = true;
  why = DoPowerAction(logoff, 3);
  EXPECT_NE(why.find("no privilege"), std::string::npos) << why;
}

TEST(PowerAction, DryRunReportsTheRequestsInsteadOfMakingThem) {
  RecordingPower real;
  std::vector<std::string> lines;
  TDryRunPowerService dry(
      real, "", [] { return std::string("2026-12-07 10:00:00"); },
      [](void* ctx, const std::string& line) {
        static_cast<std::vector<std::string>*>(ctx)->push_back(line);
      },
      &lines);
  DoPowerAction(dry, 2);
  DoPowerAction(dry, 3);
  EXPECT_TRUE(real.calls.empty());
  EXPECT_EQ(lines, (std::vector<std::string>{"2026-12-07 10:00:00 AdjustTokenPrivileges(SeShutdownPrivilege)",
                                             "2026-12-07 10:00:00 ExitWindowsEx(4 EWX_LOGOFF|EWX_FORCE, 0)",
                                             "2026-12-07 10:00:00 AdjustTokenPrivileges(SeShutdownPrivilege)",
                                             "2026-12-07 10:00:00 SetSystemPowerState(FALSE, FALSE)"}));
  EXPECT_EQ(ExitFlagsText(29), "EWX_SHUTDOWN|EWX_FORCE|EWX_POWEROFF|EWX_FORCEIFHUNG");
}

}  // namespace
