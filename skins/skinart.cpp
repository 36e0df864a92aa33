// skinart: draws our skins. `skinart THEME FOLDER` writes the description and every BMP image of
// the theme ("default", a light skin, or "dark") into FOLDER, ready for `skintool pack`.
//
// Shapes are anti-aliased against the colour they will sit on, which is known for every part of
// a window frame, so only pixels that must be cut out of a window region or must let the
// control's own background through are magenta (the transparent key).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/Bitmap.h"

namespace {

struct TRgb {
  double r = 0, g = 0, b = 0;
};
TRgb Hex(unsigned v) { return {double(v >> 16 & 0xFF), double(v >> 8 & 0xFF), double(v & 0xFF)}; }
TRgb Mix(TRgb a, TRgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
const TRgb kKey = Hex(0xFF00FF);
bool IsKey(TRgb c) { return c.r == 255 && c.g == 0 && c.b == 255; }

// A floating-point RGB canvas that becomes a 24-bit BMP. Drawing is given in the image's own
// (96-DPI) pixels; an image made while Scale is k holds k x k pixels for each of them, so the
// same drawing code makes the art for twice the size, shapes and curves drawn anew, not enlarged.
class TImage {
 public:
  static inline int Scale = 1;

  TImage(int w, int h, TRgb fill = kKey)
      : w_(w), h_(h), k_(Scale), px_(static_cast<std::size_t>(w) * h * Scale * Scale, fill) {}
  int W() const { return w_; }
  int H() const { return h_; }
  // One pixel of the drawing: its k x k pixels of the image.
  void Set(int x, int y, TRgb c) {
    for (int py = y * k_; py < (y + 1) * k_; ++py)
      for (int px = x * k_; px < (x + 1) * k_; ++px) P(px, py) = c;
  }
  TRgb Get(int x, int y) const { return px_[Index(x * k_, y * k_)]; }
  bool In(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  // Paints every image pixel of the drawing's box (x0, y0, w, h) with fn(x, y, size): the image
  // pixel's top-left corner in drawing pixels relative to the box, and its size (1 / k).
  void Paint(int x0, int y0, int w, int h, const std::function<TRgb(double, double, double)>& fn) {
    double s = 1.0 / k_;
    for (int py = 0; py < h * k_; ++py)
      for (int px = 0; px < w * k_; ++px) P(x0 * k_ + px, y0 * k_ + py) = fn(px * s, py * s, s);
  }
  // Every key-coloured pixel of the box becomes c.
  void FillKey(int x0, int y0, int x1, int y1, TRgb c) {
    for (int py = y0 * k_; py < y1 * k_; ++py)
      for (int px = x0 * k_; px < x1 * k_; ++px)
        if (IsKey(P(px, py))) P(px, py) = c;
  }

  // Paints `colour` with the coverage of `inside` (4 x 4 samples per pixel) over the box
  // (x0, y0, x1, y1). Partly covered key pixels are blended with `under`, the colour the image
  // will be drawn on.
  void Shape(double x0, double y0, double x1, double y1, TRgb colour,
             const std::function<bool(double, double)>& inside, TRgb under = kKey) {
    const double k = k_;
    for (int y = std::max(0, int(std::floor(y0 * k))); y < std::min(h_ * k_, int(std::ceil(y1 * k)) + 1); ++y)
      for (int x = std::max(0, int(std::floor(x0 * k))); x < std::min(w_ * k_, int(std::ceil(x1 * k)) + 1);
           ++x) {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) hits += inside((x + (sx + 0.5) / 4) / k, (y + (sy + 0.5) / 4) / k);
        if (!hits) continue;
        TRgb& p = P(x, y);
        TRgb base = IsKey(p) ? under : p;
        if (IsKey(base)) {
          if (hits >= 8) p = colour;  // no known background: all or nothing
        } else {
          p = Mix(base, colour, hits / 16.0);
        }
      }
  }
  void Rect(int x0, int y0, int x1, int y1, TRgb c) {
    for (int y = std::max(0, y0) * k_; y < std::min(h_, y1) * k_; ++y)
      for (int x = std::max(0, x0) * k_; x < std::min(w_, x1) * k_; ++x) P(x, y) = c;
  }
  void RoundRect(double x0, double y0, double x1, double y1, double r, TRgb c, TRgb under = kKey) {
    Shape(
        x0, y0, x1, y1, c, [=](double x, double y) { return InRoundRect(x, y, x0, y0, x1, y1, r); }, under);
  }
  // A rounded frame: border colour, then the fill inset by the width.
  void Panel(double x0, double y0, double x1, double y1, double r, TRgb border, TRgb fill, TRgb under = kKey,
             double width = 1) {
    RoundRect(x0, y0, x1, y1, r, border, under);
    RoundRect(x0 + width, y0 + width, x1 - width, y1 - width, std::max(0.0, r - width), fill, border);
  }
  void Line(double ax, double ay, double bx, double by, double width, TRgb c, TRgb under = kKey) {
    Shape(
        std::min(ax, bx) - width, std::min(ay, by) - width, std::max(ax, bx) + width,
        std::max(ay, by) + width, c,
        [=](double x, double y) { return SegmentDistance(x, y, ax, ay, bx, by) <= width / 2; }, under);
  }
  void Circle(double cx, double cy, double r, TRgb c, TRgb under = kKey) {
    Shape(
        cx - r, cy - r, cx + r, cy + r, c,
        [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; }, under);
  }
  // Copies `src` into this image at (dx, dy).
  void Put(const TImage& src, int dx, int dy) {
    for (int y = 0; y < src.H() * k_; ++y)
      for (int x = 0; x < src.W() * k_; ++x)
        if (In(dx + x / k_, dy + y / k_)) P(dx * k_ + x, dy * k_ + y) = src.P(x, y);
  }

  static bool InRoundRect(double x, double y, double x0, double y0, double x1, double y1, double r) {
    if (x < x0 || y < y0 || x > x1 || y > y1) return false;
    double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return std::hypot(x - cx, y - cy) <= r;
  }
  static double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
    double t = len > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
  }

  bool Save(const std::string& path) const {
    TBitmap bmp(w_ * k_, h_ * k_);
    for (int y = 0; y < h_ * k_; ++y)
      for (int x = 0; x < w_ * k_; ++x) {
        TRgb p = P(x, y);
        auto q = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
        bmp.SetPixel(x, y, RGBColor(q(p.r), q(p.g), q(p.b)));
      }
    std::string file = bmp.SaveToBmp();
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
  }

 private:
  std::size_t Index(int px, int py) const { return static_cast<std::size_t>(py) * w_ * k_ + px; }
  TRgb& P(int px, int py) { return px_[Index(px, py)]; }
  const TRgb& P(int px, int py) const { return px_[Index(px, py)]; }

  int w_, h_, k_;
  std::vector<TRgb> px_;
};

enum class TCaptionStyle { Flat, Dots };

struct TTheme {
  std::string name;
  TCaptionStyle captionStyle;
  int side, bottom, title, radius, bottomRadius;
  TRgb face, window, text, disabledText;
  TRgb titleTop[2], titleBottom[2], titleLine[2], outline[2], titleText[2];
  TRgb accent, accentSoft, accentText;
  TRgb btnFill, btnBorder, btnPressFill, btnPressBorder, btnOffFill, btnOffBorder, btnHotFill, btnHotBorder;
  TRgb btnText, btnHotText, btnPressText;
  TRgb capGlyph[2], capHot, capPress, closeHot, closePress;
  TRgb dotColour[3];  // close, maximise, minimise (dots style)
  TRgb menu, menuText, menuBar, menuBorder, scrollBack, thumb, thumbActive, arrow, track;
  TRgb tabFill, tabBorder, edge;
  bool chunkProgress = false;  // the progress bar is drawn in chunks (Style 1), else as one bar
  bool darkContent = false;    // content areas take the window colours (the skin names "Window")
};

TTheme Light() {
  TTheme t;
  t.name = "Daskel Light";
  t.captionStyle = TCaptionStyle::Flat;
  t.side = 4, t.bottom = 4, t.title = 30, t.radius = 7, t.bottomRadius = 3;
  t.face = Hex(0xF3F4F6), t.window = Hex(0xFFFFFF), t.text = Hex(0x1F2937), t.disabledText = Hex(0x9CA3AF);
  t.titleTop[0] = Hex(0xFFFFFF), t.titleBottom[0] = Hex(0xF1F3F6), t.titleLine[0] = Hex(0xDCE0E6);
  t.titleTop[1] = Hex(0xFAFAFB), t.titleBottom[1] = Hex(0xF5F6F7), t.titleLine[1] = Hex(0xE3E5E8);
  t.outline[0] = Hex(0x9AA3B0), t.outline[1] = Hex(0xC3C8CF);
  t.titleText[0] = Hex(0x1F2937), t.titleText[1] = Hex(0x9CA3AF);
  t.accent = Hex(0x2563EB), t.accentSoft = Hex(0xDBE7FD), t.accentText = Hex(0xFFFFFF);
  t.btnFill = Hex(0xFFFFFF), t.btnBorder = Hex(0xC4C9D1);
  t.btnPressFill = Hex(0xE2E6EC), t.btnPressBorder = Hex(0x8E97A4);
  t.btnOffFill = Hex(0xF6F7F8), t.btnOffBorder = Hex(0xDDE0E5);
  t.btnHotFill = Hex(0xEEF4FF), t.btnHotBorder = Hex(0x2563EB);
  t.btnText = Hex(0x1F2937), t.btnHotText = Hex(0x1D4ED8), t.btnPressText = Hex(0x111827);
  t.capGlyph[0] = Hex(0x374151), t.capGlyph[1] = Hex(0xA3A9B3);
  t.capHot = Hex(0xE6E9EE), t.capPress = Hex(0xD3D8DF), t.closeHot = Hex(0xE5484D),
  t.closePress = Hex(0xC2363B);
  t.menu = Hex(0xFFFFFF), t.menuText = Hex(0x1F2937), t.menuBar = Hex(0xF3F4F6), t.menuBorder = Hex(0xC4C9D1);
  t.scrollBack = Hex(0xF1F2F4), t.thumb = Hex(0xC3C8CF), t.thumbActive = Hex(0x9AA3B0),
  t.arrow = Hex(0x6B7280);
  t.track = Hex(0xF1F2F4);
  t.tabFill = Hex(0xE8EBEF), t.tabBorder = Hex(0xC4C9D1), t.edge = Hex(0xB8BFC9);
  return t;
}

TTheme Dark() {
  TTheme t;
  t.name = "Daskel Night";
  t.captionStyle = TCaptionStyle::Dots;
  t.side = 5, t.bottom = 5, t.title = 28, t.radius = 4, t.bottomRadius = 0;
  t.face = Hex(0x2B2D31), t.window = Hex(0x1E1F22), t.text = Hex(0xE3E5E8), t.disabledText = Hex(0x6D7178);
  t.titleTop[0] = Hex(0x232428), t.titleBottom[0] = Hex(0x1B1C1F), t.titleLine[0] = Hex(0xF28C28);
  t.titleTop[1] = Hex(0x26272B), t.titleBottom[1] = Hex(0x222326), t.titleLine[1] = Hex(0x3A3C42);
  t.outline[0] = Hex(0x0E0F10), t.outline[1] = Hex(0x3A3C42);
  t.titleText[0] = Hex(0xF2F3F5), t.titleText[1] = Hex(0x80848E);
  t.accent = Hex(0xF28C28), t.accentSoft = Hex(0x4A3523), t.accentText = Hex(0x1E1F22);
  t.btnFill = Hex(0x3A3C42), t.btnBorder = Hex(0x4E5058);
  t.btnPressFill = Hex(0x2A2B2F), t.btnPressBorder = Hex(0xF28C28);
  t.btnOffFill = Hex(0x303236), t.btnOffBorder = Hex(0x3A3C42);
  t.btnHotFill = Hex(0x44464D), t.btnHotBorder = Hex(0xF28C28);
  t.btnText = Hex(0xE3E5E8), t.btnHotText = Hex(0xFFB366), t.btnPressText = Hex(0xF28C28);
  t.capGlyph[0] = Hex(0x3B1C00), t.capGlyph[1] = Hex(0x55585F);
  t.capHot = Hex(0x3A3C42), t.capPress = Hex(0x2A2B2F), t.closeHot = Hex(0xFF6A5F),
  t.closePress = Hex(0xD0463C);
  t.dotColour[0] = Hex(0xF25C54), t.dotColour[1] = Hex(0x5BBF62), t.dotColour[2] = Hex(0xF2B63C);
  t.menu = Hex(0x2B2D31), t.menuText = Hex(0xE3E5E8), t.menuBar = Hex(0x232428), t.menuBorder = Hex(0x0E0F10);
  t.scrollBack = Hex(0x232428), t.thumb = Hex(0x4E5058), t.thumbActive = Hex(0x6D7178),
  t.arrow = Hex(0x9A9EA6);
  t.track = Hex(0x232428);
  t.tabFill = Hex(0x26272B), t.tabBorder = Hex(0x41434A), t.edge = Hex(0x41434A);
  t.darkContent = true;
  t.chunkProgress = true;
  return t;
}

class TArtist {
 public:
  TArtist(TTheme t, std::string folder) : t_(std::move(t)), dir_(std::move(folder)) {}

