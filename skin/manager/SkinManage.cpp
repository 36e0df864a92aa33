#include "skin/manager/SkinManage.h"

#include <algorithm>
#include <memory>

#include "framework/ExceptionBarrier.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/manager/SkinShowWatch.h"
#include "skin/manager/SkinTrace.h"
#include "skin/manager/VuzUrezMenu.h"

namespace {

TSkinManage* gManager = nullptr;
TFormSkinnerFactory gFormFactory = nullptr;

TSkinManagerLink* CreateManager() {
  if (!gManager) gManager = new TSkinManage;
  return gManager;
}

// Ends the manager when the program ends (if the program has not done so).
struct TManagerUnit {
  ~TManagerUnit() { FreeSkinManager(); }
} gManagerUnit;

HWND OwnerWindow(TSkinData* data) {
  auto* control = dynamic_cast<TWinControl*>(data->Owner());
  return control && control->HandleAllocated() ? control->Handle() : nullptr;
}

// The framework application's forms: the windows of a program built on the framework.
class TApplicationForms : public TSkinWindowSource {
 public:
  std::vector<HWND> Windows() const override {
    std::vector<HWND> out;
    if (!Application) return out;
    for (int i = Application->FormCount(); i-- > 0;) {
      TCustomForm* f = Application->Forms(i);
      if (f->HandleAllocated()) out.push_back(f->Handle());
    }
    return out;
  }
  TCustomForm* FormOf(HWND wnd) const override {
    if (!Application) return nullptr;
    for (int i = 0; i < Application->FormCount(); ++i) {
      TCustomForm* f = Application->Forms(i);
      if (f->HandleAllocated() && f->Handle() == wnd) return f;
    }
    return nullptr;
  }
};
const TApplicationForms gApplicationForms;

}  // namespace

void UseSkinManager(TFormSkinnerFactory formSkinner) {
  SetSkinManagerFactory(&CreateManager);
  gFormFactory = formSkinner;
}

void SetFormSkinnerFactory(TFormSkinnerFactory factory) { gFormFactory = factory; }
TSkinManage* SkinManager() { return gManager; }

void FreeSkinManager() {
  TSkinManage* m = gManager;
  gManager = nullptr;
  delete m;
}

std::string WindowClassName(HWND wnd) {
  char buf[101] = {};
  int n = GetClassNameA(wnd, buf, 100);
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TSkinManage::TSkinManage() {
  FActionTimer = new TTimer(nullptr);
  FActionTimer->SetEnabled(false);
  FActionTimer->SetInterval(kSkinActionDelay);
  FActionTimer->SetOnTimer(TNotifyEvent(this, &TSkinManage::ActionTimer));
}

TSkinManage::~TSkinManage() {
  delete FActionTimer;
  FActionTimer = nullptr;
  if (FHook) UnhookWindowsHookEx(FHook);
  FHook = nullptr;
  FShowWatches.clear();
  ReleaseAll();
  FreePopups();
  FSkinDatas.clear();
  SkinManagerGone(this);
  if (gManager == this) gManager = nullptr;
}

void TSkinManage::ReleaseAll() {
  while (!FForms.empty()) {
    TSkinnedWindow* f = FForms.back();
    FForms.pop_back();
    f->FStage = ssReleasing;
    f->Release();
    delete f;
  }
}

void TSkinManage::AddSkinData(TSkinData* data) {
  if (std::find(FSkinDatas.begin(), FSkinDatas.end(), data) == FSkinDatas.end()) FSkinDatas.push_back(data);
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  FSkinDatas.erase(std::remove(FSkinDatas.begin(), FSkinDatas.end(), data), FSkinDatas.end());
  FWaitingOwners.erase(std::remove(FWaitingOwners.begin(), FWaitingOwners.end(), data), FWaitingOwners.end());
  FHookSkinsAll = std::any_of(FSkinDatas.begin(), FSkinDatas.end(),
                              [](TSkinData* d) { return d->SkinFormtype() == sfMainform; });
  if (FActionSkinData == data) {
    FActionSkinData = nullptr;
    FActionTimer->SetEnabled(false);
  }
  // A skinner must not go on reading the elements of a component that is gone. A window that
  // stays open gets its own look back whole (menu, caption buttons, region, size); one that is
  // going with its form is only let go.
  for (std::size_t i = FForms.size(); i-- > 0;) {
    if (i >= FForms.size() || FForms[i]->FSkinData != data) continue;
    TSkinnedWindow* f = FForms[i];
    bool staysOpen =
        f->FStage != ssDead && f->FStage != ssReleasing && !f->HasState(csDestroying) && IsWindow(f->Handle);
    if (staysOpen) {
      UnskinForm(f);
      continue;
    }
    FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(i));
    f->FStage = ssReleasing;
    f->Release();
    delete f;
  }
}

