// The command line of Daskel.exe and the request that hands it to a running instance.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Unit1Command.h"

namespace {

TCommand Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CommandLine, SwitchesInAnyOrderBothPrefixesAnyCase) {
  TCommand c = Parse({"-T", "120", "/R", "/w", "/M", "快下班了"});
  ASSERT_EQ(c.Error, "");
  EXPECT_EQ(c.Action, 1);
  EXPECT_TRUE(c.HasDelay);
  EXPECT_EQ(c.DelaySeconds, 120);
  EXPECT_TRUE(c.Warn);
  EXPECT_EQ(c.Prompt, "快下班了");

  c = Parse({"/at", "7:05", "/tomorrow", "/h", "--dry-run=C:\\x y\\log.txt"});
  ASSERT_EQ(c.Error, "");
  EXPECT_EQ(c.Action, 3);
  EXPECT_TRUE(c.HasAt && c.Tomorrow);
  EXPECT_EQ(c.Hour, 7);
  EXPECT_EQ(c.Minute, 5);
  EXPECT_TRUE(c.DryRun);
  EXPECT_EQ(c.DryRunFile, "C:\\x y\\log.txt");

  EXPECT_TRUE(Parse({"/a"}).Cancel);
  EXPECT_TRUE(Parse({"-STATUS"}).Status);
  EXPECT_TRUE(Parse({"/s", "/?"}).Help);
  EXPECT_TRUE(Parse({"/s", "/t", "315360000"}).Error.empty());
  EXPECT_TRUE(Parse({}).Empty());
  EXPECT_TRUE(Parse({"--dry-run"}).Empty());
}

TEST(CommandLine, EachKindOfBadInputIsAUsageErrorNamingTheProblem) {
  const std::vector<std::vector<std::string>> bad = {
      {"/x"},                     // unknown switch
      {"stray"},                  // not a switch
      {"/s"},                     // an action without a time
      {"/t", "60"},               // a time without an action
      {"/s", "/r", "/t", "1"},    // two actions
      {"/s", "/t"},               // missing value
      {"/s", "/t", "-5"},         // malformed value
      {"/s", "/t", "315360001"},  // out of range
      {"/s", "/t", "12abc"},      // malformed value
      {"/s", "/at", "24:00"},     // no such time
      {"/s", "/at", "7:5"},       // malformed time
      {"/s", "/at", "7:05", "/t", "5"},
      {"/s", "/tomorrow", "/t", "5"},
      {"/m"},                   // missing text
      {"/w"},                   // nothing to warn of
      {"/a", "/s", "/t", "5"},  // cancel with arming
      {"/a", "/status"},
      {"/t=5", "/s"},
  };
  for (const auto& args : bad) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_NE(Parse(args).Error, "") << joined;
  }
  EXPECT_NE(Parse({"/x"}).Error.find("/x"), std::string::npos);
}

TEST(Request, RoundTripsAndRefusesAnythingElse) {
  const std::vector<std::string> args = {"/t", "120", "/r", "/m", "有 空格"};
  const std::string data = EncodeRequest(args);
  std::vector<std::string> back;
  ASSERT_TRUE(DecodeRequest(data.data(), data.size(), back));
  EXPECT_EQ(back, args);
  EXPECT_FALSE(DecodeRequest(nullptr, 10, back));
  EXPECT_FALSE(DecodeRequest(data.data(), data.size() - 1, back));  // last argument unterminated
  EXPECT_FALSE(DecodeRequest("Daskel2\0/a", 11, back));             // another tag
  EXPECT_FALSE(DecodeRequest(data.data(), 3, back));                // shorter than the tag
  std::string huge = EncodeRequest({std::string(kMaxRequestBytes, 'a')});
  EXPECT_FALSE(DecodeRequest(huge.data(), huge.size(), back));
  std::string many = EncodeRequest(std::vector<std::string>(1000, "/w"));
  EXPECT_FALSE(DecodeRequest(many.data(), many.size(), back));
}

}  // namespace