  // Every image at its size and again, drawn anew, at twice the size; then the description.
  bool Run() {
    for (int k : {1, 2}) {
      TImage::Scale = k;
      Draw();
    }
    TImage::Scale = 1;
    Description();
    return ok_;
  }

 private:
  void Draw() {
    Frame();
    CaptionButtons();
    Mdi();
    PushButtons();
    Marks();
    Menus();
    Scrollbars();
    Tabs();
    Progress();
    ComboAndEdges();
    Trackbar();
    UpDown();
  }

  static std::string Twin(const std::string& file) { return file.substr(0, file.size() - 4) + "@2x.bmp"; }

  void Save(const TImage& img, const std::string& file) {
    std::string name = TImage::Scale == 1 ? file : Twin(file);
    if (TImage::Scale == 1) images_.emplace_back(name, img);
    if (!img.Save(dir_ + "/" + name)) {
      std::fprintf(stderr, "skinart: cannot write %s/%s\n", dir_.c_str(), name.c_str());
      ok_ = false;
    }
  }
  static std::string Text(TRgb c) {
    return std::to_string(int(std::lround(c.r))) + " " + std::to_string(int(std::lround(c.g))) + " " +
           std::to_string(int(std::lround(c.b)));
  }

  TRgb TitleColour(int y, int f) const {
    if (y == t_.title - 1) return t_.titleLine[f];
    return Mix(t_.titleTop[f], t_.titleBottom[f], double(y) / (t_.title - 2));
  }

