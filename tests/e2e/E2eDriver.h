// Drives the real Daskel.exe from another process, as a person would: finds its windows, reads
// their texts, clicks and types through the system's input queue, and waits for what it expects.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// A started program; ended (killed if still running) when this goes away.
class Process {
 public:
  explicit Process(const std::string& commandLine);
  // With its standard output and error going to a file (created afresh).
  Process(const std::string& commandLine, const std::string& outputFile);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Started() const { return pi_.hProcess != nullptr; }
  DWORD Id() const { return pi_.dwProcessId; }
  bool Running() const;
  // Waits for the program to end by itself; returns its exit code, or -1 on time-out.
  int WaitExit(DWORD ms);

 private:
  PROCESS_INFORMATION pi_{};
};

// A program that none of us wrote, started on its own or through skinrun.exe, and its main
// window: the first visible top-level window of its class that was not there before the start.
class ForeignProgram {
 public:
  // skinrun: skinrun.exe's Windows path to start the program through, "" to start it on its own;
  // skin: the Windows path of the skin file skinrun is given ("" for its default skin).
  ForeignProgram(const std::string& program, const char* windowClass, const std::string& skinrun = "",
                 const std::string& skin = "");
  // The program outlives a skinrun that was ended: it is ended by its own id.
  ~ForeignProgram();
  ForeignProgram(const ForeignProgram&) = delete;
  ForeignProgram& operator=(const ForeignProgram&) = delete;
  HWND Main() const { return main_; }
  DWORD Pid() const { return pid_; }
  // Closes the main window and answers the exit code skinrun or the program gave (-1: it ran on).
  int Close();
  // Waits for the program (or skinrun) to end by itself and answers the exit code (-1: it ran on).
  int WaitExit();

 private:
  std::vector<HWND> before_;  // the class's windows before the start
  Process process_;
  HWND main_ = nullptr;
  DWORD pid_ = 0;
};

// A key of the current user that a program keeps its settings in (its window's size, the last
// thing it showed, its bars and options, in values and keys below): taken out while this lives,
// so the program starts with its defaults whatever ran before, and put back as it was afterwards.
class SetAsideSettings {
 public:
  explicit SetAsideSettings(const std::wstring& key);
  ~SetAsideSettings();
  SetAsideSettings(const SetAsideSettings&) = delete;
  SetAsideSettings& operator=(const SetAsideSettings&) = delete;

 private:
  std::wstring key_;
  std::wstring aside_;  // where the key is kept meanwhile (empty: there was none)
};

// Memory inside another process, for the messages of controls that take pointers (a list view's
// or a tree view's items): filled from here, handed to the control, read back.
class RemoteMemory {
 public:
  RemoteMemory(HWND owner, std::size_t size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  bool Valid() const { return at_ != nullptr; }
  // Where the memory lies in the other process.
  LPARAM At(std::size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(at_) + offset);
  }
  bool Write(const void* data, std::size_t size, std::size_t offset = 0);
  bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
};

// How long a program under test may take to answer one step on a loaded machine: only a step
// that went wrong waits this long, so it is generous.
constexpr DWORD kPatience = 30000;

// Polls the condition every 50 ms, pumping this thread's messages, until it holds or time runs out.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = kPatience);

// The Windows path of a file of the build tree (Wine maps the Unix root to Z:).
std::string WindowsPath(const std::string& unixPath);

// Sends a message to another program's window; 0 when it does not answer.
LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// A dialog of the program that is not its main window, once it shows (nullptr when none came).
HWND WaitDialog(DWORD pid);
// The text of item `index` of a combo box of another program ("" when it has none).
std::wstring ComboItemText(HWND combo, int index);

std::string ClassOf(HWND h);
std::string TextOf(HWND h);
// The window's text as UTF-16: another program's texts need not fit the ANSI code page.
std::wstring WideTextOf(HWND h);
RECT ScreenRect(HWND h);

// Top-level windows of the process, optionally only those of a class and/or caption.
std::vector<HWND> TopLevels(DWORD pid, const char* cls = nullptr, const char* caption = nullptr,
                            bool visibleOnly = true);
// Direct and indirect children of a window of a class, ordered top to bottom, then left to right.
std::vector<HWND> Children(HWND parent, const char* cls);

// The first child (direct or indirect) of a class with exactly this text, or nullptr.
HWND ChildWithText(HWND parent, const char* cls, const std::string& text);
// The window's frame is drawn by the skinning engine (it answers the engine's query).
bool SkinnedFrame(HWND w);

// The window with the keyboard focus in the thread that owns `w`.
HWND FocusOf(HWND w);

// Input as a person gives it: the mouse moves to the point and clicks; keys are pressed.
void ClickScreen(int x, int y, bool right = false);
void ClickCenter(HWND h);
void DoubleClickScreen(int x, int y);
void PressKey(WORD vk, bool withAlt = false);
// The key with a modifier key (VK_CONTROL, VK_SHIFT, VK_MENU) held down.
void PressKeyWith(WORD modifier, WORD vk);
void TypeText(const std::string& text);  // digits, letters and blanks
// Any text, each character handed over as a keyboard's input method does (it reaches the window
// as the character, whatever the keyboard layout).
void TypeUnicode(const std::wstring& text);
// Opens a drop-down list with a click, picks the item `index` with the keyboard, and waits until
// the list has closed and let go of the mouse.
void PickItem(HWND combo, int index);

}  // namespace e2e
