// LZHUF decompression of skin packages: LZSS over a 4096-byte ring with an adaptive Huffman
// code for literals and match lengths. Only decoding lives here; the program never compresses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// A decode that goes only as far as it is asked: the bytes before a point can be read while the
// rest is still compressed. It reads the bit stream in place, so the input must outlive it.
class TLzhStream {
 public:
  // Prepares to decode `declared` bytes (none for 0 or less) from in[0, size). Throws
  // ElzhException when the memory cannot be had.
  TLzhStream(std::int32_t declared, const std::uint8_t* in, std::size_t size);
  ~TLzhStream();
  TLzhStream(const TLzhStream&) = delete;
  TLzhStream& operator=(const TLzhStream&) = delete;

  // Decodes until at least min(n, declared) bytes have come out; the last match is copied in
  // full, so up to 59 bytes more than declared may come out at the end.
  void DecodeTo(std::size_t n);
  std::size_t Decoded() const { return static_cast<std::size_t>(w_); }
  std::size_t Declared() const { return declared_; }
  // The bytes decoded so far (Decoded() of them); the pointer stays valid for the stream's life.
  const std::uint8_t* Data() const;

 private:
  struct TState;
  std::unique_ptr<TState> state_;
  std::size_t declared_ = 0;
  std::ptrdiff_t w_ = 0;
};

class TLZH {
 public:
  // Decodes the bit stream in[0, size) until at least `declared` bytes have been produced and
  // appends them to `out`. A declared length of 0 or less produces nothing. Input that ends
  // early reads as zero bits. The last match is always copied in full, so up to 59 bytes more
  // than declared may come out. Throws ElzhException when the memory cannot be had.
  static void Unpack(std::int32_t declared, const std::uint8_t* in, std::size_t size,
                     std::vector<std::uint8_t>& out);
};

// Opens a stored blob (a 4-byte little-endian declared length, then the bit stream) for a
// decode as far as asked; null (with a reason) where LzhDecodeStored would refuse it. data must
// outlive the stream.
std::unique_ptr<TLzhStream> LzhOpenStored(const std::uint8_t* data, std::size_t size,
                                          std::string* error = nullptr,
                                          std::int32_t maxLength = kLzhMaxDecodedLength);

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
