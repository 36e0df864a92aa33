// LZHUF compression for skintool: LZSS over a 4096-byte ring with binary search trees for
// matches and the adaptive Huffman code shared with the decoder. Only tools compress.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the stored form (4-byte little-endian length, then the bit stream) of data.
void LzhEncodeStored(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
