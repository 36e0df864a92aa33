// Placeholder until the BMP codec lands: loading fails cleanly.
#include "framework/Bitmap.h"

bool TBitmap::LoadFromBmp(const std::uint8_t*, std::size_t, std::string* error) {
  Clear();
  if (error) *error = "BMP decoding is not available";
  return false;
}

std::string TBitmap::SaveToBmp() const { return {}; }
