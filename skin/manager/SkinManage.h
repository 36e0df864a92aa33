// TSkinManage: the one process-wide skin manager. A CBT hook on the user-interface thread offers
// every window for skinning when it is first shown or activated, whichever comes first; the manager decides
// whether it is skinned and with which skin data, attaches a form skinner, and runs the skin data components'
// requests (switch on, switch off, skin changed, forget destroyed windows) a fixed delay after they come.
//
// Form skinners live in a higher layer: they derive from TSkinnedWindow, and the program hands
// their factory down at start-up (UseSkinManager, through the form layer's InstallSkinEngine).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/VuzUrezData.h"

class TCustomForm;
class TShowWatch;
class TTimer;
class TVuzUrezPopMenu;

// Custom window messages of the skinning engine.
constexpr UINT WM_SKINCHANGED = 0x3401;     // to a form's WindowProc: re-skin
constexpr UINT WM_SKINPAINTFRAME = 0x3502;  // repaint the skinned frame now
constexpr UINT WM_SKINACTIVATE = 0x3503;    // posted once after attaching, lParam 1000
// WM_SKINACTIVATE's wParam when it is sent as a ShowWindow call shows the window for the first
// time: the show's own SetWindowPos is still to come and can give the window its skinned size.
constexpr WPARAM kFitAtShow = 1;
// The engine's question to a window (wParam 0, lParam 0), which works from other processes too:
// a window whose frame is skinned answers 1, a control a control skinner draws answers 2, any
// other window 0.
constexpr UINT WM_SKINQUERY = 0x3504;
constexpr LRESULT kSkinQueryFrame = 1;
constexpr LRESULT kSkinQueryControl = 2;

// Life stages of a form skinner.
enum TSkinStage {
  ssAttached = 0,    // attached, not yet activated
  ssActive = 1,      // frame painted, region kept
  ssReskinning = 3,  // Reskin: the region is rebuilt even at an unchanged size
  ssReleasing = 4,   // window being destroyed or manager shutting down: nothing restored
  ssRefitting = 5,   // the activation refit
  ssDead = 6,        // the window is gone
};

// What kind of window a form skinner serves (FWindowKind).
enum TSkinWindowKind : std::uint8_t { wkPlain = 0, wkMdiFrame = 1, wkMdiChild = 2 };
// The state of a skinned window (FWindowState); not the framework's TWindowState, whose numbers
// differ.
enum TSkinWindowState : std::uint8_t { swNormal = 0, swMaximized = 1, swMinimized = 2 };

// What the manager requires of a form skinner.
class TSkinnedWindow : public TComponent {
 public:
  explicit TSkinnedWindow(TComponent* owner) : TComponent(owner) {}
  HWND Handle = nullptr;
  TSkinData* FSkinData = nullptr;
  int FStage = ssAttached;
  std::uint8_t FWindowKind = wkPlain;    // a TSkinWindowKind
  std::uint8_t FWindowState = swNormal;  // a TSkinWindowState
  bool FRegionSet = false;

  virtual void AttachForm(TSkinData* data, TCustomForm* form) = 0;
  virtual void AttachWindow(TSkinData* data) = 0;
  virtual void Detach() = 0;   // restores the unskinned look
  virtual void Release() = 0;  // unhooks only
  virtual void ClearSysButtons() = 0;
  virtual void BuildSysButtons() = 0;
  virtual void Reskin() = 0;
  virtual void SetSystemButtons(bool restore) = 0;
  virtual void UpdateRegion() = 0;
  virtual void ClearRegion() = 0;
  virtual void FrameChanged() = 0;
  // Alt and this letter were pressed in the window or one of its controls: true when the window's
  // skinned menu bar opened the menu it names.
  virtual bool OpenMenuByKey(wchar_t) { return false; }
};

using TFormSkinnerFactory = TSkinnedWindow* (*)(TComponent* owner);
// Hands the skin data components this manager (made when the first of them loads) and the
// manager the form skinners it attaches.
void UseSkinManager(TFormSkinnerFactory formSkinner);
// Replaces the form skinners' factory (tests put in skinners of their own).
void SetFormSkinnerFactory(TFormSkinnerFactory factory);

// Where the manager finds the program's windows. By default they are the framework
// application's forms; a program without the framework (the engine loaded into someone else's
// process) hands in its own source, so no framework application is needed there.
class TSkinWindowSource {
 public:
  virtual ~TSkinWindowSource() = default;
  // The top-level windows a switch-on action skins, the most recent first.
  virtual std::vector<HWND> Windows() const = 0;
  // The framework form whose window this is, or nullptr.
  virtual TCustomForm* FormOf(HWND wnd) const = 0;
};

class TSkinManage : public TObject, public TSkinManagerLink {
 public:
  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // TSkinManagerLink
  void AddSkinData(TSkinData* data) override;
  void RemoveSkinData(TSkinData* data) override;
  void InstallHook() override;
  void StartForOwner(TSkinData* data) override;
  void SetActionSkinData(TSkinData* data) override { FActionSkinData = data; }
  void RequestAction(int action, int delayMs) override;
  void ClearAllSysButtons() override;
  void SkinReplaced(TSkinData* data, bool done) override;

