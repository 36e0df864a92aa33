#include "skin/data/SkinRead.h"

#include "skin/data/Lzh.h"

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::vector<std::string> SplitMemberNames(std::string_view text) {
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(LowerAscii(text.substr(pos, end - pos)));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

TSkinReader::TSkinReader() = default;
TSkinReader::~TSkinReader() = default;
TSkinReader::TSkinReader(TSkinReader&&) noexcept = default;
TSkinReader& TSkinReader::operator=(TSkinReader&&) noexcept = default;

TPackageStatus TSkinReader::LoadPackage(const std::uint8_t* stored, std::size_t size, std::string* error) {
  TSkinReader fresh;
  fresh.stored_.assign(stored, stored + size);
  fresh.stream_ = LzhOpenStored(fresh.stored_.data(), fresh.stored_.size(), error);
  if (!fresh.stream_) return TPackageStatus::Corrupt;
  TPackageStatus status = fresh.Index(error);
  if (status == TPackageStatus::Ok) *this = std::move(fresh);
  return status;
}

TPackageStatus TSkinReader::LoadUnpacked(std::vector<std::uint8_t> unpacked, std::string* error) {
  TSkinReader fresh;
  fresh.data_ = std::move(unpacked);
  TPackageStatus status = fresh.Index(error);
  if (status == TPackageStatus::Ok) *this = std::move(fresh);
  return status;
}

const std::uint8_t* TSkinReader::Unpacked(std::size_t upTo) const {
  if (!stream_) return data_.data();
  stream_->DecodeTo(upTo);
  return stream_->Data();
}

std::size_t TSkinReader::Total() const {
  if (!stream_) return data_.size();
  stream_->DecodeTo(stream_->Declared());  // the last match may run a little past the declared length
  return stream_->Decoded();
}

bool TSkinReader::Within(std::size_t end) const {
  return (stream_ && end <= stream_->Declared()) || end <= Total();
}

std::span<const std::uint8_t> TSkinReader::Member(std::size_t i) const {
  std::size_t end = offsets_[i] + static_cast<std::size_t>(sizes_[i]);
  return {Unpacked(end) + offsets_[i], static_cast<std::size_t>(sizes_[i])};
}

TPackageStatus TSkinReader::Index(std::string* error) {
  auto fail = [&](TPackageStatus status, std::string why) {
    if (error) *error = std::move(why);
    return status;
  };
  if (!Within(kSkinPackageHeaderSize))
    return fail(TPackageStatus::Corrupt, "the unpacked package has " + std::to_string(Total()) +
                                             " bytes, fewer than its 16-byte header");
  const std::uint8_t* p = Unpacked(kSkinPackageHeaderSize);
  std::int32_t version = ReadLE32(p);
  if (version != kSkinPackageVersion)
    return fail(TPackageStatus::WrongVersion, "package version " + std::to_string(version) + ", expected " +
                                                  std::to_string(kSkinPackageVersion));
  std::int32_t namesLength = ReadLE32(p + 4);
  if (namesLength < 0 || !Within(kSkinPackageHeaderSize + static_cast<std::size_t>(namesLength)))
    return fail(TPackageStatus::Corrupt, "the names length " + std::to_string(namesLength) +
                                             " reaches past the unpacked data (" + std::to_string(Total()) +
                                             " bytes)");
  std::size_t pos = kSkinPackageHeaderSize + static_cast<std::size_t>(namesLength);
  p = Unpacked(pos);
  std::vector<std::string> names = SplitMemberNames(std::string_view(
      reinterpret_cast<const char*>(p + kSkinPackageHeaderSize), static_cast<std::size_t>(namesLength)));
  if (!Within(pos + 4 * names.size()))
    return fail(TPackageStatus::Corrupt, "the size table of " + std::to_string(names.size()) +
                                             " members reaches past the unpacked data");
  std::vector<std::int32_t> sizes(names.size());
  std::vector<std::size_t> offsets(names.size());
  std::size_t dataStart = pos + 4 * names.size();
  p = Unpacked(dataStart);
  std::size_t offset = dataStart;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = ReadLE32(p + pos + 4 * i);
    if (sizes[i] < 0)
      return fail(TPackageStatus::Corrupt,
                  "member \"" + names[i] + "\" has a negative size (" + std::to_string(sizes[i]) + ")");
    if (!Within(offset + static_cast<std::size_t>(sizes[i])))
      return fail(TPackageStatus::Corrupt, "member \"" + names[i] + "\" (" + std::to_string(sizes[i]) +
                                               " bytes) reaches past the unpacked data");
    offsets[i] = offset;
    offset += static_cast<std::size_t>(sizes[i]);
  }
  std::unordered_map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < names.size(); ++i) index.try_emplace(names[i], i);
  names_ = std::move(names);
  index_ = std::move(index);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  version_ = version;
  return TPackageStatus::Ok;
}

std::optional<std::span<const std::uint8_t>> TSkinReader::FindEntry(std::string_view name) const {
  auto found = index_.find(LowerAscii(name));
  if (found == index_.end()) return std::nullopt;
  return Member(found->second);
}

std::optional<std::span<const std::uint8_t>> TSkinReader::FindEntryContaining(std::string_view text,
                                                                              std::string* foundName) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(text) != std::string::npos) {
      if (foundName) *foundName = names_[i];
      return Member(i);
    }
  }
  return std::nullopt;
}
