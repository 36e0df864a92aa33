// The framework's own window messages. CM_* are sent to controls by the framework itself;
// CN_* are notifications a parent reflects back to the child control they concern
// (CN_BASE + the original message number). The numbers are fixed: code outside the framework
// (the skinning engine) handles them by number.
#pragma once

constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0x00;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 0x01;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 0x05;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 0x06;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 0x07;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 0x08;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 0x09;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 0x0B;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 0x0C;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 0x0D;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 0x0E;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 0x0F;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 0x12;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 0x13;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 0x14;
constexpr unsigned CM_MENUCHANGED = CM_BASE + 0x15;
constexpr unsigned CM_ENTER = CM_BASE + 0x1A;
constexpr unsigned CM_EXIT = CM_BASE + 0x1B;
constexpr unsigned CM_RELEASE = CM_BASE + 0x21;

constexpr unsigned CN_BASE = 0xBC00;
constexpr unsigned CN_COMMAND = CN_BASE + 0x0111;      // WM_COMMAND
constexpr unsigned CN_NOTIFY = CN_BASE + 0x004E;       // WM_NOTIFY
constexpr unsigned CN_HSCROLL = CN_BASE + 0x0114;      // WM_HSCROLL
constexpr unsigned CN_VSCROLL = CN_BASE + 0x0115;      // WM_VSCROLL
constexpr unsigned CN_DRAWITEM = CN_BASE + 0x002B;     // WM_DRAWITEM
constexpr unsigned CN_MEASUREITEM = CN_BASE + 0x002C;  // WM_MEASUREITEM
constexpr unsigned CN_CTLCOLORMSGBOX = CN_BASE + 0x0132;
constexpr unsigned CN_CTLCOLOREDIT = CN_BASE + 0x0133;
constexpr unsigned CN_CTLCOLORLISTBOX = CN_BASE + 0x0134;
constexpr unsigned CN_CTLCOLORBTN = CN_BASE + 0x0135;
constexpr unsigned CN_CTLCOLORDLG = CN_BASE + 0x0136;
constexpr unsigned CN_CTLCOLORSCROLLBAR = CN_BASE + 0x0137;
constexpr unsigned CN_CTLCOLORSTATIC = CN_BASE + 0x0138;
