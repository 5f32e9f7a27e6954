#include "bench/classic_lzh.h"

#include <cstring>
#include <memory>

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int NIL = N;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = 2 * N_CHAR - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

int PositionCodeLength(int u) {
  return u < 1 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
}

struct Classic {
  std::FILE *in;
  std::FILE *out;

  unsigned char textBuf[N + F - 1] = {};
  int matchPosition = 0;
  int matchLength = 0;
  int lson[N + 1] = {};
  int rson[N + 257] = {};
  int dad[N + 1] = {};

  unsigned freq[T + 1] = {};
  int prnt[T + N_CHAR] = {};
  int son[T] = {};

  unsigned getBuf = 0;
  int getLen = 0;
  unsigned putBuf = 0;
  int putLen = 0;

  unsigned char pLen[64] = {};
  unsigned char pCode[64] = {};
  unsigned char dCode[256] = {};
  unsigned char dLen[256] = {};

  Classic(std::FILE *i, std::FILE *o) : in(i), out(o) {
    int code = 0;
    int len = 3;
    for (int u = 0; u < 64; ++u) {
      if (u > 0) {
        ++code;
        for (; len < PositionCodeLength(u); ++len) {
          code <<= 1;
        }
      }
      pLen[u] = static_cast<unsigned char>(len);
      pCode[u] = static_cast<unsigned char>(code << (8 - len));
      for (int b = 0; b < (1 << (8 - len)); ++b) {
        dCode[(code << (8 - len)) + b] = static_cast<unsigned char>(u);
        dLen[(code << (8 - len)) + b] = static_cast<unsigned char>(len);
      }
    }
  }

  // --- the search trees of the compressor

  void InitTree() {
    for (int i = N + 1; i <= N + 256; i++) {
      rson[i] = NIL;
    }
    for (int i = 0; i < N; i++) {
      dad[i] = NIL;
    }
  }

