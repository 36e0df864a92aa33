// TIniReader: reads an INI text held in memory with the semantics of the Windows private-profile
// functions: section and key names match without regard to (ASCII) case, a value is the text
// after the first "=" with surrounding blanks removed (and one pair of matching quotes around
// it), the first section of a name and the first key of a name in it win, and the section list
// comes back in file order, duplicates included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TIniReader {
 public:
  TIniReader() = default;
  explicit TIniReader(std::string_view text) { Load(text); }
  void Load(std::string_view text);

  std::vector<std::string> ReadSections() const;
  bool SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }
  // The value, or `def` when the section or the key is absent.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def = {}) const;
  // A whole number: optional sign and decimal digits, or hexadecimal after "0x", "0X" or "$".
  // Absent keys and anything else give `def`.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;

 private:
  struct TKey {
    std::string name, value;
  };
  struct TSection {
    std::string name;
    std::vector<TKey> keys;
  };
  const TSection* FindSection(std::string_view name) const;
  std::vector<TSection> sections_;
  // Lower-cased name to the first section of that name: a lookup costs the same however many
  // sections the text has.
  std::unordered_map<std::string, std::size_t> index_;
};

// Whole-text integer conversion with the rules of ReadInteger; false when it is not a number.
bool ParseIniInteger(std::string_view text, std::int32_t& value);
bool EqualsNoCase(std::string_view a, std::string_view b);
