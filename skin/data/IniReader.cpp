#include "skin/data/IniReader.h"

#include "skin/data/SkinRead.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\x1a'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerOf(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerOf(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerOf(a[i]) != LowerOf(b[i])) return false;
  return true;
}

void TIniReader::Load(std::string_view text) {
  sections_.clear();
  index_.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TSection* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        sections_.push_back({std::string(line.substr(1, close - 1)), {}});  // kept as written, blanks too
        index_.try_emplace(LowerAscii(sections_.back().name), sections_.size() - 1);
        current = &sections_.back();
        continue;
      }
    }
    if (!current) continue;  // keys before the first section belong to no section
    std::size_t eq = line.find('=');
    std::string_view name = Trim(line.substr(0, eq));
    std::string_view value = eq == std::string_view::npos ? std::string_view() : Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    current->keys.push_back({std::string(name), std::string(value)});
  }
}

const TIniReader::TSection* TIniReader::FindSection(std::string_view name) const {
  auto found = index_.find(LowerAscii(name));
  return found == index_.end() ? nullptr : &sections_[found->second];
}

std::vector<std::string> TIniReader::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const TSection& s : sections_) names.push_back(s.name);
  return names;
}

std::string TIniReader::ReadString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
  if (const TSection* s = FindSection(section))
    for (const TKey& k : s->keys)
      if (EqualsNoCase(k.name, key)) return k.value;
  return std::string(def);
}

std::int32_t TIniReader::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  std::int32_t v;
  return ParseIniInteger(ReadString(section, key), v) ? v : def;
}

bool ParseIniInteger(std::string_view s, std::int32_t& value) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  bool hex = false;
  if (!s.empty() && s.front() == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  std::uint64_t v = 0;
  for (char c : s) {
    int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    v = v * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    // Hexadecimal covers the 32 bits; the sign applies afterwards.
    auto u = static_cast<std::uint32_t>(v);
    value = static_cast<std::int32_t>(negative ? 0u - u : u);
    return true;
  }
  if (v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  value =
      negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v)) : static_cast<std::int32_t>(v);
  return true;
}