void TSkinManage::InstallHook() {
  FHookSkinsAll = true;
  InstallThreadHook();
}

void TSkinManage::InstallThreadHook() {
  DWORD version = GetVersion();
  // One hook per thread is enough: every further one would only see the same windows again.
  if (!FHook) FHook = SetWindowsHookExA(WH_CBT, &TSkinManage::CBTHookProc, nullptr, GetCurrentThreadId());
  SkinTrace(SkinTraceHex("Windows Version ", version));
  SkinTrace("Windows Version " + std::to_string(version & 0xFF) + " " +
            std::to_string((version >> 8) & 0xFF));
  SkinTrace(SkinTraceHex("ThreadId ", GetCurrentThreadId()));
  SkinTrace(SkinTraceHex("HookCallback ", reinterpret_cast<std::uintptr_t>(FHook)));
}

void TSkinManage::StartForOwner(TSkinData* data) {
  FSkinning = true;
  ++FStarted;
  if (HWND owner = OwnerWindow(data)) {
    SkinWindow(owner);
    return;
  }
  // Read from a layout, the owner form has no window yet: it is attached when it first gets
  // activated. The hook then skins no other window for this component.
  if (dynamic_cast<TCustomForm*>(data->Owner())) {
    FWaitingOwners.push_back(data);
    InstallThreadHook();
  }
}

void TSkinManage::AttachWaitingOwner(HWND wnd) {
  for (auto it = FWaitingOwners.begin(); it != FWaitingOwners.end(); ++it) {
    if (OwnerWindow(*it) != wnd) continue;
    FWaitingOwners.erase(it);
    SkinWindow(wnd);
    return;
  }
}

LRESULT CALLBACK TSkinManage::CBTHookProc(int code, WPARAM wp, LPARAM lp) {
  TSkinManage* m = gManager;
  HHOOK hook = m ? m->FHook : nullptr;
  if (code < 0 || !m) return CallNextHookEx(hook, code, wp, lp);
  bool refuse = false;
  Guarded([&] {
    HWND wnd = reinterpret_cast<HWND>(wp);
    if (code == HCBT_CREATEWND) {
      std::string cls = WindowClassName(wnd);
      const CBT_CREATEWNDA* cw = reinterpret_cast<const CBT_CREATEWNDA*>(lp);
      // A size grip would paint over the skinned frame's corner: it is not created there.
      if (cls == "ScrollBar" && cw && cw->lpcs && (cw->lpcs->style & SBS_SIZEGRIP) && cw->lpcs->hwndParent &&
          m->FindForm(cw->lpcs->hwndParent)) {
        refuse = true;
        return;
      }
      if (cls == "#32768") m->SkinPopup(wnd);
      m->FreeFinishedWatches();
      if (cw && cw->lpcs && ShowsSystemFrame(*cw->lpcs, cls.c_str())) m->WatchFirstShow(wnd);
    } else if (code == HCBT_DESTROYWND) {
      m->UnskinPopup(wnd);
      m->FreeFinishedWatches();
      // A handle the system may give to another window later is not left out with it.
      m->FExcluded.erase(std::remove(m->FExcluded.begin(), m->FExcluded.end(), wnd), m->FExcluded.end());
    } else if (code == HCBT_SYSCOMMAND && (wp & 0xFFF0) == SC_KEYMENU && lp) {
      // Alt and a letter in a control: the system looks for the menu bar of the control's window
      // itself, which a skinned window does not have; its skinned bar opens the menu instead.
      HWND root = GetAncestor(GetFocus(), GA_ROOT);
      TSkinnedWindow* f = root ? m->FindForm(root) : nullptr;
      refuse = f && f->OpenMenuByKey(static_cast<wchar_t>(lp));
    } else if (code == HCBT_ACTIVATE) {
      m->OfferActivated(wnd);
    }
  });
  return refuse ? 10 : CallNextHookEx(hook, code, wp, lp);
}

