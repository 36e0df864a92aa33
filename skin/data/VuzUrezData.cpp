#include "skin/data/VuzUrezData.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/data/VuzUrezDataRead.h"

namespace {

TSkinManagerFactory gFactory = nullptr;
TSkinManagerLink* gManager = nullptr;

const std::vector<std::string> kSkinControlNames{
    "xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo",     "xcCheckBox",    "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit",    "xcButton",     "xcBitBtn",    "xcSpeedButton", "xcPanel",
    "xcGroupBox", "xcStatusBar", "xcTab",     "xcSystemMenu", "xcFastReport"};
const std::vector<std::string> kSkinFormTypeNames{"sfMainform", "sfOnlyThisForm", "sfDialog"};

}  // namespace

void SetSkinManagerFactory(TSkinManagerFactory factory) { gFactory = factory; }
TSkinManagerLink* SkinManagerLink() { return gManager; }
TSkinManagerLink* EnsureSkinManagerLink() {
  if (!gManager && gFactory) gManager = gFactory();
  return gManager;
}
void SkinManagerGone(TSkinManagerLink* manager) {
  if (gManager == manager) gManager = nullptr;
}

DASKEL_DEFINE_CLASS(TSkinData, TComponent) {
  c.Bool("Active", &TSkinData::Active, &TSkinData::SetActive);
  c.Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag);
  c.Set("SkinControls", &TSkinData::SkinControls, &TSkinData::SetSkinControls, kSkinControlNames);
  c.Strings("Skin3rd", &TSkinData::Skin3rd);
  c.String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
  c.String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
  c.Enum("SkinFormtype", &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype, kSkinFormTypeNames);
  c.Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate);
  c.Event("OnFormSkin", &TSkinData::OnFormSkin);
  c.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
  c.Event("OnSkinControl", &TSkinData::OnSkinControl);
  c.Binary("SkinStream", &TSkinData::ReadSkinStream);
}

