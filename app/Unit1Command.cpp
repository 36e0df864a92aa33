#include "app/Unit1Command.h"

#include <cstring>

namespace {

constexpr char kRequestTag[] = "Daskel1";  // with its zero byte
constexpr std::size_t kMaxArguments = 32;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool Digits(const std::string& s, std::size_t most) {
  if (s.empty() || s.size() > most) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// "H:MM" or "HH:MM", 00:00 to 23:59.
bool ParseClock(const std::string& s, int& hour, int& minute) {
  const std::size_t colon = s.find(':');
  if (colon == std::string::npos) return false;
  const std::string h = s.substr(0, colon), m = s.substr(colon + 1);
  if (!Digits(h, 2) || !Digits(m, 2) || m.size() != 2) return false;
  hour = std::stoi(h);
  minute = std::stoi(m);
  return hour <= 23 && minute <= 59;
}

TCommand Fail(std::string error) {
  TCommand c;
  c.Error = std::move(error);
  return c;
}

}  // namespace

TCommand ParseCommandLine(const std::vector<std::string>& args) {
  TCommand c;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return Fail("多余的参数: " + arg);
    std::string name = arg.substr(arg.compare(0, 2, "--") == 0 ? 2 : 1);
    std::string value;
    const std::size_t eq = name.find('=');
    if (eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    name = Lower(name);
    if (eq != std::string::npos && name != "dry-run") return Fail("开关不带 = 值: " + arg);
    // The switches that take the next argument as their value.
    auto next = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    static const char* const kActions[] = {"s", "r", "l", "h"};
    bool action = false;
    for (int a = 0; a < 4; ++a) {
      if (name != kActions[a]) continue;
      if (c.Action >= 0) return Fail("只能选择一个动作 (/s /r /l /h)");
      c.Action = a;
      action = true;
    }
    if (action) continue;
    if (name == "t") {
      std::string v;
      if (c.HasDelay) return Fail("/t 只能给一次");
      if (!next(v) || !Digits(v, 9) || std::stol(v) > kMaxDelaySeconds)
        return Fail("/t 需要 0 到 315360000 之间的秒数");
      c.HasDelay = true;
      c.DelaySeconds = static_cast<std::int32_t>(std::stol(v));
    } else if (name == "at") {
      std::string v;
      if (c.HasAt) return Fail("/at 只能给一次");
      if (!next(v) || !ParseClock(v, c.Hour, c.Minute))
        return Fail("/at 需要 HH:MM 形式的时间 (00:00 到 23:59)");
      c.HasAt = true;
    } else if (name == "tomorrow") {
      c.Tomorrow = true;
    } else if (name == "w") {
      c.Warn = true;
    } else if (name == "m") {
      if (c.HasPrompt) return Fail("/m 只能给一次");
      if (!next(c.Prompt)) return Fail("/m 需要提示内容");
      c.HasPrompt = c.Warn = true;
    } else if (name == "a") {
      c.Cancel = true;
    } else if (name == "status") {
      c.Status = true;
    } else if (name == "?") {
      c.Help = true;
    } else if (name == "dry-run") {
      c.DryRun = true;
      c.DryRunFile = value;
    } else {
      return Fail("未知的开关: " + arg);
    }
  }
  if (c.Help) return c;
  if (c.HasDelay && c.HasAt) return Fail("/t 和 /at 只能选一个");
  if (c.Tomorrow && !c.HasAt) return Fail("/tomorrow 只能与 /at 一起使用");
  if ((c.Cancel || c.Status) && (c.Arms() || c.Action >= 0 || c.Warn || (c.Cancel && c.Status)))
    return Fail("/a 和 /status 不能与其他开关一起使用");
  if (c.Arms() && c.Action < 0) return Fail("缺少动作 (/s /r /l /h)");
  if (c.Action >= 0 && !c.Arms()) return Fail("缺少时间 (/t 秒数 或 /at HH:MM)");
  if (c.Warn && !c.Arms()) return Fail("/w 和 /m 只能与 /t 或 /at 一起使用");
  return c;
}

std::string UsageText() {
  return "用法: Daskel.exe [/s | /r | /l | /h] [/t 秒数 | /at HH:MM [/tomorrow]] [/w] [/m \"提示\"]\r\n"
         "       Daskel.exe /a | /status | /?\r\n"
         "  /s  关闭计算机      /r  重新启动      /l  注销      /h  休眠\r\n"
         "  /t 秒数             从现在起的秒数 (0 到 315360000)\r\n"
         "  /at HH:MM           今天的这个时间, 已过则为明天; /tomorrow 总是明天\r\n"
         "  /w                  关机前一分钟提示; /m \"提示\" 提示的内容\r\n"
         "  /a                  取消执行          /status  显示任务和剩余时间\r\n"
         "  /dry-run[=文件]     演习: 不关机, 只显示 (并记入文件) 将要发出的请求\r\n"
         "开关也可以写成 -s 等, 不分大小写。退出码: 0 已执行, 1 被拒绝, 2 用法错误。\r\n";
}

std::string EncodeRequest(const std::vector<std::string>& args) {
  std::string data(kRequestTag, sizeof kRequestTag);
  for (const auto& a : args) {
    data += a;
    data += '\0';
  }
  return data;
}

bool DecodeRequest(const void* data, std::size_t size, std::vector<std::string>& args) {
  args.clear();
  if (!data || size < sizeof kRequestTag || size > kMaxRequestBytes) return false;
  const char* p = static_cast<const char*>(data);
  if (std::memcmp(p, kRequestTag, sizeof kRequestTag) != 0) return false;
  std::size_t at = sizeof kRequestTag;
  while (at < size) {
    const void* end = std::memchr(p + at, '\0', size - at);
    if (!end || args.size() == kMaxArguments) return false;
    const std::size_t length = static_cast<const char*>(end) - (p + at);
    args.emplace_back(p + at, length);
    at += length + 1;
  }
  return true;
}