  bool SkinWindow(HWND wnd);
  TSkinnedWindow* FindForm(HWND wnd) const;
  void RemoveForm(HWND wnd);
  TSkinData* FindSkinData(HWND wnd) const;
  bool CanSkinClass(const std::string& className) const;
  bool IsPlainChild(HWND wnd) const;
  // Menu windows: a popup skinner on each one the hook sees created, freed when it goes.
  bool SkinPopup(HWND wnd);
  bool UnskinPopup(HWND wnd);
  bool HasPopup(HWND wnd) const;
  // The popup skinner showing this menu, or nullptr; its background is what items draw on.
  TVuzUrezPopMenu* PopupOfMenu(HMENU menu) const;
  const TBitmap* PopupBackground(HMENU menu) const;
  const std::vector<TVuzUrezPopMenu*>& Popups() const { return FPopups; }
  // The MDI client of the skinned frame, and whether its active child is maximised (the frame of
  // a maximised or minimised child is the system's). Setting the flag tells every skinned child.
  HWND MdiClient() const { return FMdiClient; }
  void SetMdiClient(HWND client) { FMdiClient = client; }
  bool MdiMaximized() const { return FMdiMaximized; }
  void SetMdiMax(bool value);
  // The client's frame no longer watches it: the record and the flag, which describe its
  // children, go (and nothing is told to the children).
  void ForgetMdiClient(HWND client);
  int MdiChildCount() const;
  void UninitializeFlatScrollBar(HWND) {}
  void DoAction();

  const std::vector<TSkinnedWindow*>& Forms() const { return FForms; }
  const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }
  bool FSkinning = false;
  bool FApplyingAll = false;
  int FStarted = 0;
  int FAction = 0;
  TSkinData* FActionSkinData = nullptr;
  bool ActionPending() const;
  bool Hooked() const { return FHook != nullptr; }
  // Runs an action for a component at once instead of after the delay (a caller that is not
  // inside a skinned window's message handling).
  void RunAction(int action, TSkinData* data);
  // nullptr: the framework application's forms again. The source must outlive its use.
  void SetWindowSource(const TSkinWindowSource* source) { FWindowSource = source; }
  // A window left out is never skinned, nor are its child windows; a skinned one is given back.
  // Putting it back skins it again when skinning is on.
  void ExcludeWindow(HWND wnd);
  void IncludeWindow(HWND wnd);
  // The window or one of its ancestors is left out.
  bool IsExcluded(HWND wnd) const;
  // When not negative, the delay of every requested action instead of the one asked for (tests
  // that wait for an action's outcome rather than for its time).
  int ActionDelayMs = -1;

 private:
  static LRESULT CALLBACK CBTHookProc(int code, WPARAM wp, LPARAM lp);
  // A window that could show the system's frame is watched from its creation; when it is first
  // shown it is offered for skinning as at its activation, so that it is skinned before it
  // paints anything.
  void WatchFirstShow(HWND wnd);
  static void FirstShown(HWND wnd, bool moveToCome);
  void OfferActivated(HWND wnd);
  void FreeFinishedWatches();
  void ActionTimer(TObject*);
  void PurgeDead();
  void InstallThreadHook();
  void AttachWaitingOwner(HWND wnd);
  void UnskinForm(TSkinnedWindow* form);
  // After one component's skin switch: the windows of the others get back the caption buttons
  // the switch cleared, from their own skins.
  void RebuildOthersButtons(TSkinData* switched);
  void ReleaseAll();
  void FreePopups();
  const TSkinWindowSource& WindowSource() const;
  // The skinned top-level window that holds wnd, skinned again from scratch.
  void ReskinHolder(HWND wnd);

  bool FMdiMaximized = false;
  HWND FMdiClient = nullptr;
  TTimer* FActionTimer = nullptr;
  const TSkinWindowSource* FWindowSource = nullptr;
  std::vector<HWND> FExcluded;
  HHOOK FHook = nullptr;
  std::vector<TSkinnedWindow*> FForms;
  std::vector<TVuzUrezPopMenu*> FPopups;
  std::vector<std::unique_ptr<TShowWatch>> FShowWatches;
  std::vector<TSkinData*> FSkinDatas;
  std::vector<TSkinData*> FWaitingOwners;  // non-main components whose form has no window yet
  bool FHookSkinsAll = false;              // a main-form component asked for the hook
};

// The manager, or nullptr before the first skin data component has loaded.
TSkinManage* SkinManager();
// Ends the manager: unhooks, releases and frees every form skinner without restoring the
// unskinned look. The program does it after its message loop; it also happens at exit.
void FreeSkinManager();
// The Win32 class name of a window (at most 100 characters).
std::string WindowClassName(HWND wnd);
