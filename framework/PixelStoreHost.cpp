#include <new>
#include <vector>

#include "framework/PixelStore.h"

namespace {
class HostPixelStore final : public TPixelStore {
 public:
  HostPixelStore(int w, int h, int bpp) : TPixelStore(w, h, bpp) {
    bits_.resize(static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(h));
  }
  std::uint8_t* Bits() override { return bits_.data(); }

 private:
  std::vector<std::uint8_t> bits_;
};
}  // namespace

std::unique_ptr<TPixelStore> CreatePixelStore(int width, int height, int bpp) {
  try {
    return std::make_unique<HostPixelStore>(width, height, bpp);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
