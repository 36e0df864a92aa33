// Layouts: the parser (values, errors with line numbers) and the reader (creation, owners,
// parents, properties through class tables, handlers, fields, references, Loaded order).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Layout.h"

namespace {

std::vector<std::string> g_log;

enum TShape { shCircle, shSquare };
const std::vector<std::string> kShapes{"shCircle", "shSquare"};

class TInner : public TPersistent {
  DASKEL_CLASS(TInner, TPersistent)
 public:
  int Value() const { return value_; }
  void SetValue(int v) { value_ = v; }

 private:
  int value_ = 0;
};

class TItem : public TComponent {
  DASKEL_CLASS(TItem, TComponent)
 public:
  explicit TItem(TComponent* owner) : TComponent(owner) {}
  int Count() const { return count_; }
  void SetCount(int v) {
    // Only stores while the layout is read; Loaded starts the behaviour.
    storedWhileReading = HasState(csReading) && HasState(csLoading);
    count_ = v;
  }
  std::string Text() const { return text_; }
  void SetText(const std::string& s) { text_ = s; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  TShape Shape() const { return shape_; }
  void SetShape(TShape v) { shape_ = v; }
  unsigned Shapes() const { return shapes_; }
  void SetShapes(unsigned v) { shapes_ = v; }
  TStringList* Lines() { return &lines_; }
  TInner* Inner() { return &inner_; }
  void ReadData(TMemoryStream& s) { data = s.Bytes(); }
  void SetBuddy(TItem* b) { buddy = b; }
  void SetParentComponent(TComponent* p) override { parent = p; }
  void Loaded() override {
    TComponent::Loaded();
    // The whole layout exists by now.
    g_log.push_back("loaded " + Name() + (Owner()->FindComponent("Last") ? "" : " early"));
  }

  bool storedWhileReading = false;
  std::string data;
  TItem* buddy = nullptr;
  TComponent* parent = nullptr;
  TNotifyEvent OnPing;
  TMethod<TObject*, int> OnValue;

 private:
  int count_ = 0;
  std::string text_;
  bool active_ = false;
  TShape shape_ = shCircle;
  unsigned shapes_ = 0;
  TStringList lines_;
  TInner inner_;
};

class TRoot : public TComponent {
  DASKEL_CLASS(TRoot, TComponent)
 public:
  explicit TRoot(TComponent* owner) : TComponent(owner) {}
  TItem* First = nullptr;
  void Ping(TObject* sender) { g_log.push_back("ping " + static_cast<TComponent*>(sender)->Name()); }
  void Value(TObject*, int) {}
  void Loaded() override {
    TComponent::Loaded();
    g_log.push_back("loaded root");
  }
};

class TRootWithField : public TRoot {
  DASKEL_CLASS(TRootWithField, TRoot)
 public:
  explicit TRootWithField(TComponent* owner) : TRoot(owner) {}
  TItem* Missing = nullptr;
};

DASKEL_DEFINE_CLASS(TInner, TPersistent) { c.Int("Value", &TInner::Value, &TInner::SetValue); }
DASKEL_DEFINE_CLASS(TItem, TComponent) {
  c.Int("Count", &TItem::Count, &TItem::SetCount);
  c.String("Text", &TItem::Text, &TItem::SetText);
  c.Bool("Active", &TItem::Active, &TItem::SetActive);
  c.Enum("Shape", &TItem::Shape, &TItem::SetShape, kShapes);
  c.Set("Shapes", &TItem::Shapes, &TItem::SetShapes, kShapes);
  c.Strings("Lines", &TItem::Lines);
  c.Object("Inner", &TItem::Inner);
  c.Binary("Data", &TItem::ReadData);
  c.Component("Buddy", &TItem::SetBuddy);
  c.Event("OnPing", &TItem::OnPing);
  c.Event("OnValue", &TItem::OnValue);
}
DASKEL_DEFINE_CLASS(TRoot, TComponent) {
  c.Field("First", &TRoot::First);
  c.Method("Ping", &TRoot::Ping);
  c.Method("Value", &TRoot::Value);
}
DASKEL_DEFINE_CLASS(TRootWithField, TRoot) { c.Field("Missing", &TRootWithField::Missing); }

const char* kLayout = R"(// a comment
object Root1: TRoot
  object First: TItem
    Count = -12
    Text = "a\"b" "c\x41"
    Active = True
    Shape = shSquare
    Shapes = [shCircle, shSquare]
    Lines = ["one", "two"
             "three"]
    Inner.Value = 0x10
    Data = {00 41 ff}
    Buddy = Last
    OnPing = Ping
    object Child: TItem
    end
  end
  object Last: TItem
    Tag = 7
  end
end
)";

TEST(FrameworkLayout, ReaderCreatesAssignsBindsAndCallsLoadedInOrder) {
  g_log.clear();
  TRoot root(nullptr);
  ReadLayout(&root, kLayout, "Test");
  EXPECT_EQ(root.Name(), "Root1");
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* first = root.First;
  ASSERT_EQ(first, root.Components(0));
  auto* child = static_cast<TItem*>(root.Components(1));
  auto* last = static_cast<TItem*>(root.Components(2));
  EXPECT_EQ(child->parent, first) << "nested objects are told what encloses them";
  EXPECT_EQ(child->Owner(), &root) << "but belong to the root";
  EXPECT_EQ(first->parent, &root);
  EXPECT_EQ(first->Count(), -12);
  EXPECT_TRUE(first->storedWhileReading);
  EXPECT_EQ(first->Text(), "a\"bcA");
  EXPECT_TRUE(first->Active());
  EXPECT_EQ(first->Shape(), shSquare);
  EXPECT_EQ(first->Shapes(), 3u);
  EXPECT_EQ(first->Lines()->Text(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(first->Inner()->Value(), 16);
  EXPECT_EQ(first->data, std::string("\0A\xff", 3));
  EXPECT_EQ(first->buddy, last) << "references may point forward";
  EXPECT_EQ(last->Tag, 7);
  first->OnPing(first);
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded First", "loaded Child", "loaded Last", "loaded root",
                                             "ping First"}));
  EXPECT_FALSE(first->HasState(csLoading) || first->HasState(csReading) || root.HasState(csLoading));
  // Run-time access by name.
  EXPECT_EQ(GetEnumProp(first, "active"), "True");
  EXPECT_EQ(GetEnumProp(first, "Shape"), "shSquare");
  EXPECT_TRUE(SetEnumProp(first, "Active", "false"));
  EXPECT_FALSE(first->Active());
  EXPECT_FALSE(SetEnumProp(first, "Count", "1")) << "not an enumeration";
  EXPECT_FALSE(SetEnumProp(first, "Shape", "shTriangle"));
}

