// TSkinControl: the base of the control skinners. A control skinner sits between one standard
// control of a skinned window and that control's own message handling: the control behaves as
// before, but the skinner takes over (or adds to) its painting so that it is drawn from the skin.
//
// A skinner is attached in one of three ways: through a framework control's WindowProc
// (AttachControl), by replacing the window procedure of a window known only by its handle
// (AttachHandle), or through a windowless control's WindowProc (AttachGraphic, speed buttons).
// Every message then goes through SkinWndProc: BeforeDefault (false: fully handled here), the
// control's own handling, AfterDefault.
//
// The form skinner that creates a skinner owns it (as its TComponent owner) and implements
// TSkinControlOwner, the only view a skinner has of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/WindowSubclass.h"
#include "skin/data/VuzUrezData.h"
#include "skin/paint/SkinDraw.h"
#include "skin/paint/SkinPictureCache.h"
#include "skin/paint/SkinScale.h"

class TControl;
class TWinControl;
class TImageList;
class TSkinControl;

// What a control skinner needs of the form skinner that owns it.
class TSkinControlOwner {
 public:
  virtual ~TSkinControlOwner() = default;
  // Lists the skinner (to be detached and freed with the owner) unless it is listed already;
  // answers whether it was.
  virtual bool AddIfAbsent(TSkinControl* skinner) = 0;
  // The one skinner of the window that shows the mouse-over look, or nullptr.
  virtual TSkinControl* HotControl() const = 0;
  virtual void SetHotControl(TSkinControl* skinner) = 0;
  // The window is being destroyed or the manager is shutting down: nothing is restored.
  virtual bool TearingDown() const = 0;
  // The windowless control of a listed skinner is gone: take the skinner out and free it.
  virtual void RemoveSkinner(TSkinControl* skinner) = 0;
  // The owner is attaching its window's controls and repaints them all once, when it is done: a
  // skinner attached meanwhile asks for no repaint of its own.
  virtual bool RepaintsAfterAttach() const { return false; }
};

// The element's slice margins.
inline TMargins ElementMargins(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}
// The element exists and has an image.
inline bool HasImage(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }
// The scratch bitmap, grown to at least w x h (its top-left part is the picture), or nullptr.
TBitmap* ScratchAtLeast(int w, int h);

// text, or black or white where text is too close to back to be read on it.
TColor ReadableOn(TColor text, TColor back);

// State bits of FState.
constexpr std::uint8_t kSkinHot = 1;
constexpr std::uint8_t kSkinPressed = 2;

