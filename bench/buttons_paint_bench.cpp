// Paint time of skinned push buttons against the same buttons unskinned: a TButton, a TBitBtn
// with a glyph and a TSpeedButton with a glyph, 300 repaints each in plain-skinned pairs, reported
// as the median of the per-pair ratios. With --show the skinned buttons stay on
// screen until the window is closed (for screenshots).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/WinBench.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "skin/controls/WinSubClassButtons.h"

using namespace bench;

namespace {

// A 16 x 16 glyph of two frames with a transparent corner colour.
TBitmap Glyph() {
  TBitmap g(32, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      int dx = x % 16 - 8, dy = y - 8;
      g.SetPixel(
          x, y,
          dx * dx + dy * dy < 40 ? (x < 16 ? RGBColor(30, 120, 200) : RGBColor(150, 150, 150)) : clFuchsia);
    }
  return g;
}

struct TButtons {
  TButton* Button;
  TBitBtn* Bit;
  TSpeedButton* Speed;
};

TButtons Make(TForm* f, int top) {
  TButtons b{new TButton(f), new TBitBtn(f), new TSpeedButton(f)};
  b.Button->SetParent(f);
  b.Button->SetBounds(10, top, 90, 28);
  b.Button->SetCaption("Button");
  b.Bit->SetParent(f);
  b.Bit->SetBounds(110, top, 100, 28);
  b.Bit->SetCaption("Glyph");
  b.Bit->SetGlyph(Glyph());
  b.Bit->SetNumGlyphs(2);
  b.Speed->SetParent(f);
  b.Speed->SetBounds(220, top, 60, 28);
  b.Speed->SetCaption("Go");
  b.Speed->SetGlyph(Glyph());
  b.Speed->SetNumGlyphs(2);
  return b;
}

void SkinAll(TComponent* owner, const TButtons& b, TSkinData* skin) {
  (new TSkinButton(owner))->AttachControl(b.Button, skin, false, nullptr);
  (new TSkinBitButton(owner))->AttachControl(b.Bit, skin, false, nullptr);
  (new TSkinSpeedButton(owner))->AttachGraphic(b.Speed, skin, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  TSkinData* skin = LoadSkin(DASKEL_BINARY_DIR "/skins/default.skn");
  if (skin->NoSkin()) {
    std::fprintf(stderr, "no skin\n");
    return 1;
  }
  auto* f = new TForm(Application);
  f->InitializeForm();
  f->SetCaption("Skinned push buttons");
  f->SetClientWidth(300);
  f->SetClientHeight(90);
  TButtons plain = Make(f, 10), b = Make(f, 50);
  auto* owner = new TComponent(nullptr);
  f->Show();
  Pump();
  if (argc > 1 && std::strcmp(argv[1], "--show") == 0) {
    SkinAll(owner, b, skin);
    MSG msg;
    while (IsWindowVisible(f->Handle()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    return 0;
  }
  SkinAll(owner, b, skin);
  Pump();
  RECT plainSpeed = plain.Speed->BoundsRect(), skinnedSpeed = b.Speed->BoundsRect();
  auto pair = [](const char* name, HWND plainWnd, const RECT* plainRect, HWND skinnedWnd,
                 const RECT* skinnedRect) {
    Report(name, Compare([&] { return PaintOnce(plainWnd, plainRect); },
                         [&] { return PaintOnce(skinnedWnd, skinnedRect); }));
  };
  pair("TButton", plain.Button->Handle(), nullptr, b.Button->Handle(), nullptr);
  pair("TBitBtn (glyph)", plain.Bit->Handle(), nullptr, b.Bit->Handle(), nullptr);
  pair("TSpeedButton (glyph)", f->Handle(), &plainSpeed, f->Handle(), &skinnedSpeed);
  delete owner;
  f->Free();
  delete skin;
  return 0;
}
