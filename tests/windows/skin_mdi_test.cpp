// Skinned MDI frames and children under Wine: children skinned as they come, the maximised
// child's buttons in the frame's skinned bar, the frame menus the client is given, and the
// client's window procedure given back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

// Children that go when closed, as an application's children usually do.
struct TFreeOnClose : TObject {
  void Close(TObject*, TCloseAction& action) { action = caFree; }
} gFreeOnClose;

class SkinMdi : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    data.reset(NewSkinData(FileBytes(kDefaultSkin), sfOnlyThisForm, false));
    ASSERT_FALSE(data->NoSkin());
    mgr = SkinManager();
    ASSERT_NE(mgr, nullptr);
    wasSkinning = mgr->FSkinning;
    mgr->FSkinning = true;
    frame = new TForm(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetCaption("Frame");
    frame->SetBounds(20, 20, 640, 480);
    menu = new TMainMenu(frame);
    for (const char* caption : {"&File", "&Window"}) {
      auto* top = new TMenuItem(frame);
      top->SetCaption(caption);
      auto* item = new TMenuItem(frame);
      item->SetCaption("Item");
      top->Add(item);
      menu->Items()->Add(top);
    }
    frame->SetMenu(menu);
    frame->SetWindowMenu(menu->Items()->Items(1));
    frame->InitializeForm();
    frame->Show();
    clientProc = GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC);
    ASSERT_TRUE(mgr->SkinWindow(frame->Handle()));
    skinner = SkinnerOf(frame->Handle());
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return skinner->FStage == ssActive; }));
  }
  void TearDown() override {
    if (frame) frame->Free();  // the children and every skinner go with it
    mgr->ForgetMdiClient(mgr->MdiClient());
    mgr->FSkinning = wasSkinning;
    data.reset();
  }
  TForm* NewChild() {
    auto* c = new TForm(frame);
    c->SetFormStyle(fsMDIChild);
    c->SetBounds(0, 0, 240, 160);
    c->OnClose = TCloseEvent(&gFreeOnClose, &TFreeOnClose::Close);
    auto* check = new TCheckBox(c);  // a control for the child's skinner
    check->SetBounds(8, 8, 120, 17);
    check->SetParent(c);
    c->InitializeForm();
    return c;
  }
  TVuzUrezForm* Ready(TForm* child) {
    TVuzUrezForm* s = nullptr;
    PumpUntil([&] { return (s = SkinnerOf(child->Handle())) && s->FStage == ssActive; });
    return s;
  }
  TWinSysButton* BarButton(int action) const {
    for (int i = 0; i < skinner->SysButtonCount(); ++i)
      if (skinner->SysButton(i)->SkinButton->Action == action) return skinner->SysButton(i);
    return nullptr;
  }
  bool BarButtonsShown() const {
    for (int action : {baMdiMinimize, baMdiRestore, baMdiClose})
      if (!BarButton(action) || !BarButton(action)->Visible) return false;
    return true;
  }
  // A press and release of the left button over a button of the bar, as the system reports it.
  void ClickBar(int action) {
    TWinSysButton* b = BarButton(action);
    ASSERT_NE(b, nullptr);
    RECT wr{};
    GetWindowRect(frame->Handle(), &wr);
    LPARAM at = MAKELPARAM(wr.left + (b->BoundsRect.left + b->BoundsRect.right) / 2,
                           wr.top + (b->BoundsRect.top + b->BoundsRect.bottom) / 2);
    SendMessageA(frame->Handle(), WM_NCLBUTTONDOWN, HTMENU, at);
    SendMessageA(frame->Handle(), WM_NCLBUTTONUP, HTMENU, at);
  }
  void Maximise(TForm* child) {
    SendMessageA(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  }
  std::unique_ptr<TSkinData> data;
  TSkinManage* mgr = nullptr;
  TForm* frame = nullptr;
  TMainMenu* menu = nullptr;
  TVuzUrezForm* skinner = nullptr;
  LONG_PTR clientProc = 0;
  bool wasSkinning = false;
};

TEST_F(SkinMdi, NewChildIsSkinnedAfterTheMenuRefreshAndTheFrameRepainted) {
  EXPECT_EQ(skinner->FWindowKind, 1);
  EXPECT_EQ(skinner->MdiClient(), frame->ClientHandle());
  int paints = skinner->PaintCount();
  TForm* child = NewChild();
  TVuzUrezForm* s = Ready(child);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->FWindowKind, 2);
  EXPECT_TRUE(s->FRegionSet);
  EXPECT_EQ(s->MenuBar(), nullptr);  // a child shows no bar of its own
  EXPECT_FALSE(data->MenuUpdate());
  EXPECT_TRUE(PumpUntil([&] { return skinner->PaintCount() > paints; }));
  EXPECT_EQ(GetMenu(frame->Handle()), nullptr);  // the skinned bar, not the system's
}

