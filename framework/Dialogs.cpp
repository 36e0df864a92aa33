#include <algorithm>
#include <memory>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Mask.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace {

// The form behind MessageDlg: an icon, the text, a row of buttons.
class TMessageForm : public TForm {
  DASKEL_CLASS(TMessageForm, TForm)
 public:
  explicit TMessageForm(TComponent* owner) : TForm(owner) {}
  HICON icon = nullptr;  // a shared system icon: not destroyed

 protected:
  void Paint() override {
    if (icon) DrawIcon(Canvas()->Handle(), ScaleValue(16), ScaleValue(16), icon);
    TForm::Paint();
  }
};

struct ButtonInfo {
  TMsgDlgBtn button;
  const char* caption;
  TModalResult result;
};
const ButtonInfo kButtons[] = {
    {mbYes, "&Yes", mrYes},         {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel}, {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore}};
}  // namespace

DASKEL_DEFINE_CLASS(TMessageForm, TForm) {}

std::string MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return Application ? Application->Title() : std::string();
  }
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  if (buttons == 0) buttons = MsgDlgButton(mbOK);
  auto form = std::unique_ptr<TMessageForm, void (*)(TMessageForm*)>(new TMessageForm(Application),
                                                                     [](TMessageForm* f) { f->Free(); });
  // Laid out at once in the pixels of the system's DPI, where the box appears.
  form->ScaleForPPI(WindowDpi(nullptr));
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons(BorderIcon(biSystemMenu));
  form->SetPosition(poScreenCenter);
  form->SetCaption(MessageDlgCaption(type));
  GetMessageFont(*form->Font());
  LPCSTR iconId = type == mtWarning        ? IDI_EXCLAMATION
                  : type == mtError        ? IDI_HAND
                  : type == mtInformation  ? IDI_ASTERISK
                  : type == mtConfirmation ? IDI_QUESTION
                                           : nullptr;
  form->icon = iconId ? LoadIconA(nullptr, iconId) : nullptr;

  // Measure the text at most half the screen wide, long words broken; the box must fit the work
  // area with its buttons, so a text taller than that is cut at the bottom.
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  TWindowDc screen(nullptr);
  TSelectObject sel(screen.Get(), form->Font()->Handle());
  const LONG maxTextW = (work.right - work.left) / 2;
  RECT tr{0, 0, maxTextW, 0};
  DrawTextA(screen.Get(), text.data(), static_cast<int>(text.size()), &tr,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  const int margin = form->ScaleValue(16), gap = form->icon ? margin : 0;
  const int iconSize = form->icon ? GetSystemMetrics(SM_CYICON) : 0;
  const int bw = form->ScaleValue(75), bh = form->ScaleValue(25), bgap = form->ScaleValue(8);
  const int frameH = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME) +
                     form->ScaleValue(60);  // room for a skinned frame
  const LONG maxTextH = (work.bottom - work.top) - frameH - (3 * margin + bh);
  tr.right = std::min(tr.right, maxTextW);
  tr.bottom = std::max<LONG>(0, std::min(tr.bottom, maxTextH));
  int count = 0;
  for (const ButtonInfo& b : kButtons) count += (buttons & MsgDlgButton(b.button)) ? 1 : 0;
  int rowWidth = count * bw + (count - 1) * bgap;
  int textLeft = margin + iconSize + gap;
  int clientW = std::max(textLeft + static_cast<int>(tr.right) + margin, rowWidth + 2 * margin);
  int textBottom = margin + std::max(static_cast<int>(tr.bottom), iconSize);
  int clientH = textBottom + margin + bh + margin;
  form->SetClientWidth(clientW);
  form->SetClientHeight(clientH);

  auto* label = new TLabel(form.get());
  label->SetName("Message");
  label->SetParent(form.get());
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetShowAccelChar(false);
  label->SetBounds(textLeft, margin + (iconSize > tr.bottom ? (iconSize - tr.bottom) / 2 : 0), tr.right,
                   tr.bottom);
  label->SetCaption(text);

  int x = (clientW - rowWidth) / 2;
  bool first = true;
  TButton* cancel = nullptr;
  for (const ButtonInfo& b : kButtons) {
    if (!(buttons & MsgDlgButton(b.button))) continue;
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption(b.caption);
    button->SetModalResult(b.result);
    button->SetBounds(x, textBottom + margin, bw, bh);
    if (first) {
      button->SetDefault(true);
      form->SetActiveControl(button);
      first = false;
    }
    if (b.button == mbNo || (b.button == mbCancel && !cancel)) cancel = button;
    x += bw + bgap;
  }
  if (cancel) cancel->SetCancel(true);
  return form->ShowModal();
}

void RegisterFrameworkClasses() {
  const TClassInfo* classes[] = {
      &TComponent::StaticClass(),      &TControl::StaticClass(),       &TWinControl::StaticClass(),
      &TGraphicControl::StaticClass(), &TCustomControl::StaticClass(), &TCustomForm::StaticClass(),
      &TForm::StaticClass(),           &TLabel::StaticClass(),         &TButton::StaticClass(),
      &TCheckBox::StaticClass(),       &TRadioButton::StaticClass(),   &TEdit::StaticClass(),
      &TMaskEdit::StaticClass(),       &TComboBox::StaticClass(),      &TGroupBox::StaticClass(),
      &TUpDown::StaticClass(),         &TTimer::StaticClass(),         &TMenuItem::StaticClass(),
      &TMainMenu::StaticClass(),       &TPopupMenu::StaticClass(),     &TImageList::StaticClass(),
      &TFont::StaticClass(),           &TStringList::StaticClass(),    &TMessageForm::StaticClass(),
      &TSpeedButton::StaticClass(),    &TBitBtn::StaticClass(),        &TPanel::StaticClass(),
      &TMemo::StaticClass(),           &TListBox::StaticClass(),       &TProgressBar::StaticClass(),
      &TTrackBar::StaticClass(),       &TStatusBar::StaticClass(),     &TTabControl::StaticClass(),
      &TPageControl::StaticClass(),    &TTabSheet::StaticClass(),      &TTabSet::StaticClass(),
      &TStatusPanel::StaticClass(),    &THeaderControl::StaticClass(), &THeaderSection::StaticClass(),
  };
  (void)classes;
}