  // The title band seen from the window's left edge at the pixel centred (x, y) in drawing pixels.
  // Outside the rounded corner is magenta so the window region cuts it away.
  TRgb TitlePixel(double x, double y0, int f) const {
    double r = t_.radius;
    int dx = int(std::floor(x)), y = int(std::floor(y0));
    if (dx < r && y < r) {
      double d = std::hypot(x - r, y0 - r);
      if (d > r) return kKey;
      if (d > r - 1.1) return t_.outline[f];
    }
    if (y == 0 || dx == 0) return t_.outline[f];
    return TitleColour(y, f);
  }
  TRgb SidePixel(double x, int f) const { return x < 1 ? t_.outline[f] : t_.face; }
  // The bottom rows seen from the left edge at the pixel centred (x, yb); yb counts from the
  // bottom edge up.
  TRgb BottomPixel(double x, double yb0, int f) const {
    double r = t_.bottomRadius;
    int dx = int(std::floor(x)), yb = int(std::floor(yb0));
    if (r > 0 && dx < r && yb < r) {
      double d = std::hypot(x - r, yb0 - r);
      if (d > r) return kKey;
      if (d > r - 1.1) return t_.outline[f];
    }
    if (yb == 0 || dx == 0) return t_.outline[f];
    return t_.face;
  }

  void Frame() {
    const int mid = 8, h = t_.title + mid + t_.bottom;
    TImage left(t_.side * 2, h), right(t_.side * 2, h);
    for (int f = 0; f < 2; ++f) {
      // (x, y): the pixel's centre, x from the window's outer edge.
      auto side = [&](double x, double y) {
        return y < t_.title         ? TitlePixel(x, y, f)
               : y >= h - t_.bottom ? BottomPixel(x, h - y, f)
                                    : SidePixel(x, f);
      };
      left.Paint(f * t_.side, 0, t_.side, h,
                 [&](double x, double y, double s) { return side(x + s / 2, y + s / 2); });
      right.Paint(f * t_.side, 0, t_.side, h,
                  [&](double x, double y, double s) { return side(t_.side - x - s / 2, y + s / 2); });
    }
    Save(left, "left.bmp");
    Save(right, "right.bmp");
    const int topW = 24;
    TImage top(topW, t_.title * 2);
    for (int f = 0; f < 2; ++f)
      top.Paint(0, f * t_.title, topW, t_.title, [&](double x, double y, double s) {
        double cx = x + s / 2;
        return TitlePixel(t_.side + std::min(cx, topW - cx), y + s / 2, f);
      });
    Save(top, "top.bmp");
    TImage bottom(12, t_.bottom * 2);
    for (int f = 0; f < 2; ++f)
      bottom.Paint(0, f * t_.bottom, 12, t_.bottom, [&](double, double y, double) {
        return int(y) == t_.bottom - 1 ? t_.outline[f] : t_.face;
      });
    Save(bottom, "bottom.bmp");

    // Behind the caption text: an accent bar under it while the window is active.
    TImage back(20, t_.title * 2);
    if (t_.captionStyle == TCaptionStyle::Flat) {
      int y = t_.title - 5;
      back.Shape(
          4, y, 16, y + 2.5, t_.accent,
          [&](double px, double py) { return TImage::InRoundRect(px, py, 4, y, 16, y + 2.5, 1.25); },
          TitleColour(y, 0));
    } else {
      // Dark: a soft pill behind the caption.
      TImage pill(20, t_.title, kKey);
      pill.Paint(0, 4, 20, t_.title - 8, [&](double x, double y, double s) {
        double u = InPill(x, 4 + y, s, 20, t_.title);
        return u > 0 ? Mix(TitleColour(4 + int(y), 0), Hex(0x34363C), u) : kKey;
      });
      back.Put(pill, 0, 0);
    }
    Save(back, "textback.bmp");
  }
  // Coverage of the pixel of size s at (x, y) by a pill 8 px tall across the caption's height (the
  // ends are in the caps).
  double InPill(double x, double y, double s, int w, int h) const {
    double y0 = 5, y1 = h - 5, r = (y1 - y0) / 2;
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
      for (int sx = 0; sx < 4; ++sx)
        hits += TImage::InRoundRect(x + (sx + 0.5) / 4 * s, y + (sy + 0.5) / 4 * s, 1, y0, w - 1, y1, r);
    return hits / 16.0;
  }

  // Caption glyphs on a button face centred at (cx, cy).
  void Glyph(TImage& img, int kind, double cx, double cy, TRgb c, double s) {
    const double w = 1.1;
    switch (kind) {
      case 0:  // close
        img.Line(cx - s, cy - s, cx + s, cy + s, w * 1.2, c);
        img.Line(cx - s, cy + s, cx + s, cy - s, w * 1.2, c);
        break;
      case 1:  // maximise
        img.Shape(cx - s - 1, cy - s - 1, cx + s + 1, cy + s + 1, c, [=](double x, double y) {
          return TImage::InRoundRect(x, y, cx - s, cy - s, cx + s, cy + s, 1.2) &&
                 !TImage::InRoundRect(x, y, cx - s + w, cy - s + w, cx + s - w, cy + s - w, 0.6);
        });
        break;
      case 2: {  // restore: two overlapping squares
        double o = s * 0.45;
        img.Shape(cx - s, cy - s, cx + s + 1, cy + s + 1, c, [=](double x, double y) {
          bool front =
              TImage::InRoundRect(x, y, cx - s, cy - s + o, cx + s - o, cy + s, 1) &&
              !TImage::InRoundRect(x, y, cx - s + w, cy - s + o + w, cx + s - o - w, cy + s - w, 0.5);
          bool back =
              TImage::InRoundRect(x, y, cx - s + o, cy - s, cx + s, cy + s - o, 1) &&
              !TImage::InRoundRect(x, y, cx - s + o + w, cy - s + w, cx + s - w, cy + s - o - w, 0.5) &&
              !TImage::InRoundRect(x, y, cx - s, cy - s + o, cx + s - o, cy + s, 1);
          return front || back;
        });
        break;
      }
      default:  // minimise
        img.Line(cx - s, cy, cx + s, cy, w * 1.1, c);
    }
  }