// Reads `body` as the item of a root and returns the error message ("" when it loads).
std::string ErrorOf(const std::string& text, TComponent* root = nullptr) {
  TRoot fallback(nullptr);
  try {
    ReadLayout(root ? root : &fallback, text, "Bad");
  } catch (const ELayoutError& e) {
    return e.what();
  }
  return "";
}

std::string Item(const std::string& props) {
  return "object R: TRoot\n  object First: TItem\n" + props + "\n  end\nend\n";
}

TEST(FrameworkLayout, ErrorsNameTheLayoutLineAndText) {
  EXPECT_EQ(ErrorOf(Item("    Colour = 3")), "Bad(3): unknown property: Colour");
  EXPECT_EQ(ErrorOf(Item("    Count = \"x\"")), "Bad(3): integer expected: \"x\"");
  EXPECT_EQ(ErrorOf(Item("    Count = 12abc")), "Bad(3): malformed number: 12abc");
  EXPECT_EQ(ErrorOf(Item("    Count = 99999999999")), "Bad(3): number out of range: 9999999999");
  EXPECT_EQ(ErrorOf(Item("    Shape = shTriangle")), "Bad(3): unknown value: shTriangle");
  EXPECT_EQ(ErrorOf(Item("    Shapes = [shCircle,\n  shOval]")), "Bad(4): unknown value: shOval");
  EXPECT_EQ(ErrorOf(Item("    Active = 1")), "Bad(3): unknown value: 1");
  EXPECT_EQ(ErrorOf(Item("    OnPing = Pong")), "Bad(3): unknown handler: Pong");
  EXPECT_EQ(ErrorOf(Item("    OnValue = Ping")), "Bad(3): handler has the wrong parameters: Ping");
  EXPECT_EQ(ErrorOf(Item("    Buddy = Nobody")), "Bad(3): unknown component: Nobody");
  EXPECT_EQ(ErrorOf(Item("    Inner.Nothing = 1")), "Bad(3): unknown property: Inner.Nothing");
  EXPECT_EQ(ErrorOf(Item("    Text = \"open")), "Bad(3): unterminated string");
  EXPECT_EQ(ErrorOf(Item("    Data = {0}")), "Bad(3): odd number of hex digits in binary data");
  EXPECT_EQ(ErrorOf(Item("    Data = @file(x.bin)")),
            "Bad(3): file placeholder not filled in by the build: @file(x.bin)");
  EXPECT_EQ(ErrorOf("object R: TRoot\n  object X: TNothing\n  end\nend\n"),
            "Bad(2): unknown class: TNothing");
  EXPECT_EQ(ErrorOf("object R: TRoot\n  object X: TPersistent\n  end\nend\n"),
            "Bad(2): class cannot be created from a layout: TPersistent");
  EXPECT_EQ(ErrorOf("object R: TRoot\n  object First: TItem\n  end\n  object First: TItem\n  end\nend\n"),
            "Bad(4): duplicate component name: First");
  EXPECT_EQ(ErrorOf("object R: TRoot\n  object First: TItem\n  end\n"), "Bad(4): 'end' missing for object R");
  EXPECT_EQ(ErrorOf("object R: TItem\nend\n"), "Bad(1): layout is for another class: TItem");
  EXPECT_EQ(ErrorOf("object R: TRoot\nend\n"), "Bad(1): no component for field: First");
  EXPECT_EQ(ErrorOf("object R: TRoot\n  object First: TRoot\n  end\nend\n"),
            "Bad(1): component is not a TItem: First");
  EXPECT_EQ(ErrorOf(Item("  end\nend\nobject")), "Bad(5): text after the end of the layout: object");
  TRootWithField withField(nullptr);
  EXPECT_EQ(ErrorOf(Item(""), &withField), "Bad(1): no component for field: Missing");
}

