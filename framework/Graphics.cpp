#include "framework/Graphics.h"

#include <cstddef>

#include "framework/PixelStoreWin32.h"

DASKEL_DEFINE_CLASS(TGraphicsObject, TPersistent) {}

namespace {
const std::vector<std::string> kFontStyles{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const std::vector<std::string> kBrushStyles{"bsSolid", "bsClear"};
const std::vector<std::string> kPenStyles{"psSolid",   "psDash",       "psDot",
                                          "psDashDot", "psDashDotDot", "psClear"};

bool CharsetIdentToInt(const std::string& ident, long long* value) {
  static const std::pair<const char*, int> sets[] = {
      {"ANSI_CHARSET", ANSI_CHARSET},
      {"DEFAULT_CHARSET", DEFAULT_CHARSET},
      {"SYMBOL_CHARSET", SYMBOL_CHARSET},
      {"GB2312_CHARSET", GB2312_CHARSET},
      {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
      {"OEM_CHARSET", OEM_CHARSET},
  };
  for (const auto& [name, v] : sets) {
    if (SameText(name, ident)) {
      *value = v;
      return true;
    }
  }
  return false;
}

int ScreenDpi() {
  TWindowDc dc(nullptr);
  return GetDeviceCaps(dc.Get(), LOGPIXELSY);
}

// Looked up, not linked: systems before Windows 10 (1607) do not have them.
template <class F>
F User32Function(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}
}  // namespace

int WindowDpi(HWND window) {
  static const auto getDpi = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  UINT dpi = getDpi && window ? getDpi(window) : 0;
  if (dpi == 0) dpi = static_cast<UINT>(ScreenDpi());
  return dpi > 0 ? static_cast<int>(dpi) : 96;
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
  static const auto forDpi =
      User32Function<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0, static_cast<UINT>(dpi))) return ncm;
  // Older systems: the metrics at the system's DPI (in the size every version accepts), scaled.
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof ncm.lfMenuFont, &ncm.lfMenuFont);
    ncm.lfMessageFont = ncm.lfMenuFont;
    ncm.iMenuHeight = GetSystemMetrics(SM_CYMENU);
  }
  int system = ScreenDpi();
  if (dpi == system) return ncm;
  for (LOGFONTW* f :
       {&ncm.lfCaptionFont, &ncm.lfSmCaptionFont, &ncm.lfMenuFont, &ncm.lfStatusFont, &ncm.lfMessageFont})
    f->lfHeight = MulDiv(f->lfHeight, dpi, system);
  ncm.iMenuHeight = MulDiv(ncm.iMenuHeight, dpi, system);
  ncm.iCaptionHeight = MulDiv(ncm.iCaptionHeight, dpi, system);
  return ncm;
}

// ---- font

DASKEL_DEFINE_CLASS(TFont, TGraphicsObject) {
  c.String("Name", &TFont::Name, &TFont::SetName);
  c.Int("Height", &TFont::Height, &TFont::SetHeight);
  c.Int("Size", &TFont::Size, &TFont::SetSize);
  c.Set("Style", &TFont::Style, &TFont::SetStyle, kFontStyles);
  c.Color("Color", &TFont::Color, &TFont::SetColor);
  c.Int("Charset", &TFont::Charset, &TFont::SetCharset, &CharsetIdentToInt);
}

void TFont::Change() {
  // Listeners (canvases, controls) let go of the old handle before it is deleted.
  TGdiFont old = std::move(handle_);
  Changed();
}
void TFont::SetName(const std::string& v) {
  if (v != name_) name_ = v, Change();
}
void TFont::SetHeight(int v) {
  points_ = 0;
  if (v != height_) height_ = v, Change();
}
int TFont::Size() const { return points_ ? points_ : -MulDiv(height_, 72, pixelsPerInch_); }
void TFont::SetSize(int points) {
  int h = -MulDiv(points, pixelsPerInch_, 72);
  points_ = points;
  if (h != height_) height_ = h, Change();
}
void TFont::SetPixelsPerInch(int ppi) {
  if (ppi <= 0 || ppi == pixelsPerInch_) return;
  // From the points where there are some: scaled pixels would drift from them by rounding.
  height_ = points_ ? -MulDiv(points_, ppi, 72) : MulDiv(height_, ppi, pixelsPerInch_);
  pixelsPerInch_ = ppi;
  Change();
}
void TFont::SetStyle(TFontStyles v) {
  if (v != style_) style_ = v, Change();
}
void TFont::SetColor(TColor v) {
  // The colour is not part of the GDI font: no new handle.
  if (v != color_) color_ = v, Changed();
}
void TFont::SetCharset(int v) {
  if (v != charset_) charset_ = v, Change();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && points_ == o.points_ &&
         pixelsPerInch_ == o.pixelsPerInch_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_;
}