  void CaptionButton(const std::string& file, int kind) {
    const int fw = t_.captionStyle == TCaptionStyle::Flat ? 34 : 20, fh = 20;
    const int y0 = (t_.title - fh) / 2;
    TImage img(fw * 4, fh);
    for (int f = 0; f < 4; ++f) {
      int active = f == 3 ? 1 : 0;
      // Opaque: the exact title colours under the button.
      img.Paint(f * fw, 0, fw, fh,
                [&](double, double y, double) { return TitleColour(y0 + int(y), active); });
      double cx = f * fw + fw / 2.0, cy = fh / 2.0;
      if (t_.captionStyle == TCaptionStyle::Flat) {
        TRgb glyph = t_.capGlyph[active];
        if (f == 1 || f == 2) {
          TRgb bg = kind == 0 ? (f == 1 ? t_.closePress : t_.closeHot) : (f == 1 ? t_.capPress : t_.capHot);
          img.RoundRect(f * fw + 1, 0, f * fw + fw - 1, fh, 4, bg);
          if (kind == 0) glyph = Hex(0xFFFFFF);
        }
        Glyph(img, kind, cx, cy, glyph, kind == 3 ? 5 : 4.5);
      } else {
        int dot = kind == 0 ? 0 : kind == 3 ? 2 : 1;
        TRgb c = f == 3 ? t_.capGlyph[1] : t_.dotColour[dot];
        if (f == 1) c = Mix(c, Hex(0x000000), 0.25);
        img.Circle(cx, cy, 6.5, c);
        if (f == 1 || f == 2) Glyph(img, kind, cx, cy, t_.capGlyph[0], kind == 3 ? 3.5 : 3);
      }
    }
    Save(img, file);
  }

  void CaptionButtons() {
    CaptionButton("close.bmp", 0);
    CaptionButton("maximize.bmp", 1);
    CaptionButton("restore.bmp", 2);
    CaptionButton("minimize.bmp", 3);
  }

  // The three buttons of a maximised MDI child in the menu bar: minimise, restore, close, each
  // normal, pressed, hot, hot.
  void Mdi() {
    const int fw = 16, fh = 14;
    TImage img(fw * 12, fh, t_.menuBar);
    int kinds[3] = {3, 2, 0};
    for (int k = 0; k < 3; ++k)
      for (int f = 0; f < 4; ++f) {
        double x0 = (k * 4 + f) * fw;
        if (f > 0) img.RoundRect(x0, 0, x0 + fw, fh, 3, f == 1 ? t_.capPress : t_.capHot);
        // In the bar's text colour: the caption glyphs' colour is made for the caption buttons.
        Glyph(img, kinds[k], x0 + fw / 2.0, fh / 2.0, t_.menuText, 3.5);
      }
    Save(img, "mdicontrols.bmp");
  }

  void PushButtons() {
    const int fw = 24, fh = 24;
    TImage img(fw * 5, fh, t_.face);
    TRgb fill[5] = {t_.btnFill, t_.btnPressFill, t_.btnOffFill, t_.btnHotFill, t_.btnFill};
    TRgb border[5] = {t_.btnBorder, t_.btnPressBorder, t_.btnOffBorder, t_.btnHotBorder, t_.btnBorder};
    for (int f = 0; f < 5; ++f) {
      double x0 = f * fw;
      img.Panel(x0, 0, x0 + fw, fh, 4, border[f], fill[f], t_.face);
      if (f == 0 || f == 4)  // a faint shade along the bottom edge
        for (int x = f * fw + 4; x < f * fw + fw - 4; ++x) img.Set(x, fh - 2, Mix(fill[f], border[f], 0.35));
    }
    Save(img, "button.bmp");
  }

  // Check and radio marks, 13 x 13: unchecked, checked, disabled unchecked, disabled checked.
  void Marks() {
    const int s = 13;
    TImage check(s * 4, s), radio(s * 4, s);
    for (int f = 0; f < 4; ++f) {
      bool on = f % 2 == 1, off = f >= 2;
      TRgb accent = off ? t_.btnOffBorder : t_.accent;
      TRgb box = on ? accent : (off ? t_.btnOffFill : t_.btnFill);
      TRgb border = on ? accent : (off ? t_.btnOffBorder : t_.btnPressBorder);
      double x0 = f * s;
      check.Panel(x0 + 0.5, 0.5, x0 + s - 0.5, s - 0.5, 2.5, border, box, t_.face);
      if (on) {
        TRgb mark = off ? t_.btnOffFill : t_.accentText;
        check.Line(x0 + 3.2, 6.6, x0 + 5.4, 8.9, 1.7, mark);
        check.Line(x0 + 5.4, 8.9, x0 + 9.8, 4.0, 1.7, mark);
      }
      radio.Circle(x0 + s / 2.0, s / 2.0, 6.2, border, t_.face);
      radio.Circle(x0 + s / 2.0, s / 2.0, 5.2, on ? accent : box, border);
      if (on) radio.Circle(x0 + s / 2.0, s / 2.0, 2.4, off ? t_.btnOffFill : t_.accentText, accent);
    }
    Save(check, "check.bmp");
    Save(radio, "radio.bmp");
  }

  void Menus() {
    // Menu bar: plain, active and inactive stacked.
    TImage bar(16, 40, t_.menuBar);
    Save(bar, "menubar.bmp");
    // Menu items: 1 normal (background shows through), 2 separator, 4 selected.
    const int fw = 20, fh = 20;
    TImage item(fw * 5, fh);
    item.Rect(fw * 1 + 2, 15, fw * 2 - 2, 16, t_.menuBorder);
    item.RoundRect(fw * 3 + 1, 1, fw * 4 - 1, fh - 1, 3, t_.accent, t_.menu);
    Save(item, "menuitem.bmp");
    TImage back(16, 16, t_.menu);
    for (int i = 0; i < 16; ++i) {
      for (auto [x, y] : {std::pair{i, 0}, {i, 15}, {0, i}, {15, i}}) back.Set(x, y, t_.menuBorder);
    }
    Save(back, "menuback.bmp");
  }

