#include "gallery/GalleryBars.h"

#include <algorithm>

#include "skin/controls/WinSubClassBars.h"
#include "skin/manager/SkinManage.h"

namespace {
TGalleryBarsForm* gOpen = nullptr;
}

DASKEL_DEFINE_CLASS(TGalleryBarsForm, TForm) {
  c.Field("TabTop", &TGalleryBarsForm::TabTop);
  c.Field("TabBottom", &TGalleryBarsForm::TabBottom);
  c.Field("TabLeft", &TGalleryBarsForm::TabLeft);
  c.Field("TabRight", &TGalleryBarsForm::TabRight);
  c.Field("TabMany", &TGalleryBarsForm::TabMany);
  c.Field("Pages", &TGalleryBarsForm::Pages);
  c.Field("TabSetScrolled", &TGalleryBarsForm::TabSetScrolled);
  c.Field("TabSetFits", &TGalleryBarsForm::TabSetFits);
  c.Field("ProgressEmpty", &TGalleryBarsForm::ProgressEmpty);
  c.Field("ProgressHalf", &TGalleryBarsForm::ProgressHalf);
  c.Field("ProgressFull", &TGalleryBarsForm::ProgressFull);
  c.Field("SmoothEmpty", &TGalleryBarsForm::SmoothEmpty);
  c.Field("SmoothHalf", &TGalleryBarsForm::SmoothHalf);
  c.Field("SmoothFull", &TGalleryBarsForm::SmoothFull);
  c.Field("TrackHorizontal", &TGalleryBarsForm::TrackHorizontal);
  c.Field("TrackVertical", &TGalleryBarsForm::TrackVertical);
  c.Field("Header", &TGalleryBarsForm::Header);
  c.Field("HeaderImages", &TGalleryBarsForm::HeaderImages);
  c.Field("SimpleStatus", &TGalleryBarsForm::SimpleStatus);
  c.Field("PanelStatus", &TGalleryBarsForm::PanelStatus);
  c.Method("FormCreate", &TGalleryBarsForm::FormCreate);
}

TGalleryBarsForm::~TGalleryBarsForm() {
  // Only components still known to the engine are told: the others may be gone already.
  if (TSkinManage* m = SkinManager())
    for (const THooked& h : hooked_)
      if (std::find(m->SkinDatas().begin(), m->SkinDatas().end(), h.Data) != m->SkinDatas().end() &&
          h.Data->OnSkinControl == TOnSkinControl(this, &TGalleryBarsForm::SkinControl))
        h.Data->OnSkinControl = h.Previous;
  if (gOpen == this) gOpen = nullptr;
}

void TGalleryBarsForm::FormCreate(TObject*) {
  // Two small pictures for the header: a dot and a square, magenta around them.
  TBitmap strip(32, 16);
  strip.Fill(RGBColor(255, 0, 255));
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) {
      if ((x - 7.5) * (x - 7.5) + (y - 7.5) * (y - 7.5) <= 16) strip.SetPixel(x, y, RGBColor(37, 99, 235));
      strip.SetPixel(16 + x, y, RGBColor(234, 88, 12));
    }
  HeaderImages->AddMasked(strip, RGBColor(255, 0, 255));
  Header->SetImages(HeaderImages);
  if (TSkinManage* m = SkinManager())
    for (TSkinData* d : m->SkinDatas()) {
      hooked_.push_back({d, d->OnSkinControl});
      d->OnSkinControl = TOnSkinControl(this, &TGalleryBarsForm::SkinControl);
    }
}

void TGalleryBarsForm::SkinControl(TComponent* sender, TSkinData* data, TControl* form, TControl* control,
                                   const std::string& className, TComponent*& skinned) {
  if (control == Header) {
    skinned = new TSkinHeader(sender);
  } else if (control == PanelStatus) {
    skinned = new TSkinStatusBar(sender);
  } else {
    for (const THooked& h : hooked_)
      if (h.Data == data) h.Previous(sender, data, form, control, className, skinned);
  }
}

TGalleryBarsForm* ShowGalleryBars() {
  if (!gOpen) Application->CreateForm(gOpen);
  if (gOpen) gOpen->Show();
  return gOpen;
}
