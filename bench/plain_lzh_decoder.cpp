#include "bench/plain_lzh_decoder.h"

#include <cstring>
#include <memory>

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int N_CHAR = 314;
constexpr int T = 2 * N_CHAR - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

int CodeLength(int u) {
  return u < 1 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
}

struct PlainDecoder {
  const TReadProc &read;
  const TWriteProc &write;
  uint16_t getBuf = 0;
  uint8_t getLen = 0;
  uint8_t textBuf[N + F - 1] = {};
  uint16_t freq[T + 1] = {};
  int16_t parent[T + N_CHAR] = {};
  int16_t son[T] = {};
  uint8_t dCode[256] = {};
  uint8_t dLen[256] = {};

  PlainDecoder(const TReadProc &r, const TWriteProc &w) : read(r), write(w) {
    int code = 0;
    int len = 3;
    for (int u = 0; u < 64; ++u) {
      if (u > 0) {
        ++code;
        for (; len < CodeLength(u); ++len) {
          code <<= 1;
        }
      }
      for (int b = 0; b < (1 << (8 - len)); ++b) {
        dCode[(code << (8 - len)) + b] = static_cast<uint8_t>(u);
        dLen[(code << (8 - len)) + b] = static_cast<uint8_t>(len);
      }
    }
  }

  int GetBit() {
    while (getLen <= 8) {
      uint8_t b = 0;
      uint16_t actual = 0;
      read(&b, 1, actual);
      if (actual == 0) {
        b = 0;
      }
      getBuf = static_cast<uint16_t>(getBuf | (b << (8 - getLen)));
      getLen = static_cast<uint8_t>(getLen + 8);
    }
    const int bit = getBuf >> 15;
    getBuf = static_cast<uint16_t>(getBuf << 1);
    --getLen;
    return bit;
  }

  int GetByte() {
    int value = 0;
    for (int i = 0; i < 8; ++i) {
      value = (value << 1) | GetBit();
    }
    return value;
  }

  void Put(uint8_t b) {
    uint16_t actual = 0;
    write(&b, 1, actual);
  }

  void StartHuff() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq[i] = 1;
      son[i] = static_cast<int16_t>(i + T);
      parent[i + T] = static_cast<int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
      son[j] = static_cast<int16_t>(i);
      parent[i] = parent[i + 1] = static_cast<int16_t>(j);
    }
    freq[T] = 0xFFFF;
    parent[R] = 0;
  }

  void Reconst() {
    int j = 0;
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    }
    for (int i = 0, k = 0; (j = N_CHAR + i / 2) < T; i += 2) {
      const uint16_t f = static_cast<uint16_t>(freq[i] + freq[i + 1]);
      for (k = j - 1; f < freq[k]; --k) {
      }
      ++k;
      for (int m = j; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = static_cast<int16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
      const int k = son[i];
      parent[k] = static_cast<int16_t>(i);
      if (k < T) {
        parent[k + 1] = static_cast<int16_t>(i);
      }
    }
  }

  void Update(int c) {
    if (freq[R] == MAX_FREQ) {
      Reconst();
    }
    int k = parent[c + T];
    do {
      const uint16_t f = ++freq[k];
      int l = k + 1;
      if (f > freq[l]) {
        while (f > freq[l + 1]) {
          ++l;
        }
        freq[k] = freq[l];
        freq[l] = f;
        const int i = son[k];
        parent[i] = static_cast<int16_t>(l);
        if (i < T) {
          parent[i + 1] = static_cast<int16_t>(l);
        }
        const int j = son[l];
        son[l] = static_cast<int16_t>(i);
        parent[j] = static_cast<int16_t>(k);
        if (j < T) {
          parent[j + 1] = static_cast<int16_t>(k);
        }
        son[k] = static_cast<int16_t>(j);
        k = l;
      }
      k = parent[k];
    } while (k != 0);
  }

  int DecodeChar() {
    int k = son[R];
    while (k < T) {
      k = son[k + GetBit()];
    }
    Update(k - T);
    return k - T;
  }

  int DecodePosition() {
    int i = GetByte();
    const int high = dCode[i] << 6;
    for (int j = dLen[i] - 2; j > 0; --j) {
      i = (i << 1) + GetBit();
    }
    return high | (i & 0x3F);
  }

  void Run(int32_t textSize) {
    StartHuff();
    std::memset(textBuf, ' ', N - F);
    int r = N - F;
    for (int32_t count = 0; count < textSize;) {
      const int c = DecodeChar();
      if (c < 256) {
        Put(static_cast<uint8_t>(c));
        textBuf[r] = static_cast<uint8_t>(c);
        r = (r + 1) & (N - 1);
        ++count;
      } else {
        const int i = (r - DecodePosition() - 1) & (N - 1);
        for (int k = 0; k < c - 253; ++k) {
          const uint8_t b = textBuf[(i + k) & (N - 1)];
          Put(b);
          textBuf[r] = b;
          r = (r + 1) & (N - 1);
          ++count;
        }
      }
    }
  }
};

} // namespace

void PlainLZHUnpack(int32_t textSize, const TReadProc &read, const TWriteProc &write) {
  auto decoder = std::make_unique<PlainDecoder>(read, write);
  decoder->Run(textSize);
}
