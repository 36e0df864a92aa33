// skinrun.exe from outside, as a person runs it: a missing program, a missing or bad skin, a
// program that ends at once, a program that shows a window (skinned under skinrun, not without),
// and a program that starts a second process and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string WindowsPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

const std::string kSkinrun = "\"" + WindowsPath(SKINRUN_EXE) + "\"";
const std::string kProbe = "\"" + WindowsPath(PROBE_EXE) + "\"";

std::string TempFile(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct TRun {
  int code = -1;
  std::string err;  // what it said on standard error
};

// Runs a console command line to its end (at most a minute), its standard error in a file.
TRun RunConsole(const std::string& commandLine) {
  static int runs = 0;
  TRun r;
  // A file of its own for each run: the last one's may still be held by the process that ended.
  const std::string errFile =
      TempFile(("skinrun-test-stderr-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs))
                   .c_str());
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE err =
      CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &sa,
                  CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdError = err;
  si.hStdOutput = err;
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;
  if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                     &pi)) {
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      r.code = static_cast<int>(code);
    } else {
      TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(err);
  r.err = ReadFile(errFile);
  DeleteFileA(errFile.c_str());
  return r;
}

TEST(Skinrun, AMissingProgramIsNamed) {
  TRun r = RunConsole(kSkinrun + " Z:\\no\\such\\program.exe");
  EXPECT_EQ(r.code, 127);
  EXPECT_NE(r.err.find("cannot find the program"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("program.exe"), std::string::npos) << r.err;
}

TEST(Skinrun, AMissingOrBadSkinIsNamedAndNothingIsStarted) {
  TRun missing = RunConsole(kSkinrun + " --skin Z:\\no\\such\\skin.skn " + kProbe + " exit 7");
  EXPECT_EQ(missing.code, 125);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;

  const std::string bad = TempFile("skinrun-test-bad.skn");
  std::ofstream(bad, std::ios::binary) << "This is a text file, not a skin package.\n";
  TRun notSkin = RunConsole(kSkinrun + " --skin \"" + bad + "\" " + kProbe + " exit 7");
  DeleteFileA(bad.c_str());
  EXPECT_EQ(notSkin.code, 125);
  EXPECT_NE(notSkin.err.find("not a skin package"), std::string::npos) << notSkin.err;

  TRun noProgram = RunConsole(kSkinrun + " --skin");
  EXPECT_EQ(noProgram.code, 125);
  EXPECT_NE(noProgram.err.find("--skin"), std::string::npos) << noProgram.err;
}

TEST(Skinrun, AProgramThatEndsAtOnceGivesItsExitCode) {
  TRun r = RunConsole(kSkinrun + " " + kProbe + " exit 7");
  EXPECT_EQ(r.code, 7);
  EXPECT_EQ(r.err, "");
}

TEST(Skinrun, AProgramsWindowIsSkinnedUnderSkinrunAndNotWithout) {
  EXPECT_EQ(RunConsole(kProbe + " window").code, 11);
  TRun r = RunConsole(kSkinrun + " --skin \"" + WindowsPath(DASKEL_BINARY_DIR "/skins/dark.skn") + "\" " +
                      kProbe + " window");
  EXPECT_EQ(r.code, 10) << r.err;
  EXPECT_EQ(RunConsole(kSkinrun + " " + kProbe + " window").code, 10) << "the built-in skin";
}

TEST(Skinrun, AProgramThatStartsASecondProcessGivesItsOwnExitCode) {
  const std::string answer = TempFile("skinrun-test-second.txt");
  DeleteFileA(answer.c_str());
  TRun r = RunConsole(kSkinrun + " " + kProbe + " spawn 5 \"" + answer + "\"");
  EXPECT_EQ(r.code, 5) << r.err;
  // The second process was not started by skinrun: it runs as it is, unskinned, to its end.
  DWORD start = GetTickCount();
  while (ReadFile(answer).empty() && GetTickCount() - start < 30000) Sleep(50);
  EXPECT_EQ(ReadFile(answer), "11");
  DeleteFileA(answer.c_str());
}

}  // namespace
