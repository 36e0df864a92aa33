#include "tools/skintool/SkinPack.h"

#include "skin/data/Lzh.h"
#include "tools/skintool/LzhEncode.h"

std::vector<std::uint8_t> BuildUnpackedPackage(const std::vector<TPackMember>& members,
                                               std::int32_t version) {
  std::string names;
  for (const TPackMember& m : members) names += m.name + "\r\n";
  std::vector<std::uint8_t> out;
  AppendLE32(out, version);
  AppendLE32(out, static_cast<std::int32_t>(names.size()));
  AppendLE32(out, 0);
  AppendLE32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const TPackMember& m : members) AppendLE32(out, static_cast<std::int32_t>(m.data.size()));
  for (const TPackMember& m : members) out.insert(out.end(), m.data.begin(), m.data.end());
  return out;
}

std::vector<std::uint8_t> BuildStoredPackage(const std::vector<TPackMember>& members, std::int32_t version) {
  std::vector<std::uint8_t> unpacked = BuildUnpackedPackage(members, version), stored;
  LzhEncodeStored(unpacked.data(), unpacked.size(), stored);
  return stored;
}
