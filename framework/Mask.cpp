#include "framework/Mask.h"

DASKEL_DEFINE_CLASS(TCustomMaskEdit, TCustomEdit) {
  c.String("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
}
DASKEL_DEFINE_CLASS(TMaskEdit, TCustomMaskEdit) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
  maskText_ = mask;
  mask_ = TEditMask(mask);
  if (IsMasked()) SetMaxLength(mask_.Length());
  if (!HasState(csLoading)) SetText(Text());
}

void TCustomMaskEdit::Loaded() {
  // The mask and the text may come in either order in a layout.
  if (IsMasked()) text_ = mask_.Format(text_);
  TCustomEdit::Loaded();
}

void TCustomMaskEdit::SetText(const std::string& s) {
  TCustomEdit::SetText(IsMasked() && !HasState(csLoading) ? mask_.Format(s) : s);
}

void TCustomMaskEdit::Apply(const std::string& shown, int cursor) {
  TCustomEdit::SetText(shown);
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(cursor), cursor);
}

void TCustomMaskEdit::KeyPress(char& key) {
  TCustomEdit::KeyPress(key);
  if (!IsMasked() || key == 0 || ReadOnly()) return;
  auto u = static_cast<unsigned char>(key);
  if (key == '\b') {
    std::string shown = Text();
    int start = SelStart(), len = SelLength();
    if (len > 0) {
      mask_.Blank(shown, start, start + len);
    } else {
      mask_.Backspace(shown, start);
    }
    Apply(shown, start);
    key = 0;
  } else if (key == 0x16) {  // Ctrl+V
    SendMessageA(Handle(), WM_PASTE, 0, 0);
    key = 0;
  } else if (key == 0x18) {  // Ctrl+X
    SendMessageA(Handle(), WM_CUT, 0, 0);
    key = 0;
  } else if (u >= 0x20) {
    std::string shown = Text();
    int start = SelStart(), len = SelLength();
    std::string typed = shown;
    if (len > 0) mask_.Blank(typed, start, start + len);
    int cursor = start;
    if (mask_.TypeChar(typed, cursor, key)) {
      Apply(typed, cursor);
    } else {
      MessageBeep(0);
    }
    key = 0;
  }
}

void TCustomMaskEdit::KeyDown(unsigned short& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (!IsMasked() || key != VK_DELETE || ReadOnly()) return;
  std::string shown = Text();
  int start = SelStart(), len = SelLength();
  mask_.Blank(shown, start, start + (len > 0 ? len : 1));
  Apply(shown, start);
  key = 0;
}

void TCustomMaskEdit::PasteText(const std::string& text) {
  std::string shown = Text();
  int start = SelStart(), len = SelLength();
  if (len > 0) mask_.Blank(shown, start, start + len);
  int cursor = start;
  for (char ch : text)
    if (!mask_.TypeChar(shown, cursor, ch)) break;
  Apply(shown, cursor);
}

void TCustomMaskEdit::WndProc(TMessage& m) {
  if (IsMasked() && !ReadOnly()) {
    switch (m.Msg) {
      case WM_PASTE: {
        std::string text;
        if (OpenClipboard(Handle())) {
          if (HANDLE h = GetClipboardData(CF_TEXT)) {
            if (const char* p = static_cast<const char*>(GlobalLock(h))) {
              text = p;
              GlobalUnlock(h);
            }
          }
          CloseClipboard();
        }
        PasteText(text);
        return;
      }
      case WM_CUT:
      case WM_CLEAR: {
        if (m.Msg == WM_CUT) SendMessageA(Handle(), WM_COPY, 0, 0);
        std::string shown = Text();
        int start = SelStart(), len = SelLength();
        mask_.Blank(shown, start, start + len);
        Apply(shown, start);
        return;
      }
      default:
        break;
    }
  }
  TCustomEdit::WndProc(m);
}
