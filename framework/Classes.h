// The component model: objects with a class name and class tests, method pointers for events,
// components that own and name each other, string lists and memory streams. Portable: nothing
// here needs a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/TypeInfo.h"

// The message record handed to every window-procedure method. The field types are the
// platform's own (WPARAM, LPARAM and LRESULT on Windows are these).
struct TMessage {
  unsigned Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().Name; }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
  // "Is this a TCustomCheckBox?" without knowing the C++ type: compares class names up the chain.
  bool InheritsFrom(const std::string& className) const { return ClassType().InheritsFrom(className); }
};

// Comparable method pointer: an object and one of its member functions. Two method pointers are
// equal when both halves are, so a handler can be saved, replaced and given back exactly.
template <class... Args>
struct TMethod {
  using Code = void (TObject::*)(Args...);
  TObject* Data = nullptr;
  Code Fn = nullptr;

  TMethod() = default;
  TMethod(std::nullptr_t) {}
  template <class C>
  TMethod(C* object, void (C::*fn)(Args...)) : Data(object), Fn(static_cast<Code>(fn)) {}

  explicit operator bool() const { return Data != nullptr && Fn != nullptr; }
  void operator()(Args... args) const {
    if (*this) (Data->*Fn)(args...);
  }
  bool operator==(const TMethod&) const = default;
};

using TNotifyEvent = TMethod<TObject*>;
using TWndMethod = TMethod<TMessage&>;

enum TComponentStateFlag : unsigned {
  csLoading = 1,
  csReading = 2,
  csDesigning = 4,
  csDestroying = 8,
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

// Base of everything that can be stored in a layout.
class TPersistent : public TObject {
  DASKEL_CLASS(TPersistent, TObject)
 public:
  TPersistent() = default;
};

class TComponent : public TPersistent {
  DASKEL_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  virtual void SetName(const std::string& name);
  std::intptr_t Tag = 0;
  std::intptr_t GetTag() const { return Tag; }
  void SetTag(std::intptr_t tag) { Tag = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[static_cast<std::size_t>(index)]; }
  int ComponentIndex() const;
  // Case-insensitive, among the components this one owns; nullptr when there is none.
  TComponent* FindComponent(const std::string& name) const;

  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentState s) const { return (state_ & s) != 0; }
  void SetState(TComponentState s) { state_ |= s; }
  void ClearState(TComponentState s) { state_ &= ~s; }

  // Asks to be told (through Notification) when `other` goes away, without owning it.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  // The layout reader tells a component which object encloses it in the layout (a control's
  // parent, a menu item's menu). Components that have no such notion ignore it.
  virtual void SetParentComponent(TComponent* parent) { (void)parent; }
  // Called after the whole layout of the owning form has been read; starts run-time behaviour.
  virtual void Loaded();
  // Marks this component and the ones it owns as being destroyed (before any is freed).
  void Destroying();

 protected:
  // `c` was added to (opInsert) or is being removed from (opRemove) the owner's list, or a
  // component this one watches is going away.
  virtual void Notification(TComponent* c, TOperation op);
  void DestroyComponents();

 private:
  TComponent* owner_ = nullptr;
  std::string name_;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> notifiees_;
};

// Lower-case copy (ASCII only: names and identifiers are ASCII).
std::string LowerCase(std::string s);
bool SameText(const std::string& a, const std::string& b);

class TStrings : public TPersistent {
  DASKEL_CLASS(TStrings, TPersistent)
 public:
  virtual int Count() const = 0;
  virtual const std::string& Get(int index) const = 0;
  virtual void Put(int index, const std::string& s) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  const std::string& operator[](int index) const { return Get(index); }
  int Add(const std::string& s) {
    Insert(Count(), s);
    return Count() - 1;
  }
  int IndexOf(const std::string& s) const;  // case-insensitive
  void Assign(const TStrings& other);
  void AddStrings(const TStrings& other);
  // Lines joined with CR LF; setting splits on CR LF, LF or CR.
  std::string Text() const;
  void SetText(const std::string& text);
  // "Name=Value" helpers.
  std::string Values(const std::string& name) const;
  std::string Names(int index) const;

  // Called once per change while no BeginUpdate is open.
  TNotifyEvent OnChange;
  void BeginUpdate() { ++updates_; }
  void EndUpdate();

 protected:
  void Changed();

 private:
  int updates_ = 0;
  bool pending_ = false;
};

