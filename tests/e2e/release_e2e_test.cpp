// The unpacked release, run from where a user would unpack it: a folder whose path has blanks
// and Chinese characters (given as the first argument). Every program in it starts from there.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eDriver.h"

using namespace e2e;

namespace {

std::string g_folder;

std::string In(const std::string& name) { return g_folder + "\\" + name; }

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Files(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(In(pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

TEST(Release, TheFolderIsThereWithItsPrograms) {
  ASSERT_FALSE(g_folder.empty()) << "the unpacked folder is the first argument";
  for (const char* name : {"Daskel.exe", "SkinGallery.exe", "skintool.exe", "README.txt", "LICENSE.txt"})
    EXPECT_NE(GetFileAttributesA(In(name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
  EXPECT_EQ(Files("skins\\*.skn").size(), 2u);
}

TEST(Release, EveryProgramCarriesTheVersionAndTheIcon) {
  for (const std::string& exe : Files("*.exe")) {
    const std::string path = In(exe);
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << exe;
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    struct {
      WORD language, codePage;
    }* translation = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &size));
    char key[64];
    snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\ProductName", translation->language,
             translation->codePage);
    char* product = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), key, reinterpret_cast<void**>(&product), &size)) << exe;
    EXPECT_STREQ(product, "Daskel") << exe;
    EXPECT_GE(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), 1u) << exe << " has no icon";
  }
}

TEST(Release, TheSchedulerRunsADryRunFromThere) {
  const std::string log = In("dry run.txt");
  DeleteFileA(log.c_str());
  Process daskel(Quoted(In("Daskel.exe")) + " /dry-run=" + Quoted(log) + " /t 1 /r");
  ASSERT_TRUE(daskel.Started());
  EXPECT_TRUE(WaitUntil([&] { return !TopLevels(daskel.Id(), "TForm1", "Daskel1.0").empty(); }, 30000));
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadFile(log).find("ExitWindowsEx(2 EWX_REBOOT, 0)") != std::string::npos; }, 30000))
      << ReadFile(log);
}

TEST(Release, TheGalleryShowsTheShippedNightSkin) {
  Process gallery(Quoted(In("SkinGallery.exe")) + " --skin " + Quoted(In("skins\\DaskelNight.skn")));
  ASSERT_TRUE(gallery.Started());
  ASSERT_TRUE(
      WaitUntil([&] { return !TopLevels(gallery.Id(), "TGalleryForm", "SkinGallery").empty(); }, 30000));
  // A skin file it could not read would be named in an error box.
  EXPECT_TRUE(TopLevels(gallery.Id(), "TMessageForm").empty());
  EXPECT_TRUE(TopLevels(gallery.Id(), "#32770").empty());
  EXPECT_TRUE(gallery.Running());
}

TEST(Release, SkintoolFindsNoProblemInTheShippedSkins) {
  for (const std::string& skin : Files("skins\\*.skn")) {
    const std::string out = In("check.txt");
    Process check(Quoted(In("skintool.exe")) + " check " + Quoted(In("skins\\" + skin)), out);
    EXPECT_EQ(check.WaitExit(30000), 0) << skin << ": " << ReadFile(out);
  }
  DeleteFileA(In("check.txt").c_str());
}

// The programs that only some releases hold (the skin library's example, skinrun) start from
// there too: each shows a window, or ends by itself without crashing.
TEST(Release, TheOtherProgramsStartFromThere) {
  for (const std::string& exe : Files("*.exe")) {
    if (exe == "Daskel.exe" || exe == "SkinGallery.exe" || exe == "skintool.exe") continue;
    const std::string out = In("out.txt");
    Process p(Quoted(In(exe)), out);
    ASSERT_TRUE(p.Started()) << exe;
    bool ok = WaitUntil([&] { return !p.Running() || !TopLevels(p.Id()).empty(); }, 30000);
    EXPECT_TRUE(ok) << exe;
    if (!p.Running()) {
      const int code = p.WaitExit(0);
      EXPECT_TRUE(code >= 0 && code < 256) << exe << " ended with " << code << ": " << ReadFile(out);
    }
  }
  DeleteFileA(In("out.txt").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_folder = argv[1];
  return RUN_ALL_TESTS();
}