  // A chevron pointing left (dir 0), right (1), up (2) or down (3).
  void Chevron(TImage& img, double cx, double cy, int dir, double s, TRgb c, TRgb under) {
    double a[4][4] = {{s * 0.5, -s, -s * 0.5, 0},
                      {-s * 0.5, -s, s * 0.5, 0},
                      {-s, s * 0.5, 0, -s * 0.5},
                      {-s, -s * 0.5, 0, s * 0.5}};
    const double* p = a[dir];
    img.Line(cx + p[0], cy + p[1], cx + p[2], cy + p[3], 1.5, c, under);
    double mx = dir < 2 ? p[0] : -p[0], my = dir < 2 ? -p[1] : p[1];
    img.Line(cx + p[2], cy + p[3], cx + mx, cy + my, 1.5, c, under);
  }

  void Scrollbars() {
    const int s = 17;
    TImage arrows(s * 23, s);
    int dirs[4] = {0, 1, 2, 3};
    for (int k = 0; k < 4; ++k)
      for (int f = 0; f < 4; ++f) {
        double x0 = (k * 4 + f) * s;
        TRgb under = t_.scrollBack;
        if (f == 1) {
          arrows.RoundRect(x0 + 2, 2, x0 + s - 2, s - 2, 3, t_.thumb, t_.scrollBack);
          under = t_.thumb;
        }
        arrows.FillKey(int(x0), 0, int(x0) + s, s, t_.scrollBack);
        Chevron(arrows, x0 + s / 2.0, s / 2.0, dirs[k], 3, f == 1 ? t_.text : t_.arrow, under);
      }
    for (int f = 16; f < 23; ++f) arrows.Rect(f * s, 0, f * s + s, s, t_.scrollBack);
    Save(arrows, "scrollarrows.bmp");
    TImage htrack(16 * 4, s, t_.track), vtrack(s * 4, 16, t_.track);
    Save(htrack, "hscroll.bmp");
    Save(vtrack, "vscroll.bmp");
    // Thumbs: a slim rounded bar, normal, active and a spare frame.
    TImage hthumb(20 * 3, s, t_.scrollBack), vthumb(s * 3, 20, t_.scrollBack);
    for (int f = 0; f < 3; ++f) {
      TRgb c = f == 1 ? t_.thumbActive : t_.thumb;
      hthumb.RoundRect(f * 20 + 1, 4, f * 20 + 19, s - 4, 4.5, c, t_.scrollBack);
      vthumb.RoundRect(f * s + 4, 1, f * s + s - 4, 19, 4.5, c, t_.scrollBack);
    }
    Save(hthumb, "hthumb.bmp");
    Save(vthumb, "vthumb.bmp");
  }

  void Tabs() {
    const int fw = 20, fh = 22;
    TImage tabs(fw * 5, fh);
    for (int f = 0; f < 5; ++f) {
      bool selected = f == 1;
      double x0 = f * fw;
      TRgb fill = selected ? t_.window : t_.tabFill;
      tabs.RoundRect(x0, 0, x0 + fw, fh + 4, 4, t_.tabBorder);
      tabs.RoundRect(x0 + 1, 1, x0 + fw - 1, fh + 4, 3, fill, t_.tabBorder);
      if (selected)
        tabs.Shape(x0 + 1, 1, x0 + fw - 1, 3, t_.accent, [=](double x, double y) {
          return y < 3 && TImage::InRoundRect(x, y, x0 + 1, 1, x0 + fw - 1, fh + 4, 3);
        });
      if (!selected) tabs.Rect(int(x0), fh - 1, int(x0) + fw, fh, t_.tabBorder);
    }
    Save(tabs, "tabs.bmp");
    TImage border(16, 16, t_.window);
    for (int i = 0; i < 16; ++i)
      for (auto [x, y] : {std::pair{i, 0}, {i, 15}, {0, i}, {15, i}}) border.Set(x, y, t_.tabBorder);
    Save(border, "tabborder.bmp");
  }

  void Progress() {
    const int fw = 20, fh = 14;
    // Chunk style uses the empty bar alone (one frame) and lays the chunks over it.
    TImage bar(fw * (t_.chunkProgress ? 1 : 2), fh);
    bar.Panel(0, 0, fw, fh, 4, t_.btnBorder, t_.track, t_.face);
    if (!t_.chunkProgress) {
      bar.RoundRect(fw, 0, fw * 2, fh, 4, t_.accent, t_.face);
      bar.Shape(fw + 2, 2, fw * 2 - 2, fh / 2.0, Mix(t_.accent, Hex(0xFFFFFF), 0.18),
                [=](double x, double y) {
                  return TImage::InRoundRect(x, y, fw + 2, 2, fw * 2 - 2, fh - 2, 3) && y < fh / 2.0;
                });
    }
    Save(bar, "progress.bmp");
    // Chunks sit on the empty bar: the gap between them is transparent.
    TImage chunk(8, 10);
    chunk.RoundRect(0, 0, 6, 10, 2, t_.accent, t_.track);
    Save(chunk, "chunk.bmp");
  }

  void ComboAndEdges() {
    // The drop-down button: normal, pressed, disabled, hot.
    const int bw = 17, bh = 20;
    TImage combo(bw * 4, bh);
    TRgb fill[4] = {t_.btnFill, t_.btnPressFill, t_.btnOffFill, t_.btnHotFill};
    for (int f = 0; f < 4; ++f) {
      combo.Rect(f * bw, 0, f * bw + bw, bh, fill[f]);
      combo.Rect(f * bw, 2, f * bw + 1, bh - 2, f == 3 ? t_.btnHotBorder : t_.btnBorder);
    }
    Save(combo, "combobutton.bmp");
    // The combo frame ring: normal, pressed, disabled, hot or focused.
    TImage sunk(12 * 4, 12);
    TRgb ring[4] = {t_.btnBorder, t_.btnPressBorder, t_.btnOffBorder, t_.btnHotBorder};
    for (int f = 0; f < 4; ++f)
      sunk.Panel(f * 12, 0, f * 12 + 12, 12, 0, ring[f], f == 2 ? t_.btnOffFill : t_.window, t_.face);
    Save(sunk, "sunkedge.bmp");
    // Arrow glyphs for the drop-down button (frames 1-4) and the size grip (frame 5).
    const int g = 12;
    TImage extra(g * 5, g);
    TRgb under[4] = {t_.btnFill, t_.btnPressFill, t_.btnOffFill, t_.btnHotFill};
    for (int f = 0; f < 4; ++f) {
      TRgb c = f == 2 ? t_.disabledText : f == 3 ? t_.accent : t_.arrow;
      Chevron(extra, f * g + g / 2.0, g / 2.0, 3, 3, c, under[f]);
    }
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j <= i; ++j) {
        int x = g * 4 + g - 3 - (i - j) * 3 - 1, y = g - 3 - j * 3 - 1;
        extra.Rect(x, y, x + 2, y + 2, t_.thumbActive);
      }
    Save(extra, "extraimages.bmp");
    // Status bar panels: lowered, raised, no bevel.
    TImage status(12 * 3, 12, t_.face);
    for (int i = 0; i < 12; ++i) {
      for (auto [x, y] : {std::pair{i, 0}, {0, i}, {12 + i, 11}, {23, i}}) status.Set(x, y, t_.edge);
    }
    Save(status, "statusbar.bmp");
    // Header items: face with a bottom line and a separator on the right.
    TImage header(12 * 5, 20, t_.face);
    for (int f = 0; f < 5; ++f) {
      header.Rect(f * 12, 19, f * 12 + 12, 20, t_.edge);
      header.Rect(f * 12 + 11, 4, f * 12 + 12, 16, t_.edge);
    }
    Save(header, "header.bmp");
    TImage group(12 * 2, 12, t_.face);
    for (int f = 0; f < 2; ++f) group.Panel(f * 12, 0, f * 12 + 12, 12, 3, t_.edge, t_.face, t_.face);
    Save(group, "groupbox.bmp");
    TImage toolbar(12 * 5, 24, t_.face);
    for (int f = 0; f < 5; ++f)
      if (f == 1 || f == 3)
        toolbar.RoundRect(f * 12, 0, f * 12 + 12, 24, 3, f == 1 ? t_.btnPressFill : t_.btnHotFill, t_.face);
    Save(toolbar, "toolbar.bmp");
  }