TEST_F(SkinMdi, MaximisedChildShowsItsButtonsInTheBarAndRestoreTakesThemAway) {
  TForm* child = NewChild();
  TVuzUrezForm* s = Ready(child);
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(BarButtonsShown());
  Maximise(child);
  ASSERT_TRUE(PumpUntil([&] { return mgr->MdiMaximized() && BarButtonsShown(); }));
  EXPECT_FALSE(s->FRegionSet) << "the maximised child's frame is the system's";
  EXPECT_NE(GetWindowLongPtrA(child->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
  // The close button's face is in the bar, where the bar painter put it.
  TWinSysButton* close = BarButton(baMdiClose);
  const TBitmap& face = close->SkinButton->Bitmap;
  int fw = face.Width() / 4, found = 0;
  for (int y = 0; y < face.Height(); ++y)
    for (int x = 0; x < fw; ++x)
      if (face.Pixel(x, y) != SkinKeyColor && ++found < 4) {
        EXPECT_EQ(ScreenPixel(frame->Handle(), close->BoundsRect.left + x, close->BoundsRect.top + y),
                  face.Pixel(x, y));
      }
  ASSERT_GT(found, 0);

  ClickBar(baMdiRestore);
  EXPECT_TRUE(PumpUntil([&] { return !mgr->MdiMaximized() && !BarButtonsShown(); }));
  EXPECT_EQ(s->FWindowState, 0);
  EXPECT_TRUE(s->FRegionSet) << "the skinned frame and its region come back";
  EXPECT_EQ(GetWindowLongPtrA(child->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
}

TEST_F(SkinMdi, TheFramesCaptionShowsTheMaximisedChildsName) {
  TForm* child = NewChild();
  child->SetCaption("Child 1");
  ASSERT_NE(Ready(child), nullptr);
  Maximise(child);
  auto text = [&] {
    wchar_t t[256] = {};
    GetWindowTextW(frame->Handle(), t, 256);
    return std::wstring(t);
  };
  ASSERT_TRUE(PumpUntil([&] { return text().find(L"[Child 1]") != std::wstring::npos; }));
  RedrawWindow(frame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(PumpUntil([&] { return skinner->Caption() == text(); })) << skinner->Caption();
}

TEST_F(SkinMdi, RightToLeftBarHasTheButtonsAtItsLeftEnd) {
  menu->SetRightToLeft(true);
  ASSERT_TRUE(skinner->MenuBar()->RightToLeft);
  TForm* child = NewChild();
  ASSERT_NE(Ready(child), nullptr);
  Maximise(child);
  ASSERT_TRUE(PumpUntil([&] { return BarButtonsShown(); }));
  RECT wr{};
  GetWindowRect(frame->Handle(), &wr);
  for (int action : {baMdiMinimize, baMdiRestore, baMdiClose})
    EXPECT_LT(BarButton(action)->BoundsRect.right, (wr.right - wr.left) / 4) << action;
  // Close stays outermost: the left one now.
  EXPECT_LT(BarButton(baMdiClose)->BoundsRect.left, BarButton(baMdiMinimize)->BoundsRect.left);
}

TEST_F(SkinMdi, BarButtonsMinimiseAndCloseTheActiveChild) {
  TForm* first = NewChild();
  TForm* second = NewChild();
  ASSERT_NE(Ready(first), nullptr);
  ASSERT_NE(Ready(second), nullptr);
  Maximise(second);
  ASSERT_TRUE(PumpUntil([&] { return BarButtonsShown(); }));
  ClickBar(baMdiMinimize);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(second->Handle()) != 0; }));

  Maximise(first);
  ASSERT_TRUE(PumpUntil([&] { return BarButtonsShown(); }));
  HWND gone = first->Handle();
  ClickBar(baMdiClose);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(gone); }));
  EXPECT_TRUE(IsWindow(second->Handle()));
}

TEST_F(SkinMdi, SetMenuWithNoFrameMenuOnlyTakesTheSystemBarOffAgain) {
  TVuzUrezMenu* bar = skinner->MenuBar();
  ASSERT_NE(bar, nullptr);
  HMENU held = bar->MenuHandle;
  int buttons = bar->ButtonCount();
  SetMenu(frame->Handle(), menu->Handle());
  SendMessageA(frame->ClientHandle(), WM_MDISETMENU, 0, 0);
  EXPECT_EQ(GetMenu(frame->Handle()), nullptr);
  EXPECT_EQ(bar->MenuHandle, held);
  EXPECT_EQ(bar->ButtonCount(), buttons);
}

TEST_F(SkinMdi, ClosingTheLastChildRestoresMenuUpdateAndRebuildsTheBarFromTheMenu) {
  ASSERT_TRUE(data->MenuUpdate());
  TForm* child = NewChild();
  ASSERT_NE(Ready(child), nullptr);
  ASSERT_FALSE(data->MenuUpdate());
  skinner->MenuBar()->Buttons.clear();  // stands for a bar some child's menu had rebuilt
  child->Free();
  EXPECT_TRUE(data->MenuUpdate());
  TVuzUrezMenu* bar = skinner->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(bar->Buttons[0]->Caption, L"&File");
  EXPECT_EQ(bar->Buttons[1]->Caption, L"&Window");
  EXPECT_EQ(bar->MenuHandle, menu->Handle());
}

