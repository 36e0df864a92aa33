// Resource numbers shared by SkinGallery.rc and the code.
#pragma once

#define IDD_GALLERY_DIALOG 100
#define IDC_GALLERY_CHECK 1001
#define IDC_GALLERY_RADIO1 1002
#define IDC_GALLERY_RADIO2 1003
#define IDC_GALLERY_RADIO3 1004
#define IDC_GALLERY_EDIT 1005
#define IDC_GALLERY_COMBO 1006
#define IDC_GALLERY_GRIP 1007