  void Trackbar() {
    // Thumbs, drawn from frame 2 of 5: a pill across the track.
    auto thumb = [&](int fw, int fh, const std::string& file) {
      TImage img(fw * 5, fh);
      for (int f = 0; f < 5; ++f) {
        TRgb c = f == 2 ? t_.btnPressBorder : t_.accent;
        double r = std::min(fw, fh) / 2.0 - 0.5;
        img.Panel(f * fw + 0.5, 0.5, f * fw + fw - 0.5, fh - 0.5, r, c, f == 3 ? t_.btnHotFill : t_.btnFill,
                  t_.face, 2);
      }
      Save(img, file);
    };
    thumb(11, 21, "thumbh.bmp");
    thumb(21, 11, "thumbv.bmp");
  }

  void UpDown() {
    // Eight frames: first arrow normal, pressed, disabled, hot; then the second arrow.
    auto pair = [&](bool horizontal, const std::string& face, const std::string& glyph) {
      const int fw = 16, fh = 12;
      TImage img(fw * 8, fh), glyphs(8 * 8, 6);
      TRgb fill[4] = {t_.btnFill, t_.btnPressFill, t_.btnOffFill, t_.btnHotFill};
      TRgb border[4] = {t_.btnBorder, t_.btnPressBorder, t_.btnOffBorder, t_.btnHotBorder};
      for (int f = 0; f < 8; ++f) {
        img.Rect(f * fw, 0, f * fw + fw, fh, border[f % 4]);
        img.Rect(f * fw + 1, 1, f * fw + fw - 1, fh - 1, fill[f % 4]);
        int dir = horizontal ? (f < 4 ? 0 : 1) : (f < 4 ? 2 : 3);
        TRgb c = f % 4 == 2 ? t_.disabledText : f % 4 == 3 ? t_.accent : t_.arrow;
        // Crisp little triangles: they are drawn unscaled on magenta.
        for (int i = 0; i < 3; ++i) {
          int x0 = f * 8 + 4 - 1 - i, x1 = f * 8 + 4 + i + (i > 0 ? 0 : 0);
          int y = dir == 2 ? 1 + i : dir == 3 ? 4 - i : 0;
          if (dir < 2) {
            int x = dir == 0 ? f * 8 + 2 + i : f * 8 + 5 - i;
            glyphs.Rect(x, 3 - i, x + 1, 3 + i + 1, c);
          } else {
            glyphs.Rect(x0 + 1, y, x1 + 1, y + 1, c);
          }
        }
      }
      Save(img, face);
      Save(glyphs, glyph);
    };
    pair(true, "updownh.bmp", "updownhglyph.bmp");
    pair(false, "updownv.bmp", "updownvglyph.bmp");
  }

