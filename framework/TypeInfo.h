// Class descriptions: the class name and its parent (for "is a descendant of" tests), how to
// create an instance for the layout reader, and the published properties, fields and handler
// methods that layouts and run-time code reach by name.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TStrings;
class TMemoryStream;
struct TClassInfo;
template <class T>
class TClassBuilder;

enum TPropKind {
  pkInteger,  // whole number; may also accept identifiers (colours)
  pkBoolean,  // an enumeration with the members False and True
  pkEnum,
  pkSet,  // bit i stands for member i
  pkString,
  pkStrings,    // a string list owned by the object
  pkBinary,     // bytes read from a stream
  pkObject,     // a nested persistent object (Font): reached as "Font.Style"
  pkEvent,      // a method pointer, bound by handler name
  pkComponent,  // a reference to another component of the form, bound by name
};

// A handler method a form class publishes: its name and its code (a TMethod<...> without object).
struct TMethodEntry {
  std::string Name;
  std::any Code;
};

struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkInteger;
  const std::vector<std::string>* Names = nullptr;  // members of enumerations and sets
  std::function<long long(TObject*)> GetOrd;
  std::function<void(TObject*, long long)> SetOrd;
  bool (*IdentToInt)(const std::string&, long long*) = nullptr;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;  // strings; binary values as bytes
  std::function<TStrings*(TObject*)> GetStrings;
  std::function<TPersistent*(TObject*)> GetObject;
  // Binds the handler `entry` of object `handlerOwner`; false when the signatures differ.
  std::function<bool(TObject*, TObject*, const TMethodEntry&)> SetEvent;
  std::function<bool(TObject*, TComponent*)> SetComponent;  // false when of the wrong class

  bool IsEnumeration() const { return Kind == pkEnum || Kind == pkBoolean; }
};

// A published field of a form: a pointer member bound to the component of the same name.
struct TFieldEntry {
  std::string Name;
  const TClassInfo* Class = nullptr;
  std::function<bool(TObject*, TComponent*)> Bind;  // false when the component is of the wrong class
};

struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  TComponent* (*Create)(TComponent* owner) = nullptr;  // null for abstract classes
  std::vector<TPropInfo> Props;
  std::vector<TFieldEntry> Fields;
  std::vector<TMethodEntry> Methods;

  bool InheritsFrom(const TClassInfo& other) const;
  bool InheritsFrom(const std::string& name) const;  // case-insensitive
  const TPropInfo* FindProp(const std::string& name) const;
  const TMethodEntry* FindMethod(const std::string& name) const;
};

// Registered classes by name (case-insensitive); a class registers itself the first time its
// StaticClass() is asked for.
const TClassInfo* FindClass(const std::string& name);
void RegisterClassInfo(const TClassInfo* info);

// Run-time access by name, as the layout reader and the skinning engine use it.
const TPropInfo* GetPropInfo(TObject* obj, const std::string& name);
// The member name of an enumeration or Boolean property ("True"), or "" when there is none.
std::string GetEnumProp(TObject* obj, const std::string& name);
// Sets an enumeration or Boolean property by member name; false when there is no such
// property or member.
bool SetEnumProp(TObject* obj, const std::string& name, const std::string& value);

bool ColorIdentToInt(const std::string& ident, long long* value);

// The parts of a class declaration and definition that make it known by name.
#define DASKEL_CLASS(T, P)                                               \
 public:                                                                 \
  using inherited = P;                                                   \
  static const TClassInfo& StaticClass();                                \
  const TClassInfo& ClassType() const override { return StaticClass(); } \
                                                                         \
 private:

#define DASKEL_DEFINE_CLASS(T, P)                                                               \
  static void DaskelDefine_##T(TClassBuilder<T>& c);                                            \
  const TClassInfo& T::StaticClass() {                                                          \
    static const TClassInfo& info = MakeClassInfo<T>(#T, &P::StaticClass(), &DaskelDefine_##T); \
    return info;                                                                                \
  }                                                                                             \
  static void DaskelDefine_##T([[maybe_unused]] TClassBuilder<T>& c)
