// Skinned windows at the edges where the engine once went wrong: actions that ran for another
// component's windows, owner forms read from a layout, skins replaced under caption buttons,
// objects freed inside modal loops or during a window's destruction, negative coordinates.
// Every test makes its own skin data and gives back what it changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/WindowSubclass.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinnedWindow* PlainSkinner(TComponent* owner) { return new TVuzUrezForm(owner); }

struct TReport : TObject {
  std::vector<std::string> errors;
  void Add(TObject*, const std::string& text) { errors.push_back(text); }
};

class SkinSoundness : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->OnException = TMethod<TObject*, const std::string&>(&report, &TReport::Add);
  }
  void TearDown() override {
    // Freeing a component lets go of its skinners, the destroyed windows' ones too.
    for (TSkinData* d : datas) delete d;
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
    for (TCustomForm* f : forms) f->Free();
    if (TSkinManage* m = SkinManager()) m->ActionDelayMs = -1;
    SetFormSkinnerFactory(&PlainSkinner);
    Application->OnException = {};
  }
  TSkinData* Data(TSkinFormType kind, TComponent* owner = nullptr) {
    datas.push_back(NewSkinData(FileBytes(kDefaultSkin), kind, true, owner));
    if (SkinManager()) SkinManager()->ActionDelayMs = 0;
    EXPECT_TRUE(PumpUntil(NoActionPending));
    return datas.back();
  }
  HWND Window() {
    windows.push_back(NewWindow(240, 120));
    EXPECT_TRUE(PumpUntil([&] { return Skinned(windows.back()); }));
    return windows.back();
  }
  TForm* ShownForm() {
    auto* f = new TForm(Application);
    f->InitializeForm();
    f->SetClientWidth(200);
    f->SetClientHeight(100);
    forms.push_back(f);
    f->Show();
    SetForegroundWindow(f->Handle());
    return f;
  }

  TReport report;
  std::vector<HWND> windows;
  std::vector<TCustomForm*> forms;
  std::vector<TSkinData*> datas;
};

TEST_F(SkinSoundness, DestroyingAWindowKeepsThePendingActionWithItsOwnSkinData) {
  TForm* own = ShownForm();
  TSkinData* only = Data(sfOnlyThisForm, own);
  ASSERT_TRUE(PumpUntil([&] { return Skinned(own->Handle()); }));
  Data(sfMainform);
  HWND other = Window();
  HWND doomed = Window();
  TSkinManage* m = SkinManager();
  m->ActionDelayMs = 60000;  // held pending until the test runs it
  only->SetActive(false);
  DestroyWindow(doomed);
  EXPECT_EQ(m->FActionSkinData, only);
  m->DoAction();
  EXPECT_FALSE(Skinned(own->Handle()));
  EXPECT_TRUE(Skinned(other));  // the switch-off of one form unskins no other window
}

TEST_F(SkinSoundness, AnOnlyThisFormComponentReadFromALayoutSkinsItsForm) {
  std::string package = FileBytes(kDefaultSkin);
  std::string hex;
  auto size = static_cast<std::uint32_t>(package.size());
  std::string stored(4, '\0');
  for (int i = 0; i < 4; ++i)
    stored[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  stored += package;
  static const char* const kHex = "0123456789ABCDEF";
  for (unsigned char c : stored) hex += {kHex[c >> 4], kHex[c & 15]};
  TSkinData::StaticClass();  // known to the layout reader, as a form class naming it would make it
  for (const char* kind : {"sfOnlyThisForm", "sfDialog"}) {
    std::string layout = std::string("object OwnForm: TForm\n  ClientWidth = 200\n  ClientHeight = 100\n") +
                         "  object SkinData1: TSkinData\n    Active = True\n    SkinFormtype = " + kind +
                         "\n    SkinStream = {" + hex + "}\n  end\nend\n";
    auto* f = new TForm(Application);
    forms.push_back(f);
    f->InitializeFormFromText(layout, "OwnForm");
    f->Show();
    SetForegroundWindow(f->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Skinned(f->Handle()); })) << kind;
    // Only the owner: this component skins no other window.
    HWND plain = NewWindow(100, 60);
    windows.push_back(plain);
    PumpPending();
    EXPECT_FALSE(Skinned(plain)) << kind;
  }
}

TEST_F(SkinSoundness, LoadingASkinLeavesNoCaptionButtonOnTheOldOne) {
  TSkinData* d = Data(sfMainform);
  TVuzUrezForm* s = SkinnerOf(Window());
  ASSERT_NE(s, nullptr);
  ASSERT_GT(s->SysButtonCount(), 0);
  for (int round = 0; round < 2; ++round) {
    if (round == 0) {
      ASSERT_TRUE(d->LoadSkin());
    } else {
      TMemoryStream stored;
      stored.LoadFromBytes(d->SkinStreamBytes());
      d->ReadSkinStream(stored);
    }
    std::set<const TDataSkinSysButton*> records;
    for (auto& r : d->Skin.SysButtons) records.insert(r.get());
    ASSERT_GT(s->SysButtonCount(), 0);
    for (int i = 0; i < s->SysButtonCount(); ++i)
      EXPECT_TRUE(records.count(s->SysButton(i)->SkinButton)) << i;
  }
}

