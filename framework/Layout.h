// Stored layouts: the text format forms are described in, and reading one into components.
//
//   object Form1: TForm1          // one object per component, nested as the controls are
//     Caption = "Daskel1.0"       // strings: "..." with \" \\ \n \r \t \xHH; adjacent ones join
//     ClientWidth = 445           // integers: 12, -11, 0x1F
//     Visible = False             // identifiers: Booleans, enumeration members, colours, handlers
//     Font.Style = [fsBold]       // sets; nested objects' properties through a dot
//     Items = ["a", "b"]          // string lists (commas optional)
//     Icon = {0000010001...}      // binary data as hex digits (a build step fills @file(path))
//     OnCreate = FormCreate       // a handler method the form class publishes
//     object Button1: TButton
//       ...
//     end
//   end
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class TComponent;

// Stops a load; the message names the layout, the line and the offending text.
class ELayoutError : public std::runtime_error {
 public:
  ELayoutError(const std::string& layout, int line, const std::string& message, const std::string& text);
  int Line() const { return line_; }

 private:
  int line_;
};

struct TLayoutValue {
  enum Kind { Integer, String, Ident, List, Binary };
  Kind kind = Integer;
  long long Int = 0;
  std::string Str;  // strings, identifiers and binary bytes
  std::vector<TLayoutValue> Items;
  int Line = 0;
  std::string Text;  // as written, for error messages
};

struct TLayoutProperty {
  std::string Name;  // possibly dotted: "Font.Style"
  TLayoutValue Value;
  int Line = 0;
};

struct TLayoutObject {
  std::string Name, ClassName;
  int Line = 0;
  std::vector<TLayoutProperty> Props;
  std::vector<TLayoutObject> Children;
};

// How the bytes of strings are to be read. In GBK the second byte of a character may be 0x5C,
// the backslash: it is part of the character, not an escape.
enum TLayoutEncoding { leUtf8, leGbk };

// Parses a whole layout (one root object). Throws ELayoutError.
TLayoutObject ParseLayout(const std::string& text, const std::string& layoutName,
                          TLayoutEncoding encoding = leUtf8);

// Reads a layout into `root` (a form, usually): creates each nested component with `root` as its
// owner, assigns properties through the class tables while csLoading and csReading are set,
// binds the root class's published fields and handlers, then calls Loaded() on every created
// component in creation order and last on the root. Throws ELayoutError; components created
// before the error stay owned by `root`.
void ReadLayout(TComponent* root, const std::string& text, const std::string& layoutName,
                TLayoutEncoding encoding = leUtf8);
