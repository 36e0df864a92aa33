#include "framework/Buttons.h"

namespace {
const std::vector<std::string> kKinds{"bkCustom", "bkOK",    "bkCancel", "bkHelp",   "bkYes", "bkNo",
                                      "bkClose",  "bkAbort", "bkRetry",  "bkIgnore", "bkAll"};
}

DASKEL_DEFINE_CLASS(TSpeedButton, TGraphicControl) {
  c.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
  c.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  c.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
  c.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { width_ = 23, height_ = 22; }

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (v == down_) return;
  if (!v && groupIndex_ > 0 && !allowAllUp_ && !HasState(csLoading)) return;  // one stays down
  down_ = v;
  if (v && groupIndex_ > 0 && parent_) {
    for (int i = 0; i < parent_->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
      if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
        other->down_ = false;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (groupIndex_ > 0) SetDown(allowAllUp_ ? !down_ : true);
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (enabled_) {
        pressed_ = true;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      pressed_ = false;
      Invalidate();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (m.Msg == CM_MOUSELEAVE) pressed_ = false;
      if (flat_) Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  TCanvas& c = *Canvas();
  RECT r = ClientRect();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(color_);
  c.FillRect(r);
  bool sunk = pressed_ || down_;
  if (!flat_ || sunk || MouseInControl()) DrawEdge(c.Handle(), &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (sunk) OffsetRect(&r, 1, 1);
  c.Brush().SetStyle(bsClear);
  if (!enabled_) c.Font().SetColor(clGrayText);
  c.TextRect(r, text_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

DASKEL_DEFINE_CLASS(TBitBtn, TButton) { c.Enum("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, kKinds); }

void TBitBtn::SetKind(TBitBtnKind k) {
  kind_ = k;
  struct Standard {
    const char* caption;
    TModalResult result;
  };
  static const Standard standard[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                      {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                      {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                      {"&Ignore", mrIgnore}, {"&All", mrNone}};
  if (k == bkCustom) return;
  SetCaption(standard[k].caption);
  SetModalResult(standard[k].result);
  if (k == bkOK || k == bkYes) SetDefault(true);
  if (k == bkCancel || k == bkNo) SetCancel(true);
}
