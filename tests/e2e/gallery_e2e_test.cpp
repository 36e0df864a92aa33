// The real SkinGallery.exe, used the way a person uses it: both built-in skins, skinning off and
// on, the system dialog, the framework's message box, and a --skin file that is no skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

using namespace e2e;

namespace {

constexpr UINT kSkinQuery = 0x3504;  // a skinned window answers 1

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  return answer == 1;
}

// Mean brightness of a strip of the title bar right of its middle, where neither skin puts the
// caption text nor the caption buttons.
double TitleBrightness(HWND w) {
  Pixels p = WindowPixels(w);
  return p.Brightness(RECT{p.Width * 6 / 10, 6, p.Width * 8 / 10, 14});
}

int Lightness(COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; }

// What r shows of a field: the colour most of its pixels have (its ground), the colour most of
// the pixels clearly off the ground have (its text), and the lightest pixel.
struct Field {
  COLORREF ground = 0, ink = 0;
  int lightest = 0;
};
Field FieldIn(const Pixels& p, const RECT& r) {
  std::map<COLORREF, int> count;
  Field f;
  for (int y = std::max(0, int(r.top)); y < std::min(p.Height, int(r.bottom)); ++y)
    for (int x = std::max(0, int(r.left)); x < std::min(p.Width, int(r.right)); ++x) {
      ++count[p.At(x, y)];
      f.lightest = std::max(f.lightest, Lightness(p.At(x, y)));
    }
  int most = 0, inkMost = 0;
  for (auto [colour, n] : count)
    if (n > most) most = n, f.ground = colour;
  for (auto [colour, n] : count)
    if (std::abs(Lightness(colour) - Lightness(f.ground)) > 40 && n > inkMost) inkMost = n, f.ink = colour;
  return f;
}

struct Gallery {
  Process process;
  HWND main = nullptr;
  HWND skinList = nullptr, skinning = nullptr, answer = nullptr;

  explicit Gallery(const std::string& args = "") : process("\"" + WindowsPath(GALLERY_EXE) + "\"" + args) {}

  HWND MainWindow() {
    auto found = TopLevels(process.Id(), "TGalleryForm", "SkinGallery");
    return found.empty() ? nullptr : found[0];
  }
  bool Find() {
    if (!WaitUntil([&] { return MainWindow() != nullptr; })) return false;
    main = MainWindow();
    auto combos = Children(main, "TComboBox");  // the skin list is the topmost
    auto panels = Children(main, "TPanel");     // the answer panel is the lowest
    if (combos.empty() || panels.empty()) return false;
    skinList = combos[0];
    answer = panels.back();
    skinning = ChildWithText(main, "TCheckBox", "Skinning on 启用皮肤");
    return skinning != nullptr;
  }
  HWND Window(const char* cls, const char* caption) {
    auto found = TopLevels(process.Id(), cls, caption);
    return found.empty() ? nullptr : found[0];
  }
};

TEST(Gallery, BothSkinsSkinningOffAndOnSystemDialogAndMessageDlg) {
  Gallery g;
  ASSERT_TRUE(g.process.Started());
  ASSERT_TRUE(g.Find()) << "main window and its controls";
  ASSERT_TRUE(WaitUntil([&] { return Skinned(g.main); })) << "the frame is skinned";
  EXPECT_EQ(TextOf(g.skinList), "Daskel Light");

  // Night: a dark title bar, still skinned; Light again: the light one comes back.
  double light = TitleBrightness(g.main);
  PickItem(g.skinList, 1);
  EXPECT_EQ(TextOf(g.skinList), "Daskel Night");
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(g.main) < light - 80; }, kPatience))
      << "light " << light << ", now " << TitleBrightness(g.main);
  EXPECT_TRUE(Skinned(g.main));
  PickItem(g.skinList, 0);
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(g.main) > light - 20; }, kPatience))
      << "light " << light << ", now " << TitleBrightness(g.main);
  EXPECT_TRUE(Skinned(g.main));

  // Skinning off gives the window back its system frame; on skins it again.
  ClickCenter(g.skinning);
  EXPECT_TRUE(WaitUntil([&] { return !Skinned(g.main); }, kPatience));
  ClickCenter(g.skinning);
  EXPECT_TRUE(WaitUntil([&] { return Skinned(g.main); }, kPatience));

  // The system dialog: skinned though nobody told the engine about it; OK closes it.
  ClickCenter(ChildWithText(g.main, "TButton", "System dialog..."));
  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (dialog = g.Window("#32770", "System dialog")) != nullptr; }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return Skinned(dialog); }, kPatience)) << "the system dialog is skinned";
  HWND ok = ChildWithText(dialog, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  ClickCenter(ok);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(g.answer) == "System dialog: OK"; }, kPatience))
      << TextOf(g.answer);

  // The framework's message box: skinned too; Yes answers it.
  ClickCenter(ChildWithText(g.main, "TButton", "MessageDlg..."));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = g.Window("TMessageForm", "Confirm")) != nullptr; }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return Skinned(box); }, kPatience)) << "the message box is skinned";
  HWND yes = FindWindowExA(box, nullptr, "TButton", "&Yes");
  ASSERT_NE(yes, nullptr);
  ClickCenter(yes);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(g.answer) == "MessageDlg: Yes"; }, kPatience))
      << TextOf(g.answer);

  PostMessageA(g.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(g.process.WaitExit(kPatience), 0);
}