  void Description() {
    const TTheme& t = t_;
    int fw = t.captionStyle == TCaptionStyle::Flat ? 34 : 20, step = fw + 2;
    int by = (t.title - 20) / 2;
    std::string d;
    auto line = [&](const std::string& s) { d += s + "\r\n"; };
    line("; " + t.name + ": drawn by skins/skinart.cpp; do not edit, run the build.");
    line("[TitlebarSkin]");
    line("SkinName=" + t.name);
    line("[Fonts]");
    line("FontHeight=14");
    line("[Personality]");
    line("Left=left.bmp");
    line("LeftFrame=2");
    line("LeftStretch=1");
    line("LeftTrans=1");
    line("LeftTopHeight=" + std::to_string(t.title));
    line("LeftBotHeight=" + std::to_string(t.bottom));
    line("Right=right.bmp");
    line("RightFrame=2");
    line("RightStretch=1");
    line("RightTrans=1");
    line("RightTopHeight=" + std::to_string(t.title));
    line("RightBotHeight=" + std::to_string(t.bottom));
    line("Top=top.bmp");
    line("TopFrame=2");
    line("TopStretch=1");
    line("TopTrans=1");
    line("TopTopHeight=8");
    line("TopBotHeight=8");
    line("Bottom=bottom.bmp");
    line("BottomFrame=2");
    line("BottomStretch=1");
    line("BottomTrans=1");
    line("BottomTopHeight=2");
    line("BottomBotHeight=2");
    line("TextBack=textback.bmp");
    line("TXTBackleft=6");
    line("TXTBackRight=6");
    line("TextAlignment=" + std::string(t.captionStyle == TCaptionStyle::Flat ? "0" : "1"));
    line("TextShift=" + std::to_string(t.captionStyle == TCaptionStyle::Flat ? 22 : 4));
    line("TextShiftVert=0");
    line("TextRightClip=" + std::to_string(t.side + 3 * step + 6));
    line("menuBar=menubar.bmp");
    line("TileMenu=1");
    line("TileLeftMenu=1");
    line("TileRightMenu=1");
    line("[Colours]");
    struct {
      const char* key;
      TRgb c;
    } colours[] = {{"WindowText", t.text},
                   {"ButtonFace", t.face},
                   {"Scrollbar", t.scrollBack},
                   {"HilightText", t.accentText},
                   {"Hilight", t.accent},
                   {"Menubar", t.menuBar},
                   {"Menu", t.menu},
                   {"MenuText", t.menuText},
                   {"ButtonText", t.btnText},
                   {"ButtonHilight", t.window},
                   {"Buttonlight", t.btnOffFill},
                   {"ButtonShadow", t.btnBorder},
                   {"ButtonDkShadow", t.btnPressBorder},
                   {"MenuBarText", t.menuText},
                   {"TitleTextActive", t.titleText[0]},
                   {"TitleTextNoActive", t.titleText[1]}};
    for (auto& c : colours) line(std::string(c.key) + "=" + Text(c.c));
    // Content areas (edits, lists, views) follow a dark skin; a light one leaves them white.
    if (t.darkContent) line("Window=" + Text(t.window));
    line("[Colour1]");
    line("color=" + Text(t.accent));
    line("[Colour2]");
    line("color=" + Text(t.accentSoft));
    // Caption buttons. Align 1: x from the right edge. Visibility 2/1: restored/maximised;
    // Visibility1 6/8: only with a maximise/minimise box. The minimise button moves next to
    // the close button when the window has no maximise box (Visibility1 7).
    struct {
      const char* file;
      int action, xcoord, vis, vis1;
    } buttons[] = {{"close.bmp", 0, t.side + step, 0, 0},
                   {"maximize.bmp", 1, t.side + 2 * step, 2, 6},
                   {"restore.bmp", 1, t.side + 2 * step, 1, 6},
                   {"minimize.bmp", 2, t.side + 3 * step, 8, 6},
                   {"minimize.bmp", 2, t.side + 2 * step, 8, 7}};
    int n = 0;
    for (auto& b : buttons) {
      line("[Button" + std::to_string(n++) + "]");
      line(std::string("ButtonImage=") + b.file);
      line("frame=4");
      line("Action=" + std::to_string(b.action));
      line("Align=1");
      line("Xcoord=" + std::to_string(b.xcoord));
      line("Ycoord=" + std::to_string(by));
      line("Visibility=" + std::to_string(b.vis));
      line("Visibility1=" + std::to_string(b.vis1));
    }
    line("[Button" + std::to_string(n) + "]");  // the window icon opens the system menu
    line("Action=3");
    line("Align=0");
    line("Xcoord=" + std::to_string(t.side + 4));
    line("Ycoord=" + std::to_string((t.title - 16) / 2));
    line("[MDICONTROLS]");
    line("Image=mdicontrols.bmp");
    line("[Buttons]");
    line("Bitmap=button.bmp");
    line("LeftWidth=5");
    line("RightWidth=5");
    line("TopHeight=5");
    line("BottomHeight=5");
    line("Trans=0");
    line("Tile=0");
    line("CheckButton=check.bmp");
    line("CheckButtonFrame=4");
    line("RadioButton=radio.bmp");
    line("RadioButtonFrame=4");
    line("NormalColour2=" + Text(t.btnText));
    line("MouseOverColour2=" + Text(t.btnHotText));
    line("PressedColour2=" + Text(t.btnPressText));
    auto generic = [&](const std::string& section, const std::string& image, int l, int tp, int r, int b,
                       int trans, int tile, const std::string& extra = "") {
      line("[" + section + "]");
      line("Image=" + image);
      line("LeftWidth=" + std::to_string(l));
      line("TopHeight=" + std::to_string(tp));
      line("RightWidth=" + std::to_string(r));
      line("BottomHeight=" + std::to_string(b));
      line("Trans=" + std::to_string(trans));
      line("Tile=" + std::to_string(tile));
      if (!extra.empty()) d += extra;
    };
    generic("Tabs", "tabs.bmp", 5, 5, 5, 2, 1, 0,
            "Border=tabborder.bmp\r\nNormalColour2=" + Text(t.text) +
                "\r\nMouseOverColour2=" + Text(t.accent) + "\r\n");
    line("[Progress]");
    line("Bitmap=progress.bmp");
    line("Chunk=chunk.bmp");
    line(t.chunkProgress ? "Style=1" : "Style=0");
    line("LeftWidth=5");
    line("RightWidth=5");
    line("TopHeight=5");
    line("BottomHeight=5");
    line("Trans=1");
    line("Tile=0");
    generic("GroupBoxEdge", "groupbox.bmp", 4, 4, 4, 4, 0, 0);
    generic("Toolbars", "toolbar.bmp", 4, 4, 4, 4, 0, 0);
    generic("StatusBarEdges", "statusbar.bmp", 2, 2, 2, 2, 0, 0, "NormalColour2=" + Text(t.text) + "\r\n");
    generic("ComboButton", "combobutton.bmp", 2, 2, 2, 2, 0, 0, "Style=0\r\n");
    generic("SunkEdge", "sunkedge.bmp", 2, 2, 2, 2, 0, 0);
    generic("ExtraImages", "extraimages.bmp", 0, 0, 0, 0, 1, 0);
    generic("Headerbar", "header.bmp", 2, 2, 2, 2, 0, 0);
    generic("MenuItem", "menuitem.bmp", 4, 0, 4, 0, 1, 0);
    generic("MenuBackground", "menuback.bmp", 3, 3, 3, 3, 0, 0);
    generic("Scrollbar", "scrollarrows.bmp", 0, 0, 0, 0, 1, 0);
    generic("HorzScroll", "hscroll.bmp", 2, 0, 2, 0, 0, 0);
    generic("VertScroll", "vscroll.bmp", 0, 2, 0, 2, 0, 0);
    generic("HorzScrollThumb", "hthumb.bmp", 6, 0, 6, 0, 0, 0, "FrameCount=3\r\n");
    generic("VertScrollThumb", "vthumb.bmp", 0, 6, 0, 6, 0, 0, "FrameCount=3\r\n");
    generic("Trackbar.ThumbHorz", "thumbh.bmp", 0, 0, 0, 0, 1, 0);
    generic("Trackbar.ThumbVert", "thumbv.bmp", 0, 0, 0, 0, 1, 0);
    generic("Trackbar.ThumbLeft", "thumbv.bmp", 0, 0, 0, 0, 1, 0);
    generic("Trackbar.ThumbRight", "thumbv.bmp", 0, 0, 0, 0, 1, 0);
    generic("Trackbar.ThumbUp", "thumbh.bmp", 0, 0, 0, 0, 1, 0);
    generic("Trackbar.ThumbDown", "thumbh.bmp", 0, 0, 0, 0, 1, 0);
    generic("UpDown.Horz", "updownh.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage=updownhglyph.bmp\r\n");
    generic("UpDown.Vert", "updownv.bmp", 0, 0, 0, 0, 1, 0, "GlyphImage=updownvglyph.bmp\r\n");
    // Every image key gets its twin drawn for twice the size.
    std::string withTwins;
    for (std::size_t at = 0, end; at < d.size(); at = end + 2) {
      end = d.find("\r\n", at);
      std::string l = d.substr(at, end - at);
      withTwins += l + "\r\n";
      std::size_t eq = l.find('=');
      if (l[0] != ';' && eq != std::string::npos && l.size() > 4 && l.compare(l.size() - 4, 4, ".bmp") == 0)
        withTwins += l.substr(0, eq) + "@2x=" + Twin(l.substr(eq + 1)) + "\r\n";
    }
    std::ofstream out(dir_ + "/skin.ini", std::ios::binary);
    out << withTwins;
    if (!out) {
      std::fprintf(stderr, "skinart: cannot write %s/skin.ini\n", dir_.c_str());
      ok_ = false;
    }
  }