void TFont::Assign(const TFont& o) {
  if (&o == this || SameAs(o)) return;
  name_ = o.name_;
  height_ = o.height_;
  points_ = o.points_;
  pixelsPerInch_ = o.pixelsPerInch_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
  Change();
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & FontStyle(fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & FontStyle(fsItalic)) ? 1 : 0;
    lf.lfUnderline = (style_ & FontStyle(fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (style_ & FontStyle(fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_.Get();
}

void GetMessageFont(TFont& font) {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return;
  font.SetPixelsPerInch(WindowDpi(nullptr));  // the system's metrics are at the system's DPI
  font.SetName(ncm.lfMessageFont.lfFaceName);
  font.SetHeight(ncm.lfMessageFont.lfHeight);
  font.SetCharset(ncm.lfMessageFont.lfCharSet);
  font.SetStyle(ncm.lfMessageFont.lfWeight >= FW_BOLD ? FontStyle(fsBold) : 0);
}

bool GetWindowFont(HWND wnd, TFont& font) {
  auto h = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (!GetObjectA(h ? static_cast<HGDIOBJ>(h) : GetStockObject(SYSTEM_FONT), sizeof lf, &lf)) return false;
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetCharset(lf.lfCharSet);
  font.SetStyle((lf.lfWeight >= FW_BOLD ? FontStyle(fsBold) : 0) | (lf.lfItalic ? FontStyle(fsItalic) : 0));
  return true;
}

// ---- brush and pen

DASKEL_DEFINE_CLASS(TBrush, TGraphicsObject) {
  c.Color("Color", &TBrush::Color, &TBrush::SetColor);
  c.Enum("Style", &TBrush::Style, &TBrush::SetStyle, kBrushStyles);
}

void TBrush::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  auto old = std::move(handle_);
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v == style_) return;
  style_ = v;
  auto old = std::move(handle_);
  Changed();
}
HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color_))));
  return handle_.Get();
}

DASKEL_DEFINE_CLASS(TPen, TGraphicsObject) {
  c.Color("Color", &TPen::Color, &TPen::SetColor);
  c.Int("Width", &TPen::Width, &TPen::SetWidth);
  c.Enum("Style", &TPen::Style, &TPen::SetStyle, kPenStyles);
}

void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  auto old = std::move(handle_);
  Changed();
}
void TPen::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  auto old = std::move(handle_);
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  auto old = std::move(handle_);
  Changed();
}
HPEN TPen::Handle() {
  if (!handle_) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    handle_.Reset(CreatePen(styles[style_], width_, static_cast<COLORREF>(ColorToRGB(color_))));
  }
  return handle_.Get();
}

// ---- canvas

DASKEL_DEFINE_CLASS(TCanvas, TPersistent) {}

TCanvas::TCanvas() {
  font_.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  brush_.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  pen_.OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::ObjectChanged(TObject* sender) {
  // A changed object gets a new handle: select it again before the old one is deleted.
  if (!dc_) return;
  if (sender == &font_ && oldFont_) fontOk_ = false, SelectObject(dc_, oldFont_), oldFont_ = nullptr;
  if (sender == &brush_ && oldBrush_) brushOk_ = false, SelectObject(dc_, oldBrush_), oldBrush_ = nullptr;
  if (sender == &pen_ && oldPen_) penOk_ = false, SelectObject(dc_, oldPen_), oldPen_ = nullptr;
}

void TCanvas::Deselect() {
  if (!dc_) return;
  if (oldFont_) SelectObject(dc_, oldFont_);
  if (oldBrush_) SelectObject(dc_, oldBrush_);
  if (oldPen_) SelectObject(dc_, oldPen_);
  oldFont_ = oldBrush_ = oldPen_ = nullptr;
  fontOk_ = brushOk_ = penOk_ = false;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::Need(bool font, bool brush, bool pen) {
  if (!dc_) return;
  if (font && !fontOk_) {
    HGDIOBJ old = SelectObject(dc_, font_.Handle());
    if (!oldFont_) oldFont_ = old;
    SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font_.Color())));
    fontOk_ = true;
  }
  if (font) {
    SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font_.Color())));
    if (brush_.Style() == bsClear) {
      SetBkMode(dc_, TRANSPARENT);
    } else {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, static_cast<COLORREF>(ColorToRGB(brush_.Color())));
    }
  }
  if (brush && !brushOk_) {
    HGDIOBJ old = SelectObject(dc_, brush_.Handle());
    if (!oldBrush_) oldBrush_ = old;
    brushOk_ = true;
  }
  if (pen && !penOk_) {
    HGDIOBJ old = SelectObject(dc_, pen_.Handle());
    if (!oldPen_) oldPen_ = old;
    penOk_ = true;
  }
}