const TStringList& TSkinData::DefaultSkin3rd() {
  static const TStringList list{"TTBDock=Panel",
                                "TTBToolbar=Panel",
                                "TImageEnMView=scrollbar",
                                "TImageEnView=scrollbar",
                                "TRzButton=button",
                                "TRzCheckGroup=CheckGroup",
                                "TRzRadioGroup=Radiogroup",
                                "TRzRadioButton=Radiobutton",
                                "TRzCheckBox=Checkbox",
                                "TRzButtonEdit=Edit",
                                "TRzDBRadioGroup=Radiogroup",
                                "TRzDBRadioButton=Radiobutton",
                                "TRzDBCheckBox=Checkbox",
                                "TDBCheckboxEh=Checkbox",
                                "TDBCheckboxEh=Checkbox",
                                "TLMDCHECKBOX=Checkbox",
                                "TLMDDBCHECKBOX=Checkbox",
                                "TLMDRadiobutton=Radiobutton",
                                "TLMDGROUPBOX=Panel",
                                "TLMDSIMPLEPANEL=Panel",
                                "TLMDDBCalendar=Panel",
                                "TLMDButtonPanel=Panel",
                                "TLMDLMDCalculator=Panel",
                                "TLMDHeaderPanel=Panel",
                                "TLMDTechnicalLine=Panel",
                                "TLMDLMDClock=Panel",
                                "TLMDTrackbar=trackbar",
                                "TLMDListCombobox=combobox",
                                "TLMDCheckListCombobox=combobox",
                                "TLMDHeaderListCombobox=combobox",
                                "TLMDImageCombobox=combobox",
                                "TLMDColorCombobox=combobox",
                                "TLMDFontCombobox=combobox",
                                "TLMDFontSizeCombobox=combobox",
                                "TLMDFontSizeCombobox=combobox",
                                "TLMDPrinterCombobox=combobox",
                                "TLMDDriveCombobox=combobox",
                                "TLMDCalculatorComboBox=combobox",
                                "TLMDTrackBarComboBox=combobox",
                                "TLMDCalendarComboBox=combobox",
                                "TLMDRADIOGROUP=radiogroup",
                                "TLMDCheckGroup=CheckGroup",
                                "TLMDDBRADIOGROUP=radiogroup",
                                "TLMDDBCheckGroup=CheckGroup",
                                "TLMDEDIT=Edit",
                                "TLMDMASKEDIT=Edit",
                                "TLMDBROWSEEDIT=Edit",
                                "TLMDEXTSPINEDIT=Edit",
                                "TLMDCALENDAREDIT=Edit",
                                "TLMDFILEOPENEDIT=Edit",
                                "TLMDFILESAVEEDIT=Edit",
                                "TLMDCOLOREDIT=Edit",
                                "TLMDDBEDIT=Edit",
                                "TLMDDBMASKEDIT=Edit",
                                "TLMDDBEXTSPINEDIT=Edit",
                                "TLMDDBSPINEDIT=Edit",
                                "TLMDDBEDITDBLookup=Edit",
                                "TLMDEDITDBLookup=Edit",
                                "TDBLookupCombobox=Combobox",
                                "TWWDBCombobox=Combobox",
                                "TWWDBLookupCombo=Combobox",
                                "TWWDBCombobox=Combobox",
                                "TWWKeyCombo=Combobox",
                                "TWWTempKeyCombo=combobox",
                                "TWWDBDateTimePicker=Combobox",
                                "TWWRADIOGROUP=radiogroup",
                                "TDXDBPICKEDIT=Combobox",
                                "TDXDBCALCEDIT=Combobox",
                                "TDXDBIMAGEEDIT=Combobox",
                                "TDXDBPOPUPEDIT=Combobox",
                                "TDXDBEXTLOOKUPEDIT=Combobox",
                                "TDXDBLOOKUPEDIT=Combobox",
                                "TDXDBDATEEDIT=Combobox",
                                "TDXDATEEDIT=Combobox",
                                "TDXPICKEDIT=Combobox",
                                "TDXPOPUPEDIT=Combobox",
                                "TDXDBCURRENCYEDIT=Edit",
                                "TDXDBEDIT=Edit",
                                "TDXDBMASKEDIT=Edit",
                                "TDXDBHYPERLINKEDIT=Edit",
                                "TDXEDIT=Edit",
                                "TDXMASKEDIT=Edit",
                                "TWWDBEDIT=Edit",
                                "TDXBUTTONEDIT=Edit",
                                "TDXCURRENCYEDIT=Edit",
                                "TDXHYPERLINKEDIT=Edit",
                                "TOVCPICTUREFIELD=Edit",
                                "TOVCDBPICTUREFIELD=Edit",
                                "TOVCSLIDEREDIT=Edit",
                                "TOVCDBSLIDEREDIT=Edit",
                                "TOVCSIMPLEFIELD=Edit",
                                "TOVCDBSIMPLEFIELD=Edit",
                                "TO32DBFLEXEDIT=Edit",
                                "TOVCNUMERICFIELD=Edit",
                                "TOVCDBNUMERICFIELD=Edit"};
  return list;
}

TSkinData::TSkinData(TComponent* owner) : TComponent(owner) {
  FSkin3rd.Assign(DefaultSkin3rd());
  platform_.reset(CreateSkinDataPlatform(*this));
}

TSkinData::~TSkinData() {
  if (TSkinManagerLink* manager = SkinManagerLink()) manager->RemoveSkinData(this);
}

std::string TSkinData::SkinStore() const {
  return Designing() && FSkinStream.Size() > 0 ? "(Good)" : "(none)";
}

TImageList* TSkinData::MenuImages() const {
  return platform_ ? SkinDataPlatformMenuImages(*platform_) : nullptr;
}

void TSkinData::ReadSkinStream(TMemoryStream& s) {
  std::int32_t size = 0;
  std::uint8_t raw[4] = {};
  if (s.Read(raw, 4) != 4) return;
  size = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(raw[0]) | static_cast<std::uint32_t>(raw[1]) << 8 |
      static_cast<std::uint32_t>(raw[2]) << 16 | static_cast<std::uint32_t>(raw[3]) << 24);
  if (size <= 0) return;
  // A size larger than the value holds is cut to what is there rather than read past it.
  std::size_t available = s.Size() - s.Position();
  std::size_t n = static_cast<std::size_t>(size) < available ? static_cast<std::size_t>(size) : available;
  FSkinStream.SetSize(n);
  FSkinStream.SetPosition(0);
  if (n > 0) s.Read(FSkinStream.Memory(), n);
  if (!Designing()) LoadSkin();
}

