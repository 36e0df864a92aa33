// MDI forms of the framework under Wine: children made in the frame's client and listed in its
// window menu, the active child's menu in the frame's bar, children going through the client.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/TestUtil.h"

namespace {

struct TClicks : TObject {
  int Count = 0;
  void Click(TObject*) { ++Count; }
};

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

class FrameworkMdi : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    frame = new TForm(Application);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(30, 30, 500, 400);
    auto* menu = new TMainMenu(frame);
    AddItem(frame, AddItem(frame, menu->Items(), "&File"), "&New");
    window = AddItem(frame, menu->Items(), "&Window");
    AddItem(frame, window, "&Tile");
    frame->SetMenu(menu);
    frame->SetWindowMenu(window);
    frame->InitializeForm();
    frame->Show();
  }
  void TearDown() override { frame->Free(); }
  TForm* NewChild(bool withMenu = false) {
    auto* c = new TForm(frame);
    c->SetFormStyle(fsMDIChild);
    c->SetBounds(0, 0, 200, 120);
    if (withMenu) {
      auto* menu = new TMainMenu(c);
      childItem = AddItem(c, AddItem(c, menu->Items(), "&Document"), "&Check");
      childItem->OnClick = TNotifyEvent(&clicks, &TClicks::Click);
      c->SetMenu(menu);
    }
    c->InitializeForm();
    PumpPending();
    return c;
  }
  HMENU WindowPopup() const { return GetSubMenu(frame->Menu()->Handle(), 1); }
  TForm* frame = nullptr;
  TMenuItem* window = nullptr;
  TMenuItem* childItem = nullptr;
  TClicks clicks;
};

TEST_F(FrameworkMdi, ChildrenLiveInTheClientAndTheWindowMenuListsThem) {
  ASSERT_NE(frame->ClientHandle(), nullptr);
  int items = GetMenuItemCount(WindowPopup());
  TForm* first = NewChild();
  TForm* second = NewChild();
  EXPECT_EQ(GetParent(first->Handle()), frame->ClientHandle());
  EXPECT_NE(GetWindowLongPtrA(first->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
  EXPECT_TRUE(IsWindowVisible(first->Handle()));
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(frame->MDIChildren(0), second);
  EXPECT_EQ(frame->MDIChildren(1), first);
  EXPECT_GE(GetMenuItemCount(WindowPopup()), items + 2);  // a separator may come before them
}

TEST_F(FrameworkMdi, ActiveChildsMenuFollowsTheFramesAndItsItemsRunOnTheChild) {
  HMENU own = frame->Menu()->Handle();
  TForm* child = NewChild(true);
  HMENU shown = GetMenu(frame->Handle());
  ASSERT_NE(shown, own);
  ASSERT_EQ(GetMenuItemCount(shown), 3);
  char text[32] = {};
  GetMenuStringA(shown, 2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Document");
  SendMessageA(frame->Handle(), WM_COMMAND, childItem->Command(), 0);
  EXPECT_EQ(clicks.Count, 1);
  child->Free();
  PumpPending();
  EXPECT_EQ(GetMenu(frame->Handle()), own);
}

TEST_F(FrameworkMdi, FreeingTheActiveChildActivatesTheNext) {
  TForm* first = NewChild();
  TForm* second = NewChild();
  second->Free();
  PumpPending();
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), first);
}

}  // namespace
