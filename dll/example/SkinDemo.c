/* A dialog-based Win32 program in plain C, skinned by DaskelSkin.dll in a few lines.
 *
 *   SkinDemo.exe [LIGHT.skn [NIGHT.skn]]
 *
 * Without arguments it shows the DLL's built-in skin; "Night skin" then switches to the second
 * file when one was given. It returns 0 for OK and 1 for Cancel. */
#include <windows.h>

#include <stdlib.h>

#include "DaskelSkin.h"
#include "SkinDemo.h"

static const char* gLight = NULL;
static const char* gNight = NULL;

static void Complain(HWND owner) {
  MessageBoxA(owner, DaskelSkinLastErrorA(), "DaskelSkin", MB_OK | MB_ICONWARNING);
}

static INT_PTR CALLBACK DemoProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  (void)lp;
  switch (msg) {
    case WM_INITDIALOG:
      SendDlgItemMessageA(dlg, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM) "Shut down");
      SendDlgItemMessageA(dlg, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM) "Restart");
      SendDlgItemMessageA(dlg, IDC_COMBO, CB_SETCURSEL, 0, 0);
      SendDlgItemMessageA(dlg, IDC_LIST, LB_ADDSTRING, 0, (LPARAM) "Monday");
      SendDlgItemMessageA(dlg, IDC_LIST, LB_ADDSTRING, 0, (LPARAM) "Tuesday");
      SendDlgItemMessageA(dlg, IDC_LIST, LB_ADDSTRING, 0, (LPARAM) "Wednesday");
      CheckRadioButton(dlg, IDC_RADIO1, IDC_RADIO2, IDC_RADIO1);
      CheckDlgButton(dlg, IDC_SKINNING, DaskelSkinIsRunning() ? BST_CHECKED : BST_UNCHECKED);
      EnableWindow(GetDlgItem(dlg, IDC_NIGHT), gNight != NULL);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_SKINNING: /* skinning off and on while the program runs */
          if (!DaskelSkinEnable(IsDlgButtonChecked(dlg, IDC_SKINNING) == BST_CHECKED)) Complain(dlg);
          return TRUE;
        case IDC_NIGHT: /* another skin at run time */
          if (!DaskelSkinSetSkinA(IsDlgButtonChecked(dlg, IDC_NIGHT) == BST_CHECKED ? gNight : gLight))
            Complain(dlg);
          return TRUE;
        case IDC_MESSAGE: /* message boxes are skinned too */
          MessageBoxA(dlg, "A message box, skinned like the dialog.", "DaskelSkin demo", MB_OK | MB_ICONINFORMATION);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dlg, LOWORD(wp) == IDOK ? 0 : 1);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  int result;
  (void)previous, (void)commandLine, (void)show;
  if (__argc > 1) gLight = __argv[1];
  if (__argc > 2) gNight = __argv[2];

  /* The engine skins this thread's windows from here on: the dialog, its controls, its menus
   * and every message box. A skin it refuses leaves the program as it is, unskinned. */
  if (!DaskelSkinStartA(gLight)) Complain(NULL);
  result = (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_DEMO), NULL, DemoProc, 0);
  DaskelSkinStop(); /* the windows it skinned are given back as they were */
  return result;
}
