// Paint time of skinned push buttons against the same buttons unskinned: a TButton, a TBitBtn
// with a glyph and a TSpeedButton with a glyph, the median of 300 repaints each (plain and
// skinned in turns), measured in one run and reported as ratios. With --show the skinned buttons stay on
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

// The plain and the skinned one painted in turns, so a busy machine slows both alike.
void MedianPaints(HWND plain, const RECT* plainRect, HWND skinned, const RECT* skinnedRect, double* out) {
  std::vector<double> a, b;
  for (int i = 0; i < 20; ++i) PaintOnce(plain, plainRect), PaintOnce(skinned, skinnedRect);  // warm up
  for (int i = 0; i < 300; ++i) {
    a.push_back(PaintOnce(plain, plainRect));
    b.push_back(PaintOnce(skinned, skinnedRect));
  }
  out[0] = Median(a);
  out[1] = Median(b);
}

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
  double t[3][2];
  MedianPaints(plain.Button->Handle(), nullptr, b.Button->Handle(), nullptr, t[0]);
  MedianPaints(plain.Bit->Handle(), nullptr, b.Bit->Handle(), nullptr, t[1]);
  MedianPaints(f->Handle(), &plainSpeed, f->Handle(), &skinnedSpeed, t[2]);
  const char* names[3] = {"TButton", "TBitBtn (glyph)", "TSpeedButton (glyph)"};
  std::printf("%-22s %12s %12s %8s\n", "paint (median of 300)", "plain us", "skinned us", "ratio");
  for (int i = 0; i < 3; ++i)
    std::printf("%-22s %12.1f %12.1f %8.2f\n", names[i], t[i][0], t[i][1], t[i][1] / t[i][0]);
  std::fflush(stdout);
  delete owner;
  f->Free();
  delete skin;
  return 0;
}