void TCanvas::FillRect(const RECT& r) {
  if (!dc_ || brush_.Style() == bsClear) return;
  ::FillRect(dc_, &r, brush_.Handle());
}
void TCanvas::FrameRect(const RECT& r) {
  if (dc_) ::FrameRect(dc_, &r, brush_.Handle());
}
void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Need(false, true, true);
  if (dc_) ::Rectangle(dc_, x1, y1, x2, y2);
}
void TCanvas::MoveTo(int x, int y) {
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}
void TCanvas::LineTo(int x, int y) {
  Need(false, false, true);
  if (dc_) ::LineTo(dc_, x, y);
}
void TCanvas::TextOut(int x, int y, const std::string& text) {
  Need(true, false, false);
  if (dc_) ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}
void TCanvas::TextRect(RECT r, const std::string& text, UINT format) {
  Need(true, false, false);
  if (dc_) DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}
int TCanvas::DrawTextRect(RECT& r, const std::string& text, UINT format) {
  Need(true, false, false);
  return dc_ ? ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format) : 0;
}
int TCanvas::DrawTextRect(RECT& r, const std::wstring& text, UINT format) {
  Need(true, false, false);
  return dc_ ? ::DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &r, format) : 0;
}
SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s{0, 0};
  Need(true, false, false);
  if (dc_) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}
SIZE TCanvas::TextExtent(const std::wstring& text) {
  SIZE s{0, 0};
  Need(true, false, false);
  if (dc_) GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}
void TCanvas::Draw(int x, int y, const TBitmap& bmp) {
  StretchDraw(RECT{x, y, x + bmp.Width(), y + bmp.Height()}, bmp);
}
void TCanvas::StretchDraw(const RECT& r, const TBitmap& bmp) {
  HBITMAP h = BitmapHandle(bmp);
  if (!dc_ || !h) return;
  TMemoryDc mem(CreateCompatibleDC(dc_));
  TSelectObject sel(mem.Get(), h);
  int w = r.right - r.left, hgt = r.bottom - r.top;
  if (w == bmp.Width() && hgt == bmp.Height()) {
    BitBlt(dc_, r.left, r.top, w, hgt, mem.Get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.left, r.top, w, hgt, mem.Get(), 0, 0, bmp.Width(), bmp.Height(), SRCCOPY);
  }
}
void TCanvas::CopyRect(const RECT& to, TCanvas& src, const RECT& from) {
  if (!dc_ || !src.dc_) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, to.left, to.top, to.right - to.left, to.bottom - to.top, src.dc_, from.left, from.top,
             from.right - from.left, from.bottom - from.top, SRCCOPY);
}
void TCanvas::DrawFocusRect(const RECT& r) {
  if (dc_) ::DrawFocusRect(dc_, &r);
}

HBITMAP BitmapHandle(const TBitmap& bmp) {
  return bmp.Empty() ? nullptr : DibOf(const_cast<TPixelStore*>(bmp.Store()));
}

TBitmapCanvas::TBitmapCanvas(TBitmap& bmp) : dc_(CreateCompatibleDC(nullptr)) {
  bmp.Store();  // drawn on: a shared image takes pixels of its own first
  if (HBITMAP h = BitmapHandle(bmp)) old_ = SelectObject(dc_.Get(), h);
  SetHandle(dc_.Get());
}