  const TImage& Image(const std::string& name) const {
    for (auto& [n, img] : images_)
      if (n == name) return img;
    return images_.front().second;
  }

  // Nine-slice with nearest-neighbour stretching: the cell (cx, cy, cw, ch) of src, margins
  // l, t, r, b, onto (dx, dy, dw, dh) of dst; magenta is not drawn.
  static void Slice(TImage& dst, const TImage& src, int cx, int cy, int cw, int ch, int l, int t, int r,
                    int b, int dx, int dy, int dw, int dh) {
    auto map = [](int d, int dsize, int lo, int hi, int ssize) {
      if (d < lo) return d;
      if (d >= dsize - hi) return ssize - (dsize - d);
      int mid = ssize - lo - hi, dmid = dsize - lo - hi;
      return lo + (dmid > 0 ? (d - lo) * mid / dmid : 0);
    };
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x) {
        int sx = cx + map(x, dw, l, r, cw), sy = cy + map(y, dh, t, b, ch);
        if (!src.In(sx, sy)) continue;  // a cell asked for past the image's edge shows nothing
        TRgb c = src.Get(sx, sy);
        if (!IsKey(c) && dst.In(dx + x, dy + y)) dst.Set(dx + x, dy + y, c);
      }
  }

 public:
  // A mock window drawn roughly the way the engine composes one, for looking at a skin.
  bool Preview(const std::string& path) {
    const TTheme& t = t_;
    const int W = 420, H = 240, fw = t.captionStyle == TCaptionStyle::Flat ? 34 : 20, step = fw + 2;
    TImage img(W + 40, H + 40, Hex(0x5B6B7F));
    int ox = 20, oy = 20;
    TImage win(W, H, kKey);
    const TImage &left = Image("left.bmp"), &right = Image("right.bmp"), &top = Image("top.bmp"),
                 &bottom = Image("bottom.bmp");
    Slice(win, left, 0, 0, t.side, left.H(), 0, t.title, 0, t.bottom, 0, 0, t.side, H);
    Slice(win, right, 0, 0, t.side, right.H(), 0, t.title, 0, t.bottom, W - t.side, 0, t.side, H);
    Slice(win, top, 0, 0, top.W(), t.title, 8, 0, 8, 0, t.side, 0, W - 2 * t.side, t.title);
    Slice(win, bottom, 0, 0, bottom.W(), t.bottom, 2, 0, 2, 0, t.side, H - t.bottom, W - 2 * t.side,
          t.bottom);
    const TImage& bar = Image("menubar.bmp");
    Slice(win, bar, 0, 0, bar.W(), 20, 1, 0, 1, 0, t.side, t.title, W - 2 * t.side, 20);
    win.Rect(t.side, t.title + 20, W - t.side, H - t.bottom, t.face);
    const TImage& back = Image("textback.bmp");
    Slice(win, back, 0, 0, back.W(), t.title, 6, 0, 6, 0, t.side + 22, 0, 120, t.title);
    win.Rect(t.side + 4, (t.title - 16) / 2, t.side + 20, (t.title - 16) / 2 + 16, t.accent);
    const char* files[] = {"close.bmp", "maximize.bmp", "minimize.bmp"};
    for (int i = 0; i < 3; ++i) {
      const TImage& b = Image(files[i]);
      int f = i == 0 ? 2 : 0;
      Slice(win, b, f * fw, 0, fw, b.H(), 0, 0, 0, 0, W - t.side - (i + 1) * step, (t.title - 20) / 2, fw,
            b.H());
    }
    const TImage& btn = Image("button.bmp");
    for (int i = 0; i < 3; ++i)
      Slice(win, btn, (i == 1 ? 3 : i == 2 ? 2 : 0) * 24, 0, 24, 24, 5, 5, 5, 5, 20 + i * 100, 70, 88, 26);
    const TImage &check = Image("check.bmp"), &radio = Image("radio.bmp");
    for (int f = 0; f < 4; ++f) {
      Slice(win, check, f * 13, 0, 13, 13, 0, 0, 0, 0, 20 + f * 24, 115, 13, 13);
      Slice(win, radio, f * 13, 0, 13, 13, 0, 0, 0, 0, 130 + f * 24, 115, 13, 13);
    }
    const TImage& prog = Image("progress.bmp");
    const int progFrames = prog.W() >= 2 * prog.H() ? 2 : 1, pw = prog.W() / progFrames;
    Slice(win, prog, 0, 0, pw, prog.H(), 5, 5, 5, 5, 20, 145, 300, 14);
    if (progFrames == 2) Slice(win, prog, pw, 0, pw, prog.H(), 5, 5, 5, 5, 20, 145, 180, 14);
    const TImage &arrows = Image("scrollarrows.bmp"), &thumb = Image("vthumb.bmp");
    int sx = W - t.side - 17, sy = t.title + 20;
    win.Rect(sx, sy, sx + 17, H - t.bottom, t.scrollBack);
    Slice(win, arrows, 8 * 17, 0, 17, 17, 0, 0, 0, 0, sx, sy, 17, 17);
    Slice(win, arrows, 12 * 17, 0, 17, 17, 0, 0, 0, 0, sx, H - t.bottom - 17, 17, 17);
    Slice(win, thumb, 0, 0, 17, 20, 0, 6, 0, 6, sx, sy + 30, 17, 60);
    const TImage& tabs = Image("tabs.bmp");
    Slice(win, tabs, 20, 0, 20, 22, 5, 5, 5, 2, 20, 175, 70, 22);
    Slice(win, tabs, 0, 0, 20, 22, 5, 5, 5, 2, 90, 177, 70, 20);
    img.Put(win, ox, oy);
    for (int y = 0; y < H; ++y)  // the desktop shows where the window region cuts
      for (int x = 0; x < W; ++x)
        if (IsKey(win.Get(x, y))) img.Set(ox + x, oy + y, Hex(0x5B6B7F));
    return img.Save(path);
  }

 private:
  TTheme t_;
  std::string dir_;
  bool ok_ = true;
  std::vector<std::pair<std::string, TImage>> images_;
};

}  // namespace

int main(int argc, char** argv) {
  if ((argc != 3 && argc != 4) || (std::string(argv[1]) != "default" && std::string(argv[1]) != "dark")) {
    std::fprintf(stderr, "usage: skinart default|dark FOLDER [PREVIEW.bmp]\n");
    return 2;
  }
  TArtist artist(std::string(argv[1]) == "dark" ? Dark() : Light(), argv[2]);
  if (!artist.Run()) return 1;
  if (argc == 4 && !artist.Preview(argv[3])) {
    std::fprintf(stderr, "skinart: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
