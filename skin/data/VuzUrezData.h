// TSkinData: the component a form carries to get skinned windows. It holds the stored skin
// package, the element model read from it, the options that steer what gets skinned, and the
// three events; it drives the process-wide skin manager through TSkinManagerLink.
//
// The manager lives in a higher layer: it implements TSkinManagerLink, and the program hands its
// factory down at start-up (SetSkinManagerFactory), so this unit never names it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "skin/data/VuzUrezDataElements.h"

class TControl;
class TImageList;
class TSkinData;

enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcSystemMenu,
  xcFastReport,
};
using TSkinControlTypes = std::uint32_t;  // bit n: member n
constexpr TSkinControlTypes SkinControl(TSkinControlType t) { return 1u << t; }
constexpr TSkinControlTypes kDefaultSkinControls = 0x3FFFF;  // every member but xcFastReport

enum TSkinFormType : std::uint8_t { sfMainform, sfOnlyThisForm, sfDialog };

// Manager actions a skin data component or a form skinner requests.
enum TSkinAction { saSkinAll = 1, saUnskinAll = 2, saSkinChanged = 3, saPurgeDead = 6 };
constexpr int kSkinActionDelay = 250;  // ms

using TOnFormSkin = TMethod<TObject*, const std::string&, bool&>;
using TOnSkinControl =
    TMethod<TComponent*, TSkinData*, TControl*, TControl*, const std::string&, TComponent*&>;

// What a skin data component asks of the skin manager.
class TSkinManagerLink {
 public:
  virtual ~TSkinManagerLink() = default;
  virtual void AddSkinData(TSkinData* data) = 0;
  virtual void RemoveSkinData(TSkinData* data) = 0;
  // Installs the window-creation hook for the current thread (sfMainform components).
  virtual void InstallHook() = 0;
  // For sfOnlyThisForm and sfDialog components: skinning on, the manager started, and the
  // owner form's window attached directly.
  virtual void StartForOwner(TSkinData* data) = 0;
  virtual void SetActionSkinData(TSkinData* data) = 0;
  virtual void RequestAction(int action, int delayMs) = 0;
  virtual void ClearAllSysButtons() = 0;
  // Around replacing a component's skin: before (done false) nothing may keep pointing into the
  // old element model, after (done true) what was let go is built again from the new one.
  virtual void SkinReplaced(TSkinData* /*data*/, bool /*done*/) {}
};

using TSkinManagerFactory = TSkinManagerLink* (*)();
// Handed down at start-up; without one there is no manager and activation requests only
// change properties.
void SetSkinManagerFactory(TSkinManagerFactory factory);
// The one manager, or nullptr before the first component loads (or without a factory).
TSkinManagerLink* SkinManagerLink();
// The manager, created through the factory if it does not exist yet.
TSkinManagerLink* EnsureSkinManagerLink();
// Called by the manager when it is destroyed.
void SkinManagerGone(TSkinManagerLink* manager);

class TSkinData : public TComponent {
  DASKEL_CLASS(TSkinData, TComponent)
 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  bool Active() const { return FActive; }
  void SetActive(bool value);
  int DisableTag() const { return FDisableTag; }
  void SetDisableTag(int v) { FDisableTag = v; }
  TSkinControlTypes SkinControls() const { return FSkinControls; }
  void SetSkinControls(TSkinControlTypes v) { FSkinControls = v; }
  bool HasControl(TSkinControlType t) const { return (FSkinControls & SkinControl(t)) != 0; }
  TStringList* Skin3rd() { return &FSkin3rd; }
  void SetSkin3rd(const TStrings& list) { FSkin3rd.Assign(list); }
  const std::string& SkinFile() const { return FSkinFile; }
  void SetSkinFile(const std::string& value);
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}  // read-only in effect
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType v) { FSkinFormtype = v; }
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool v) { FMenuUpdate = v; }

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  // The stored property: 4-byte little-endian size, then the package bytes.
  void ReadSkinStream(TMemoryStream& s);
  std::string SkinStreamBytes() const;
  const TMemoryStream& SkinStream() const { return FSkinStream; }

  // Loads the skin held in the skin stream; false when it could not be read (a package of the
  // wrong version also shows the user the old-skin message). A skin that cannot be read leaves
  // the one loaded before in place, so skinned windows never lose their look halfway.
  bool LoadSkin();
  // A skin its caller has read already from these package bytes (through SkinPackageProblem):
  // the bytes become the skin stream and the skin is taken over as LoadSkin would take it,
  // without reading the package a second time.
  void TakeSkin(const std::string& package, TSkinElements&& skin);
  // After a new skin was loaded at run time: tells the manager to re-skin every window.
  void ApplySkin();
  // The class filter for windows: DoSkin may be turned false.
  void DoFormSkin(const std::string& aName, bool& DoSkin);
  void Loaded() override;

  // The element model and colours of the loaded skin.
  TSkinElements Skin;
  bool NoSkin() const { return Skin.NoSkin; }
  // The form skinner paints non-client frames only while this is true.
  bool NCPaintEnabled = true;
  // Four 16 x 16 glyphs for the skinned system menu (nullptr where there are no image lists).
  TImageList* MenuImages() const;
  // The platform's resources derived from the skin (brush of the face colour, menu glyphs).
  struct TPlatformPart;
  struct TPlatformDeleter {
    void operator()(TPlatformPart* part) const;  // defined with the platform part
  };
  TPlatformPart* Platform() const { return platform_.get(); }

  // The built-in list of other vendors' control classes and the kind each is skinned as.
  static const TStringList& DefaultSkin3rd();

 private:
  bool Designing() const { return HasState(csDesigning); }
  bool Reading() const { return HasState(csLoading) || HasState(csReading); }
  void SkinLoaded();  // rebuilds the platform part after a load

  std::string FSkinFile;
  bool FActive = false;
  int FDisableTag = 99;
  TSkinControlTypes FSkinControls = kDefaultSkinControls;
  TSkinFormType FSkinFormtype = sfMainform;
  TStringList FSkin3rd;
  bool FMenuUpdate = true;
  TMemoryStream FSkinStream;
  // A skin read whole becomes the component's: the manager hears of the change around it.
  void Adopt(TSkinElements&& fresh);
  std::unique_ptr<TPlatformPart, TPlatformDeleter> platform_;
};

// Platform seam (VuzUrezDataWin32.cpp / VuzUrezDataHost.cpp).
TSkinData::TPlatformPart* CreateSkinDataPlatform(TSkinData& data);
void SkinDataPlatformSkinLoaded(TSkinData::TPlatformPart& part, const TSkinElements& skin);
TImageList* SkinDataPlatformMenuImages(const TSkinData::TPlatformPart& part);
// Tells the user that a skin package is of another version.
void ShowOlderSkinFileMessage();
