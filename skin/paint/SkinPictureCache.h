// A picture a control skinner composed from skin images, kept between paints for as long as
// everything it was made from (the state's frame, the size, the image, the colours) stays the
// same: repainting a control in an unchanged state is then one copy to the screen.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/Bitmap.h"

// What a picture was made from, as a run of values: numbers, and texts as their characters
// (each text preceded by its length, so that two texts cannot run into each other).
class TPictureKey {
 public:
  TPictureKey() = default;
  TPictureKey(std::initializer_list<std::intptr_t> values) : values_(values) {}
  TPictureKey& Add(std::intptr_t value) {
    values_.push_back(value);
    return *this;
  }
  TPictureKey& Add(const std::wstring& text) {
    values_.push_back(static_cast<std::intptr_t>(text.size()));
    values_.insert(values_.end(), text.begin(), text.end());
    return *this;
  }
  bool operator==(const TPictureKey& other) const { return values_ == other.values_; }

 private:
  std::vector<std::intptr_t> values_;
};

class TPictureCache {
 public:
  using TKey = TPictureKey;
  bool Holds(const TKey& key) const { return valid_ && key == key_; }
  // The picture to compose anew for key (its old contents are to be overwritten).
  TBitmap& Remake(const TKey& key) {
    key_ = key;
    valid_ = true;
    return picture_;
  }
  const TBitmap& Picture() const { return picture_; }
  // Forgets the key only: the next paint composes anew, in the bitmap it already has.
  void Forget() { valid_ = false; }
  void Clear() {
    valid_ = false;
    picture_.Clear();
  }

 private:
  TKey key_{};
  bool valid_ = false;
  TBitmap picture_;
};

// The parts of a key that name an image: its pixels' address and its size.
inline std::intptr_t ImageId(const TBitmap& b) {
  return reinterpret_cast<std::intptr_t>(b.Store()) ^ (static_cast<std::intptr_t>(b.Width()) << 20) ^
         b.Height();
}
