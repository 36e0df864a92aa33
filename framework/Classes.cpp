#include "framework/Classes.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

#include "framework/Color.h"

std::string LowerCase(std::string s) {
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return s;
}

bool SameText(const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); }

// ---- class descriptions

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
  // Never freed: components freed by static destructors at exit still use it.
  static auto* registry = new std::map<std::string, const TClassInfo*>;
  return *registry;
}
}  // namespace

void RegisterClassInfo(const TClassInfo* info) { Registry()[LowerCase(info->Name)] = info; }

const TClassInfo* FindClass(const std::string& name) {
  auto it = Registry().find(LowerCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == &other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (SameText(c->Name, name)) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TPropInfo& p : c->Props)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const TMethodEntry& m : c->Methods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TPropInfo* GetPropInfo(TObject* obj, const std::string& name) {
  return obj ? obj->ClassType().FindProp(name) : nullptr;
}

std::string GetEnumProp(TObject* obj, const std::string& name) {
  const TPropInfo* p = GetPropInfo(obj, name);
  if (!p || !p->IsEnumeration()) return "";
  long long v = p->GetOrd(obj);
  if (v < 0 || v >= static_cast<long long>(p->Names->size())) return "";
  return (*p->Names)[static_cast<std::size_t>(v)];
}

bool SetEnumProp(TObject* obj, const std::string& name, const std::string& value) {
  const TPropInfo* p = GetPropInfo(obj, name);
  if (!p || !p->IsEnumeration()) return false;
  for (std::size_t i = 0; i < p->Names->size(); ++i) {
    if (SameText((*p->Names)[i], value)) {
      p->SetOrd(obj, static_cast<long long>(i));
      return true;
    }
  }
  return false;
}

bool ColorIdentToInt(const std::string& ident, long long* value) {
  static const std::pair<const char*, TColor> colors[] = {
      {"clBlack", clBlack},
      {"clMaroon", clMaroon},
      {"clGreen", clGreen},
      {"clNavy", clNavy},
      {"clRed", clRed},
      {"clBlue", clBlue},
      {"clWhite", clWhite},
      {"clFuchsia", clFuchsia},
      {"clGray", clGray},
      {"clSilver", clSilver},
      {"clNone", clNone},
      {"clDefault", clDefault},
      {"clScrollBar", clScrollBar},
      {"clBackground", clBackground},
      {"clActiveCaption", clActiveCaption},
      {"clInactiveCaption", clInactiveCaption},
      {"clMenu", clMenu},
      {"clWindow", clWindow},
      {"clWindowFrame", clWindowFrame},
      {"clMenuText", clMenuText},
      {"clWindowText", clWindowText},
      {"clCaptionText", clCaptionText},
      {"clHighlight", clHighlight},
      {"clHighlightText", clHighlightText},
      {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow},
      {"clGrayText", clGrayText},
      {"clBtnText", clBtnText},
      {"clBtnHighlight", clBtnHighlight},
      {"cl3DDkShadow", cl3DDkShadow},
      {"cl3DLight", cl3DLight},
      {"clInfoText", clInfoText},
      {"clInfoBk", clInfoBk},
      {"clHotLight", SystemColor(26)},
      {"clMenuHighlight", SystemColor(29)},
      {"clMenuBar", SystemColor(30)},
  };
  for (const auto& [name, color] : colors) {
    if (SameText(name, ident)) {
      *value = color;
      return true;
    }
  }
  return false;
}

// ---- objects and components

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo& info = [] {
    auto* i = new TClassInfo;
    i->Name = "TObject";
    RegisterClassInfo(i);
    return std::ref(*i);
  }();
  return info;
}

DASKEL_DEFINE_CLASS(TPersistent, TObject) {}

DASKEL_DEFINE_CLASS(TComponent, TPersistent) {
  c.String("Name", &TComponent::Name, &TComponent::SetName);
  c.Int("Tag", &TComponent::GetTag, &TComponent::SetTag);
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell those that watch this one while it is still a whole component of this class.
  std::vector<TComponent*> watchers;
  watchers.swap(notifiees_);
  for (TComponent* w : watchers) {
    auto& back = w->notifiees_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    w->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) { name_ = name; }

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(other->notifiees_.begin(), other->notifiees_.end(), this) == other->notifiees_.end())
    other->notifiees_.push_back(this);
  // Both directions: whichever goes first tells the other.
  if (std::find(notifiees_.begin(), notifiees_.end(), other) == notifiees_.end()) notifiees_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  other->notifiees_.erase(std::remove(other->notifiees_.begin(), other->notifiees_.end(), this),
                          other->notifiees_.end());
  notifiees_.erase(std::remove(notifiees_.begin(), notifiees_.end(), other), notifiees_.end());
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it == components_.end()) return;
  Notification(c, opRemove);
  // The notification may have changed the list; look again.
  it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

void TComponent::Notification(TComponent* c, TOperation op) {
  if (op == opRemove)
    notifiees_.erase(std::remove(notifiees_.begin(), notifiees_.end(), c), notifiees_.end());
}

void TComponent::DestroyComponents() {
  // Newest first: later components may refer to earlier ones, never the other way round.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::Loaded() { ClearState(csLoading); }

void TComponent::Destroying() {
  if (HasState(csDestroying)) return;
  SetState(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

// ---- string lists

DASKEL_DEFINE_CLASS(TStrings, TPersistent) {}
DASKEL_DEFINE_CLASS(TStringList, TStrings) {}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  BeginUpdate();
  Clear();
  AddStrings(other);
  EndUpdate();
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  for (int i = 0; i < other.Count(); ++i) Add(other.Get(i));
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) out += Get(i) + "\r\n";
  return out;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  Clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  EndUpdate();
}

std::string TStrings::Names(int index) const {
  const std::string& s = Get(index);
  std::size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Names(i), name)) return Get(i).substr(Get(i).find('=') + 1);
  return "";
}

void TStrings::EndUpdate() {
  if (updates_ > 0) --updates_;
  if (updates_ == 0 && pending_) {
    pending_ = false;
    OnChange(this);
  }
}

void TStrings::Changed() {
  if (updates_ > 0) {
    pending_ = true;
    return;
  }
  OnChange(this);
}

const std::string& TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("list index out of bounds");
  return items_[static_cast<std::size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
  if (index < 0 || index >= Count()) throw std::out_of_range("list index out of bounds");
  items_[static_cast<std::size_t>(index)] = s;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) throw std::out_of_range("list index out of bounds");
  items_.insert(items_.begin() + index, s);
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("list index out of bounds");
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

// ---- memory streams

DASKEL_DEFINE_CLASS(TMemoryStream, TObject) {}

std::size_t TMemoryStream::Seek(std::ptrdiff_t offset, TSeekOrigin origin) {
  std::ptrdiff_t base = origin == soBeginning ? 0
                        : origin == soCurrent ? static_cast<std::ptrdiff_t>(pos_)
                                              : static_cast<std::ptrdiff_t>(data_.size());
  std::ptrdiff_t p = base + offset;
  if (p < 0) p = 0;
  SetPosition(static_cast<std::size_t>(p));
  return pos_;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  std::size_t n = std::min(count, data_.size() - pos_);
  if (n) std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (!count) return;
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  std::memcpy(data_.data() + pos_, buffer, count);
  pos_ += count;
}
