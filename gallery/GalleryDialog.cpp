#include "gallery/GalleryDialog.h"

#include <initializer_list>

#include "gallery/GalleryResources.h"

namespace {

// Keeps the size grip in the bottom-right corner as the dialog is resized.
void PlaceGrip(HWND dialog) {
  HWND grip = GetDlgItem(dialog, IDC_GALLERY_GRIP);
  if (!grip) return;
  RECT client{};
  GetClientRect(dialog, &client);
  const int w = GetSystemMetrics(SM_CXVSCROLL), h = GetSystemMetrics(SM_CYHSCROLL);
  SetWindowPos(grip, nullptr, client.right - w, client.bottom - h, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: {
      HWND combo = GetDlgItem(dialog, IDC_GALLERY_COMBO);
      for (const char* item : {"First item", "Second item", "Third item"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      SendMessageA(combo, CB_SETCURSEL, 0, 0);
      CheckRadioButton(dialog, IDC_GALLERY_RADIO1, IDC_GALLERY_RADIO3, IDC_GALLERY_RADIO1);
      CheckDlgButton(dialog, IDC_GALLERY_CHECK, BST_CHECKED);
      SetDlgItemTextA(dialog, IDC_GALLERY_EDIT, "Plain EDIT control");
      PlaceGrip(dialog);
      return TRUE;  // the focus goes to the first control
    }
    case WM_SIZE:
      PlaceGrip(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowSystemDialog(HWND owner) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GALLERY_DIALOG), owner, DialogProc,
                         0);
}
