// The system's file-open dialog opened and closed as a person would, for the tests and the
// benchmark of a skinned program: once it has made everything it shows and paints, then it is
// cancelled.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <chrono>
#include <string>

#include "dll/DaskelSkin.h"

namespace filedialog {

struct TShown {
  bool Skinned = false;  // its frame drawn by the engine when it showed
  std::chrono::steady_clock::time_point At;
};

inline TShown& Shown() {
  static TShown shown;
  return shown;
}

// The dialog's own part (no template of ours).
inline UINT_PTR CALLBACK Hook(HWND part, UINT msg, WPARAM, LPARAM lp) {
  constexpr UINT kMade = WM_APP + 1;
  if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == CDN_INITDONE)
    PostMessageW(part, kMade, 0, 0);
  if (msg == kMade) {
    HWND dialog = GetParent(part);
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Shown().At = std::chrono::steady_clock::now();
    Shown().Skinned =
        IsWindowVisible(dialog) && SendMessageW(dialog, DASKEL_SKIN_QUERY, 0, 0) == DASKEL_SKIN_FRAME;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  return 0;
}

// Opens the dialog on the folder and cancels it once it has shown; the seconds from the call to
// its showing (negative when it failed rather than being cancelled).
inline double OpenAndCancel(HWND owner, const std::wstring& folder) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = Hook;
  Shown() = TShown{};
  const auto start = std::chrono::steady_clock::now();
  if (GetOpenFileNameW(&ofn) || CommDlgExtendedError() != 0) return -1;
  return std::chrono::duration<double>(Shown().At - start).count();
}

}  // namespace filedialog