std::string TSkinData::SkinStreamBytes() const {
  std::uint32_t size = static_cast<std::uint32_t>(FSkinStream.Size());
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  out.append(reinterpret_cast<const char*>(FSkinStream.Memory()), FSkinStream.Size());
  return out;
}

bool TSkinData::LoadSkin() {
  if (Designing()) return false;
  // Read into a fresh model and take it over only when the whole skin was read, so a bad
  // package never leaves half a skin behind.
  TSkinElements fresh;
  TPackageStatus status = LoadSkinPackage(FSkinStream.Memory(), FSkinStream.Size(), fresh, nullptr, nullptr,
                                          THighResLoad::WhenAsked);
  if (status == TPackageStatus::WrongVersion) ShowOlderSkinFileMessage();
  if (status != TPackageStatus::Ok || fresh.NoSkin) return false;
  Adopt(std::move(fresh));
  return true;
}

void TSkinData::TakeSkin(const std::string& package, TSkinElements&& skin) {
  FSkinStream.Clear();
  FSkinStream.Write(package.data(), package.size());
  if (!skin.NoSkin) Adopt(std::move(skin));
}

void TSkinData::Adopt(TSkinElements&& fresh) {
  // Caption buttons point at the button records of the model being replaced.
  TSkinManagerLink* manager = SkinManagerLink();
  if (manager) manager->SkinReplaced(this, false);
  Skin = std::move(fresh);
  SkinLoaded();
  if (manager) manager->SkinReplaced(this, true);
}

void TSkinData::SkinLoaded() {
  if (platform_) SkinDataPlatformSkinLoaded(*platform_, Skin);
}

void TSkinData::SetSkinFile(const std::string& value) {
  FSkinFile = value;
  if (Designing()) {
    if (!value.empty() && FSkinStream.Size() > 0) FSkinStream.Clear();
    return;
  }
  // A missing, empty or unreadable file changes nothing: the skin shown so far stays, with the
  // stream it came from.
  std::ifstream in(value, std::ios::binary);
  if (value.empty() || !in) return;
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return;
  TMemoryStream previous;
  previous.Write(FSkinStream.Memory(), FSkinStream.Size());
  FSkinStream.Clear();
  FSkinStream.Write(bytes.data(), bytes.size());
  if (LoadSkin()) {
    ApplySkin();
    return;
  }
  FSkinStream.Clear();
  FSkinStream.Write(previous.Memory(), previous.Size());
}

void TSkinData::ApplySkin() {
  if (Designing() || Reading()) return;
  if (!SkinManagerLink()) Loaded();
  TSkinManagerLink* manager = SkinManagerLink();
  if (!manager) return;
  manager->SetActionSkinData(this);
  manager->ClearAllSysButtons();
  manager->RequestAction(saSkinChanged, kSkinActionDelay);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  TSkinManagerLink* manager = EnsureSkinManagerLink();
  if (!manager) return;
  manager->AddSkinData(this);
  if (FSkinFormtype != sfMainform) {
    manager->StartForOwner(this);
    return;
  }
  manager->InstallHook();
  if (FActive) {
    if (NoSkin()) {
      FActive = false;
    } else {
      manager->SetActionSkinData(this);
      manager->RequestAction(saSkinAll, kSkinActionDelay);
    }
  }
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (Designing() || Reading()) return;
  if (FSkinFormtype == sfDialog) return;
  // A component made in code that never went through Loaded gets the manager here.
  TSkinManagerLink* manager = EnsureSkinManagerLink();
  if (!manager) return;
  manager->SetActionSkinData(this);
  if (!(value && NoSkin())) manager->RequestAction(value ? saSkinAll : saUnskinAll, kSkinActionDelay);
}

void TSkinData::DoFormSkin(const std::string& aName, bool& DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, aName, DoSkin);
    return;
  }
  if (aName == "SysMonthCal32") DoSkin = false;
  if (HasControl(xcFastReport) && aName.rfind("Tfr", 0) == 0) DoSkin = false;
}
