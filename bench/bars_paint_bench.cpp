// Paint time of the skinned tab controls (3 tabs and 20 tabs), tab set, progress bar, track bar,
// status bar and header against the same controls unskinned, 300 repaints each in plain-skinned
// pairs, reported as the median of the per-pair ratios. With --show default|dark it instead opens the
// gallery's window of tabs and bars with the whole engine at work, until it is closed (for
// screenshots).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/WinBench.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "gallery/GalleryBars.h"
#include "skin/controls/WinSubClassBars.h"
#include "skin/controls/WinSubClassTabs.h"
#include "skin/manager/SkinManage.h"

using namespace bench;

namespace {

template <class T>
T* Put(TForm* form, int l, int t, int w, int h) {
  auto* c = new T(form);
  c->SetParent(form);
  c->SetBounds(l, t, w, h);
  return c;
}

int Show(const std::string& path) {
  TSkinData* skin = LoadSkin(path, sfMainform, true);
  TGalleryBarsForm* f = ShowGalleryBars();
  MSG msg;
  while (f && IsWindowVisible(f->Handle()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  FreeSkinManager();
  delete skin;
  return 0;
}

int Measure(const std::string& path) {
  TSkinData* skin = LoadSkin(path, sfMainform, false);
  auto* f = new TForm(Application);
  f->InitializeForm();
  f->SetClientWidth(700);
  f->SetClientHeight(560);
  auto* owner = new TComponent(nullptr);
  struct TPair {
    const char* name;
    HWND plain, skinned;
  };
  std::vector<TPair> pairs;
  auto twin = [&](auto* proto, int y, int w, int h) {
    using T = std::remove_pointer_t<decltype(proto)>;
    return std::pair<T*, T*>{Put<T>(f, 10, y, w, h), Put<T>(f, 350, y, w, h)};
  };
  auto [t1, t2] = twin(static_cast<TTabControl*>(nullptr), 10, 300, 80);
  auto [m1, m2] = twin(static_cast<TTabControl*>(nullptr), 100, 300, 80);
  for (int i = 0; i < 20; ++i) {
    std::string name = "Tab " + std::to_string(i + 1);
    if (i < 3) t1->Tabs()->Add(name), t2->Tabs()->Add(name);
    m1->Tabs()->Add(name), m2->Tabs()->Add(name);
  }
  auto [s1, s2] = twin(static_cast<TTabSet*>(nullptr), 190, 300, 21);
  for (const char* s : {"One", "Two", "Three", "Four"}) s1->Tabs()->Add(s), s2->Tabs()->Add(s);
  auto [p1, p2] = twin(static_cast<TProgressBar*>(nullptr), 220, 300, 17);
  p1->SetPosition(50), p2->SetPosition(50);
  auto [k1, k2] = twin(static_cast<TTrackBar*>(nullptr), 250, 300, 45);
  auto [b1, b2] = twin(static_cast<TStatusBar*>(nullptr), 310, 300, 22);
  auto [h1, h2] = twin(static_cast<THeaderControl*>(nullptr), 350, 300, 20);
  for (TStatusBar* b : {b1, b2})
    for (const char* text : {"One", "Two", "Three"}) b->AddPanel()->SetText(text);
  for (THeaderControl* h : {h1, h2})
    for (const char* text : {"Name", "Size", "Kind"}) h->AddSection()->SetText(text);
  auto byHandle = [&](auto* s, TWinControl* c) {
    s->AttachHandle(c->Handle(), skin, nullptr);
    return s;
  };
  auto byControl = [&](auto* s, TWinControl* c) {
    s->AttachControl(c, skin, false, nullptr);
    return s;
  };
  byHandle(new TSkinTab(owner), t2);
  byHandle(new TSkinTab(owner), m2);
  byControl(new TSkinTab31(owner), s2);
  byControl(new TSkinProgress(owner), p2);
  byControl(new TSkinTrackBar(owner), k2);
  byControl(new TSkinStatusBar(owner), b2);
  byHandle(new TSkinHeader(owner), h2);
  pairs = {{"tab control", t1->Handle(), t2->Handle()}, {"20 tabs", m1->Handle(), m2->Handle()},
           {"tab set", s1->Handle(), s2->Handle()},     {"progress bar", p1->Handle(), p2->Handle()},
           {"track bar", k1->Handle(), k2->Handle()},   {"status bar", b1->Handle(), b2->Handle()},
           {"header", h1->Handle(), h2->Handle()}};
  f->Show();
  for (int i = 0; i < 20; ++i) Pump();
  for (const TPair& p : pairs)
    Report(p.name, Compare([&] { return PaintOnce(p.plain, nullptr, RDW_FRAME | RDW_ALLCHILDREN); },
                           [&] { return PaintOnce(p.skinned, nullptr, RDW_FRAME | RDW_ALLCHILDREN); }));

  delete owner;
  f->Free();
  delete skin;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  std::string which = argc > 2 && std::string(argv[1]) == "--show" ? argv[2] : "";
  std::string path =
      std::string(DASKEL_BINARY_DIR) + (which == "dark" ? "/skins/dark.skn" : "/skins/default.skn");
  return which.empty() ? Measure(path) : Show(path);
}
