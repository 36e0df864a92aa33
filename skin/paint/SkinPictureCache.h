// A picture a control skinner composed from skin images, kept between paints for as long as
// everything it was made from (the state's frame, the size, the image, the colours) stays the
// same: repainting a control in an unchanged state is then one copy to the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <list>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "framework/Bitmap.h"

// What a picture was made from, as a run of values: numbers, and texts as their characters
// (each text preceded by its length, so that two texts cannot run into each other).
inline std::size_t PixelBytes(const TBitmap& b) {
  return static_cast<std::size_t>(b.Width()) * static_cast<std::size_t>(b.Height()) *
         static_cast<std::size_t>(b.BytesPerPixel());
}

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
  // Pixel bytes held.
  std::size_t Bytes() const { return PixelBytes(picture_); }
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

// Many pictures by key, for a skinner whose parts come and go in many looks (a menu's items, in
// every menu the program opens): the least recently used goes beyond a bound. The windows of
// every thread may share one.
class TPictureShelf {
 public:
  explicit TPictureShelf(std::size_t most) : most_(most) {}
  // Shows the picture kept for key in out (without copying its pixels); false when none is kept.
  // A picture found becomes the most recently used.
  bool Find(const TPictureKey& key, TBitmap& out) {
    std::lock_guard<std::mutex> lock(lock_);
    for (auto it = pictures_.begin(); it != pictures_.end(); ++it)
      if (it->first == key) {
        pictures_.splice(pictures_.begin(), pictures_, it);
        out.Share(pictures_.front().second);
        return true;
      }
    return false;
  }
  void Keep(TPictureKey key, const TBitmap& picture) {
    std::lock_guard<std::mutex> lock(lock_);
    if (most_ == 0) return;
    if (pictures_.size() >= most_) pictures_.pop_back();
    pictures_.emplace_front(std::move(key), TBitmap());
    pictures_.front().second.Share(picture);
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(lock_);
    pictures_.clear();
  }
  // Pixel bytes held.
  std::size_t Bytes() const {
    std::lock_guard<std::mutex> lock(lock_);
    std::size_t n = 0;
    for (const auto& p : pictures_) n += PixelBytes(p.second);
    return n;
  }

 private:
  std::size_t most_;
  mutable std::mutex lock_;
  std::list<std::pair<TPictureKey, TBitmap>> pictures_;
};

// The parts of a key that name an image: its pixels' address and its size.
inline std::intptr_t ImageId(const TBitmap& b) {
  return reinterpret_cast<std::intptr_t>(b.Store()) ^ (static_cast<std::intptr_t>(b.Width()) << 20) ^
         b.Height();
}