TBitmapCanvas::~TBitmapCanvas() {
  SetHandle(nullptr);
  if (old_) SelectObject(dc_.Get(), old_);
  GdiFlush();
}

// ---- icon

DASKEL_DEFINE_CLASS(TIcon, TGraphicsObject) {}

void TIcon::SetHandle(HICON icon) {
  handle_.Reset(icon);
  bytes_.clear();
  Changed();
}

bool TIcon::LoadFromResourceName(const std::string& name, int size) {
  HICON icon = static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) return false;
  SetHandle(icon);
  return true;
}

bool TIcon::LoadFromBytes(const std::string& bytes, int size) {
  // An .ico file: a directory of images; let the system pick the best one for the size.
  if (bytes.size() < 6 + 16) return false;
  auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
  auto dword = [&](std::size_t i) {
    return byte(i) | byte(i + 1) << 8 | byte(i + 2) << 16 | byte(i + 3) << 24;
  };
  unsigned count = byte(4) | byte(5) << 8;
  if (byte(2) != 1 || count == 0 || 6 + 16ull * count > bytes.size()) return false;
  // GRPICONDIR-like memory layout that LookupIconIdFromDirectoryEx understands.
  std::string dir(6 + 14ull * count, '\0');
  dir[2] = 1;
  dir[4] = static_cast<char>(count & 0xFF);
  dir[5] = static_cast<char>(count >> 8);
  for (unsigned i = 0; i < count; ++i) {
    std::size_t src = 6 + 16ull * i, dst = 6 + 14ull * i;
    dir.replace(dst, 12, bytes, src, 12);
    dir[dst + 12] = static_cast<char>((i + 1) & 0xFF);  // id = index + 1
    dir[dst + 13] = static_cast<char>((i + 1) >> 8);
  }
  int want = size ? size : GetSystemMetrics(SM_CXICON);
  int id =
      LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(dir.data()), TRUE, want, want, LR_DEFAULTCOLOR);
  if (id < 1 || static_cast<unsigned>(id) > count) return false;
  std::size_t entry = 6 + 16ull * static_cast<unsigned>(id - 1);
  unsigned length = dword(entry + 8), offset = dword(entry + 12);
  if (offset > bytes.size() || length > bytes.size() - offset || length == 0) return false;
  HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(bytes.data() + offset)),
                                        length, TRUE, 0x00030000, want, want, LR_DEFAULTCOLOR);
  if (!icon) return false;
  SetHandle(icon);
  bytes_ = bytes;
  return true;
}

void TIcon::Assign(const TIcon& other) {
  if (&other == this) return;
  if (!other.bytes_.empty()) {
    LoadFromBytes(other.bytes_);
  } else {
    SetHandle(other.Handle() ? CopyIcon(other.Handle()) : nullptr);
  }
}

// ---- image list

DASKEL_DEFINE_CLASS(TImageList, TComponent) {
  c.Int("Width", &TImageList::Width, &TImageList::SetWidth);
  c.Int("Height", &TImageList::Height, &TImageList::SetHeight);
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetWidth(int v) {
  if (v == width_ || v <= 0) return;
  width_ = v;
  handle_.Reset();
}
void TImageList::SetHeight(int v) {
  if (v == height_ || v <= 0) return;
  height_ = v;
  handle_.Reset();
}

HIMAGELIST TImageList::Handle() {
  if (!handle_) handle_.Reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
  return handle_.Get();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0; }

int TImageList::AddMasked(const TBitmap& strip, TColor mask) {
  if (strip.Empty()) return -1;
  // ImageList takes a bitmap that is not selected anywhere; a copy keeps the caller's intact
  // (the list builds its mask by changing the bitmap it is given).
  TBitmap copy(strip);
  copy.SetPixelFormat(pf24bit);
  return ImageList_AddMasked(Handle(), BitmapHandle(copy), static_cast<COLORREF>(ColorToRGB(mask)));
}

void TImageList::Clear() {
  if (handle_) ImageList_RemoveAll(handle_.Get());
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!handle_ || !canvas.Handle() || index < 0 || index >= Count()) return;
  ImageList_DrawEx(handle_.Get(), index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE,
                   ILD_TRANSPARENT | (enabled ? 0 : ILD_BLEND50));
}
