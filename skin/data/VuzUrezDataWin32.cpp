// The Windows side of the skin data component: the face and content brushes, the system-menu
// glyphs from the TAVORINMENU bitmap resource, and the old-skin message box.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezData.h"
#include "skin/data/VuzUrezDataWin32.h"

struct TSkinData::TPlatformPart {
  TGdiBrush ButtonFaceBrush;
  TGdiBrush WindowBrush;  // of the content colour, when the skin gives one
  std::unique_ptr<TImageList> MenuImages;
};

void TSkinData::TPlatformDeleter::operator()(TPlatformPart* part) const { delete part; }

namespace {

// The module this code is linked into: the executable, or the skin DLL when the engine runs in a
// program that knows nothing of it. Its resources travel with the code.
HMODULE CodeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&CodeModule), &module);
  return module;
}

// A bitmap resource holds a BMP file without its file header; put one in front and decode.
bool LoadBitmapResource(const char* name, TBitmap& out) {
  HMODULE module = CodeModule();
  HRSRC res = FindResourceA(module, name, MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (!res) return false;
  HGLOBAL mem = LoadResource(module, res);
  DWORD size = SizeofResource(module, res);
  const auto* data = static_cast<const std::uint8_t*>(mem ? LockResource(mem) : nullptr);
  if (!data || size < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER info;
  std::memcpy(&info, data, sizeof(info));
  DWORD colours = info.biClrUsed ? info.biClrUsed : (info.biBitCount <= 8 ? 1u << info.biBitCount : 0u);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = static_cast<DWORD>(sizeof(file) + size);
  file.bfOffBits = static_cast<DWORD>(sizeof(file) + info.biSize + colours * 4);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(data), size);
  return out.LoadFromBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TSkinData::TPlatformPart* CreateSkinDataPlatform(TSkinData&) {
  auto* part = new TSkinData::TPlatformPart;
  part->MenuImages = std::make_unique<TImageList>(nullptr);
  part->MenuImages->SetWidth(16);
  part->MenuImages->SetHeight(16);
  TBitmap strip;
  if (LoadBitmapResource("TAVORINMENU", strip)) part->MenuImages->AddMasked(strip, clWhite);
  return part;
}

void SkinDataPlatformSkinLoaded(TSkinData::TPlatformPart& part, const TSkinElements& skin) {
  part.ButtonFaceBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(skin.ColourButtonFace))));
  part.WindowBrush.Reset();
}

TImageList* SkinDataPlatformMenuImages(const TSkinData::TPlatformPart& part) { return part.MenuImages.get(); }

HBRUSH ButtonFaceBrush(const TSkinData& data) {
  TSkinData::TPlatformPart* part = data.Platform();
  if (!part) return nullptr;
  if (!part->ButtonFaceBrush)
    part->ButtonFaceBrush.Reset(
        CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(data.Skin.ColourButtonFace))));
  return part->ButtonFaceBrush.Get();
}

HBRUSH WindowBrush(const TSkinData& data) {
  TSkinData::TPlatformPart* part = data.Platform();
  if (!part) return nullptr;
  if (!part->WindowBrush)
    part->WindowBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(data.Skin.ColourWindow))));
  return part->WindowBrush.Get();
}

void ShowOlderSkinFileMessage() { MessageBoxA(nullptr, kOlderSkinFileMessage, "", MB_OK); }
