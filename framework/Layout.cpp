#include "framework/Layout.h"

#include <cctype>
#include <functional>

#include "framework/Classes.h"

ELayoutError::ELayoutError(const std::string& layout, int line, const std::string& message,
                           const std::string& text)
    : std::runtime_error(layout + "(" + std::to_string(line) + "): " + message +
                         (text.empty() ? "" : ": " + text)),
      line_(line) {}

namespace {

constexpr int kMaxDepth = 64;
constexpr std::size_t kShownText = 60;

std::string Shown(const std::string& s) {
  return s.size() > kShownText ? s.substr(0, kShownText) + "..." : s;
}

class Parser {
 public:
  Parser(const std::string& text, const std::string& name, TLayoutEncoding encoding)
      : s_(text), name_(name), gbk_(encoding == leGbk) {}

  TLayoutObject Root() {
    Skip();
    TLayoutObject root = Object(0);
    Skip();
    if (p_ < s_.size()) Fail("text after the end of the layout", Word());
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& msg, const std::string& text) {
    throw ELayoutError(name_, line_, msg, Shown(text));
  }

  // Skips blanks and // comments, counting lines.
  void Skip() {
    while (p_ < s_.size()) {
      char c = s_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++p_;
      } else if (c == '/' && p_ + 1 < s_.size() && s_[p_ + 1] == '/') {
        while (p_ < s_.size() && s_[p_] != '\n') ++p_;
      } else {
        break;
      }
    }
  }

  static bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  // The next run of non-blank characters, for messages.
  std::string Word() const {
    std::size_t e = p_;
    while (e < s_.size() && !std::isspace(static_cast<unsigned char>(s_[e]))) ++e;
    return s_.substr(p_, e - p_);
  }

  std::string Ident(bool dotted) {
    if (p_ >= s_.size() || !IdentStart(s_[p_])) Fail("name expected", Word());
    std::size_t b = p_;
    while (p_ < s_.size() &&
           (IdentChar(s_[p_]) || (dotted && s_[p_] == '.' && p_ + 1 < s_.size() && IdentStart(s_[p_ + 1]))))
      ++p_;
    return s_.substr(b, p_ - b);
  }

  void Expect(char c) {
    Skip();
    if (p_ >= s_.size() || s_[p_] != c) Fail(std::string("'") + c + "' expected", Word());
    ++p_;
  }

  TLayoutObject Object(int depth) {
    if (depth > kMaxDepth) Fail("objects nested too deeply", Word());
    TLayoutObject o;
    o.Line = line_;
    std::string kw = p_ < s_.size() && IdentStart(s_[p_]) ? Ident(false) : std::string();
    if (kw != "object") Fail("'object' expected", kw.empty() ? Word() : kw);
    Skip();
    o.Name = Ident(false);
    Expect(':');
    Skip();
    o.ClassName = Ident(false);
    for (;;) {
      Skip();
      if (p_ >= s_.size()) Fail("'end' missing for object " + o.Name, "");
      std::size_t save = p_;
      int line = line_;
      std::string word = IdentStart(s_[p_]) ? Ident(true) : std::string();
      if (word.empty()) Fail("property name expected", Word());
      if (word == "end") return o;
      if (word == "object") {
        p_ = save;
        o.Children.push_back(Object(depth + 1));
        continue;
      }
      TLayoutProperty prop;
      prop.Name = word;
      prop.Line = line;
      Expect('=');
      Skip();
      prop.Value = Value(depth, false);
      o.Props.push_back(std::move(prop));
    }
  }

