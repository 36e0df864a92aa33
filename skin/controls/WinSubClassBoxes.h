// Container and content skinners: TSkinBox gives group boxes, panels and similar containers the
// skin's face colour, TSkinContent gives content controls the skin's content colours; neither
// sees a message. TSkinDialogPane gives a dialog nested in a plain window the window's face, and
// TSkinOverlappingText keeps a label from covering a control it runs under.
#pragma once

#include <functional>

#include "skin/controls/WinSubClass.h"
#include "skin/controls/WinSubClassListView.h"

// What a plain window (not a framework form) of the skin answers its controls' colour questions
// (WM_CTLCOLOR...) with, once its own procedure has answered `given`: texts stand on the skin's
// face in a colour that reads on it, fields take the skin's content colours where the skin has
// them. Any other message keeps `given`.
LRESULT PlainControlColours(UINT msg, HDC dc, LRESULT given, const TSkinData& data);
// The window's client area filled with the skin's face colour.
void FillClientWithFace(HWND wnd, HDC dc, const TSkinData& data);

class TSkinBox : public TSkinControl {
  DASKEL_CLASS(TSkinBox, TSkinControl)
 public:
  explicit TSkinBox(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  void AfterDefault(TMessage&) override {}
};

// Labels and other windowless texts: the skin's face colour behind them and its button-text
// colour for a text in the system's default colour; like a box it never sees a message.
class TSkinLabel : public TSkinControl {
  DASKEL_CLASS(TSkinLabel, TSkinControl)
 public:
  explicit TSkinLabel(TComponent* owner);
  void AttachLabel(TControl* label, TSkinData* data);
  void AfterDefault(TMessage&) override {}
};

// Content controls (edits, memos, lists, list and tree views, grids, scroll boxes, combo boxes,
// and windowless texts inside such a control) take the skin's content colours where the skin
// gives them, and keep the system's where it does not; the colours follow skin switches and are
// given back on detach. Like a box it never sees a message.
class TSkinContent : public TSkinControl {
  DASKEL_CLASS(TSkinContent, TSkinControl)
 public:
  explicit TSkinContent(TComponent* owner);
  // faceWithout: without content colours the control takes the skin's face colour instead of
  // keeping the system's (a grid, whose cells otherwise stand out from the form).
  void AttachContent(TControl* control, TSkinData* data, bool faceWithout);
  void Detach() override;
  void RefreshSkin() override;
  void AfterDefault(TMessage&) override {}

 protected:
  void Colours(TColor& back, TColor& text) const override;

 private:
  bool Wanted() const;
  // List and tree views keep their colours in the control, not in the framework's.
  void ViewColours();
  bool FFaceWithout = false;
  bool FView = false;
  TViewColours FViewColours;
};

// A static text of a plain window that runs under another control (dialog templates often make a
// label wider than its text, up to and under the button beside it). The label fills its whole
// rectangle, and whichever of the two paints last shows where they meet: the system happens to
// paint the control last, a skinned window's paints come in another order. The label is painted
// without the controls it runs under, so they show whatever the order.
class TSkinOverlappingText : public TSkinControl {
  DASKEL_CLASS(TSkinOverlappingText, TSkinControl)
 public:
  explicit TSkinOverlappingText(TComponent* owner);
  // The window is a text label that runs under a control beside it.
  static bool Wanted(HWND wnd);
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  bool DrawsControl() const override { return false; }
};

// A dialog nested in a skinned plain window without a frame of its own (the template part of a
// common dialog), or a program's own container window in it: its ground and its controls'
// colours are the window's, as if its controls stood on the window itself. Its controls get
// skinners from the window's walk.
class TSkinDialogPane : public TSkinControl {
  DASKEL_CLASS(TSkinDialogPane, TSkinControl)
 public:
  explicit TSkinDialogPane(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void Detach() override;
  void RefreshSkin() override;
  // Called with the pane's window once it has made its controls (a dialog makes them while it
  // initialises, after it was created and perhaps already skinned).
  std::function<void(HWND)> OnControlsMade;

 private:
  // The pane and the labels on it painted again (their colours come from the pane).
  void RepaintAll() const;
};
