// Edit masks: which character may stand at which position of a masked edit, how a text set by
// the program is shown, and how typing and deleting change the shown text. Portable; the
// masked edit control (TMaskEdit) only feeds it keys and shows its text.
//
// A mask is "picture;save;blank":
//   picture  0 digit (required)   9 digit (optional)   # digit, + or - (optional)
//            L letter (required)  l letter (optional)  A letter or digit (required)
//            a letter or digit (optional)  C any character (required)  c any (optional)
//            > upper-case what follows  < lower-case what follows  <> no case change
//            ! missing optional characters show as leading blanks (text is right-aligned)
//            \x the literal character x; any other character is a literal
//   save     1 (default) when the text keeps the literals, 0 when they are left out
//   blank    the character shown in empty positions (default "_")
#pragma once

#include <string>
#include <vector>

class TEditMask {
 public:
  TEditMask() = default;
  explicit TEditMask(const std::string& mask);

  bool Empty() const { return slots_.empty(); }
  int Length() const { return static_cast<int>(slots_.size()); }
  char BlankChar() const { return blank_; }
  bool SaveLiterals() const { return save_; }
  bool LeadingBlanks() const { return leading_; }
  bool IsLiteral(int pos) const;
  // Whether `c` may stand at position `pos` (the blank always may, at optional positions).
  bool Accepts(int pos, char c) const;

  // The text shown for a text the program sets: literals in place, characters that do not fit
  // their position replaced by blanks, surplus characters dropped; with "!" a short text is
  // right-aligned so that the missing characters become leading blanks.
  std::string Format(const std::string& value) const;
  // Shown text with nothing entered.
  std::string EmptyText() const { return Format(""); }
  // The shown text as the program reads it: without literals unless they are saved.
  std::string Value(const std::string& shown) const;
  // The first position whose required character is missing, or -1.
  int FirstMissing(const std::string& shown) const;

  // Typing `c` at `cursor` (after the selection [selStart, selEnd) was blanked): overwrites the
  // next editable position and moves the cursor past it and past the literals that follow.
  // Returns false (nothing changed) when the character is refused.
  bool TypeChar(std::string& shown, int& cursor, char c) const;
  // Blanks the editable positions in [start, end).
  void Blank(std::string& shown, int start, int end) const;
  // Backspace at cursor with no selection: blanks the editable position before it.
  void Backspace(std::string& shown, int& cursor) const;
  // The first editable position at or after `pos` (Length() when there is none).
  int NextEditable(int pos) const;

 private:
  enum Kind { kLiteral, kDigit, kDigitSign, kLetter, kAlnum, kAny };
  struct Slot {
    Kind kind = kLiteral;
    bool required = false;
    char literal = 0;
    int caseMode = 0;  // 1 upper, -1 lower
  };
  char Convert(int pos, char c) const;

  std::vector<Slot> slots_;
  bool save_ = true;
  bool leading_ = false;
  char blank_ = '_';
};