void TSkinManage::OfferActivated(HWND wnd) {
  if (FStarted == 0) FStarted = 1;
  AttachWaitingOwner(wnd);
  if (FHookSkinsAll) SkinWindow(wnd);
}

void TSkinManage::WatchFirstShow(HWND wnd) {
  auto watch = std::make_unique<TShowWatch>();
  if (watch->Watch(wnd, &TSkinManage::FirstShown)) FShowWatches.push_back(std::move(watch));
}

void TSkinManage::FirstShown(HWND wnd, bool moveToCome) {
  TSkinManage* m = gManager;
  if (!m) return;
  Guarded([&] {
    // A skinned frame's MDI child is skinned with it whatever the components ask for.
    HWND client = GetParent(wnd);
    if ((GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_MDICHILD) && client && m->FindForm(GetParent(client)))
      m->SkinWindow(wnd);
    else
      m->OfferActivated(wnd);
    // The skinner takes the frame over now, while the window is still hidden, rather than when
    // its posted activation arrives: until then the system would draw the frame.
    if (m->FindForm(wnd)) SendMessageA(wnd, WM_SKINACTIVATE, moveToCome ? kFitAtShow : 0, 1000);
  });
}

void TSkinManage::FreeFinishedWatches() {
  FShowWatches.erase(std::remove_if(FShowWatches.begin(), FShowWatches.end(),
                                    [](const std::unique_ptr<TShowWatch>& w) { return w->Finished(); }),
                     FShowWatches.end());
}

bool TSkinManage::IsPlainChild(HWND wnd) const {
  if (!(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) return false;
  return LowerCase(WindowClassName(GetParent(wnd))) != "mdiclient";
}

bool TSkinManage::SkinWindow(HWND wnd) {
  if (!FSkinning || !gFormFactory || !IsWindow(wnd)) return false;
  if (SendMessageA(wnd, WM_SKINQUERY, 0, 0) == 1) return false;
  if (FindForm(wnd)) return false;
  if (IsExcluded(wnd)) return false;
  TCustomForm* form = WindowSource().FormOf(wnd);
  if (!FApplyingAll && IsPlainChild(wnd)) return false;
  RECT r{};
  GetWindowRect(wnd, &r);
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag == 99) return false;
  std::string cls = WindowClassName(wnd);
  if (cls == "TApplication") return false;
  if (!CanSkinClass(cls)) return false;
  TSkinData* data = FindSkinData(wnd);
  if (!data || data->NoSkin()) return false;
  TSkinnedWindow* skinner = gFormFactory(form);
  skinner->Handle = wnd;
  FForms.push_back(skinner);
  if (form)
    skinner->AttachForm(data, form);
  else
    skinner->AttachWindow(data);
  PostMessageA(wnd, WM_SKINACTIVATE, 0, 1000);
  return true;
}

