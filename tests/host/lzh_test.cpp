// LZH decoder: round trips through skintool's encoder, the published decoder's corner cases,
// and a differential check against the plain transcription kept in bench/.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/LzhBaseline.h"
#include "skin/data/Lzh.h"
#include "skin/data/LzhTree.h"
#include "tools/skintool/LzhEncode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Pack(const Bytes& data) {
  Bytes out;
  LzhEncodeStored(data.data(), data.size(), out);
  return out;
}

Bytes Unpack(const Bytes& stored) {
  Bytes out;
  std::string error;
  EXPECT_TRUE(LzhDecodeStored(stored.data(), stored.size(), out, &error)) << error;
  return out;
}

Bytes Random(std::size_t n, unsigned seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng() % alphabet);
  return b;
}

// Text-like data with repeats near and far, runs and noise: exercises every match length and
// distance class.
Bytes Structured(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    switch (rng() % 4) {
      case 0:
        b.insert(b.end(), 1 + rng() % 80, static_cast<std::uint8_t>(rng()));
        break;
      case 1:
        if (b.size() > 10) {
          std::size_t dist = 1 + rng() % std::min<std::size_t>(b.size(), 5000);
          std::size_t len = 1 + rng() % 100;
          for (std::size_t k = 0; k < len; ++k) b.push_back(b[b.size() - dist]);
        }
        break;
      default:
        for (int k = 0, m = 1 + rng() % 20; k < m; ++k) b.push_back(static_cast<std::uint8_t>(rng()));
    }
  }
  b.resize(n);
  return b;
}

TEST(Lzh, RoundTripsEveryKindOfInputAndLength) {
  for (std::size_t n : {0u, 1u, 2u, 3u, 59u, 60u, 61u, 4095u, 4096u, 4097u, 70000u}) {
    for (unsigned seed : {1u, 2u}) {
      Bytes r = Random(n, seed), s = Structured(n, seed), few = Random(n, seed, 3);
      EXPECT_EQ(Unpack(Pack(r)), r) << "random " << n;
      EXPECT_EQ(Unpack(Pack(s)), s) << "structured " << n;
      EXPECT_EQ(Unpack(Pack(few)), few) << "3 symbols " << n;
    }
  }
  // Lengths that end inside what would be a long match: the last match is cut to fit.
  for (std::size_t n = 100; n < 260; n += 7) {
    Bytes zeros(n, 0);
    EXPECT_EQ(Unpack(Pack(zeros)), zeros) << n;
  }
}

TEST(Lzh, MatchesReachIntoTheInitialBlanks) {
  Bytes blanks(200, ' ');
  blanks.push_back('x');
  Bytes stored = Pack(blanks);
  EXPECT_LT(stored.size(), 20u);  // coded as matches into the blank-filled ring, not as literals
  EXPECT_EQ(Unpack(stored), blanks);
}

TEST(Lzh, DeclaredLengthZeroOrNegativeGivesNothing) {
  Bytes stored = Pack(Random(100, 3));
  for (std::int32_t len : {0, -1, INT32_MIN}) {
    for (int i = 0; i < 4; ++i)
      stored[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(len) >> (8 * i));
    EXPECT_TRUE(Unpack(stored).empty());
  }
  Bytes out;
  TLZH::Unpack(5, nullptr, 0, out);  // no input at all: zero bits, still 5 bytes
  EXPECT_GE(out.size(), 5u);
}

TEST(Lzh, ADecodeInStepsGivesTheBytesOfOneGo) {
  Bytes data = Structured(50000, 7), stored = Pack(data);
  auto stream = LzhOpenStored(stored.data(), stored.size());
  ASSERT_TRUE(stream);
  for (std::size_t n : {1u, 2u, 100u, 4095u, 4097u, 20000u, 20001u, 49999u}) {
    stream->DecodeTo(n);
    ASSERT_GE(stream->Decoded(), n);
    ASSERT_LE(stream->Decoded(), n + lzh::F);  // no further than the match that reached n
  }
  stream->DecodeTo(data.size());
  ASSERT_GE(stream->Decoded(), data.size());
  EXPECT_EQ(Bytes(stream->Data(), stream->Data() + data.size()), data);
}

