#include "framework/MaskLogic.h"

#include <cctype>

TEditMask::TEditMask(const std::string& mask) {
  // Split off ";save;blank" from the end; a ';' escaped with '\' belongs to the picture.
  std::string picture = mask;
  std::size_t i = 0, start = 0;
  std::vector<std::string> fields;
  while (i < mask.size()) {
    if (mask[i] == '\\' && i + 1 < mask.size()) {
      i += 2;
      continue;
    }
    if (mask[i] == ';') {
      fields.push_back(mask.substr(start, i - start));
      start = i + 1;
    }
    ++i;
  }
  fields.push_back(mask.substr(start));
  picture = fields[0];
  if (fields.size() > 1 && !fields[1].empty()) save_ = fields[1][0] != '0';
  if (fields.size() > 2 && !fields[2].empty()) blank_ = fields[2][0];

  int caseMode = 0;
  for (std::size_t k = 0; k < picture.size(); ++k) {
    char c = picture[k];
    Slot s;
    switch (c) {
      case '!':
        leading_ = true;
        continue;
      case '>':
        if (k + 1 < picture.size() && picture[k + 1] == '<') {
          caseMode = 0;
          ++k;
        } else {
          caseMode = 1;
        }
        continue;
      case '<':
        caseMode = -1;
        continue;
      case '0':
        s.kind = kDigit;
        s.required = true;
        break;
      case '9':
        s.kind = kDigit;
        break;
      case '#':
        s.kind = kDigitSign;
        break;
      case 'L':
        s.kind = kLetter;
        s.required = true;
        break;
      case 'l':
        s.kind = kLetter;
        break;
      case 'A':
        s.kind = kAlnum;
        s.required = true;
        break;
      case 'a':
        s.kind = kAlnum;
        break;
      case 'C':
        s.kind = kAny;
        s.required = true;
        break;
      case 'c':
        s.kind = kAny;
        break;
      case '\\':
        if (k + 1 < picture.size()) c = picture[++k];
        s.literal = c;
        break;
      default:
        s.literal = c;
        break;
    }
    s.caseMode = caseMode;
    slots_.push_back(s);
  }
}

bool TEditMask::IsLiteral(int pos) const {
  return pos >= 0 && pos < Length() && slots_[static_cast<std::size_t>(pos)].kind == kLiteral;
}

bool TEditMask::Accepts(int pos, char c) const {
  if (pos < 0 || pos >= Length()) return false;
  const Slot& s = slots_[static_cast<std::size_t>(pos)];
  auto u = static_cast<unsigned char>(c);
  bool blank = c == blank_ || c == ' ';
  switch (s.kind) {
    case kLiteral:
      return c == s.literal;
    case kDigit:
      return std::isdigit(u) || (blank && !s.required);
    case kDigitSign:
      return std::isdigit(u) || c == '+' || c == '-' || blank;
    case kLetter:
      return std::isalpha(u) || u >= 0x80 || (blank && !s.required);
    case kAlnum:
      return std::isalnum(u) || u >= 0x80 || (blank && !s.required);
    case kAny:
      return c != 0 && (!blank || !s.required);
  }
  return false;
}

char TEditMask::Convert(int pos, char c) const {
  if (c == ' ') return blank_;
  int mode = slots_[static_cast<std::size_t>(pos)].caseMode;
  auto u = static_cast<unsigned char>(c);
  if (mode > 0) return static_cast<char>(std::toupper(u));
  if (mode < 0) return static_cast<char>(std::tolower(u));
  return c;
}

int TEditMask::NextEditable(int pos) const {
  if (pos < 0) pos = 0;
  while (pos < Length() && IsLiteral(pos)) ++pos;
  return pos;
}

std::string TEditMask::Format(const std::string& value) const {
  std::string chars = value;
  if (leading_) {
    int editable = 0;
    for (int p = 0; p < Length(); ++p) editable += IsLiteral(p) ? 0 : 1;
    int wanted = save_ ? Length() : editable;
    if (static_cast<int>(chars.size()) < wanted)
      chars.insert(0, static_cast<std::size_t>(wanted) - chars.size(), blank_);
  }
  std::string shown;
  std::size_t j = 0;
  for (int p = 0; p < Length(); ++p) {
    const Slot& s = slots_[static_cast<std::size_t>(p)];
    if (s.kind == kLiteral) {
      shown += s.literal;
      // The text carries the literal when literals are saved, or when it happens to match.
      if (j < chars.size() && (save_ || chars[j] == s.literal)) ++j;
      continue;
    }
    char c = j < chars.size() ? chars[j++] : blank_;
    shown += Accepts(p, c) ? Convert(p, c) : blank_;
  }
  return shown;
}

std::string TEditMask::Value(const std::string& shown) const {
  if (save_) return shown;
  std::string out;
  for (int p = 0; p < Length() && p < static_cast<int>(shown.size()); ++p)
    if (!IsLiteral(p)) out += shown[static_cast<std::size_t>(p)];
  return out;
}

int TEditMask::FirstMissing(const std::string& shown) const {
  for (int p = 0; p < Length(); ++p) {
    const Slot& s = slots_[static_cast<std::size_t>(p)];
    char c = p < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(p)] : blank_;
    if (s.kind != kLiteral && s.required && (c == blank_ || c == ' ')) return p;
  }
  return -1;
}

bool TEditMask::TypeChar(std::string& shown, int& cursor, char c) const {
  if (static_cast<int>(shown.size()) != Length()) shown = Format(shown);
  int pos = cursor;
  // Typing the literal that stands at the cursor just steps over it.
  if (IsLiteral(pos) && slots_[static_cast<std::size_t>(pos)].literal == c) {
    cursor = NextEditable(pos + 1);
    return true;
  }
  pos = NextEditable(pos);
  if (pos >= Length() || c == blank_ || !Accepts(pos, c)) return false;
  shown[static_cast<std::size_t>(pos)] = Convert(pos, c);
  cursor = NextEditable(pos + 1);
  if (cursor >= Length()) cursor = Length();
  return true;
}

void TEditMask::Blank(std::string& shown, int start, int end) const {
  if (static_cast<int>(shown.size()) != Length()) shown = Format(shown);
  if (start < 0) start = 0;
  if (end > Length()) end = Length();
  for (int p = start; p < end; ++p)
    if (!IsLiteral(p)) shown[static_cast<std::size_t>(p)] = blank_;
}

void TEditMask::Backspace(std::string& shown, int& cursor) const {
  int p = cursor - 1;
  while (p >= 0 && IsLiteral(p)) --p;
  if (p < 0) return;
  Blank(shown, p, p + 1);
  cursor = p;
}
