// The gallery's window of tabbed controls and bars: tab controls with tabs on every side and
// one with more tabs than fit, a page control, tab sets with and without their scroller,
// progress bars at 0, half and full, track bars both ways, a header whose sections end early
// and status bars in simple mode and with panels of every bevel and alignment. Its layout is
// GalleryBars.layout.
#pragma once

#include <string>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "skin/data/VuzUrezData.h"

class TGalleryBarsForm : public TForm {
  DASKEL_CLASS(TGalleryBarsForm, TForm)
 public:
  explicit TGalleryBarsForm(TComponent* owner) : TForm(owner) {}
  ~TGalleryBarsForm() override;

  TTabControl* TabTop = nullptr;
  TTabControl* TabBottom = nullptr;
  TTabControl* TabLeft = nullptr;
  TTabControl* TabRight = nullptr;
  TTabControl* TabMany = nullptr;
  TPageControl* Pages = nullptr;
  TTabSet* TabSetScrolled = nullptr;
  TTabSet* TabSetFits = nullptr;
  TProgressBar* ProgressEmpty = nullptr;
  TProgressBar* ProgressHalf = nullptr;
  TProgressBar* ProgressFull = nullptr;
  TProgressBar* SmoothEmpty = nullptr;
  TProgressBar* SmoothHalf = nullptr;
  TProgressBar* SmoothFull = nullptr;
  TTrackBar* TrackHorizontal = nullptr;
  TTrackBar* TrackVertical = nullptr;
  THeaderControl* Header = nullptr;
  TImageList* HeaderImages = nullptr;
  TStatusBar* SimpleStatus = nullptr;
  TStatusBar* PanelStatus = nullptr;

  void FormCreate(TObject* Sender);

 private:
  // The header and the status bar that keeps its size grip are skinned through the skin data's
  // OnSkinControl event: control discovery has no row for headers, and its status-bar row
  // switches the grip off.
  void SkinControl(TComponent* sender, TSkinData* data, TControl* form, TControl* control,
                   const std::string& className, TComponent*& skinned);
  struct THooked {
    TSkinData* Data;
    TOnSkinControl Previous;
  };
  std::vector<THooked> hooked_;
};

// Opens the window (one at a time) over the gallery; answers it.
TGalleryBarsForm* ShowGalleryBars();
