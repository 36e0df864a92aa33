// The command line of Daskel.exe, in the style of the system's shutdown command, and the request
// that carries it to an instance already running. Both are read here, by one parser, so a request
// from another program is checked exactly like a command line typed by the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Exit codes of a command.
constexpr int kExitDone = 0, kExitRefused = 1, kExitUsage = 2;

struct TCommand {
  int Action = -1;  // 0 shut down, 1 restart, 2 log off, 3 hibernate (the action list's order)
  bool HasDelay = false;
  std::int32_t DelaySeconds = 0;  // /t
  bool HasAt = false, Tomorrow = false;
  int Hour = 0, Minute = 0;  // /at
  bool Warn = false;         // /w, also implied by /m
  bool HasPrompt = false;
  std::string Prompt;  // /m
  bool Cancel = false, Status = false, Help = false;
  bool DryRun = false;
  std::string DryRunFile;
  std::string Error;  // set when the command line is not usable; nothing else is then valid

  bool Arms() const { return HasDelay || HasAt; }
  // Anything for a running instance to do (a dry run alone only chooses the mode).
  bool Empty() const { return !Arms() && !Cancel && !Status && !Help && Action < 0 && !Warn; }
};

constexpr std::int32_t kMaxDelaySeconds = 315'360'000;  // ten years

TCommand ParseCommandLine(const std::vector<std::string>& args);

// The usage text (GBK).
std::string UsageText();

// A request to the running instance: the arguments, each ended by a zero byte, behind a tag.
// Decoding takes bytes from another program: anything not exactly of this shape is refused.
constexpr std::size_t kMaxRequestBytes = 8192;
std::string EncodeRequest(const std::vector<std::string>& args);
bool DecodeRequest(const void* data, std::size_t size, std::vector<std::string>& args);
