#include "bench/LzhBaseline.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace baseline {
namespace {

constexpr int N = 4096, F = 60, THRESHOLD = 2, N_CHAR = 256 - THRESHOLD + F, T = N_CHAR * 2 - 1, R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

// The decoding tables written out by rule rather than copied, so this file stays independent.
struct TTables {
  std::uint8_t dCode[256], dLen[256];
  TTables() {
    int i = 0;
    auto run = [&](int codeFrom, int codeTo, int each, int len) {
      for (int c = codeFrom; c <= codeTo; ++c)
        for (int k = 0; k < each; ++k, ++i) {
          dCode[i] = static_cast<std::uint8_t>(c);
          dLen[i] = static_cast<std::uint8_t>(len);
        }
    };
    run(0, 0, 32, 3);
    run(1, 3, 16, 4);
    run(4, 11, 8, 5);
    run(12, 23, 4, 6);
    run(24, 47, 2, 7);
    run(48, 63, 1, 8);
  }
};
const TTables kTables;

class TLzhBaseline {
 public:
  TReadProc read;
  TWriteProc write;
  void* ctx;
  unsigned getbuf = 0, getlen = 0;
  std::uint8_t text[N + F - 1];
  unsigned freq[T + 1], prnt[T + N_CHAR], son[T];

  int GetBit() {
    while (getlen <= 8) {
      std::uint8_t b = 0;
      std::uint16_t got = 0;
      read(ctx, &b, 1, got);
      if (got == 0) b = 0;
      getbuf |= static_cast<unsigned>(b) << (8 - getlen);
      getlen += 8;
    }
    unsigned i = getbuf;
    getbuf = (getbuf << 1) & 0xFFFF;
    getlen--;
    return (i >> 15) & 1;
  }
  int GetByte() {
    while (getlen <= 8) {
      std::uint8_t b = 0;
      std::uint16_t got = 0;
      read(ctx, &b, 1, got);
      if (got == 0) b = 0;
      getbuf |= static_cast<unsigned>(b) << (8 - getlen);
      getlen += 8;
    }
    unsigned i = getbuf;
    getbuf = (getbuf << 8) & 0xFFFF;
    getlen -= 8;
    return (i >> 8) & 0xFF;
  }
  void StartHuff() {
    for (int i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    int i = 0, j = N_CHAR;
    while (j <= R) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
      i += 2;
      j++;
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }
  void Reconst() {
    int j = 0;
    for (int i = 0; i < T; i++)
      if (son[i] >= static_cast<unsigned>(T)) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        j++;
      }
    for (int i = 0, jj = N_CHAR; jj < T; i += 2, jj++) {
      unsigned f = freq[jj] = freq[i] + freq[i + 1];
      int k = jj - 1;
      while (f < freq[k]) k--;
      k++;
      for (int m = jj; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = i;
    }
    for (int i = 0; i < T; i++) {
      unsigned k = son[i];
      if (k >= static_cast<unsigned>(T))
        prnt[k] = i;
      else
        prnt[k] = prnt[k + 1] = i;
    }
  }
  void Update(int c) {
    if (freq[R] == MAX_FREQ) Reconst();
    c = prnt[c + T];
    do {
      unsigned k = ++freq[c];
      int l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {
        }
        l--;
        freq[c] = freq[l];
        freq[l] = k;
        unsigned i = son[c];
        prnt[i] = l;
        if (i < static_cast<unsigned>(T)) prnt[i + 1] = l;
        unsigned j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < static_cast<unsigned>(T)) prnt[j + 1] = c;
        son[c] = j;
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }
  int DecodeChar() {
    unsigned c = son[R];
    while (c < static_cast<unsigned>(T)) {
      c += GetBit();
      c = son[c];
    }
    c -= T;
    Update(c);
    return static_cast<int>(c);
  }
  int DecodePosition() {
    unsigned i = GetByte();
    unsigned c = static_cast<unsigned>(kTables.dCode[i]) << 6;
    int j = kTables.dLen[i] - 2;
    while (j--) i = (i << 1) + GetBit();
    return static_cast<int>(c | (i & 0x3F));
  }
  void Put(std::uint8_t b) {
    std::uint16_t done = 0;
    write(ctx, &b, 1, done);
  }
  void Run(std::int32_t textsize) {
    if (textsize <= 0) return;
    std::memset(text, 0, sizeof text);
    StartHuff();
    for (int i = 0; i < N - F; i++) text[i] = ' ';
    int r = N - F;
    for (std::int32_t count = 0; count < textsize;) {
      int c = DecodeChar();
      if (c < 256) {
        Put(static_cast<std::uint8_t>(c));
        text[r++] = static_cast<std::uint8_t>(c);
        r &= N - 1;
        count++;
      } else {
        int i = (r - DecodePosition() - 1) & (N - 1);
        int j = c - 255 + THRESHOLD;
        for (int k = 0; k < j; k++) {
          std::uint8_t b = text[(i + k) & (N - 1)];
          Put(b);
          text[r++] = b;
          r &= N - 1;
          count++;
        }
      }
    }
  }
};

// Memory streams behind the callbacks.
struct TStreams {
  const std::uint8_t* in;
  std::size_t inSize, inPos;
  std::vector<std::uint8_t>* out;
};
void StreamRead(void* ctx, std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
  auto* s = static_cast<TStreams*>(ctx);
  std::size_t n = std::min<std::size_t>(count, s->inSize - s->inPos);
  std::memcpy(buffer, s->in + s->inPos, n);
  s->inPos += n;
  done = static_cast<std::uint16_t>(n);
}
void StreamWrite(void* ctx, const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done) {
  auto* s = static_cast<TStreams*>(ctx);
  s->out->insert(s->out->end(), buffer, buffer + count);
  done = count;
}

}  // namespace

void Unpack(std::int32_t declared, TReadProc read, TWriteProc write, void* ctx) {
  auto coder = std::make_unique<TLzhBaseline>();
  coder->read = read;
  coder->write = write;
  coder->ctx = ctx;
  coder->Run(declared);
}

std::vector<std::uint8_t> DecodeStored(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> out;
  if (size < 4) return out;
  TStreams s{data, size, 0, &out};
  std::int32_t declared = 0;
  std::uint8_t len[4];
  std::uint16_t got = 0;
  StreamRead(&s, len, 4, got);
  declared = static_cast<std::int32_t>(len[0] | len[1] << 8 | len[2] << 16 |
                                       static_cast<std::uint32_t>(len[3]) << 24);
  Unpack(declared, StreamRead, StreamWrite, &s);
  return out;
}

}  // namespace baseline
