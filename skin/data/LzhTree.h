// The adaptive Huffman tree of LZHUF and its fixed position tables. The decoder uses it to read
// literals and match lengths; skintool's encoder uses the very same tree so both sides stay in
// step symbol for symbol.
#pragma once

#include <cstdint>
#include <cstring>

namespace lzh {

constexpr int N = 4096;                      // ring buffer (dictionary) size
constexpr int F = 60;                        // longest match
constexpr int THRESHOLD = 2;                 // a match is coded only when longer than this
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 leaf symbols: literals + lengths 3..60
constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
constexpr int R = T - 1;                     // root
constexpr unsigned MAX_FREQ = 0x8000;        // the tree is rebuilt when the root reaches this
constexpr int kInitialSpaces = N - F;        // ring bytes filled with blanks before decoding

// Position decoding: the first byte read gives the upper 6 bits of a position (DCode) and how
// many bits its code has in total (DLen).
extern const std::uint8_t DCode[256];
extern const std::uint8_t DLen[256];

struct THuffTree {
  // 32-bit entries measured faster than 16-bit ones in the update loop; the tables still fit
  // the first-level cache.
  using TNode = std::uint32_t;
  TNode freq[T + 1];       // the last entry is a sentinel above any real frequency
  TNode prnt[T + N_CHAR];  // entries T.. give the leaf of each symbol
  TNode son[T];            // a value >= T is a leaf for symbol value - T

  void Start() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq[i] = 1;
      son[i] = static_cast<TNode>(i + T);
      prnt[i + T] = static_cast<TNode>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq[j] = static_cast<TNode>(freq[i] + freq[i + 1]);
      son[j] = static_cast<TNode>(i);
      prnt[i] = prnt[i + 1] = static_cast<TNode>(j);
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }

  // Halves every frequency and builds the tree again from the leaves.
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        freq[j] = static_cast<TNode>((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    }
    for (int i = 0, j2 = N_CHAR; j2 < T; i += 2, ++j2) {
      unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
      freq[j2] = static_cast<TNode>(f);
      int k = j2 - 1;
      while (f < freq[k]) --k;
      ++k;
      std::size_t n = static_cast<std::size_t>(j2 - k);
      std::memmove(&freq[k + 1], &freq[k], n * sizeof freq[0]);
      freq[k] = static_cast<TNode>(f);
      std::memmove(&son[k + 1], &son[k], n * sizeof son[0]);
      son[k] = static_cast<TNode>(i);
    }
    for (int i = 0; i < T; ++i) {
      unsigned k = son[i];
      if (k >= static_cast<unsigned>(T)) {
        prnt[k] = static_cast<TNode>(i);
      } else {
        prnt[k] = prnt[k + 1] = static_cast<TNode>(i);
      }
    }
  }

  // Counts one more occurrence of symbol c and restores the sibling order.
  void Update(unsigned c) {
    if (freq[R] == MAX_FREQ) Rebuild();
    c = prnt[c + T];
    do {
      unsigned k = ++freq[c];
      unsigned l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {
        }
        --l;
        freq[c] = freq[l];
        freq[l] = static_cast<TNode>(k);

        unsigned i = son[c];
        prnt[i] = static_cast<TNode>(l);
        if (i < static_cast<unsigned>(T)) prnt[i + 1] = static_cast<TNode>(l);

        unsigned j = son[l];
        son[l] = static_cast<TNode>(i);
        prnt[j] = static_cast<TNode>(c);
        if (j < static_cast<unsigned>(T)) prnt[j + 1] = static_cast<TNode>(c);
        son[c] = static_cast<TNode>(j);
        c = l;
      }
      c = prnt[c];
    } while (c != 0);
  }
};

}  // namespace lzh