TEST(Lzh, EarlyEndReadsAsZeroBitsAndStillReachesTheLength) {
  Bytes data = Structured(20000, 4);
  Bytes stored = Pack(data);
  stored.resize(stored.size() / 2);
  Bytes out = Unpack(stored);
  ASSERT_GE(out.size(), data.size());
  EXPECT_LE(out.size(), data.size() + 59);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, out.begin()));  // the intact part decodes
  EXPECT_EQ(out, baseline::DecodeStored(stored.data(), stored.size()));
}

TEST(Lzh, FinalMatchIsCopiedInFullPastTheDeclaredLength) {
  Bytes stored = Pack(Bytes(3, ' '));  // one match of length 3 into the blanks
  stored[0] = 1;
  Bytes out = Unpack(stored);
  EXPECT_EQ(out, Bytes(3, ' '));
}

TEST(Lzh, DeclaredLengthAboveTheLimitIsRefusedBeforeDecoding) {
  Bytes stored = {0x00, 0x00, 0x00, 0x10, 0xAB};  // 256 MiB from five bytes
  Bytes out{1, 2};
  std::string error;
  EXPECT_FALSE(LzhDecodeStored(stored.data(), stored.size(), out, &error));
  EXPECT_TRUE(out.empty());
  EXPECT_NE(error.find("limit"), std::string::npos);
  EXPECT_FALSE(LzhDecodeStored(stored.data(), 3, out, &error));  // shorter than the length field
  stored = {0x10, 0x27, 0, 0};                                   // 10000 with a limit of 5000
  EXPECT_FALSE(LzhDecodeStored(stored.data(), stored.size(), out, &error, 5000));
}

// Random bit streams drive the decoder through every symbol, position and tree shape; more than
// 0x8000 symbols cross several tree rebuilds. Output must equal the plain transcription's.
TEST(Lzh, AgreesWithThePlainTranscriptionOnArbitraryStreams) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    Bytes stored = Random(30000, seed);
    std::int32_t len = 150000 + static_cast<std::int32_t>(seed) * 977;
    for (int i = 0; i < 4; ++i) stored[i] = static_cast<std::uint8_t>(len >> (8 * i));
    Bytes fast = Unpack(stored);
    EXPECT_GE(fast.size(), static_cast<std::size_t>(len));
    EXPECT_EQ(fast, baseline::DecodeStored(stored.data(), stored.size())) << seed;
  }
  Bytes data = Random(100000, 9);  // literals only: 100000 root updates, three rebuilds
  Bytes stored = Pack(data);
  EXPECT_EQ(Unpack(stored), data);
  EXPECT_EQ(baseline::DecodeStored(stored.data(), stored.size()), data);
}

// The sibling property the adaptive code depends on: frequencies never decrease along the node
// order, every internal node is the sum of its two children, and parents and sons agree.
void ExpectSoundTree(const lzh::THuffTree& t) {
  using namespace lzh;
  for (int i = 0; i + 1 < T; ++i) ASSERT_LE(t.freq[i], t.freq[i + 1]) << i;
  for (int i = 0; i < T; ++i) {
    unsigned s = t.son[i];
    if (s >= static_cast<unsigned>(T)) {
      ASSERT_EQ(t.prnt[s], i);
    } else {
      ASSERT_EQ(t.freq[i], t.freq[s] + t.freq[s + 1]) << i;
      ASSERT_EQ(t.prnt[s], i);
      ASSERT_EQ(t.prnt[s + 1], i);
    }
  }
}

TEST(Lzh, TreeIsRebuiltWhenTheRootReachesTheLimitAndStaysSound) {
  auto tree = std::make_unique<lzh::THuffTree>();
  tree->Start();
  ExpectSoundTree(*tree);
  EXPECT_EQ(tree->freq[lzh::R], lzh::N_CHAR);
  std::mt19937 rng(5);
  // Skewed symbols, so the rebuild has real reordering to do.
  auto symbol = [&] { return rng() % 4 ? rng() % 20 : rng() % lzh::N_CHAR; };
  while (tree->freq[lzh::R] < lzh::MAX_FREQ) tree->Update(symbol());
  EXPECT_EQ(tree->freq[lzh::R], lzh::MAX_FREQ);  // exactly 0x8000 - 314 updates so far
  ExpectSoundTree(*tree);
  tree->Update(symbol());  // rebuilt first, then counted
  EXPECT_LT(tree->freq[lzh::R], lzh::MAX_FREQ / 2 + lzh::N_CHAR);
  ExpectSoundTree(*tree);
  for (int i = 0; i < 200000; ++i) tree->Update(symbol());
  ExpectSoundTree(*tree);
}

}  // namespace
