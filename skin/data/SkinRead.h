// TSkinReader: unpacks a skin package once and hands out its members by name. It knows nothing
// of what the members mean.
//
// Unpacked layout (little-endian): version (20000), names length L, two reserved words, L bytes
// of member names (one per line), one 32-bit size per name, then the members back to back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

constexpr std::int32_t kSkinPackageVersion = 20000;
constexpr std::size_t kSkinPackageHeaderSize = 16;
// What the Windows side shows for a package of another version.
inline constexpr char kOlderSkinFileMessage[] = "This is Older Skin File\rPlease update to new version !";

enum class TPackageStatus {
  Ok,
  WrongVersion,  // a package of another version: the caller tells the user
  Corrupt,       // undecodable, truncated or inconsistent: refused as a whole
  TooLarge,      // would cost more than one skin may (see VuzUrezDataRead.h): refused as a whole
};

class TSkinReader {
 public:
  // Decodes and indexes a stored package (4-byte length + LZHUF stream). On anything but Ok
  // the reader keeps what it held before and *error says why.
  TPackageStatus LoadPackage(const std::uint8_t* stored, std::size_t size, std::string* error = nullptr);
  // Indexes an already unpacked package.
  TPackageStatus LoadUnpacked(std::vector<std::uint8_t> unpacked, std::string* error = nullptr);

  // The member whose lower-cased name equals the lower-cased `name`; nullopt when none.
  std::optional<std::span<const std::uint8_t>> FindEntry(std::string_view name) const;
  // The first member whose lower-case name contains `text` (used as given); its name goes to
  // *foundName.
  std::optional<std::span<const std::uint8_t>> FindEntryContaining(std::string_view text,
                                                                   std::string* foundName = nullptr) const;

  std::size_t Count() const { return names_.size(); }
  const std::vector<std::string>& Names() const { return names_; }  // lower-case, package order
  std::span<const std::uint8_t> Member(std::size_t i) const {
    return {data_.data() + offsets_[i], static_cast<std::size_t>(sizes_[i])};
  }
  std::int32_t Size(std::size_t i) const { return sizes_[i]; }
  std::int32_t Version() const { return version_; }

 private:
  std::vector<std::string> names_;
  std::vector<std::int32_t> sizes_;
  std::vector<std::size_t> offsets_;
  std::vector<std::uint8_t> data_;                      // the whole unpacked package; offsets_ index into it
  std::unordered_map<std::string, std::size_t> index_;  // name to its first member
  std::int32_t version_ = 0;
};

// Splits a names text into lines: a line ends at CR, LF or CR LF, a final line end does not
// start another name, and the text ends at its first NUL. ASCII letters are lower-cased.
std::vector<std::string> SplitMemberNames(std::string_view text);
std::string LowerAscii(std::string_view s);
