// The component model: ownership and freeing order, notifications, class tests, method
// pointers, string lists and memory streams.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Classes.h"

namespace {

std::vector<std::string> g_log;

class TProbe : public TComponent {
  DASKEL_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  ~TProbe() override { g_log.push_back("free " + Name()); }
  TComponent* watched = nullptr;
  void Watch(TComponent* c) {
    watched = c;
    FreeNotification(c);
  }
  void Handler(TObject* sender) { g_log.push_back("handler " + static_cast<TComponent*>(sender)->Name()); }
  void Other(TObject*) {}

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    g_log.push_back(Name() + (op == opInsert ? " insert " : " remove ") + c->Name());
    if (op == opRemove && c == watched) watched = nullptr;
  }
};

class TSpecialProbe : public TProbe {
  DASKEL_CLASS(TSpecialProbe, TProbe)
 public:
  explicit TSpecialProbe(TComponent* owner) : TProbe(owner) {}
};

DASKEL_DEFINE_CLASS(TProbe, TComponent) {}
DASKEL_DEFINE_CLASS(TSpecialProbe, TProbe) {}

TProbe* Make(TComponent* owner, const char* name) {
  auto* p = new TProbe(owner);
  p->SetName(name);
  return p;
}

TEST(FrameworkClasses, OwnerFreesItsComponentsNewestFirstAndIsNotified) {
  g_log.clear();
  auto* root = Make(nullptr, "root");
  auto* a = Make(root, "a");
  Make(root, "b");
  Make(a, "a1");
  EXPECT_EQ(root->ComponentCount(), 2);
  EXPECT_EQ(root->FindComponent("B"), root->Components(1));
  EXPECT_EQ(root->FindComponent("a1"), nullptr) << "only direct components";
  EXPECT_EQ(a->ComponentIndex(), 0);
  g_log.clear();
  delete root;
  // b before a (newest first), a1 with a. (Each class's own destructor body runs first.)
  EXPECT_EQ(g_log, (std::vector<std::string>{"free root", "free b", "free a", "free a1"}));
}

TEST(FrameworkClasses, DeletingAComponentTakesItOutOfItsOwnerAndTellsWatchers) {
  g_log.clear();
  auto* root = Make(nullptr, "root");
  auto* a = Make(root, "a");
  auto* watcher = Make(nullptr, "w");
  watcher->Watch(a);
  g_log.clear();
  delete a;
  EXPECT_EQ(root->ComponentCount(), 0);
  EXPECT_EQ(watcher->watched, nullptr);
  EXPECT_EQ(g_log, (std::vector<std::string>{"free a", "w remove a", "root remove a"}));
  // A watcher that goes first is forgotten: no notification into freed memory later.
  auto* b = Make(root, "b");
  auto* w2 = Make(nullptr, "w2");
  w2->Watch(b);
  delete w2;
  g_log.clear();
  delete b;
  EXPECT_EQ(g_log, (std::vector<std::string>{"free b", "root remove b"}));
  delete watcher;
  delete root;
}

TEST(FrameworkClasses, ComponentsBeingFreedAreMarkedDestroyingFirst) {
  auto* root = Make(nullptr, "root");
  auto* a = Make(root, "a");
  bool sawOtherDestroying = false;
  struct TCheck : TComponent {
    TCheck(TComponent* o, TComponent* other, bool* saw) : TComponent(o), other_(other), saw_(saw) {}
    ~TCheck() override { *saw_ = other_->HasState(csDestroying); }
    TComponent* other_;
    bool* saw_;
  };
  new TCheck(root, a, &sawOtherDestroying);
  delete root;
  EXPECT_TRUE(sawOtherDestroying) << "the older sibling was already marked";
}

TEST(FrameworkClasses, ClassNamesAndDescendantTests) {
  TSpecialProbe p(nullptr);
  EXPECT_EQ(p.ClassName(), "TSpecialProbe");
  EXPECT_TRUE(p.InheritsFrom(TProbe::StaticClass()));
  EXPECT_TRUE(p.InheritsFrom("tprobe"));
  EXPECT_TRUE(p.InheritsFrom("TComponent"));
  EXPECT_FALSE(p.InheritsFrom("TStrings"));
  EXPECT_EQ(FindClass("TSpecialProbe"), &TSpecialProbe::StaticClass());
  ASSERT_NE(FindClass("TSpecialProbe")->Create, nullptr);
  EXPECT_EQ(TStrings::StaticClass().Create, nullptr) << "abstract: not creatable";
}

TEST(FrameworkClasses, MethodPointersCompareByObjectAndFunction) {
  g_log.clear();
  TProbe a(nullptr), b(nullptr);
  a.SetName("a");
  TNotifyEvent e1(&a, &TProbe::Handler), e2(&a, &TProbe::Handler), e3(&b, &TProbe::Handler),
      e4(&a, &TProbe::Other);
  EXPECT_TRUE(e1 == e2);
  EXPECT_FALSE(e1 == e3);
  EXPECT_FALSE(e1 == e4);
  TNotifyEvent saved = e1;
  e1 = e4;
  e1 = saved;
  EXPECT_TRUE(e1 == e2);
  e1(&a);
  TNotifyEvent empty;
  EXPECT_FALSE(empty);
  empty(&a);  // calling an empty one does nothing
  EXPECT_EQ(g_log, std::vector<std::string>{"handler a"});
}

TEST(FrameworkClasses, StringListsEditNotifyAndSplit) {
  TStringList l;
  int changes = 0;
  struct TCounter : TObject {
    int* n;
    void Count(TObject*) { ++*n; }
  } counter;
  counter.n = &changes;
  l.OnChange = TNotifyEvent(&counter, &TCounter::Count);
  l.Add("a=1");
  l.Insert(0, "b=2");
  EXPECT_EQ(changes, 2);
  l.BeginUpdate();
  l.Add("c");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changes, 3) << "one change for the whole update";
  EXPECT_EQ(l.Text(), "a=1\r\nc\r\n");
  EXPECT_EQ(l.Values("A"), "1");
  EXPECT_EQ(l.IndexOf("C"), 1);
  l.SetText("x\r\ny\nz\r");
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(l[2], "z");
  EXPECT_THROW(l.Get(3), std::out_of_range);
  EXPECT_THROW(l.Delete(-1), std::out_of_range);
}

TEST(FrameworkClasses, MemoryStreamsReadWriteAndSeekWithinBounds) {
  TMemoryStream s;
  s.Write("abcdef", 6);
  EXPECT_EQ(s.Size(), 6u);
  s.Seek(-2, soEnd);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2u);
  EXPECT_STREQ(buf, "ef");
  EXPECT_EQ(s.Seek(-100, soCurrent), 0u);
  EXPECT_EQ(s.Seek(100, soBeginning), 6u);
  s.SetPosition(2);
  s.Write("XYZWV", 5);
  EXPECT_EQ(s.Bytes(), "abXYZWV");
}

}  // namespace