TEST_F(SkinMdi, CascadeAndTileClearTheMaximisedFlag) {
  TForm* child = NewChild();
  ASSERT_NE(Ready(child), nullptr);
  for (auto arrange : {&TCustomForm::Cascade, &TCustomForm::Tile}) {
    Maximise(child);
    ASSERT_TRUE(PumpUntil([&] { return mgr->MdiMaximized(); }));
    (frame->*arrange)();
    EXPECT_FALSE(mgr->MdiMaximized());
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(child->Handle()); }));
  }
}

TEST_F(SkinMdi, DetachingTheFrameGivesTheClientItsWindowProcedureBack) {
  ASSERT_TRUE(skinner->MdiClientHooked());
  EXPECT_NE(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC), clientProc);
  skinner->Detach();
  EXPECT_FALSE(skinner->MdiClientHooked());
  EXPECT_EQ(GetWindowLongPtrA(frame->ClientHandle(), GWLP_WNDPROC), clientProc);
}

TEST_F(SkinMdi, SkinningOffAndOnWithChildrenThenClosingThemKeepsTheFrameSkinned) {
  TForm* first = NewChild();
  TForm* second = NewChild();
  ASSERT_NE(Ready(first), nullptr);
  ASSERT_NE(Ready(second), nullptr);
  // Off, as the manager does it: the newest skinner first.
  std::vector<TSkinnedWindow*> all(mgr->Forms().rbegin(), mgr->Forms().rend());
  for (TSkinnedWindow* f : all) {
    f->Detach();
    delete f;
  }
  EXPECT_NE(GetMenu(frame->Handle()), nullptr);
  EXPECT_TRUE(data->MenuUpdate()) << "as before the children came";
  // On: the application's forms from the newest.
  for (TCustomForm* f : {static_cast<TCustomForm*>(second), static_cast<TCustomForm*>(first),
                         static_cast<TCustomForm*>(frame)})
    mgr->SkinWindow(f->Handle());
  skinner = SkinnerOf(frame->Handle());
  ASSERT_NE(skinner, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return skinner->FStage == ssActive; }));
  ASSERT_NE(Ready(first), nullptr);
  // The children's controls are their own skinners' only: the frame's skins none of them.
  EXPECT_TRUE(skinner->ControlSkinners().empty());
  EXPECT_EQ(SkinnerOf(first->Handle())->ControlSkinners().size(), 1u);
  Maximise(second);
  ASSERT_TRUE(PumpUntil([&] { return BarButtonsShown(); }));
  ClickBar(baMdiClose);
  ASSERT_TRUE(PumpUntil([&] { return frame->MDIChildCount() == 1; }));
  first->Free();
  PumpUntil([&] { return !mgr->ActionPending(); });
  EXPECT_TRUE(Skinned(frame->Handle()));
  EXPECT_EQ(skinner->MenuBar()->ButtonCount(), 2);
}

TEST_F(SkinMdi, ThreeHundredChildrenMaximisedRestoredAndClosedLeakNothing) {
  bool ok = true;
  auto cycle = [&] {
    TForm* child = NewChild();
    if (!Ready(child)) ok = false;
    Maximise(child);
    PumpUntil([&] { return mgr->MdiMaximized(); });
    SendMessageA(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    PumpUntil([&] { return !mgr->MdiMaximized(); });
    child->Free();
  };
  for (int n = 0; n < 10 && ok; ++n) cycle();  // the system's caches filled
  ASSERT_TRUE(ok);
  PumpUntil([&] { return !mgr->ActionPending(); });
  long gdi = GdiObjectsInUse();
  int thunks = TWindowSubclass::ThunksAlive(), controls = TSkinControl::Alive();
  std::size_t forms = mgr->Forms().size();
  for (int n = 0; n < 300 && ok; ++n) cycle();
  ASSERT_TRUE(ok);
  PumpUntil([&] { return !mgr->ActionPending(); });
  long grown = GdiObjectsInUse() - gdi;
  std::printf(
      "300 MDI children: GDI objects %+ld, thunks %d -> %d, form skinners %zu -> %zu, control skinners %d -> "
      "%d\n",
      grown, thunks, TWindowSubclass::ThunksAlive(), forms, mgr->Forms().size(), controls,
      TSkinControl::Alive());
  EXPECT_LE(grown, 5);
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), thunks);
  EXPECT_EQ(TSkinControl::Alive(), controls);
  EXPECT_EQ(mgr->Forms().size(), forms);
  EXPECT_EQ(mgr->MdiChildCount(), 0);
}

}  // namespace