  // In lists every string is an item of its own; elsewhere adjacent strings are joined.
  TLayoutValue Value(int depth, bool inList) {
    if (depth > kMaxDepth) Fail("values nested too deeply", Word());
    TLayoutValue v;
    v.Line = line_;
    if (p_ >= s_.size()) Fail("value expected", "");
    std::size_t b = p_;
    char c = s_[p_];
    if (c == '"') {
      v.kind = TLayoutValue::String;
      for (;;) {
        v.Str += QuotedString();
        std::size_t save = p_;
        int line = line_;
        Skip();
        if (!inList && p_ < s_.size() && s_[p_] == '"') continue;
        p_ = save;
        line_ = line;
        break;
      }
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = TLayoutValue::Integer;
      v.Int = Integer();
    } else if (IdentStart(c)) {
      v.kind = TLayoutValue::Ident;
      v.Str = Ident(false);
    } else if (c == '[') {
      v.kind = TLayoutValue::List;
      ++p_;
      for (;;) {
        Skip();
        if (p_ < s_.size() && s_[p_] == ']') {
          ++p_;
          break;
        }
        v.Items.push_back(Value(depth + 1, true));
        Skip();
        if (p_ < s_.size() && s_[p_] == ',') ++p_;
      }
    } else if (c == '{') {
      v.kind = TLayoutValue::Binary;
      ++p_;
      int hi = -1;
      for (;;) {
        Skip();
        if (p_ >= s_.size()) Fail("'}' missing", "");
        char h = s_[p_];
        if (h == '}') break;
        int d = std::isdigit(static_cast<unsigned char>(h))        ? h - '0'
                : (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F') ? (h | 0x20) - 'a' + 10
                                                                   : -1;
        if (d < 0) Fail("hex digit expected in binary data", Word());
        ++p_;
        if (hi < 0) {
          hi = d;
        } else {
          v.Str += static_cast<char>(hi * 16 + d);
          hi = -1;
        }
      }
      if (hi >= 0) Fail("odd number of hex digits in binary data", "");
      ++p_;
      v.Text = "{...}";
      return v;
    } else if (c == '@') {
      Fail("file placeholder not filled in by the build", Word());
    } else {
      Fail("value expected", Word());
    }
    v.Text = s_.substr(b, p_ - b);
    return v;
  }

  std::string QuotedString() {
    ++p_;  // opening quote
    std::string out;
    for (;;) {
      if (p_ >= s_.size() || s_[p_] == '\n') Fail("unterminated string", "");
      char c = s_[p_++];
      auto u = static_cast<unsigned char>(c);
      if (gbk_ && u >= 0x81 && u <= 0xFE && p_ < s_.size() && s_[p_] != '\n') {
        out += c;  // a double-byte character: its second byte is never an escape or a quote
        out += s_[p_++];
        continue;
      }
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (p_ >= s_.size()) Fail("unterminated string", "");
      char e = s_[p_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case '\\':
          out += '\\';
          break;
        case '"':
          out += '"';
          break;
        case 'x': {
          int value = 0, digits = 0;
          while (digits < 2 && p_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[p_]))) {
            char h = s_[p_++];
            value =
                value * 16 + (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (h | 0x20) - 'a' + 10);
            ++digits;
          }
          if (digits == 0) Fail("hex digits expected after \\x", Word());
          out += static_cast<char>(value);
          break;
        }
        default:
          Fail(std::string("unknown escape \\") + e, Word());
      }
    }
  }

  long long Integer() {
    std::size_t b = p_;
    bool neg = false;
    if (s_[p_] == '-') {
      neg = true;
      ++p_;
    }
    int base = 10;
    if (p_ + 1 < s_.size() && s_[p_] == '0' && (s_[p_ + 1] == 'x' || s_[p_ + 1] == 'X')) {
      base = 16;
      p_ += 2;
    }
    unsigned long long v = 0;
    int digits = 0;
    while (p_ < s_.size()) {
      char h = s_[p_];
      int d = std::isdigit(static_cast<unsigned char>(h))                  ? h - '0'
              : base == 16 && std::isxdigit(static_cast<unsigned char>(h)) ? (h | 0x20) - 'a' + 10
                                                                           : -1;
      if (d < 0) break;
      v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFull) Fail("number out of range", s_.substr(b, p_ + 1 - b));
      ++digits;
      ++p_;
    }
    if (digits == 0 || (p_ < s_.size() && IdentChar(s_[p_]))) {
      p_ = b;
      Fail("malformed number", Word());
    }
    long long r = static_cast<long long>(v);
    return neg ? -r : r;
  }

  const std::string& s_;
  const std::string& name_;
  bool gbk_;
  std::size_t p_ = 0;
  int line_ = 1;
};

// ---- applying a parsed layout to components

class Reader {
 public:
  Reader(TComponent* root, const std::string& name) : root_(root), name_(name) {}

  void Read(const TLayoutObject& tree) {
    if (!root_->InheritsFrom(tree.ClassName))
      throw ELayoutError(name_, tree.Line, "layout is for another class", tree.ClassName);
    root_->SetState(csLoading | csReading);
    root_->SetName(tree.Name);
    Apply(root_, tree);
    for (const TLayoutObject& child : tree.Children) Create(child, root_);
    for (auto& fix : fixups_) fix();
    BindFields(tree);
    for (TComponent* c : created_) c->ClearState(csReading);
    root_->ClearState(csReading);
    for (TComponent* c : created_) c->Loaded();
    root_->Loaded();
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& msg, const std::string& text) {
    throw ELayoutError(name_, line, msg, Shown(text));
  }

  void Create(const TLayoutObject& o, TComponent* parent) {
    const TClassInfo* cls = FindClass(o.ClassName);
    if (!cls) Fail(o.Line, "unknown class", o.ClassName);
    if (!cls->Create) Fail(o.Line, "class cannot be created from a layout", o.ClassName);
    if (root_->FindComponent(o.Name)) Fail(o.Line, "duplicate component name", o.Name);
    TComponent* c = cls->Create(root_);
    c->SetState(csLoading | csReading);
    c->SetName(o.Name);
    created_.push_back(c);
    c->SetParentComponent(parent);
    Apply(c, o);
    for (const TLayoutObject& child : o.Children) Create(child, c);
  }

