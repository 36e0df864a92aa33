// TSkinReader: unpacks a skin package once and hands out its members by name. It knows nothing
// of what the members mean.
//
// Unpacked layout (little-endian): version (20000), names length L, two reserved words, L bytes
// of member names (one per line), one 32-bit size per name, then the members back to back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

class TLzhStream;

class TSkinReader {
 public:
  TSkinReader();
  ~TSkinReader();
  TSkinReader(TSkinReader&&) noexcept;
  TSkinReader& operator=(TSkinReader&&) noexcept;

  // Indexes a stored package (4-byte length + LZHUF stream), keeping a copy of it. Members are
  // unpacked only as far as one is asked for: images a reader never needs (drawn for other
  // DPIs, stored last) cost nothing. On anything but Ok the reader keeps what it held before
  // and *error says why.
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
  std::span<const std::uint8_t> Member(std::size_t i) const;
  std::int32_t Size(std::size_t i) const { return sizes_[i]; }
  std::int32_t Version() const { return version_; }

 private:
  std::vector<std::string> names_;
  std::vector<std::int32_t> sizes_;
  std::vector<std::size_t> offsets_;
  // The unpacked package, offsets_ index into it: data_ when it came unpacked, else the part of
  // stream_ (decoding stored_) unpacked so far.
  const std::uint8_t* Unpacked(std::size_t upTo) const;
  // Whether [0, end) lies inside the unpacked package (decoding all of it when only that tells).
  bool Within(std::size_t end) const;
  std::size_t Total() const;
  TPackageStatus Index(std::string* error);

  std::vector<std::uint8_t> data_;
  std::vector<std::uint8_t> stored_;
  std::unique_ptr<TLzhStream> stream_;
  std::unordered_map<std::string, std::size_t> index_;  // name to its first member
  std::int32_t version_ = 0;
};

// Splits a names text into lines: a line ends at CR, LF or CR LF, a final line end does not
// start another name, and the text ends at its first NUL. ASCII letters are lower-cased.
std::vector<std::string> SplitMemberNames(std::string_view text);
std::string LowerAscii(std::string_view s);