class TStringList : public TStrings {
  DASKEL_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> items) : items_(items) {}
  int Count() const override { return static_cast<int>(items_.size()); }
  const std::string& Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

 private:
  std::vector<std::string> items_;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TMemoryStream : public TObject {
  DASKEL_CLASS(TMemoryStream, TObject)
 public:
  TMemoryStream() = default;
  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return pos_; }
  void SetPosition(std::size_t p) { pos_ = p < data_.size() ? p : data_.size(); }
  std::size_t Seek(std::ptrdiff_t offset, TSeekOrigin origin);
  // Reads up to `count` bytes; returns how many were read.
  std::size_t Read(void* buffer, std::size_t count);
  void Write(const void* buffer, std::size_t count);
  void Clear() {
    data_.clear();
    pos_ = 0;
  }
  const std::uint8_t* Memory() const { return data_.data(); }
  std::uint8_t* Memory() { return data_.data(); }
  void SetSize(std::size_t n) {
    data_.resize(n);
    if (pos_ > n) pos_ = n;
  }
  void LoadFromBytes(const std::string& bytes) {
    data_.assign(bytes.begin(), bytes.end());
    pos_ = 0;
  }
  std::string Bytes() const { return std::string(data_.begin(), data_.end()); }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// Fills a class description; used inside DASKEL_DEFINE_CLASS bodies as `c`.
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  template <class V, class G, class S>
  void Int(const char* name, V (G::*get)() const, void (S::*set)(V),
           bool (*idents)(const std::string&, long long*) = nullptr) {
    TPropInfo p = Ordinal(name, pkInteger, get, set);
    p.IdentToInt = idents;
    info_.Props.push_back(std::move(p));
  }
  template <class V, class G, class S>
  void Color(const char* name, V (G::*get)() const, void (S::*set)(V)) {
    Int(name, get, set, &ColorIdentToInt);
  }
  template <class G, class S>
  void Bool(const char* name, bool (G::*get)() const, void (S::*set)(bool)) {
    static const std::vector<std::string> names{"False", "True"};
    TPropInfo p = Ordinal(name, pkBoolean, get, set);
    p.Names = &names;
    info_.Props.push_back(std::move(p));
  }
  template <class E, class G, class S>
  void Enum(const char* name, E (G::*get)() const, void (S::*set)(E), const std::vector<std::string>& names) {
    TPropInfo p = Ordinal(name, pkEnum, get, set);
    p.Names = &names;
    info_.Props.push_back(std::move(p));
  }
  template <class V, class G, class S>
  void Set(const char* name, V (G::*get)() const, void (S::*set)(V), const std::vector<std::string>& names) {
    TPropInfo p = Ordinal(name, pkSet, get, set);
    p.Names = &names;
    info_.Props.push_back(std::move(p));
  }
  template <class R, class A, class G, class S>
  void String(const char* name, R (G::*get)() const, void (S::*set)(A)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkString;
    p.GetStr = [get](TObject* o) { return std::string((static_cast<T*>(o)->*get)()); };
    p.SetStr = [set](TObject* o, const std::string& v) { (static_cast<T*>(o)->*set)(v); };
    info_.Props.push_back(std::move(p));
  }
  template <class L, class G>
  void Strings(const char* name, L* (G::*get)()) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkStrings;
    p.GetStrings = [get](TObject* o) -> TStrings* { return (static_cast<T*>(o)->*get)(); };
    info_.Props.push_back(std::move(p));
  }
  template <class O, class G>
  void Object(const char* name, O* (G::*get)()) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkObject;
    p.GetObject = [get](TObject* o) -> TPersistent* { return (static_cast<T*>(o)->*get)(); };
    info_.Props.push_back(std::move(p));
  }
  // A binary property: `read` receives the stored bytes as a stream positioned at 0.
  template <class S>
  void Binary(const char* name, void (S::*read)(TMemoryStream&)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkBinary;
    p.SetStr = [read](TObject* o, const std::string& bytes) {
      TMemoryStream s;
      s.LoadFromBytes(bytes);
      (static_cast<T*>(o)->*read)(s);
    };
    info_.Props.push_back(std::move(p));
  }
  template <class M, class B>
  void Event(const char* name, M B::*member) {
    using Method = M;
    TPropInfo p;
    p.Name = name;
    p.Kind = pkEvent;
    p.SetEvent = [member](TObject* o, TObject* owner, const TMethodEntry& e) {
      const Method* code = std::any_cast<Method>(&e.Code);
      if (!code) return false;
      Method m = *code;
      m.Data = owner;
      static_cast<T*>(o)->*member = m;
      return true;
    };
    info_.Props.push_back(std::move(p));
  }
  template <class U, class S>
  void Component(const char* name, void (S::*set)(U*)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = pkComponent;
    p.SetComponent = [set](TObject* o, TComponent* c) {
      U* u = c ? dynamic_cast<U*>(c) : nullptr;
      if (c && !u) return false;
      (static_cast<T*>(o)->*set)(u);
      return true;
    };
    info_.Props.push_back(std::move(p));
  }
  template <class U>
  void Field(const char* name, U* T::*member) {
    TFieldEntry f;
    f.Name = name;
    f.Class = &U::StaticClass();
    f.Bind = [member](TObject* o, TComponent* c) {
      U* u = dynamic_cast<U*>(c);
      if (!u) return false;
      static_cast<T*>(o)->*member = u;
      return true;
    };
    info_.Fields.push_back(std::move(f));
  }
  template <class C, class... A>
  void Method(const char* name, void (C::*fn)(A...)) {
    static_assert(std::is_base_of_v<C, T>);
    TMethodEntry e;
    e.Name = name;
    e.Code = TMethod<A...>(static_cast<C*>(nullptr), fn);
    info_.Methods.push_back(std::move(e));
  }

 private:
  template <class V, class G, class S>
  static TPropInfo Ordinal(const char* name, TPropKind kind, V (G::*get)() const, void (S::*set)(V)) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.GetOrd = [get](TObject* o) { return static_cast<long long>((static_cast<T*>(o)->*get)()); };
    p.SetOrd = [set](TObject* o, long long v) { (static_cast<T*>(o)->*set)(static_cast<V>(v)); };
    return p;
  }
  TClassInfo& info_;
};

template <class T>
const TClassInfo& MakeClassInfo(const char* name, const TClassInfo* parent,
                                void (*define)(TClassBuilder<T>&)) {
  auto* info = new TClassInfo;  // lives as long as the program: classes are never unregistered
  info->Name = name;
  info->Parent = parent;
  if constexpr (std::is_constructible_v<T, TComponent*> && !std::is_abstract_v<T>) {
    info->Create = [](TComponent* owner) -> TComponent* { return new T(owner); };
  }
  RegisterClassInfo(info);
  TClassBuilder<T> builder(*info);
  define(builder);
  return *info;
}