class TSkinControl : public TComponent {
  DASKEL_CLASS(TSkinControl, TComponent)
 public:
  // owner: the form skinner (a TSkinControlOwner); a skinner without one still works, it only
  // takes no part in the list and the hot-control slot.
  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  virtual void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas);
  virtual void AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas);
  // Windowless controls (speed buttons): through the control's WindowProc, no window.
  virtual void AttachGraphic(TControl* control, TSkinData* data, TCanvas* canvas);
  virtual void Detach();
  virtual bool BeforeDefault(TMessage& m);
  virtual void AfterDefault(TMessage& m);
  // Paints the whole window now into dc, or into the window DC when dc is null.
  virtual void PaintNow(HDC dc);
  // Draws the skinned look into dc within r (window coordinates).
  virtual void DrawSkin(HDC dc, const RECT& r);
  // A skinner whose whole picture follows from a few values adds them to key and answers true
  // (the base has added the size): its paints then compose the picture once, through DrawSkin,
  // and copy it for as long as the key stays the same. The others answer false and draw at
  // every paint.
  virtual bool PictureKey(TPictureKey& key);
  virtual void RefreshSkin();
  // Pixel bytes of the pictures the skinner keeps between paints.
  virtual std::size_t PictureBytes() const { return FComposed.Bytes(); }
  // Whether the skinner draws any of the control, which the engine's question answers: one that
  // only steers the control's own painting leaves its look as it is without the engine.
  virtual bool DrawsControl() const { return true; }
  // The skin at the control's DPI: sizes the skin gives for 96 DPI and its images, scaled.
  const TSkinAtScale& AtScale() const { return FAtScale; }

  void SkinWndProc(TMessage& m);
  void CallDefault(TMessage& m);
  // CM_MOUSELEAVE to the own window, if there is one.
  void MouseLeave();
  // Repaints the whole window before returning.
  void Redraw();
  void FillFace(HDC dc, const RECT& r) const;
  // The two-pixel sunken edge of a field (an edit, a list) as the skin draws it: a ring in the
  // shadow colour, and inside it a ring in the field's ground, so that it does not stand out
  // around a dark field. rings 1: a field's plain one-pixel border, the shadow ring alone.
  void DrawFieldEdge(HDC dc, const RECT& r, int rings = 2) const;
  // Takes the DPI of the control's window (a window moved to another monitor changes it without
  // a word to its controls) and the skin; when either changed, ScaleChanged drops what was
  // composed at the old one.
  void FollowScale();
  // The standard WM_PAINT handling of skinners that paint everything themselves.
  void PaintMessage(TMessage& m);
  // The skinned look at r of dc: the kept picture when its key holds, else DrawSkin.
  void PaintComposed(HDC dc, const RECT& r);
  // For those skinners: WM_PAINT goes to PaintMessage and the background is never erased (the
  // picture covers it). True when the message was one of the two and is handled.
  bool PaintWhole(TMessage& m);
  // For skinners that draw over the control's own painting, on a window whose client area is the
  // whole window: the control paints and the skin is drawn over it through one paint DC, not a
  // second DC taken after the paint. True when the message was WM_PAINT and is handled.
  bool PaintOverOwn(TMessage& m);

  // Read-only views, for the owner and for tests.
  HWND Handle() const { return FHandle; }
  TWinControl* Control() const { return FControl; }
  TControl* GraphicControl() const { return FGraphicControl; }
  bool Attached() const { return FAttached; }
  std::uint8_t State() const { return FState; }
  const RECT& WindowRect() const { return FWindowRect; }
  const std::wstring& CachedCaption() const { return FCaption; }
  TSkinData* SkinData() const { return FSkinData; }
  bool Enabled() const { return FEnabled; }
  bool Recolour() const { return FRecolour; }

  // Skinners alive in the process, for leak checks.
  static int Alive();

  // The drawing routines every skinner shares (the skinner gives FSkinData, FEnabled, FCanvas).
  // Frame k of n of the element, nine-sliced to r; magenta transparent when the element says so.
  void DrawElement(HDC dc, const RECT& r, int frameCount, int frameIndex, const TDataSkinObject& e) const;
  // Frame k of n of the element nine-sliced over r of the scratch bitmap, on the face colour.
  void DrawElementToBuffer(const RECT& r, const TDataSkinObject& e, bool transparent, int frameCount,
                           int frameIndex) const;
  // Frame k of n of the bitmap (full height) stretched to r, magenta transparent.
  void DrawFrameStretched(HDC dc, const RECT& r, int frameCount, int frameIndex, const TBitmap& bmp) const;
  void DrawFrameStretched(TCanvas& canvas, const RECT& r, int frameCount, int frameIndex,
                          const TBitmap& bmp) const;
  // Frame k of n of a glyph, unscaled at r's top-left; its top-left pixel's colour is transparent.
  static void DrawGlyphFrame(TCanvas& canvas, const RECT& r, int frameCount, int frameIndex,
                             const TBitmap& glyph);
  // Texts are drawn wide: a Unicode control's as it keeps them, a framework control's GBK ones
  // widened (framework/WideText.h). align: DT_LEFT, DT_CENTER or DT_RIGHT.
  static void DrawCaption(TCanvas& canvas, const RECT& r, UINT align, bool enabled, const std::wstring& text);
  // alignment 0 left, 1 centred, 2 right.
  void DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text, int imageIndex,
                    TImageList* images) const;
  // The same with a system image list (of a tab control or header known only by its window).
  void DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text, int imageIndex,
                    HIMAGELIST images) const;
  // alignment index 0 left, 1 right, 2 centre; the text is centred both ways whatever it is.
  static void DrawCenteredText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text,
                               bool enabled);
  // Copies the scratch bitmap's top-left part to r of dc.
  static void CopyScratch(HDC dc, const RECT& r);
  // The control's font (the framework control's, or the window's WM_GETFONT one) into font.
  void ControlFont(TFont& font) const;

 protected:
  TSkinControlOwner* Site() const { return FSite; }
  // AttachControl for skinners that paint over what the control painted itself, after it:
  // buffering the control's own painting would only cost time, so it keeps the buffering it had.
  void AttachUnbuffered(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas);
  bool TearingDown() const { return FSite && FSite->TearingDown(); }
  // The hot-control protocol of push buttons (WM_MOUSEMOVE / CM_MOUSEENTER / CM_MOUSELEAVE).
  void HotMouseMove();
  void HotEnter();
  void HotLeave();
  void ReadCaption();
  // Takes the focus and the focus-cue state as they are now; messages keep them up to date.
  void FollowLook();
  bool WindowEnabled() const;
  // The control takes the skin's face colour, and its text the skin's button-text colour where
  // it showed the system's default text colour, so that text stays readable on any face; both
  // are saved for RestoreColours.
  void Recolour(TControl* c);
  void RestoreColours(TControl* c);
  // The colours a recoloured control takes: the skin's face and, readable on it, its button text.
  virtual void Colours(TColor& back, TColor& text) const;
  // The DPI or the skin changed: pictures composed for the old one go. Skinners with pictures
  // or images of their own drop them too.
  virtual void ScaleChanged();

  // The font drawn with, as a key: the framework control's font, or the window's.
  void AddFontKey(TPictureKey& key) const;
  // What the control's own painting shows besides its state, as a key: the focus, the enabled
  // state, whether focus marks show, the caption, and the brush and colours its parent gives it
  // (WM_CTLCOLORSTATIC, the message check boxes, radio buttons and track bars ask with).
  void AddOwnLookKey(TPictureKey& key);
  // The control's own painting into dc (its WM_PAINT with that DC), for a skin drawn over it.
  void PaintOwnLook(HDC dc);

  std::uint8_t FState = 0;
  TPictureCache FComposed;  // the whole picture of the last paint, for skinners with a key
  TSkinAtScale FAtScale;
  TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  bool FOwnFocus = false;  // the window has the keyboard focus
  LRESULT FUiState = 0;    // WM_QUERYUISTATE's answer: which focus cues are hidden
  std::wstring FCaption;
  TWindowSubclass FObjectInstance;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  TWndMethod FOldWindowProc;
  TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  TControl* FGraphicControl = nullptr;
  bool FRecolour = false;
  TColor FSavedColor = 0;
  bool FAttached = false;
  bool FSavedParentColor = false;
  bool FSavedParentFont = false;
  bool FFontRecoloured = false;
  TColor FSavedFontColor = 0;
  // Children of a recoloured container that sit on a window-coloured ground (edits, lists) and
  // keep their own text colour instead of the container's new one.
  std::vector<TControl*> FPinnedFonts;

  void Notification(TComponent* c, TOperation op) override;

 private:
  TSkinControlOwner* FSite = nullptr;
};
