// Drawing on Windows: fonts, brushes, pens, a canvas over a DC, icons, image lists, and the GDI
// side of TBitmap (its canvas and handle).
#pragma once

#include <windows.h>

#include <string>

#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/Handles.h"

class TGraphicsObject : public TPersistent {
  DASKEL_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;

 protected:
  void Changed() { OnChange(this); }
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit (1 << TFontStyle)
constexpr TFontStyles FontStyle(TFontStyle s) { return 1u << s; }

class TFont : public TGraphicsObject {
  DASKEL_CLASS(TFont, TGraphicsObject)
 public:
  TFont() = default;
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  int Height() const { return height_; }  // negative: character height in pixels
  void SetHeight(int v);
  int Size() const;  // points, at PixelsPerInch
  void SetSize(int points);
  // The resolution Height is in (96 until the font's control is scaled to its window's DPI).
  // Changing it keeps the font's size: a size given in points stays those points, a height given
  // in pixels is scaled.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Charset() const { return charset_; }
  void SetCharset(int v);
  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;
  HFONT Handle();  // made when first asked for after a change

 private:
  void Change();
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  int points_ = 0;  // the size when given in points, else 0
  int pixelsPerInch_ = 96;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  TGdiFont handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
  DASKEL_CLASS(TBrush, TGraphicsObject)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);
  HBRUSH Handle();

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TGdiBrush handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

class TPen : public TGraphicsObject {
  DASKEL_CLASS(TPen, TGraphicsObject)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  HPEN Handle();

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TGdiPen handle_;
};

// Draws on a DC it does not own. Font, brush and pen are selected when a drawing call needs
// them and the DC's own objects are selected back when the DC is let go.
class TCanvas : public TPersistent {
  DASKEL_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;
  HDC Handle() const { return dc_; }
  void SetHandle(HDC dc);

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int x1, int y1, int x2, int y2);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Draws text clipped to r (DrawText flags, DT_NOCLIP off).
  void TextRect(RECT r, const std::string& text, UINT format);
  // DrawTextA with the canvas's font and background mode; r is updated with DT_CALCRECT.
  int DrawTextRect(RECT& r, const std::string& text, UINT format);
  // The same for a wide text (DrawTextW): another program's texts, which need not fit the ANSI
  // code page.
  int DrawTextRect(RECT& r, const std::wstring& text, UINT format);
  SIZE TextExtent(const std::string& text);
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, const TBitmap& bmp);
  void StretchDraw(const RECT& r, const TBitmap& bmp);
  // Copies src's rectangle `from` onto this canvas's rectangle `to` (stretching if needed).
  void CopyRect(const RECT& to, TCanvas& src, const RECT& from);
  void DrawFocusRect(const RECT& r);

 private:
  void Need(bool font, bool brush, bool pen);
  void Deselect();
  void ObjectChanged(TObject* sender);
  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  bool fontOk_ = false, brushOk_ = false, penOk_ = false;
};

// The GDI handle of a bitmap's pixels (a DIB section); nullptr for an empty bitmap. Call
// GdiFlush() before touching scan lines after GDI has drawn on them.
HBITMAP BitmapHandle(const TBitmap& bmp);

// A canvas drawing straight into a bitmap's pixels, for as long as it lives.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bmp);
  ~TBitmapCanvas() override;

 private:
  TMemoryDc dc_;
  HGDIOBJ old_ = nullptr;
};

class TIcon : public TGraphicsObject {
  DASKEL_CLASS(TIcon, TGraphicsObject)
 public:
  HICON Handle() const { return handle_.Get(); }
  // Takes ownership of `icon`.
  void SetHandle(HICON icon);
  bool Empty() const { return !handle_; }
  // From an icon resource of the executable (for example "MAINICON").
  bool LoadFromResourceName(const std::string& name, int size = 0);
  // From the bytes of an .ico file (the best image for `size`, 0 for the system's large size).
  bool LoadFromBytes(const std::string& bytes, int size = 0);
  const std::string& Bytes() const { return bytes_; }
  void Assign(const TIcon& other);

 private:
  TIconHandle handle_;
  std::string bytes_;
};

class TImageList : public TComponent {
  DASKEL_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner);
  int Width() const { return width_; }
  void SetWidth(int v);
  int Height() const { return height_; }
  void SetHeight(int v);
  int Count() const;
  // Adds a strip of images Width() wide; pixels of `mask` colour are transparent. Returns the
  // index of the first added image, or -1.
  int AddMasked(const TBitmap& strip, TColor mask);
  void Clear();
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
  HIMAGELIST Handle();

 private:
  int width_ = 16, height_ = 16;
  TImageListHandle handle_;
};

// The DPI a window is drawn at: its monitor's for a per-monitor aware program where the system
// can say (GetDpiForWindow), else the screen's.
int WindowDpi(HWND window);
// A system metric (GetSystemMetrics) and the system's non-client metrics (menu and message
// fonts, menu height) as they are at a DPI: the system's own values at its DPI, and where the
// system cannot say for another DPI, its values scaled.
int SystemMetricForDpi(int index, int dpi);
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);

// The font the system uses for message boxes, as a TFont.
void GetMessageFont(TFont& font);
// The font a window draws with (WM_GETFONT; the system font when it has none), with its bold
// and italic; false (and font untouched) when it cannot be read.
bool GetWindowFont(HWND wnd, TFont& font);
