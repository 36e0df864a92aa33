#include "gallery/GalleryControls.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

DASKEL_DEFINE_CLASS(TBorderlessEdit, TEdit) {}

void TBorderlessEdit::CreateParams(TCreateParams& p) {
  TEdit::CreateParams(p);
  p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  p.Style &= ~static_cast<DWORD>(WS_BORDER);
}

DASKEL_DEFINE_CLASS(TSpinEdit, TEdit) {
  c.Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue);
  c.Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue);
}

void TSpinEdit::CreateHandleDone() {
  TEdit::CreateHandleDone();
  HWND edit = Handle();
  // UDS_SETBUDDYINT: the arrows write the number into the edit themselves. No UDS_ALIGN*
  // style: those place the arrows beside the buddy in the buddy's parent, not inside it.
  spin_.Reset(CreateWindowExA(0, UPDOWN_CLASSA, "",
                              WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                              0, 0, edit, nullptr, GetModuleHandleA(nullptr), nullptr));
  if (!spin_) return;
  SendMessageA(spin_.Get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageA(spin_.Get(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(spin_.Get(), UDM_SETPOS32, 0, std::atoi(Text().c_str()));
  PlaceSpin();
}

void TSpinEdit::PlaceSpin() {
  if (!spin_) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  SetWindowPos(spin_.Get(), nullptr, client.right - width, 0, width, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The text stops short of the arrows.
  SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width + 1));
}

void TSpinEdit::Resized(int oldClientWidth, int oldClientHeight) {
  TEdit::Resized(oldClientWidth, oldClientHeight);
  if (HandleAllocated()) PlaceSpin();
}

void TSpinEdit::WndProc(TMessage& m) {
  // The spin button is a child of this window and is destroyed with it.
  if (m.Msg == WM_DESTROY) spin_.Release();
  TEdit::WndProc(m);
}