TSkinData* TSkinManage::FindSkinData(HWND wnd) const {
  TSkinData* found = nullptr;
  for (TSkinData* d : FSkinDatas)
    if (d->SkinFormtype() == sfOnlyThisForm && OwnerWindow(d) == wnd) found = d;
  if (found) return found;
  std::string cls = WindowClassName(wnd);
  if (LowerCase(cls) == "tmessageform" || cls == "#32770") {
    for (TSkinData* d : FSkinDatas)
      if (d->SkinFormtype() == sfDialog) found = d;
    if (found) return found;
  }
  for (TSkinData* d : FSkinDatas)
    if (d->SkinFormtype() == sfMainform) found = d;
  if (found) return found;
  return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

bool TSkinManage::CanSkinClass(const std::string& className) const {
  bool answer = true;
  for (TSkinData* d : FSkinDatas) {
    if (d->SkinFormtype() != sfMainform) continue;
    d->DoFormSkin(className, answer);
    break;
  }
  return answer;
}

TSkinnedWindow* TSkinManage::FindForm(HWND wnd) const {
  for (TSkinnedWindow* f : FForms)
    if (f->Handle == wnd) return f;
  return nullptr;
}

void TSkinManage::RemoveForm(HWND wnd) {
  for (auto it = FForms.begin(); it != FForms.end(); ++it) {
    if ((*it)->Handle == wnd) {
      FForms.erase(it);
      return;
    }
  }
}

bool TSkinManage::SkinPopup(HWND wnd) {
  if (!FSkinning || SendMessageA(wnd, WM_SKINQUERY, 0, 0) == 1 || HasPopup(wnd)) return false;
  TSkinData* data = FindSkinData(wnd);
  // Menu windows follow the main-menu switch.
  if (!data || data->NoSkin() || !data->HasControl(xcMainMenu)) return false;
  auto popup = std::make_unique<TVuzUrezPopMenu>();
  popup->Attach(wnd, data, nullptr);
  if (!popup->Attached()) return false;
  FPopups.push_back(popup.release());
  return true;
}

bool TSkinManage::UnskinPopup(HWND wnd) {
  for (auto it = FPopups.begin(); it != FPopups.end(); ++it) {
    if ((*it)->Handle != wnd) continue;
    TVuzUrezPopMenu* p = *it;
    FPopups.erase(it);
    p->Detach();
    delete p;
    return true;
  }
  return false;
}

bool TSkinManage::HasPopup(HWND wnd) const {
  return std::any_of(FPopups.begin(), FPopups.end(), [wnd](auto* p) { return p->Handle == wnd; });
}

TVuzUrezPopMenu* TSkinManage::PopupOfMenu(HMENU menu) const {
  for (TVuzUrezPopMenu* p : FPopups)
    if (menu && p->FMenu == menu) return p;
  return nullptr;
}

const TBitmap* TSkinManage::PopupBackground(HMENU menu) const {
  TVuzUrezPopMenu* p = PopupOfMenu(menu);
  return p && !p->Background().Empty() ? &p->Background() : nullptr;
}

void TSkinManage::FreePopups() {
  while (!FPopups.empty()) {
    TVuzUrezPopMenu* p = FPopups.back();
    FPopups.pop_back();
    p->Detach();
    delete p;
  }
}

bool TSkinManage::ActionPending() const { return FActionTimer->Enabled(); }

void TSkinManage::RunAction(int action, TSkinData* data) {
  FActionTimer->SetEnabled(false);
  FAction = action;
  FActionSkinData = data;
  DoAction();
}

const TSkinWindowSource& TSkinManage::WindowSource() const {
  return FWindowSource ? *FWindowSource : gApplicationForms;
}

bool TSkinManage::IsExcluded(HWND wnd) const {
  for (HWND w = wnd; w; w = GetAncestor(w, GA_PARENT)) {
    if (std::find(FExcluded.begin(), FExcluded.end(), w) != FExcluded.end()) return true;
    if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

void TSkinManage::ReskinHolder(HWND wnd) {
  HWND holder = wnd;
  while (holder && !FindForm(holder) && (GetWindowLongPtrA(holder, GWL_STYLE) & WS_CHILD))
    holder = GetAncestor(holder, GA_PARENT);
  TSkinnedWindow* f = holder ? FindForm(holder) : nullptr;
  if (!f) {
    // Put back while nothing around it is skinned: a top-level window gets its skinner now.
    if (FSkinning && !IsExcluded(wnd) && !(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) SkinWindow(wnd);
    return;
  }
  // Control skinners are chosen once, at attach: the holder is attached anew so that the
  // window's skinners go or come.
  UnskinForm(f);
  FApplyingAll = true;
  SkinWindow(holder);
  FApplyingAll = false;
}

void TSkinManage::ExcludeWindow(HWND wnd) {
  if (!IsWindow(wnd) || std::find(FExcluded.begin(), FExcluded.end(), wnd) != FExcluded.end()) return;
  FExcluded.push_back(wnd);
  ReskinHolder(wnd);
}

void TSkinManage::IncludeWindow(HWND wnd) {
  auto it = std::find(FExcluded.begin(), FExcluded.end(), wnd);
  if (it == FExcluded.end()) return;
  FExcluded.erase(it);
  if (IsWindow(wnd)) ReskinHolder(wnd);
}

void TSkinManage::RequestAction(int action, int delayMs) {
  // Forgetting destroyed windows must not push out a pending switch: the pending action runs
  // anyway, and every action ends by forgetting the destroyed windows.
  if (action == saPurgeDead && FStarted != 0 && FActionTimer->Enabled() && FAction != saPurgeDead) return;
  FAction = action;
  // A timer of interval 0 would never fire.
  FActionTimer->SetInterval(static_cast<unsigned>(std::max(1, ActionDelayMs >= 0 ? ActionDelayMs : delayMs)));
  if (FStarted != 0) {
    FActionTimer->SetEnabled(false);  // restarts the delay
    FActionTimer->SetEnabled(true);
    return;
  }
  if (action == saSkinAll) FSkinning = true;
  if (action == saUnskinAll) FSkinning = false;
}

void TSkinManage::ActionTimer(TObject*) {
  Guarded([this] { DoAction(); });
}

void TSkinManage::UnskinForm(TSkinnedWindow* f) {
  HWND wnd = f->Handle;
  f->Detach();
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
  delete f;
}

void TSkinManage::DoAction() {
  if (FAction == saPurgeDead) {
    FActionTimer->SetEnabled(false);
    PurgeDead();
    return;
  }
  TSkinData* d = FActionSkinData;
  if (!d) return;
  FActionTimer->SetEnabled(false);
  int action = FAction;
  // A component for one form acts on that form's window alone, a main-form one on every window.
  bool one = d->SkinFormtype() == sfOnlyThisForm;
  switch (action) {
    case saSkinAll: {
      FSkinning = true;
      FApplyingAll = true;
      HWND owner = one ? OwnerWindow(d) : nullptr;
      if (!one || owner) {
        for (HWND w : WindowSource().Windows()) {
          if (one && w != owner) continue;
          SkinWindow(w);
          if (one) break;
        }
      }
      FApplyingAll = false;
      break;
    }
    case saUnskinAll:
      FSkinning = false;
      if (!one) {
        while (!FForms.empty()) UnskinForm(FForms.back());
        break;
      }
      for (std::size_t i = FForms.size(); i-- > 0;) {
        if (FForms[i]->FSkinData == d) {
          UnskinForm(FForms[i]);
          break;
        }
      }
      break;
    case saSkinChanged: {
      std::vector<TSkinnedWindow*> mine;
      for (TSkinnedWindow* f : FForms) {
        if (f->FSkinData != d) continue;
        mine.push_back(f);
        if (one) break;
      }
      for (TSkinnedWindow* f : mine) {
        f->ClearSysButtons();
        f->BuildSysButtons();
      }
      for (TSkinnedWindow* f : mine) f->Reskin();
      break;
    }
    default:
      break;
  }
  if (action == saSkinChanged) RebuildOthersButtons(d);
  PurgeDead();
  d->OnSkinChanged(d);
  FActionSkinData = nullptr;
}

void TSkinManage::RebuildOthersButtons(TSkinData* switched) {
  for (TSkinnedWindow* f : FForms) {
    if (f->FSkinData == switched || f->FStage == ssDead) continue;
    f->BuildSysButtons();
    if (IsWindow(f->Handle)) SendMessageA(f->Handle, WM_SKINPAINTFRAME, 0, 0);
  }
}

void TSkinManage::PurgeDead() {
  for (std::size_t i = FForms.size(); i-- > 0;) {
    if (FForms[i]->FStage != ssDead) continue;
    TSkinnedWindow* f = FForms[i];
    FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(i));
    delete f;
  }
}

void TSkinManage::SkinReplaced(TSkinData* data, bool done) {
  for (TSkinnedWindow* f : FForms) {
    if (f->FSkinData != data || f->FStage == ssDead) continue;
    if (done)
      f->BuildSysButtons();
    else
      f->ClearSysButtons();
  }
}

void TSkinManage::ClearAllSysButtons() {
  for (TSkinnedWindow* f : FForms) f->ClearSysButtons();
}

void TSkinManage::SetMdiMax(bool value) {
  if (value == FMdiMaximized) return;
  FMdiMaximized = value;
  for (TSkinnedWindow* f : FForms) {
    if (f->FWindowKind != wkMdiChild) continue;
    if (value) {
      if (f->FRegionSet) f->ClearRegion();
      f->SetSystemButtons(true);
    } else if (f->FWindowState == swMinimized) {
      f->SetSystemButtons(true);
    } else {
      f->FWindowState = swNormal;
      f->UpdateRegion();
      f->SetSystemButtons(false);
      if (!f->FRegionSet) f->FrameChanged();
    }
  }
  SkinTrace(value ? "***** SetMdiMax True" : "***** SetMdiMax Flase");
}

void TSkinManage::ForgetMdiClient(HWND client) {
  if (client != FMdiClient) return;
  FMdiClient = nullptr;
  FMdiMaximized = false;
}

int TSkinManage::MdiChildCount() const {
  // A child whose window is gone waits in the list for the purge: it is no longer counted.
  return static_cast<int>(std::count_if(FForms.begin(), FForms.end(), [](auto* f) {
    return f->FWindowKind == wkMdiChild && f->FStage != ssDead;
  }));
}
