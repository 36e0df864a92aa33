// LZHUF decompression of skin packages: LZSS over a 4096-byte ring with an adaptive Huffman
// code for literals and match lengths. Only decoding lives here; the program never compresses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A declared length above this is refused before anything is decoded: a few bytes could
// otherwise ask for gigabytes.
constexpr std::int32_t kLzhMaxDecodedLength = 64 << 20;

class TLZH {
 public:
  // Decodes the bit stream in[0, size) until at least `declared` bytes have been produced and
  // appends them to `out`. A declared length of 0 or less produces nothing. Input that ends
  // early reads as zero bits. The last match is always copied in full, so up to 59 bytes more
  // than declared may come out. Throws ElzhException when the memory cannot be had.
  static void Unpack(std::int32_t declared, const std::uint8_t* in, std::size_t size,
                     std::vector<std::uint8_t>& out);
};

// Decodes a stored blob: a 4-byte little-endian declared length, then the bit stream. Returns
// false (with a reason) for a blob shorter than the length field or a declared length above
// maxLength; `out` then holds nothing.
bool LzhDecodeStored(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out,
                     std::string* error = nullptr, std::int32_t maxLength = kLzhMaxDecodedLength);

// Little-endian 32-bit reads and writes shared by the package code.
inline std::int32_t ReadLE32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 |
                                   static_cast<std::uint32_t>(p[3]) << 24);
}
inline void AppendLE32(std::vector<std::uint8_t>& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