// A skinner whose memory is kept, filled with a pattern, once it is freed: a write after the
// free shows as a changed byte.
std::vector<std::pair<unsigned char*, std::size_t>> gGraves;
class TGraveForm : public TVuzUrezForm {
 public:
  using TVuzUrezForm::TVuzUrezForm;
  static void operator delete(void* p, std::size_t n) {
    std::memset(p, 0xDD, n);
    gGraves.emplace_back(static_cast<unsigned char*>(p), n);
  }
};
TSkinnedWindow* GraveSkinner(TComponent* owner) { return new TGraveForm(owner); }
bool GravesUntouched() {
  for (auto& [p, n] : gGraves)
    for (std::size_t i = 0; i < n; ++i)
      if (p[i] != 0xDD) return false;
  return true;
}

TSkinData* gSwitchOff = nullptr;
void CALLBACK SwitchOffInsideTheMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  TSkinManage* m = SkinManager();
  m->FActionSkinData = gSwitchOff;
  m->FAction = saUnskinAll;
  m->DoAction();
  EndMenu();
}

TEST_F(SkinSoundness, SwitchingSkinningOffInsideTheWindowMenuTouchesNoFreedSkinner) {
  gSwitchOff = Data(sfMainform);
  SetFormSkinnerFactory(&GraveSkinner);
  HWND w = Window();
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(dynamic_cast<TGraveForm*>(s), nullptr);
  gGraves.clear();
  SetTimer(nullptr, 0, 10, SwitchOffInsideTheMenu);
  RECT wr{};
  GetWindowRect(w, &wr);
  s->ShowSystemMenu(POINT{wr.left + 20, wr.top + 20});
  ASSERT_FALSE(gGraves.empty());
  EXPECT_TRUE(GravesUntouched());
  EXPECT_FALSE(Skinned(w));
}

int gNcDestroySeen = 0;
LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCDESTROY) ++gNcDestroySeen;
  return DefWindowProcA(w, m, wp, lp);
}

HWND CountingWindow() {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SoundnessCounting";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  return CreateWindowExA(0, "SoundnessCounting", "c", WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

class TThrowingForm : public TVuzUrezForm {
 public:
  using TVuzUrezForm::TVuzUrezForm;
  void Release() override {
    if (FStage == ssReleasing && Armed) throw std::runtime_error("release failed");
    TVuzUrezForm::Release();
  }
  bool Armed = true;
};
TSkinnedWindow* ThrowingSkinner(TComponent* owner) { return new TThrowingForm(owner); }

TEST_F(SkinSoundness, AnExceptionDuringDestructionStillPassesWmNcDestroyOn) {
  Data(sfMainform);
  SetFormSkinnerFactory(&ThrowingSkinner);
  HWND w = CountingWindow();
  ASSERT_TRUE(SkinManager()->SkinWindow(w));
  auto* s = dynamic_cast<TThrowingForm*>(SkinnerOf(w));
  ASSERT_NE(s, nullptr);
  gNcDestroySeen = 0;
  DestroyWindow(w);
  EXPECT_EQ(gNcDestroySeen, 1);
  EXPECT_EQ(report.errors, std::vector<std::string>{"release failed"});
  s->Armed = false;
  delete s;
}

struct TOnTop {
  TWindowSubclass sub;
  void Handler(TMessage& m) {
    if (m.Msg == WM_NCDESTROY) sub.Restore();
    sub.CallPrevious(m);
  }
};
WNDPROC gBelow = nullptr;
LRESULT CALLBACK AboveProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(gBelow, w, m, wp, lp);
}

TEST_F(SkinSoundness, ASubclassGivenBackDuringDestructionUnderAnotherIsFreed) {
  const int before = TWindowSubclass::ThunksAlive();
  HWND w = CountingWindow();
  TOnTop ours;
  ASSERT_TRUE(ours.sub.Attach<&TOnTop::Handler>(w, &ours));
  gBelow =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AboveProc)));
  DestroyWindow(w);
  EXPECT_FALSE(ours.sub.Attached());
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), before);
}

TEST_F(SkinSoundness, HitTestingAboveAndLeftOfThePrimaryMonitorKeepsTheSign) {
  Data(sfMainform);
  HWND w = Window();
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(s, nullptr);
  auto hit = [&](int x, int y) {
    SetWindowPos(w, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT wr{};
    GetWindowRect(w, &wr);
    // Inside the skinned title bar, below the system's own caption.
    POINT p{wr.left + 40, wr.top + s->TopHeight() - 2};
    return SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  };
  LRESULT onPrimary = hit(40, 40);
  EXPECT_EQ(hit(-300, -200), onPrimary);
}

}  // namespace
