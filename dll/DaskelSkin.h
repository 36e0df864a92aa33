/* DaskelSkin.h: the Daskel skinning engine for any Win32 program (DaskelSkin.dll, 64-bit).
 *
 * Plain C; usable from C and C++. Link DaskelSkin.lib (or libDaskelSkin.dll.a) and ship
 * DaskelSkin.dll beside the program.
 *
 *   if (!DaskelSkinStartA("night.skn"))            // or NULL: the built-in skin
 *     OutputDebugStringA(DaskelSkinLastErrorA());  // the program goes on unskinned
 *   ... the message loop; every window of this thread is drawn with the skin ...
 *   DaskelSkinStop();                              // every window is given back as it was
 *
 * Threads. The engine skins the windows of ONE thread: the thread that called
 * DaskelSkinStart*. Its top-level windows that are visible at the start are skinned at once,
 * and every window that thread activates later (dialogs, message boxes, common dialogs) and
 * every menu it opens are skinned as they come. Windows of other threads are left alone. Every
 * other function must be called on that same thread; a call from another thread is refused
 * (FALSE, with a reason). The thread must run a message loop (GetMessage/DispatchMessage or
 * a dialog box's own loop).
 *
 * Calls made while a skinned window is handling a message (for example from a button's
 * WM_COMMAND) take effect as soon as that message has been handled: they return TRUE at once,
 * and the windows change when the thread next waits for messages. DaskelSkinStop called there
 * ends the engine in the same way; do not unload the DLL before that has happened.
 *
 * Errors. Every function returns TRUE (non-zero) on success and FALSE on failure; it never
 * crashes on what it is given (NULL, unknown windows, calls in the wrong order). After a
 * failure, DaskelSkinLastError* says why in a short English sentence (a skin file that is
 * missing, is not a skin package, is of another version or is too large; the engine not
 * started; ...). A skin that is refused changes nothing: the program goes on unskinned, or
 * with the skin it had.
 */
#ifndef DASKEL_SKIN_H
#define DASKEL_SKIN_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef DASKEL_SKIN_BUILD
#define DASKEL_SKIN_API __declspec(dllexport)
#else
#define DASKEL_SKIN_API __declspec(dllimport)
#endif

/* Starts the engine on the calling thread with the skin package file at `skinFile` (a .skn
 * file), or with the built-in skin when `skinFile` is NULL or empty. Refused when the engine
 * already runs (stop it first, or switch skins with DaskelSkinSetSkin*). */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinStartA(const char* skinFile);
DASKEL_SKIN_API BOOL __stdcall DaskelSkinStartW(const wchar_t* skinFile);
/* The same with a skin package held in memory (for example a resource of the program): the
 * bytes of a .skn file. They are copied; the caller may free them afterwards. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinStartMemory(const void* package, DWORD size);

/* Switches the running engine to another skin; every skinned window is drawn anew with it.
 * NULL or empty: the built-in skin. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinSetSkinA(const char* skinFile);
DASKEL_SKIN_API BOOL __stdcall DaskelSkinSetSkinW(const wchar_t* skinFile);
DASKEL_SKIN_API BOOL __stdcall DaskelSkinSetSkinMemory(const void* package, DWORD size);

/* Skinning off (FALSE: every window gets its own look back, the engine keeps running) and on
 * again (TRUE). */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinEnable(BOOL on);

/* Ends the engine: every skinned window and control is given back exactly as it was, and the
 * engine's hooks and window procedures are gone. Refused when it is not running. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinStop(void);

/* Leaves one window of the engine's thread, and every child window of it, unskinned (a
 * skinned one gets its own look back), or puts it back. Exclusions end with the engine or with
 * the window. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinExcludeWindow(HWND window);
DASKEL_SKIN_API BOOL __stdcall DaskelSkinIncludeWindow(HWND window);

/* Whether the file is a skin package the engine can use (FALSE: the reason is in the last
 * error). Needs no running engine. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinCheckSkinA(const char* skinFile);
DASKEL_SKIN_API BOOL __stdcall DaskelSkinCheckSkinW(const wchar_t* skinFile);

/* Whether the engine runs on some thread of this process. */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinIsRunning(void);
/* Whether the window is drawn by the engine now (its frame, or as a control). */
DASKEL_SKIN_API BOOL __stdcall DaskelSkinIsWindowSkinned(HWND window);
/* The same question from any thread or process (a test driver, an accessibility tool): send the
 * window this message with wParam 0 and lParam 0. It answers DASKEL_SKIN_FRAME when the engine
 * draws its frame, DASKEL_SKIN_CONTROL when it draws the window as a control, 0 otherwise. */
#define DASKEL_SKIN_QUERY 0x3504
#define DASKEL_SKIN_FRAME 1
#define DASKEL_SKIN_CONTROL 2

/* What the engine holds now, for leak checks: after DaskelSkinStop every count is 0 (window
 * procedures may stay above 0 where another subclass was put on top of the engine's: it then
 * only passes messages on until its window is destroyed). Set `size` before the call. */
typedef struct DaskelSkinCounts {
  DWORD size;             /* sizeof(DaskelSkinCounts) */
  DWORD windowSkinners;   /* top-level windows with a skinned frame */
  DWORD menuSkinners;     /* open menu windows being skinned */
  DWORD controlSkinners;  /* controls being skinned */
  DWORD windowProcedures; /* window procedures the engine has put in place */
  DWORD hooks;            /* window hooks the engine has installed */
} DaskelSkinCounts;
DASKEL_SKIN_API BOOL __stdcall DaskelSkinGetCounts(DaskelSkinCounts* counts);

/* Why the last call on this thread failed ("" after a success). The text stays valid until the
 * thread's next call into the engine. */
DASKEL_SKIN_API const char* __stdcall DaskelSkinLastErrorA(void);
DASKEL_SKIN_API const wchar_t* __stdcall DaskelSkinLastErrorW(void);

#ifdef __cplusplus
}
#endif

#endif /* DASKEL_SKIN_H */
