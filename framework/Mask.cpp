#include "framework/Mask.h"

#include <imm.h>

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

namespace {

// Full-width digits (as an input method types them) count as digits; in the GBK code page they
// are A3 B0 to A3 B9. Returns the ASCII digit, or 0.
char WideDigit(unsigned char lead, unsigned char trail) {
  return lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9 ? static_cast<char>('0' + (trail - 0xB0)) : 0;
}

// Text with its full-width digits made ASCII; other double-byte characters stay as they are.
std::string NarrowDigits(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0x81 && i + 1 < text.size()) {
      if (char d = WideDigit(lead, static_cast<unsigned char>(text[i + 1]))) {
        out += d;
      } else {
        out += text.substr(i, 2);
      }
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

void TCustomMaskEdit::PasteText(const std::string& raw) {
  const std::string text = NarrowDigits(raw);
  std::string shown = Text();
  int start = SelStart(), len = SelLength();
  if (len > 0) mask_.Blank(shown, start, start + len);
  int cursor = start;
  bool taken = false;
  for (char ch : text) {
    if (!mask_.TypeChar(shown, cursor, ch)) break;
    taken = true;
  }
  // Pasting stops at the first refused character; a paste of which nothing fits is refused
  // whole rather than just clearing the selection.
  if (!taken) {
    MessageBeep(0);
    return;
  }
  Apply(shown, cursor);
}

void TCustomMaskEdit::WndProc(TMessage& m) {
  if (IsMasked() && !ReadOnly()) {
    switch (m.Msg) {
      case WM_IME_COMPOSITION:
        // The edit would insert a composition result itself, past the mask; the default
        // procedure turns it into WM_IME_CHAR messages, which come through the mask below.
        if (m.LParam & GCS_RESULTSTR) {
          m.Result = DefWindowProcA(Handle(), m.Msg, m.WParam, m.LParam);
          return;
        }
        break;
      case WM_IME_CHAR: {
        // One character from an input method: a full-width digit is typed as its digit,
        // anything else is refused, as a typed key would be.
        auto lead = static_cast<unsigned char>((m.WParam >> 8) & 0xFF);
        auto trail = static_cast<unsigned char>(m.WParam & 0xFF);
        char digit = lead ? WideDigit(lead, trail) : static_cast<char>(trail);
        if (digit) {
          SendMessageA(Handle(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(digit)), m.LParam);
        } else {
          MessageBeep(0);
        }
        m.Result = 0;
        return;
      }
      case WM_CHAR: {
        // A double-byte character arrives as two WM_CHARs: the lead byte is held back, the pair
        // goes on as a digit when it is a full-width one and is refused otherwise.
        auto byte = static_cast<unsigned char>(m.WParam & 0xFF);
        if (leadByte_) {
          unsigned char lead = leadByte_;
          leadByte_ = 0;
          char digit = WideDigit(lead, byte);
          if (!digit) {
            MessageBeep(0);
            return;
          }
          m.WParam = static_cast<WPARAM>(static_cast<unsigned char>(digit));
        } else if (IsDBCSLeadByte(byte)) {
          leadByte_ = byte;
          return;
        }
        break;
      }
      case WM_DROPFILES:
        return;  // dropped text never bypasses the mask
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