TEST(FrameworkLayout, DeeplyNestedInputStopsWithAnErrorNotACrash) {
  std::string deep = "object R: TRoot\n  Lines = ";
  for (int i = 0; i < 10000; ++i) deep += "[";
  EXPECT_NE(ErrorOf(deep).find("nested too deeply"), std::string::npos);
  std::string objects = "object R: TRoot\n";
  for (int i = 0; i < 10000; ++i) objects += "object X" + std::to_string(i) + ": TItem\n";
  EXPECT_NE(ErrorOf(objects).find("nested too deeply"), std::string::npos);
}

TEST(FrameworkLayout, GbkCharactersWithABackslashByteStayWhole) {
  // 0x81 0x5C is one GBK character; its second byte is the backslash.
  std::string text = "object A: TX\n  P = \"\x81\\\x41\\n\"\nend";
  TLayoutObject o = ParseLayout(text, "L", leGbk);
  EXPECT_EQ(o.Props[0].Value.Str, "\x81\\A\n");
  EXPECT_THROW(ParseLayout(text, "L", leUtf8), ELayoutError) << "read as an escape \\A otherwise";
}

TEST(FrameworkLayout, MangledLayoutsLoadOrFailCleanly) {
  // Every single-byte change of a valid layout either loads or stops with a layout error.
  std::string base = kLayout;
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  const char bytes[] = "\"\\[]{}=:.-0x9aZ\n ";
  for (int i = 0; i < 3000; ++i) {
    std::string t = base;
    t[next() % t.size()] = bytes[next() % (sizeof bytes - 1)];
    if (i % 3 == 0) t.erase(next() % t.size(), next() % 8);
    TRoot root(nullptr);
    try {
      ReadLayout(&root, t, "M");
    } catch (const ELayoutError&) {
    }
  }
  SUCCEED();
}

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(FrameworkLayout, BuildStepFillsFilesAndConvertsToGbk) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(DASKEL_BINARY_DIR) / "framework_layout_build";
  fs::create_directories(dir / "data");
  std::ofstream(dir / "data" / "blob.bin", std::ios::binary) << std::string("AB\0\xff", 4);
  std::ofstream(dir / "in.layout", std::ios::binary) << "object F: TForm1\n"
                                                     << "  Caption = \"今天\"\n"
                                                     << "  Raw = @file(blob.bin)\n"
                                                     << "  Sized = @sizedfile( \"blob.bin\" )\n"
                                                     << "end\n";
  std::string cmd = std::string("\"") + DASKEL_CMAKE + "\" -DIN=" + (dir / "in.layout").string() +
                    " -DOUT=" + (dir / "out.layout").string() + " \"-DSEARCH=/nonexistent;" +
                    (dir / "data").string() + "\" -P " + DASKEL_SOURCE_DIR + "/cmake/DaskelLayout.cmake";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  TLayoutObject o = ParseLayout(ReadAll(dir / "out.layout"), "out", leGbk);
  ASSERT_EQ(o.Props.size(), 3u);
  EXPECT_EQ(o.Props[0].Value.Str, "\xBD\xF1\xCC\xEC") << "GBK for 今天";
  EXPECT_EQ(o.Props[1].Value.Str, std::string("AB\0\xff", 4));
  EXPECT_EQ(o.Props[2].Value.Str, std::string("\x04\0\0\0AB\0\xff", 8));
  // A missing file stops the build with the placeholder named.
  std::ofstream(dir / "bad.layout", std::ios::binary)
      << "object F: TForm1\n  Raw = @file(missing.bin)\nend\n";
  std::string bad = std::string("\"") + DASKEL_CMAKE + "\" -DIN=" + (dir / "bad.layout").string() +
                    " -DOUT=" + (dir / "bad.out").string() + " -DSEARCH=" + dir.string() + " -P " +
                    DASKEL_SOURCE_DIR + "/cmake/DaskelLayout.cmake 2>/dev/null";
  EXPECT_NE(std::system(bad.c_str()), 0);
}

TEST(FrameworkLayout, ParserKeepsValuesAndLines) {
  TLayoutObject o = ParseLayout("object A: TX\n  P = [a, \"b\", 3]\n\n  Q = Ident\nend", "L");
  ASSERT_EQ(o.Props.size(), 2u);
  EXPECT_EQ(o.Props[0].Value.kind, TLayoutValue::List);
  EXPECT_EQ(o.Props[0].Value.Items.size(), 3u);
  EXPECT_EQ(o.Props[1].Line, 4);
  EXPECT_EQ(o.Props[1].Value.Str, "Ident");
}

}  // namespace
