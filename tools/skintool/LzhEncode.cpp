#include "tools/skintool/LzhEncode.h"

#include <memory>

#include "skin/data/Lzh.h"
#include "skin/data/LzhTree.h"

namespace {

using namespace lzh;
constexpr int NIL = N;  // "no node" in the search trees

class TEncoder {
 public:
  TEncoder(const std::uint8_t* in, std::size_t size, std::vector<std::uint8_t>& out)
      : in_(in), inEnd_(in + size), out_(out) {
    // The code tables for the upper 6 position bits follow from the decoding tables.
    for (int i = 255; i >= 0; --i) {
      pCode_[DCode[i]] = static_cast<std::uint8_t>(i);
      pLen_[DCode[i]] = DLen[i];
    }
  }

  void Run() {
    tree_.Start();
    InitTree();
    int s = 0, r = N - F;
    for (int i = 0; i < r; ++i) text_[i] = ' ';
    int len = 0;
    for (; len < F && in_ < inEnd_; ++len) text_[r + len] = *in_++;
    for (int i = 1; i <= F; ++i) InsertNode(r - i);
    InsertNode(r);
    do {
      if (matchLength_ > len) matchLength_ = len;
      if (matchLength_ <= THRESHOLD) {
        matchLength_ = 1;
        EncodeChar(text_[r]);
      } else {
        EncodeChar(static_cast<unsigned>(255 - THRESHOLD + matchLength_));
        EncodePosition(static_cast<unsigned>(matchPosition_));
      }
      int last = matchLength_;
      int i = 0;
      for (; i < last && in_ < inEnd_; ++i) {
        std::uint8_t c = *in_++;
        DeleteNode(s);
        text_[s] = c;
        if (s < F - 1) text_[s + N] = c;
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        InsertNode(r);
      }
      while (i++ < last) {
        DeleteNode(s);
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        if (--len) InsertNode(r);
      }
    } while (len > 0);
    if (putLen_) out_.push_back(static_cast<std::uint8_t>(putBuf_ >> 24));
  }

 private:
  void InitTree() {
    for (int i = N + 1; i <= N + 256; ++i) rson_[i] = NIL;
    for (int i = 0; i < N; ++i) dad_[i] = NIL;
  }

  // Inserts the string at r into the trees and records the longest (then nearest) match.
  void InsertNode(int r) {
    int cmp = 1;
    const std::uint8_t* key = &text_[r];
    int p = N + 1 + key[0];
    rson_[r] = lson_[r] = NIL;
    matchLength_ = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson_[p] != NIL) {
          p = rson_[p];
        } else {
          rson_[p] = r;
          dad_[r] = p;
          return;
        }
      } else {
        if (lson_[p] != NIL) {
          p = lson_[p];
        } else {
          lson_[p] = r;
          dad_[r] = p;
          return;
        }
      }
      int i = 1;
      for (; i < F; ++i)
        if ((cmp = key[i] - text_[p + i]) != 0) break;
      if (i > THRESHOLD) {
        int position = ((r - p) & (N - 1)) - 1;
        if (i > matchLength_) {
          matchPosition_ = position;
          if ((matchLength_ = i) >= F) break;
        } else if (i == matchLength_ && position < matchPosition_) {
          matchPosition_ = position;
        }
      }
    }
    // A full-length match: r replaces p in the tree.
    dad_[r] = dad_[p];
    lson_[r] = lson_[p];
    rson_[r] = rson_[p];
    dad_[lson_[p]] = r;
    dad_[rson_[p]] = r;
    if (rson_[dad_[p]] == p)
      rson_[dad_[p]] = r;
    else
      lson_[dad_[p]] = r;
    dad_[p] = NIL;
  }

  void DeleteNode(int p) {
    if (dad_[p] == NIL) return;
    int q;
    if (rson_[p] == NIL) {
      q = lson_[p];
    } else if (lson_[p] == NIL) {
      q = rson_[p];
    } else {
      q = lson_[p];
      if (rson_[q] != NIL) {
        do q = rson_[q];
        while (rson_[q] != NIL);
        rson_[dad_[q]] = lson_[q];
        dad_[lson_[q]] = dad_[q];
        lson_[q] = lson_[p];
        dad_[lson_[p]] = q;
      }
      rson_[q] = rson_[p];
      dad_[rson_[p]] = q;
    }
    dad_[q] = dad_[p];
    if (rson_[dad_[p]] == p)
      rson_[dad_[p]] = q;
    else
      lson_[dad_[p]] = q;
    dad_[p] = NIL;
  }

  // Appends the top `bits` bits of code (left-aligned in 32 bits), most significant first.
  void PutCode(int bits, std::uint32_t code) {
    for (int b = 0; b < bits; ++b) {
      if (code & (0x80000000u >> b)) putBuf_ |= 0x80000000u >> putLen_;
      if (++putLen_ == 8) {
        out_.push_back(static_cast<std::uint8_t>(putBuf_ >> 24));
        putBuf_ = 0;
        putLen_ = 0;
      }
    }
  }

  // The code of a symbol is its path from the root: walk up from the leaf collecting the
  // sides. Kept in a wide accumulator, so deep trees cannot overflow it.
  void EncodeChar(unsigned c) {
    std::uint64_t path = 0;
    int depth = 0;
    unsigned k = tree_.prnt[c + T];
    do {
      path |= static_cast<std::uint64_t>(k & 1) << depth;
      ++depth;
      k = tree_.prnt[k];
    } while (k != R);
    for (int b = depth - 1; b >= 0; --b) PutCode(1, static_cast<std::uint32_t>((path >> b) & 1) << 31);
    tree_.Update(c);
  }

  void EncodePosition(unsigned c) {
    unsigned upper = c >> 6;
    PutCode(pLen_[upper], static_cast<std::uint32_t>(pCode_[upper]) << 24);
    PutCode(6, static_cast<std::uint32_t>(c & 0x3F) << 26);
  }

  const std::uint8_t* in_;
  const std::uint8_t* inEnd_;
  std::vector<std::uint8_t>& out_;
  THuffTree tree_;
  std::uint8_t pCode_[64] = {}, pLen_[64] = {};
  std::uint8_t text_[N + F - 1] = {};
  int lson_[N + 1] = {}, rson_[N + 257] = {}, dad_[N + 1] = {};
  int matchPosition_ = 0, matchLength_ = 0;
  std::uint32_t putBuf_ = 0;
  int putLen_ = 0;
};

}  // namespace

void LzhEncodeStored(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
  AppendLE32(out, static_cast<std::int32_t>(size));
  if (size == 0) return;
  auto encoder = std::make_unique<TEncoder>(data, size, out);
  encoder->Run();
}