// The main form as the night skin draws it, through the program's own way to it (a pick in the
// skin list, discovery of the form's controls): fields dark with light text, no ring of the
// system's white around a combo's edit, disabled captions flat in the skin's disabled grey (not
// the system's white-and-grey emboss), one combo button on the left and the text after it.
TEST(Gallery, NightSkinDrawsFieldsDisabledCaptionsAndTheLeftButtonCombo) {
  Gallery g;
  ASSERT_TRUE(g.process.Started());
  ASSERT_TRUE(g.Find());
  ASSERT_TRUE(WaitUntil([&] { return Skinned(g.main); }));
  const double light = TitleBrightness(g.main);
  PickItem(g.skinList, 1);
  ASSERT_EQ(TextOf(g.skinList), "Daskel Night");
  ASSERT_TRUE(WaitUntil([&] { return TitleBrightness(g.main) < light - 80; }, kPatience));

  // Top to bottom: the skin list, drop-down, drop-down list, button on the left, simple.
  auto combos = Children(g.main, "TComboBox");
  auto edits = Children(g.main, "TEdit");
  ASSERT_EQ(combos.size(), 5u);
  ASSERT_GE(edits.size(), 1u);
  HWND simpleList = FindWindowExA(combos[4], nullptr, "ComboLBox", nullptr);
  ASSERT_NE(simpleList, nullptr);
  for (HWND field : {edits[0], combos[1], combos[2], simpleList}) {
    Field f;
    EXPECT_TRUE(WaitUntil(
        [&] {
          Pixels p = WindowPixels(field);
          f = FieldIn(p, RECT{3, 3, p.Width - 3, p.Height - 3});
          return Lightness(f.ground) < 60 && f.lightest > Lightness(f.ground) + 120;
        },
        kPatience))
        << ClassOf(field) << " ground " << Lightness(f.ground) << ", text " << f.lightest;
  }
  HWND edit = FindWindowExA(combos[1], nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(WaitUntil(
      [&] {
        Pixels p = WindowPixels(combos[1]);
        const RECT at = ScreenRect(edit), combo = ScreenRect(combos[1]);
        const COLORREF ground = FieldIn(p, RECT{3, 3, p.Width - 3, p.Height - 3}).ground;
        return p.At(at.left - combo.left - 1, (at.top + at.bottom) / 2 - combo.top) == ground;
      },
      kPatience))
      << "the drop-down's edit is ringed in its ground";

  // The disabled push button's caption shows the skin's disabled colour.
  HWND button = ChildWithText(g.main, "TButton", "Disabled");
  ASSERT_NE(button, nullptr);
  for (const char* cls : {"TCheckBox", "TRadioButton"}) {
    HWND box = ChildWithText(g.main, cls, "Disabled");
    ASSERT_NE(box, nullptr) << cls;
    Field f;
    COLORREF disabled = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
          Pixels face = WindowPixels(button), p = WindowPixels(box);
          disabled = FieldIn(face, RECT{4, 4, face.Width - 4, face.Height - 4}).ink;
          f = FieldIn(p, RECT{18, 0, p.Width, p.Height});
          return f.ink == disabled && f.lightest < Lightness(disabled) + 20;
        },
        kPatience))
        << cls << ": caption " << std::hex << f.ink << ", the button's " << disabled << std::dec
        << ", lightest " << f.lightest;
  }

  HWND left = combos[3];
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  Field text, end;
  EXPECT_TRUE(WaitUntil(
      [&] {
        Pixels p = WindowPixels(left);
        text = FieldIn(p, RECT{b + 4, 3, b + 40, p.Height - 3});
        end = FieldIn(p, RECT{p.Width - b - 2, 3, p.Width - 3, p.Height - 3});
        return text.lightest > Lightness(text.ground) + 120 && end.ground == text.ground &&
               end.lightest == Lightness(text.ground);
      },
      kPatience))
      << "text after the button (" << text.lightest << "), nothing at the right end (" << end.lightest << ")";

  PostMessageA(g.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(g.process.WaitExit(kPatience), 0);
}

TEST(Gallery, SkinFileThatIsNoSkinIsNamedAndTheLightSkinIsUsed) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::string file = std::string(dir) + "gallery-e2e-not-a-skin.txt";
  std::ofstream(file, std::ios::binary) << "This is a text file, not a skin package.\n";
  struct Remove {
    const std::string& path;
    ~Remove() { DeleteFileA(path.c_str()); }
  } remove{file};

  Gallery g(" --skin \"" + file + "\"");
  ASSERT_TRUE(g.process.Started());
  HWND error = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (error = g.Window("#32770", "SkinGallery")) != nullptr; }))
      << "an error box";
  std::string text;
  for (HWND s : Children(error, "Static")) text += TextOf(s);
  EXPECT_NE(text.find(file), std::string::npos) << text;
  EXPECT_NE(text.find("not a skin package"), std::string::npos) << text;
  auto buttons = Children(error, "Button");
  ASSERT_EQ(buttons.size(), 1u);
  ClickCenter(buttons[0]);

  ASSERT_TRUE(g.Find()) << "the main window comes after the error box";
  EXPECT_TRUE(WaitUntil([&] { return Skinned(g.main); })) << "skinned with the built-in skin";
  EXPECT_EQ(TextOf(g.skinList), "Daskel Light");
  PostMessageA(g.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(g.process.WaitExit(kPatience), 0);
}

}  // namespace
