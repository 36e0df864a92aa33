#include "gallery/GallerySkins.h"

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/data/VuzUrezDataRead.h"

std::string SkinFileProblem(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "the file does not exist";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "the file cannot be read";
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return "the file is empty";
  return SkinPackageProblem(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string NightSkinStream() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, "NIGHTSKIN", MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
  const char* data = mem ? static_cast<const char*>(LockResource(mem)) : nullptr;
  DWORD size = res ? SizeofResource(module, res) : 0;
  if (!data || size == 0) return {};
  std::string stored(4, '\0');
  for (int i = 0; i < 4; ++i)
    stored[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  stored.append(data, size);
  return stored;
}

bool ApplySkinStream(TSkinData& data, const std::string& stored) {
  TMemoryStream s;
  s.LoadFromBytes(stored);
  data.ReadSkinStream(s);  // loads the skin
  if (data.NoSkin()) return false;
  data.ApplySkin();  // every skinned window is drawn anew with it
  return true;
}
