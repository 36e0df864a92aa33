// A picture a control skinner composed from skin images, kept between paints for as long as
// everything it was made from (the state's frame, the size, the image, the colours) stays the
// same: repainting a control in an unchanged state is then one copy to the screen.
#pragma once

#include <array>
#include <cstdint>

#include "framework/Bitmap.h"

class TPictureCache {
 public:
  using TKey = std::array<std::intptr_t, 8>;
  bool Holds(const TKey& key) const { return valid_ && key == key_; }
  // The picture to compose anew for key (its old contents are to be overwritten).
  TBitmap& Remake(const TKey& key) {
    key_ = key;
    valid_ = true;
    return picture_;
  }
  const TBitmap& Picture() const { return picture_; }
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
