// Skin package reader and the INI reader of skin descriptions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/IniReader.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"
#include "tools/skintool/SkinPack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string S(std::span<const std::uint8_t> b) { return std::string(b.begin(), b.end()); }

// A raw unpacked package with a hand-written names text.
Bytes Raw(const std::string& names, const std::vector<std::int32_t>& sizes, const std::string& data,
          std::int32_t version = 20000, std::int32_t namesLength = -2, std::int32_t reserved = 0) {
  Bytes out;
  AppendLE32(out, version);
  AppendLE32(out, namesLength == -2 ? static_cast<std::int32_t>(names.size()) : namesLength);
  AppendLE32(out, reserved);
  AppendLE32(out, reserved);
  out.insert(out.end(), names.begin(), names.end());
  for (auto s : sizes) AppendLE32(out, s);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST(SkinReader, NamesSplitOnEveryLineEndAndAreLowerCased) {
  EXPECT_EQ(SplitMemberNames("A.bmp\r\nb.INI\r\n"), (std::vector<std::string>{"a.bmp", "b.ini"}));
  EXPECT_EQ(SplitMemberNames("A.bmp\r\nb.INI"), (std::vector<std::string>{"a.bmp", "b.ini"}));
  EXPECT_EQ(SplitMemberNames("a\nb\rc\r\n\r\nd"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_EQ(SplitMemberNames(std::string("a\r\nb\0c\r\n", 8)), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(SplitMemberNames("").empty());
}

TEST(SkinReader, FindsMembersByNameWhateverTheCase) {
  Bytes stored = BuildStoredPackage(
      {{"Skin.INI.bak", B("old")}, {"SKIN.ini", B("[x]")}, {"Left.BMP", B("LL")}, {"empty.bmp", {}}});
  TSkinReader r;
  ASSERT_EQ(r.LoadPackage(stored.data(), stored.size()), TPackageStatus::Ok);
  ASSERT_EQ(r.Count(), 4u);
  EXPECT_EQ(S(*r.FindEntry("left.bmp")), "LL");
  EXPECT_EQ(S(*r.FindEntry("LEFT.bmp")), "LL");
  EXPECT_FALSE(r.FindEntry("right.bmp"));
  auto empty = r.FindEntry("Empty.bmp");  // found, but holds nothing: the same as missing for images
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->empty());
  std::string found = "unchanged";
  EXPECT_EQ(S(*r.FindEntryContaining(".ini", &found)), "old");  // first containing, not ending
  EXPECT_EQ(found, "skin.ini.bak");
  EXPECT_FALSE(r.FindEntryContaining(".INI", &found));  // the text is used as given
  EXPECT_EQ(found, "skin.ini.bak");
}

TEST(SkinReader, ReservedWordsAndExtraTrailingBytesHaveNoEffect) {
  TSkinReader r;
  ASSERT_EQ(r.LoadUnpacked(Raw("a\r\nb\r\n", {2, 3}, "xxyyyTRAILING", 20000, -2, -12345)),
            TPackageStatus::Ok);
  EXPECT_EQ(S(*r.FindEntry("b")), "yyy");
  ASSERT_EQ(r.LoadUnpacked(Raw("A\r\na\r\n", {1, 2}, "xyy")), TPackageStatus::Ok);
  EXPECT_EQ(S(*r.FindEntry("a")), "x");  // a name given twice finds its first member
}

TEST(SkinReader, WrongVersionIsReportedAndKeepsThePreviousPackage) {
  TSkinReader r;
  ASSERT_EQ(r.LoadUnpacked(Raw("a\r\n", {1}, "x")), TPackageStatus::Ok);
  std::string error;
  EXPECT_EQ(r.LoadUnpacked(Raw("b\r\n", {1}, "y", 10000), &error), TPackageStatus::WrongVersion);
  EXPECT_NE(error.find("10000"), std::string::npos);
  EXPECT_EQ(S(*r.FindEntry("a")), "x");
  EXPECT_EQ(std::string(kOlderSkinFileMessage), "This is Older Skin File\rPlease update to new version !");
}

TEST(SkinReader, InconsistentPackagesAreRefusedWithoutReadingPastTheData) {
  struct Case {
    const char* what;
    Bytes data;
  } cases[] = {
      {"shorter than the header", Bytes{0x20, 0x4E, 0, 0, 1}},
      {"negative names length", Raw("a\r\n", {1}, "x", 20000, -5)},
      {"names length past the end", Raw("a\r\n", {1}, "x", 20000, 1000)},
      {"size table past the end", Raw("a\r\nb\r\nc\r\n", {1}, "")},
      {"negative member size", Raw("a\r\nb\r\n", {1, -1}, "xy")},
      {"member past the end", Raw("a\r\nb\r\n", {1, 100}, "xy")},
      {"huge member size", Raw("a\r\n", {0x7FFFFFFF}, "xy")},
      {"empty", Bytes{}},
  };
  for (auto& c : cases) {
    TSkinReader r;
    std::string error;
    EXPECT_EQ(r.LoadUnpacked(c.data, &error), TPackageStatus::Corrupt) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(r.Count(), 0u);
  }
  // A stored package whose declared length is absurd is refused before decoding.
  Bytes stored = {0xFF, 0xFF, 0xFF, 0x7F, 0};
  TSkinReader r;
  EXPECT_EQ(r.LoadPackage(stored.data(), stored.size()), TPackageStatus::Corrupt);
  stored = {0, 0, 0, 0};  // declared length 0: nothing unpacks, no header
  EXPECT_EQ(r.LoadPackage(stored.data(), stored.size()), TPackageStatus::Corrupt);
}

TEST(SkinReader, ManyMembersAreAccepted) {
  std::vector<TPackMember> members;
  for (int i = 0; i < 1500; ++i) members.push_back({"m" + std::to_string(i) + ".bmp", B(std::to_string(i))});
  TSkinReader r;
  ASSERT_EQ(r.LoadUnpacked(BuildUnpackedPackage(members)), TPackageStatus::Ok);
  EXPECT_EQ(r.Count(), 1500u);
  EXPECT_EQ(S(*r.FindEntry("m1499.bmp")), "1499");
}

TEST(IniReader, PrivateProfileSemantics) {
  TIniReader ini(
      "; comment\r\n"
      "orphan=1\r\n"
      "[Personality]\r\n"
      "  Left =  left.bmp  \r\n"
      "TextShift=0x1F\n"
      "Neg=-12\r"
      "Dollar=$ff\r\n"
      "Bad=12abc\r\n"
      "Plus=+7\r\n"
      "Big=2147483648\r\n"
      "Min=-2147483648\r\n"
      "Quoted=\"a b\"\r\n"
      "Half=\"a b\r\n"
      "Eq=a=b\r\n"
      "left=second\r\n"
      "[Colours]\r\n"
      "ButtonFace=1 2 3\r\n"
      "[personality]\r\n"
      "Extra=hidden\r\n"
      "[Broken\r\n"
      "[ Spaced ]\r\n"
      "k=v\r\n"
      "[Empty]");
  EXPECT_EQ(ini.ReadSections(),
            (std::vector<std::string>{"Personality", "Colours", "personality", " Spaced ", "Empty"}));
  EXPECT_EQ(ini.ReadString("PERSONALITY", "LEFT"), "left.bmp");     // first key of the name wins
  EXPECT_EQ(ini.ReadString("personality", "Extra", "def"), "def");  // only the first section counts
  EXPECT_EQ(ini.ReadString("Personality", "Quoted"), "a b");
  EXPECT_EQ(ini.ReadString("Personality", "Half"), "\"a b");
  EXPECT_EQ(ini.ReadString("Personality", "Eq"), "a=b");
  EXPECT_EQ(ini.ReadString("colours", "buttonface"), "1 2 3");
  EXPECT_EQ(ini.ReadString("Nowhere", "x", "d"), "d");
  EXPECT_EQ(ini.ReadString("", "orphan", "d"), "d");
  EXPECT_EQ(ini.ReadString(" spaced ", "K"), "v");  // section names are not trimmed inside the brackets
  EXPECT_EQ(ini.ReadString("Spaced", "k", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("Personality", "TextShift", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Personality", "Neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("Personality", "Dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("Personality", "Bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Personality", "Plus", -1), 7);
  EXPECT_EQ(ini.ReadInteger("Personality", "Big", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Personality", "Min", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("Personality", "Missing", 42), 42);
  EXPECT_EQ(ini.ReadInteger("Personality", "Left", 42), 42);
  std::int32_t v = 0;
  EXPECT_TRUE(ParseIniInteger("0xFFFFFFFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_FALSE(ParseIniInteger("0x100000000", v));
  EXPECT_FALSE(ParseIniInteger("-", v));
  EXPECT_FALSE(ParseIniInteger("0x", v));
}

}  // namespace