  void InsertNode(int r) {
    int cmp = 1;
    unsigned char *key = &textBuf[r];
    int p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    matchLength = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson[p] != NIL) {
          p = rson[p];
        } else {
          rson[p] = r;
          dad[r] = p;
          return;
        }
      } else {
        if (lson[p] != NIL) {
          p = lson[p];
        } else {
          lson[p] = r;
          dad[r] = p;
          return;
        }
      }
      int i;
      for (i = 1; i < F; i++) {
        if ((cmp = key[i] - textBuf[p + i]) != 0) {
          break;
        }
      }
      if (i > THRESHOLD) {
        const int c = ((r - p) & (N - 1)) - 1;
        if (i > matchLength) {
          matchPosition = c;
          if ((matchLength = i) >= F) {
            break;
          }
        } else if (i == matchLength && c < matchPosition) {
          matchPosition = c;
        }
      }
    }
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = r;
    dad[rson[p]] = r;
    if (rson[dad[p]] == p) {
      rson[dad[p]] = r;
    } else {
      lson[dad[p]] = r;
    }
    dad[p] = NIL;
  }

  void DeleteNode(int p) {
    int q;
    if (dad[p] == NIL) {
      return;
    }
    if (rson[p] == NIL) {
      q = lson[p];
    } else if (lson[p] == NIL) {
      q = rson[p];
    } else {
      q = lson[p];
      if (rson[q] != NIL) {
        do {
          q = rson[q];
        } while (rson[q] != NIL);
        rson[dad[q]] = lson[q];
        dad[lson[q]] = dad[q];
        lson[q] = lson[p];
        dad[lson[p]] = q;
      }
      rson[q] = rson[p];
      dad[rson[p]] = q;
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p) {
      rson[dad[p]] = q;
    } else {
      lson[dad[p]] = q;
    }
    dad[p] = NIL;
  }

  // --- bit input and output

  // Keeps more than 8 bits in getBuf; missing bytes read as 0.
  void Fill() {
    while (getLen <= 8) {
      int c = std::getc(in);
      if (c < 0) {
        c = 0;
      }
      getBuf |= static_cast<unsigned>(c) << (8 - getLen);
      getLen += 8;
    }
  }

  int GetBit() {
    Fill();
    const int bit = static_cast<int>((getBuf >> 15) & 1);
    getBuf = (getBuf << 1) & 0xFFFF;
    getLen--;
    return bit;
  }

  int GetByte() {
    Fill();
    const int byte = static_cast<int>((getBuf >> 8) & 0xFF);
    getBuf = (getBuf << 8) & 0xFFFF;
    getLen -= 8;
    return byte;
  }

  // Writes the top l bits of c.
  void Putcode(int l, unsigned c) {
    putBuf |= c >> putLen;
    if ((putLen += l) >= 8) {
      std::putc(static_cast<int>(putBuf >> 8), out);
      if ((putLen -= 8) >= 8) {
        std::putc(static_cast<int>(putBuf & 0xFF), out);
        putLen -= 8;
        putBuf = (c << (l - putLen)) & 0xFFFF;
      } else {
        putBuf = (putBuf << 8) & 0xFFFF;
      }
    }
  }

  // --- the adaptive Huffman tree

  void StartHuff() {
    for (int i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, j++) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }

  void Reconst() {
    int j = 0;
    for (int i = 0; i < T; i++) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        j++;
      }
    }
    for (int i = 0; (j = N_CHAR + i / 2) < T; i += 2) {
      const unsigned f = freq[i] + freq[i + 1];
      int k;
      for (k = j - 1; f < freq[k]; k--) {
      }
      k++;
      for (int m = j; m > k; m--) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = i;
    }
    for (int i = 0; i < T; i++) {
      const int k = son[i];
      prnt[k] = i;
      if (k < T) {
        prnt[k + 1] = i;
      }
    }
  }

  void Update(int c) {
    if (freq[R] == MAX_FREQ) {
      Reconst();
    }
    c = prnt[c + T];
    do {
      const unsigned k = ++freq[c];
      int l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {
        }
        l--;
        freq[c] = freq[l];
        freq[l] = k;
        const int i = son[c];
        prnt[i] = l;
        if (i < T) {
          prnt[i + 1] = l;
        }
        const int j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < T) {
          prnt[j + 1] = c;
        }
        son[c] = j;
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }

  // --- symbols

  void EncodeChar(unsigned c) {
    // The path is gathered leaf first into the top of a 32-bit word; it can exceed 16 edges.
    unsigned long code = 0;
    int len = 0;
    for (int k = prnt[c + T]; k != R; k = prnt[k]) {
      code >>= 1;
      if (k & 1) {
        code += 0x80000000UL;
      }
      len++;
    }
    if (len > 16) {
      Putcode(16, static_cast<unsigned>(code >> 16));
      Putcode(len - 16, static_cast<unsigned>(code & 0xFFFF));
    } else {
      Putcode(len, static_cast<unsigned>(code >> 16));
    }
    Update(static_cast<int>(c));
  }

  void EncodePosition(unsigned c) {
    const unsigned i = c >> 6;
    Putcode(pLen[i], static_cast<unsigned>(pCode[i]) << 8);
    Putcode(6, (c & 0x3F) << 10);
  }

  void EncodeEnd() {
    if (putLen) {
      std::putc(static_cast<int>(putBuf >> 8), out);
    }
  }

  int DecodeChar() {
    unsigned c = static_cast<unsigned>(son[R]);
    while (c < T) {
      c += static_cast<unsigned>(GetBit());
      c = static_cast<unsigned>(son[c]);
    }
    c -= T;
    Update(static_cast<int>(c));
    return static_cast<int>(c);
  }

  int DecodePosition() {
    unsigned i = static_cast<unsigned>(GetByte());
    const unsigned c = static_cast<unsigned>(dCode[i]) << 6;
    int j = dLen[i];
    j -= 2;
    while (j--) {
      i = (i << 1) + static_cast<unsigned>(GetBit());
    }
    return static_cast<int>(c | (i & 0x3F));
  }

  // --- the two directions

  void Encode() {
    std::fseek(in, 0, SEEK_END);
    const long textSize = std::ftell(in);
    for (int b = 0; b < 4; b++) {
      std::putc(static_cast<int>((textSize >> (8 * b)) & 0xFF), out);
    }
    if (textSize == 0) {
      return;
    }
    std::rewind(in);
    StartHuff();
    InitTree();
    int s = 0;
    int r = N - F;
    std::memset(textBuf, ' ', static_cast<size_t>(r));
    int len;
    int c;
    for (len = 0; len < F && (c = std::getc(in)) != EOF; len++) {
      textBuf[r + len] = static_cast<unsigned char>(c);
    }
    for (int i = 1; i <= F; i++) {
      InsertNode(r - i);
    }
    InsertNode(r);
    do {
      if (matchLength > len) {
        matchLength = len;
      }
      if (matchLength <= THRESHOLD) {
        matchLength = 1;
        EncodeChar(textBuf[r]);
      } else {
        EncodeChar(static_cast<unsigned>(255 - THRESHOLD + matchLength));
        EncodePosition(static_cast<unsigned>(matchPosition));
      }
      const int lastMatchLength = matchLength;
      int i;
      for (i = 0; i < lastMatchLength && (c = std::getc(in)) != EOF; i++) {
        DeleteNode(s);
        textBuf[s] = static_cast<unsigned char>(c);
        if (s < F - 1) {
          textBuf[s + N] = static_cast<unsigned char>(c);
        }
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        InsertNode(r);
      }
      while (i++ < lastMatchLength) {
        DeleteNode(s);
        s = (s + 1) & (N - 1);
        r = (r + 1) & (N - 1);
        if (--len) {
          InsertNode(r);
        }
      }
    } while (len > 0);
    EncodeEnd();
  }

  void Decode() {
    long textSize = 0;
    for (int b = 0; b < 4; b++) {
      const int c = std::getc(in);
      textSize |= static_cast<long>(c < 0 ? 0 : c) << (8 * b);
    }
    if (textSize == 0) {
      return;
    }
    StartHuff();
    std::memset(textBuf, ' ', N - F);
    int r = N - F;
    for (long count = 0; count < textSize;) {
      const int c = DecodeChar();
      if (c < 256) {
        std::putc(c, out);
        textBuf[r++] = static_cast<unsigned char>(c);
        r &= (N - 1);
        count++;
      } else {
        const int i = (r - DecodePosition() - 1) & (N - 1);
        const int j = c - 255 + THRESHOLD;
        for (int k = 0; k < j; k++) {
          const int b = textBuf[(i + k) & (N - 1)];
          std::putc(b, out);
          textBuf[r++] = static_cast<unsigned char>(b);
          r &= (N - 1);
          count++;
        }
      }
    }
  }
};

} // namespace

void ClassicLZHEncode(std::FILE *in, std::FILE *out) {
  std::make_unique<Classic>(in, out)->Encode();
}

void ClassicLZHDecode(std::FILE *in, std::FILE *out) {
  std::make_unique<Classic>(in, out)->Decode();
}