  void Apply(TObject* obj, const TLayoutObject& o) {
    for (const TLayoutProperty& p : o.Props) {
      TObject* target = obj;
      std::string name = p.Name;
      for (std::size_t dot; (dot = name.find('.')) != std::string::npos;) {
        const TPropInfo* outer = target->ClassType().FindProp(name.substr(0, dot));
        if (!outer || outer->Kind != pkObject) Fail(p.Line, "unknown property", p.Name);
        target = outer->GetObject(target);
        name = name.substr(dot + 1);
      }
      const TPropInfo* info = target->ClassType().FindProp(name);
      if (!info) Fail(p.Line, "unknown property", p.Name);
      Assign(target, *info, p);
    }
  }

  long long Ordinal(const TPropInfo& info, const TLayoutValue& v) {
    for (std::size_t i = 0; i < info.Names->size(); ++i)
      if (v.kind == TLayoutValue::Ident && SameText((*info.Names)[i], v.Str))
        return static_cast<long long>(i);
    Fail(v.Line, "unknown value", v.Text);
  }

  void Assign(TObject* target, const TPropInfo& info, const TLayoutProperty& p) {
    const TLayoutValue& v = p.Value;
    switch (info.Kind) {
      case pkInteger: {
        long long n = 0;
        if (v.kind == TLayoutValue::Integer) {
          n = v.Int;
        } else if (!(v.kind == TLayoutValue::Ident && info.IdentToInt && info.IdentToInt(v.Str, &n))) {
          Fail(v.Line, "integer expected", v.Text);
        }
        info.SetOrd(target, n);
        return;
      }
      case pkBoolean:
      case pkEnum:
        info.SetOrd(target, Ordinal(info, v));
        return;
      case pkSet: {
        if (v.kind != TLayoutValue::List) Fail(v.Line, "set expected", v.Text);
        long long bits = 0;
        for (const TLayoutValue& item : v.Items) {
          long long i = Ordinal(info, item);
          if (i >= 63) Fail(item.Line, "set member out of range", item.Text);
          bits |= 1ll << i;
        }
        info.SetOrd(target, bits);
        return;
      }
      case pkString:
        if (v.kind != TLayoutValue::String) Fail(v.Line, "string expected", v.Text);
        info.SetStr(target, v.Str);
        return;
      case pkStrings: {
        if (v.kind != TLayoutValue::List) Fail(v.Line, "string list expected", v.Text);
        TStrings* list = info.GetStrings(target);
        list->BeginUpdate();
        list->Clear();
        for (const TLayoutValue& item : v.Items) {
          if (item.kind != TLayoutValue::String) Fail(item.Line, "string expected", item.Text);
          list->Add(item.Str);
        }
        list->EndUpdate();
        return;
      }
      case pkBinary:
        if (v.kind != TLayoutValue::Binary) Fail(v.Line, "binary data expected", v.Text);
        info.SetStr(target, v.Str);
        return;
      case pkObject:
        Fail(p.Line, "a nested object takes its properties one by one", p.Name);
      case pkEvent: {
        if (v.kind != TLayoutValue::Ident) Fail(v.Line, "handler name expected", v.Text);
        const TMethodEntry* m = root_->ClassType().FindMethod(v.Str);
        if (!m) Fail(v.Line, "unknown handler", v.Str);
        if (!info.SetEvent(target, root_, *m)) Fail(v.Line, "handler has the wrong parameters", v.Str);
        return;
      }
      case pkComponent: {
        if (v.kind != TLayoutValue::Ident) Fail(v.Line, "component name expected", v.Text);
        // Resolved after the whole layout exists: a reference may point forward.
        fixups_.push_back([this, target, &info, v] {
          TComponent* c = SameText(v.Str, root_->Name()) ? root_ : root_->FindComponent(v.Str);
          if (!c) Fail(v.Line, "unknown component", v.Str);
          if (!info.SetComponent(target, c)) Fail(v.Line, "component of the wrong class", v.Str);
        });
        return;
      }
    }
  }

  void BindFields(const TLayoutObject& tree) {
    for (const TClassInfo* cls = &root_->ClassType(); cls; cls = cls->Parent) {
      for (const TFieldEntry& f : cls->Fields) {
        TComponent* c = root_->FindComponent(f.Name);
        if (!c) Fail(tree.Line, "no component for field", f.Name);
        if (!f.Bind(root_, c)) Fail(tree.Line, "component is not a " + f.Class->Name, f.Name);
      }
    }
  }

  TComponent* root_;
  const std::string& name_;
  std::vector<TComponent*> created_;
  std::vector<std::function<void()>> fixups_;
};

}  // namespace

TLayoutObject ParseLayout(const std::string& text, const std::string& layoutName, TLayoutEncoding encoding) {
  return Parser(text, layoutName, encoding).Root();
}

void ReadLayout(TComponent* root, const std::string& text, const std::string& layoutName,
                TLayoutEncoding encoding) {
  TLayoutObject tree = ParseLayout(text, layoutName, encoding);
  Reader(root, layoutName).Read(tree);
}
