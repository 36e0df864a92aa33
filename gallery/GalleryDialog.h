// A plain system dialog ("#32770", from a dialog template): the engine skins windows it was
// never told about, and this one shows how they look.
#pragma once

#include <windows.h>

// The dialog's caption, for whoever looks for its window.
inline constexpr char kSystemDialogCaption[] = "System dialog";

// Shows the dialog modally over `owner`; returns IDOK or IDCANCEL.
INT_PTR ShowSystemDialog(HWND owner);
