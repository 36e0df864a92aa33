#include "skin/form/VuzUrezMenuItems.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "framework/Menus.h"
#include "framework/WideText.h"
#include "skin/data/VuzUrezData.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/VuzUrezMenu.h"
#include "skin/paint/SkinDrawWin32.h"
#include "skin/paint/SkinPictureCache.h"
#include "skin/paint/SkinScale.h"

namespace {

// Items already drawn: repainting an open menu, coming back to an item under the mouse and
// opening the same menu again copy them. A few menus' worth, across every menu of the process.
TPictureShelf gItemPictures(96);
std::mutex gMeasuredLock;

constexpr int kFrames = 5;  // MenuItem strip: 1 normal, 2 separator, 4 selected

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

// An item without a caption (or with only the marker) still measures one blank high.
std::wstring ShownCaption(const TMenuItemLook& item) {
  return item.Caption.empty() || item.Caption == L"&" ? L" " : item.Caption;
}

// The scale of the item's sizes: its window's where the skin's images at it are given.
TSkinScale ScaleOf(const TMenuItemLook& item) { return item.Scaled ? item.Scaled->Scale() : TSkinScale{}; }

// A program's images keep their size; the box of a check mark without one scales.
int GlyphSize(const TMenuItemLook& item) {
  const int box = ScaleOf(item).Length(16);
  int g = item.Images ? item.Images->Width() : box;
  return item.Checked ? std::max(g, box) : g;
}

int LeftCap(const TSkinData& data, const TMenuItemLook& item) {
  return data.Skin.MenuItem ? ScaleOf(item).Length(data.Skin.MenuItem->LeftWidth) : 0;
}

// The item strip and its slice margins at the item's scale.
struct TItemArt {
  const TBitmap* Image;
  TMargins Margins;
};
TItemArt ArtOf(const TDataSkinObject& e, const TMenuItemLook& item) {
  TMargins m{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  if (!item.Scaled) return {&e.Bitmap, m};
  return {&item.Scaled->Get(e.Bitmap, e.Bitmap2x, TImageLayout{kFrames, false, m}),
          ScaleMargins(m, ScaleOf(item))};
}

// A check mark or bullet in the colour, centred in the box: the system's glyph drawn black on
// white, its dark pixels put on the item in the colour.
void DrawMark(TBitmap& target, const RECT& box, bool radio, TColor colour) {
  int s = std::min(box.right - box.left, box.bottom - box.top);
  if (s <= 0) return;
  TBitmap mark(s, s, pf24bit);
  mark.Fill(clWhite);
  {
    TBitmapDC dc(mark);
    if (!dc) return;
    RECT r{0, 0, s, s};
    DrawFrameControl(dc.Get(), &r, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  int x0 = box.left + (box.right - box.left - s) / 2, y0 = box.top + (box.bottom - box.top - s) / 2;
  for (int y = 0; y < s; ++y)
    for (int x = 0; x < s; ++x)
      if (GreenOf(mark.Pixel(x, y)) < 128 && x0 + x >= 0 && y0 + y >= 0 && x0 + x < target.Width() &&
          y0 + y < target.Height())
        target.SetPixel(x0 + x, y0 + y, ColorToRGB(colour));
}

// The clBtnFace / clBtnHighlight dither a checked item's image sits on.
void FillDither(HDC dc, const RECT& r) {
  static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  TGdiBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
  TGdiBrush brush(CreatePatternBrush(bits.Get()));
  COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &r, brush.Get());
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

// The glyph box, caption and shortcut of an item on img (item coordinates).
void DrawContent(TBitmap& img, const TSkinData& data, const TMenuItemLook& item, bool selected) {
  const TSkinElements& s = data.Skin;
  int w = img.Width(), h = img.Height();
  int g = GlyphSize(item), cap = LeftCap(data, item);
  RECT box =
      item.RightToLeft ? RECT{w - 1 - cap - g, 1, w - 1 - cap, 1 + g} : RECT{1 + cap, 1, 1 + cap + g, 1 + g};
  bool image = item.Images && item.ImageIndex >= 0 && item.ImageIndex < item.Images->Count();
  TColor text = item.Enabled ? (selected ? s.ColourHilightText : s.ColourMenuText)
                             : (s.ColourButtonShadow == s.ColourMenuText ? clGrayText : s.ColourButtonShadow);
  if (!item.Checked || image) {
    TBitmapDC dc(img);
    if (!dc) return;
    if (image) {
      if (item.Checked) {
        FillDither(dc.Get(), box);
        RECT edge = box;
        DrawEdge(dc.Get(), &edge, BDR_SUNKENOUTER, BF_RECT);
      }
      ImageList_DrawEx(item.Images->Handle(), item.ImageIndex, dc.Get(), box.left, box.top, 0, 0, CLR_NONE,
                       CLR_NONE, ILD_TRANSPARENT | (item.Enabled ? 0 : ILD_BLEND50));
    }
  } else {
    // In the item's text colour: the system's button-text colour would vanish on a dark skin.
    DrawMark(img, box, item.Radio, text);
  }
  TBitmapDC dc(img);
  if (!dc) return;
  TGdiFont font = MenuFont(item.Default, item.Dpi);
  TSelectObject selectFont(dc.Get(), font.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), Rgb(text));
  std::wstring caption = ShownCaption(item);
  RECT area = item.RightToLeft ? RECT{1, 0, box.left - 3, h} : RECT{box.right + 3, 0, w - 1, h};
  RECT m = area;
  DrawTextW(dc.Get(), caption.c_str(), -1, &m, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  int th = m.bottom - m.top;
  RECT t{area.left, (h - th) / 2, area.right, (h - th) / 2 + th};
  DrawTextW(dc.Get(), caption.c_str(), -1, &t,
            DT_SINGLELINE | DT_EXPANDTABS | (item.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
  if (!item.ShortCut.empty()) {
    int captionWidth = m.right - m.left;
    RECT sc = item.RightToLeft ? RECT{1, t.top, area.right - captionWidth - 10, t.bottom}
                               : RECT{area.left, t.top, w - 11, t.bottom};
    DrawTextW(dc.Get(), item.ShortCut.c_str(), -1, &sc,
              DT_SINGLELINE | (item.RightToLeft ? DT_LEFT : DT_RIGHT));
  }
}

void EtchedLine(TBitmap& img) {
  TBitmapDC dc(img);
  if (!dc) return;
  RECT line{0, 4, img.Width(), img.Height()};
  DrawEdge(dc.Get(), &line, EDGE_ETCHED, BF_TOP);
}

void SkinnedSeparator(TBitmap& img, const TItemArt& art) {
  const TBitmap& strip = *art.Image;
  TFrameCell cell = FrameCell(strip, false, kFrames, 2);
  if (cell.Empty()) return;
  int rows = std::min(cell.Height, img.Height());
  TBitmap part(cell.Width, rows, pf24bit);
  part.CopyRect(0, 0, strip, cell.X, cell.Y + cell.Height - rows, cell.Width, rows);
  // The caps as they are, the middle stretched between them: a tiled line shows its seams.
  TBitmap line = BuildNineSlice({0, 0, img.Width(), rows}, part, {art.Margins.Left, 0, art.Margins.Right, 0},
                                false, false, 1, 1);
  DrawTransparent(img, {0, 0, img.Width(), rows}, line, SkinKeyColor);
}

}  // namespace

TMenuItemLook TMenuItemLook::Of(TMenuItem* item) {
  TMenuItemLook look;
  if (!item) return look;
  look.Caption = Widen(item->Caption());
  look.ShortCut = Widen(item->ShortCut());
  look.Enabled = item->Enabled();
  look.Checked = item->Checked();
  look.Radio = item->RadioItem();
  look.Default = item->Default();
  look.ImageIndex = item->ImageIndex();
  look.SubMenu = item->Count() > 0;
  if (TMenu* menu = item->GetParentMenu()) {
    look.Images = menu->Images();
    look.RightToLeft = menu->RightToLeft();
  }
  return look;
}

TGdiFont MenuFont(bool bold, int dpi) {
  LOGFONTW lf = NonClientMetricsForDpi(dpi > 0 ? dpi : WindowDpi(nullptr)).lfMenuFont;
  if (bold) lf.lfWeight = FW_BOLD;
  return TGdiFont(CreateFontIndirectW(&lf));
}

namespace {

// Item texts measured before, by text and font: a menu measures all its items each time it opens.
struct TMeasured {
  TPictureKey Key;
  SIZE Size;
};
constexpr std::size_t kKeptMeasures = 256;
std::vector<TMeasured> gMeasured;  // under gMeasuredLock; newest last

SIZE MeasureText(const TMenuItemLook& item, const LOGFONTW& lf) {
  TWindowDc screen(nullptr);
  TGdiFont font(CreateFontIndirectW(&lf));
  TSelectObject select(screen.Get(), font.Get());
  std::wstring caption = ShownCaption(item);
  RECT r{0, 0, 0, 0};
  DrawTextW(screen.Get(), caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SIZE size{r.right - r.left, r.bottom - r.top};
  if (!item.ShortCut.empty()) {
    RECT s{0, 0, 0, 0};
    DrawTextW(screen.Get(), item.ShortCut.c_str(), -1, &s, DT_CALCRECT | DT_SINGLELINE);
    size.cx += 16 + (s.right - s.left);
  }
  return size;
}

}  // namespace

SIZE MeasureItemText(const TMenuItemLook& item) {
  LOGFONTW lf = NonClientMetricsForDpi(item.Dpi > 0 ? item.Dpi : WindowDpi(nullptr)).lfMenuFont;
  if (item.Default) lf.lfWeight = FW_BOLD;
  // The font as the system describes it now: a changed menu font measures anew.
  TPictureKey key{lf.lfHeight, lf.lfWidth, lf.lfWeight, lf.lfItalic, lf.lfCharSet, lf.lfQuality};
  key.Add(std::wstring(lf.lfFaceName)).Add(item.Caption).Add(item.ShortCut);
  {
    std::lock_guard<std::mutex> lock(gMeasuredLock);
    for (const TMeasured& m : gMeasured)
      if (m.Key == key) return m.Size;
  }
  SIZE size = MeasureText(item, lf);
  std::lock_guard<std::mutex> lock(gMeasuredLock);
  if (gMeasured.size() >= kKeptMeasures) gMeasured.erase(gMeasured.begin());
  gMeasured.push_back({std::move(key), size});
  return size;
}

void MeasureSkinnedItem(const TSkinData& data, const TMenuItemLook& item, int& width, int& height) {
  const TSkinScale scale = ScaleOf(item);
  if (item.Separator()) {
    height = scale.Length(8);
    return;
  }
  const TDataSkinObject* e = data.Skin.MenuItem.get();
  int caps = e ? scale.Length(e->LeftWidth) + scale.Length(e->RightWidth) : 0;
  // Room for the glyph box, the gap before the caption and the space after the shortcut.
  width += caps + 1 + GlyphSize(item) + scale.Length(3) + scale.Length(12);
  height = std::max(height + scale.Length(4), GlyphSize(item) + 2);
}

namespace {

// Everything an item's picture shows: its look, the skin's images and colours it is drawn with,
// and the part of the menu window's background under it.
TPictureKey ItemKey(const RECT& r, const TSkinData& data, const TMenuItemLook& item, bool selected,
                    const TMenuBackground& back) {
  const TSkinElements& s = data.Skin;
  TPictureKey key{r.right - r.left,
                  r.bottom - r.top,
                  selected,
                  reinterpret_cast<std::intptr_t>(&data),
                  s.MenuItem ? ImageId(s.MenuItem->Bitmap) : 0,
                  s.ColourMenu,
                  s.ColourHilight,
                  s.ColourMenuText,
                  s.ColourHilightText,
                  s.ColourButtonShadow};
  key.Add(back.Image ? ImageId(*back.Image) : 0);
  if (back.Image) key.Add(r.left + back.Offset.x).Add(r.top + back.Offset.y);
  key.Add(item.Enabled).Add(item.Checked).Add(item.Radio).Add(item.Default).Add(item.RightToLeft);
  key.Add(item.SubMenu)
      .Add(item.Dpi)
      .Add(item.Scaled ? item.Scaled->Scale().Dpi : 0)
      .Add(item.ImageIndex)
      .Add(reinterpret_cast<std::intptr_t>(item.Images));
  if (item.Images) key.Add(reinterpret_cast<std::intptr_t>(item.Images->Handle())).Add(item.Images->Count());
  return key.Add(item.Caption).Add(item.ShortCut);
}

TBitmap ComposeItem(const RECT& r, const TSkinData& data, const TMenuItemLook& item, bool selected,
                    const TMenuBackground& back) {
  int w = r.right - r.left, h = r.bottom - r.top;
  const TSkinElements& s = data.Skin;
  const TDataSkinObject* e = s.MenuItem && !s.MenuItem->Bitmap.Empty() ? s.MenuItem.get() : nullptr;
  TBitmap img(w, h, pf24bit);
  if (!e) {
    // The plain look: the skin's menu colours only.
    // The skin's colours may name system colours (its defaults do): resolved before filling.
    img.Fill(ColorToRGB(selected && !item.Separator() ? s.ColourHilight : s.ColourMenu));
    if (item.Separator())
      EtchedLine(img);
    else
      DrawContent(img, data, item, selected);
    return img;
  }
  img.Fill(ColorToRGB(s.ColourMenu));
  if (back.Image) img.CopyRect(0, 0, *back.Image, r.left + back.Offset.x, r.top + back.Offset.y, w, h);
  const TItemArt art = ArtOf(*e, item);
  if (item.Separator()) {
    SkinnedSeparator(img, art);
  } else {
    {
      TBitmapDC idc(img);
      if (idc)
        DrawNineSlice(idc.Get(), RECT{0, 0, w, h}, *art.Image, false, e->Tile != 0, e->Trans != 0, kFrames,
                      selected ? 4 : 1, art.Margins);
    }
    DrawContent(img, data, item, selected);
  }
  return img;
}

}  // namespace

void DrawSkinnedItem(HDC dc, const RECT& r, const TSkinData& data, const TMenuItemLook& item, bool selected,
                     const TMenuBackground& back) {
  if (!dc || r.right <= r.left || r.bottom <= r.top) return;
  TPictureKey key = ItemKey(r, data, item, selected, back);
  TBitmap kept;
  if (gItemPictures.Find(key, kept)) {
    DrawBitmap(dc, r.left, r.top, kept);
    return;
  }
  TBitmap img = ComposeItem(r, data, item, selected, back);
  DrawBitmap(dc, r.left, r.top, img);
  gItemPictures.Keep(std::move(key), img);
}

void ForgetMenuItemPictures() {
  gItemPictures.Clear();
  std::lock_guard<std::mutex> lock(gMeasuredLock);
  gMeasured.clear();
}

std::size_t MenuItemPictureBytes() { return gItemPictures.Bytes(); }

TMenuBackground PopupBackgroundFor(HMENU menu, HDC dc) {
  TMenuBackground back;
  TSkinManage* m = SkinManager();
  if (!m) return back;
  TVuzUrezPopMenu* popup = nullptr;
  if (HWND wnd = dc ? WindowFromDC(dc) : nullptr)
    for (TVuzUrezPopMenu* p : m->Popups())
      if (p->Handle == wnd) popup = p;
  if (!popup) popup = PendingPopup();
  if (popup && menu && !popup->FMenu) popup->FMenu = menu;
  if (popup && PendingPopup() == popup && popup->FMenu) PendingPopup() = nullptr;
  if (!popup && menu) popup = m->PopupOfMenu(menu);
  if (!popup) return back;
  if (!popup->Background().Empty()) back.Image = &popup->Background();
  back.Offset = popup->ClientOffset();
  return back;
}
