#include "skin/storage/winconvert.h"

#include "framework/core/streams.h"
#include "tests/native/storage/skin_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The callback forms over memory, as a caller with its own byte sources would use them.
Bytes PackThroughCallbacks(TLZH &lzh, const Bytes &input, int32_t &textSize) {
  size_t next = 0;
  Bytes out;
  lzh.LZHPack(
      textSize,
      [&](void *buffer, uint16_t count, uint16_t &actual) {
        actual = next < input.size() && count > 0 ? 1 : 0;
        if (actual) {
          *static_cast<uint8_t *>(buffer) = input[next++];
        }
      },
      [&](const void *buffer, uint16_t count, uint16_t &actual) {
        const auto *p = static_cast<const uint8_t *>(buffer);
        out.insert(out.end(), p, p + count);
        actual = count;
      });
  return out;
}

Bytes UnpackThroughCallbacks(TLZH &lzh, const Bytes &bits, int32_t textSize, int *reads = nullptr) {
  size_t next = 0;
  Bytes out;
  lzh.LZHUnpack(
      textSize,
      [&](void *buffer, uint16_t, uint16_t &actual) {
        if (reads) {
          ++*reads;
        }
        actual = next < bits.size() ? 1 : 0;
        if (actual) {
          *static_cast<uint8_t *>(buffer) = bits[next++];
        }
      },
      [&](const void *buffer, uint16_t count, uint16_t &actual) {
        const auto *p = static_cast<const uint8_t *>(buffer);
        out.insert(out.end(), p, p + count);
        actual = count;
      });
  return out;
}

Bytes RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (auto &b : out) {
    b = static_cast<uint8_t>(random());
  }
  return out;
}

// Bit streams worked out by hand from the initial tree: "A" is leaf 65 at depth 9 (111001101);
// 60 spaces are one match of 60 (symbol 313: 11000101) at distance code 59 (000 111011).
struct KnownStream {
  const char *name;
  Bytes input;
  Bytes bits;
};

class LzhKnownStream : public testing::TestWithParam<KnownStream> {};

TEST_P(LzhKnownStream, BothPathsProduceAndReadTheHandWorkedBits) {
  const KnownStream &c = GetParam();
  TLZH lzh;
  int32_t textSize = -1;
  EXPECT_EQ(PackThroughCallbacks(lzh, c.input, textSize), c.bits);
  EXPECT_EQ(textSize, static_cast<int32_t>(c.input.size()));
  EXPECT_EQ(lzh.PackBuffer(c.input.data(), c.input.size()), c.bits);
  const auto size = static_cast<int32_t>(c.input.size());
  EXPECT_EQ(UnpackThroughCallbacks(lzh, c.bits, size), c.input);
  EXPECT_EQ(lzh.UnpackBuffer(c.bits.data(), c.bits.size(), size), c.input);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LzhKnownStream,
    testing::Values(KnownStream{"empty", {}, {}}, KnownStream{"letterA", {'A'}, {0xE6, 0x80}},
                    KnownStream{"sixtySpaces", Bytes(60, ' '), {0xC5, 0x1D, 0x80}}),
    [](const auto &info) { return std::string(info.param.name); });

struct RoundTrip {
  const char *name;
  std::function<Bytes()> make;
  int minRebuilds;
};

class LzhRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(LzhRoundTrip, CompressThenDecompressIsTheIdentityOnEveryPath) {
  const Bytes input = GetParam().make();
  const auto size = static_cast<int32_t>(input.size());
  TLZH lzh;
  const Bytes fast = lzh.PackBuffer(input.data(), input.size());
  EXPECT_GE(lzh.Rebuilds(), GetParam().minRebuilds);
  int32_t textSize = 0;
  ASSERT_EQ(PackThroughCallbacks(lzh, input, textSize), fast) << "fast path differs in bits";
  EXPECT_EQ(textSize, size);
  EXPECT_TRUE(lzh.UnpackBuffer(fast.data(), fast.size(), size) == input);
  EXPECT_TRUE(UnpackThroughCallbacks(lzh, fast, size) == input);

  // The compressed stream through TStream, with its 4-byte size.
  TMemoryStream source;
  TMemoryStream packed;
  TMemoryStream unpacked;
  if (!input.empty()) {
    source.WriteBuffer(input.data(), size);
  }
  LZHCompressStream(source, packed);
  ASSERT_EQ(packed.Size(), 4 + static_cast<int64_t>(fast.size()));
  EXPECT_EQ(packed.Memory()[0] | packed.Memory()[1] << 8 | packed.Memory()[2] << 16 |
                packed.Memory()[3] << 24,
            size);
  LZHDecompressStream(packed, unpacked, INT32_MAX);
  ASSERT_EQ(unpacked.Size(), size);
  EXPECT_TRUE(std::equal(input.begin(), input.end(), unpacked.Memory()));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LzhRoundTrip,
    testing::Values(RoundTrip{"empty", [] { return Bytes(); }, 0},
                    RoundTrip{"oneByte", [] { return Bytes{0x7F}; }, 0},
                    RoundTrip{"sixtySpaces", [] { return Bytes(60, ' '); }, 0},
                    RoundTrip{"pageOfSpaces", [] { return Bytes(4096, ' '); }, 0},
                    RoundTrip{"randomMegabyte", [] { return RandomBytes(1 << 20, 7); }, 3},
                    RoundTrip{"skinCorpus", [] { return skincorpus::Corpus(1 << 20); }, 0},
                    // Mostly literals with long, changing codes: nodes trade places often.
                    RoundTrip{"hardCorpus", [] { return skincorpus::HardCorpus(1 << 20); }, 1},
                    // About 16,000 symbols between rebuilds: 80 KB of random bytes forces 3+.
                    RoundTrip{"threeRebuilds", [] { return RandomBytes(80000, 3); }, 3}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Lzh, DeclaredSizeOfZeroOrLessProducesNothingAndReadsNothing) {
  const Bytes bits = {0xE6, 0x80};
  for (const int32_t size : {0, -1, INT32_MIN}) {
    TLZH lzh;
    int reads = 0;
    EXPECT_TRUE(UnpackThroughCallbacks(lzh, bits, size, &reads).empty()) << size;
    EXPECT_EQ(reads, 0) << size;
    EXPECT_TRUE(lzh.UnpackBuffer(bits.data(), bits.size(), size).empty()) << size;
  }
}

TEST(Lzh, TheLastMatchIsCopiedWholePastTheDeclaredSize) {
  // One symbol: a match of 60 spaces; a declared size of 1 still yields all 60 bytes.
  const Bytes bits = {0xC5, 0x1D, 0x80};
  TLZH lzh;
  EXPECT_EQ(UnpackThroughCallbacks(lzh, bits, 1), Bytes(60, ' '));
  EXPECT_EQ(lzh.UnpackBuffer(bits.data(), bits.size(), 1), Bytes(60, ' '));
}

TEST(Lzh, StreamCutShortDecodesFromZeroBitsUntilTheDeclaredSize) {
  const Bytes input = skincorpus::Corpus(50000);
  TLZH lzh;
  Bytes bits = lzh.PackBuffer(input.data(), input.size());
  bits.resize(bits.size() / 2);
  const auto size = static_cast<int32_t>(input.size());
  const Bytes slow = UnpackThroughCallbacks(lzh, bits, size);
  const Bytes fast = lzh.UnpackBuffer(bits.data(), bits.size(), size);
  EXPECT_EQ(fast, slow);
  ASSERT_GE(fast.size(), input.size());
  EXPECT_LT(fast.size(), input.size() + TLZH::F);
  // The part coded by the bytes that are left comes back unchanged.
  EXPECT_TRUE(std::equal(input.begin(), input.begin() + 1000, fast.begin()));
  EXPECT_FALSE(std::equal(input.begin(), input.end(), fast.begin()));
}

// One match symbol as the first symbol of a stream: its code in the starting tree, then the
// position (upper six bits 63, code 11111111, then the lower six bits).
Bytes FirstMatchStream(int length, int position) {
  auto huff = std::make_unique<TLZH::THuffman>();
  huff->StartHuff();
  uint8_t code[TLZH::T];
  const int depth = huff->CodeOf(255 - TLZH::THRESHOLD + length, code);
  std::vector<int> bits(code, code + depth);
  for (int i = 0; i < 8; ++i) {
    bits.push_back(1);
  }
  for (int i = 5; i >= 0; --i) {
    bits.push_back((position >> i) & 1);
  }
  Bytes out((bits.size() + 7) / 8, 0);
  for (size_t i = 0; i < bits.size(); ++i) {
    out[i / 8] = static_cast<uint8_t>(out[i / 8] | bits[i] << (7 - i % 8));
  }
  return out;
}

TEST(Lzh, MatchesBeforeTheFirstByteReadTheStartingRing) {
  // 4096 back is the unwritten tail of the ring (zeros), 4036 back and nearer are its spaces.
  struct Case {
    int length;
    int position;
    Bytes expected;
  };
  const Bytes fiveZerosThreeSpaces = {0, 0, 0, 0, 0, ' ', ' ', ' '};
  for (const Case &c : {Case{3, 4095, Bytes(3, 0)}, Case{8, 4040, fiveZerosThreeSpaces},
                        Case{4, 4035, Bytes(4, ' ')}}) {
    ASSERT_EQ(c.position >> 6, 63);
    const Bytes bits = FirstMatchStream(c.length, c.position);
    TLZH lzh;
    const auto size = static_cast<int32_t>(c.expected.size());
    EXPECT_EQ(lzh.UnpackBuffer(bits.data(), bits.size(), size), c.expected) << c.position;
    EXPECT_EQ(UnpackThroughCallbacks(lzh, bits, size), c.expected) << c.position;
  }
}

TEST(Lzh, ArbitraryBitStreamsDecodeAlikeOnBothPaths) {
  // Streams no encoder writes: matches reaching before the first byte (into the spaces and the
  // unwritten tail of the starting ring), matches that overlap what they write, streams that
  // run out and go on as zero bits. The buffer decoder keeps no ring, the callback one does.
  struct Case {
    size_t bytes;
    uint32_t seed;
    int32_t size;
  };
  for (const Case c : {Case{16, 1, 200}, Case{64, 2, 3000}, Case{700, 3, 9000},
                       Case{5000, 4, 40000}, Case{3, 5, 70000}}) {
    const Bytes bits = RandomBytes(c.bytes, c.seed);
    TLZH lzh;
    const Bytes fast = lzh.UnpackBuffer(bits.data(), bits.size(), c.size);
    EXPECT_EQ(fast, UnpackThroughCallbacks(lzh, bits, c.size)) << c.seed;
    EXPECT_GE(fast.size(), static_cast<size_t>(c.size)) << c.seed;
    EXPECT_LT(fast.size(), static_cast<size_t>(c.size) + TLZH::F) << c.seed;
  }
}

TEST(Lzh, OversizedDeclarationIsRefusedBeforeDecoding) {
  // 2 GB declared by ten bytes.
  TMemoryStream source;
  const Bytes ten = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6};
  source.WriteBuffer(ten.data(), 10);
  TMemoryStream dest;
  EXPECT_THROW(LZHDecompressStream(source, dest, 64 << 20), ElzhException);
  EXPECT_EQ(dest.Size(), 0);
}

TEST(Lzh, TooShortOrNonPositiveSizeFieldDecodesToNothing) {
  for (const Bytes &input :
       {Bytes{}, Bytes{1, 0, 0}, Bytes{0, 0, 0, 0, 0xE6}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xE6}}) {
    TMemoryStream source;
    if (!input.empty()) {
      source.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
    }
    TMemoryStream dest;
    LZHDecompressStream(source, dest, 1000);
    EXPECT_EQ(dest.Size(), 0);
  }
}

// Weights that grow a little faster than the golden ratio stack the rarely used symbols deep
// under a chain of frequent ones: a code longer than the 16 bits of one code word.
std::unique_ptr<TLZH::THuffman> DeepTree(std::vector<int> &symbols) {
  auto huff = std::make_unique<TLZH::THuffman>();
  huff->StartHuff();
  double weight = 200;
  int total = TLZH::N_CHAR;
  for (int symbol = 300; total + static_cast<int>(weight) < 32768; --symbol) {
    for (int i = 0; i < static_cast<int>(weight); ++i) {
      huff->Update(symbol);
      symbols.push_back(symbol);
    }
    total += static_cast<int>(weight);
    weight *= 1.68;
  }
  return huff;
}

TEST(Lzh, CodesLongerThanSixteenEdgesAreEmittedAndDecodedWhole) {
  std::vector<int> symbols;
  auto huff = DeepTree(symbols);
  uint8_t code[TLZH::T];
  int deepest = 0;
  int depth = 0;
  for (int c = 0; c < 256; ++c) {
    const int d = huff->CodeOf(c, code);
    if (d > depth) {
      depth = d;
      deepest = c;
    }
  }
  ASSERT_GT(depth, 16);
  // The code is the root-to-leaf path: following it from the root reaches the leaf.
  huff->CodeOf(deepest, code);
  int k = huff->Son[TLZH::R];
  for (int i = 0; i < depth; ++i) {
    ASSERT_LT(k, TLZH::T);
    k = huff->Son[k + code[i]];
  }
  EXPECT_EQ(k - TLZH::T, deepest);

  // The same stream as a decoder sees it: the chain of matches (distance 1), then the deep
  // literal. Both decoders must follow the whole path.
  TLZH::THuffman shadow;
  shadow.StartHuff();
  std::vector<uint8_t> bitList;
  size_t expectedSize = 0;
  symbols.push_back(deepest);
  for (const int s : symbols) {
    const int d = shadow.CodeOf(s, code);
    bitList.insert(bitList.end(), code, code + d);
    shadow.Update(s);
    if (s >= 256) {
      bitList.insert(bitList.end(), 9, 0); // position 0: "000" and six zero bits
      expectedSize += static_cast<size_t>(s - 253);
    } else {
      expectedSize += 1;
    }
  }
  Bytes bits((bitList.size() + 7) / 8, 0);
  for (size_t i = 0; i < bitList.size(); ++i) {
    bits[i / 8] = static_cast<uint8_t>(bits[i / 8] | (bitList[i] << (7 - i % 8)));
  }
  TLZH lzh;
  const auto size = static_cast<int32_t>(expectedSize);
  for (const Bytes &out : {lzh.UnpackBuffer(bits.data(), bits.size(), size),
                           UnpackThroughCallbacks(lzh, bits, size)}) {
    ASSERT_EQ(out.size(), expectedSize);
    EXPECT_EQ(out.back(), deepest);
    EXPECT_EQ(out[out.size() - 2], ' '); // the matches copied the initial fill
  }
}

// The adaptive tree as the format states it, one plain step at a time: the yardstick for the
// codec's tree, whose update, rebuild and decoder lookup take shortcuts.
struct PlainTree {
  static constexpr int T = TLZH::T;
  static constexpr int R = TLZH::R;
  static constexpr int N_CHAR = TLZH::N_CHAR;
  unsigned freq[T + 1];
  int parent[T + N_CHAR];
  int son[T];

  // Starts from the codec's starting tree, which known streams above already pin down.
  void StartAs(const TLZH::THuffman &huff) {
    std::copy(huff.Freq, huff.Freq + T + 1, freq);
    std::copy(huff.Parent, huff.Parent + T + N_CHAR, parent);
    std::copy(huff.Son, huff.Son + T, son);
  }
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j++] = son[i];
      }
    }
    for (int i = 0; (j = N_CHAR + i / 2) < T; i += 2) {
      const unsigned f = freq[i] + freq[i + 1];
      int k = j - 1;
      while (f < freq[k]) {
        --k;
      }
      ++k;
      for (int m = j; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = i;
    }
    for (int i = 0; i < T; ++i) {
      parent[son[i]] = i;
      if (son[i] < T) {
        parent[son[i] + 1] = i;
      }
    }
  }
  void Update(int c) {
    if (freq[R] == TLZH::MAX_FREQ) {
      Rebuild();
    }
    int k = parent[c + T];
    do {
      const unsigned f = ++freq[k];
      if (f > freq[k + 1]) {
        int l = k + 1;
        while (f > freq[l + 1]) {
          ++l;
        }
        freq[k] = freq[l];
        freq[l] = f;
        const int i = son[k];
        const int j = son[l];
        parent[i] = l;
        if (i < T) {
          parent[i + 1] = l;
        }
        parent[j] = k;
        if (j < T) {
          parent[j + 1] = k;
        }
        son[k] = j;
        son[l] = i;
        k = l;
      }
      k = parent[k];
    } while (k != 0);
  }
};

// Every lookup entry must name where the walk from the root by its bits ends; every node at
// most LOOKUP_BITS deep must have its place and be found there, and no other node a place.
testing::AssertionResult DecoderViewMatchesTheTree(const TLZH::THuffman &huff) {
  constexpr int bits = TLZH::THuffman::LOOKUP_BITS;
  for (int b = 0; b < 1 << bits; ++b) {
    int k = TLZH::R;
    int depth = 0;
    while (depth < bits && huff.Son[k] < TLZH::T) {
      k = huff.Son[k] + ((b >> (bits - 1 - depth)) & 1);
      ++depth;
    }
    if (huff.Lookup[b] != (depth << 10 | k)) {
      return testing::AssertionFailure() << "entry " << b << " is " << huff.Lookup[b]
                                         << ", the walk ends at " << k << " after " << depth;
    }
  }
  std::vector<unsigned> places(TLZH::T, TLZH::THuffman::UNPLACED);
  std::vector<std::pair<int, unsigned>> open = {{TLZH::R, 1u}};
  while (!open.empty()) {
    const auto [k, place] = open.back();
    open.pop_back();
    places[k] = place;
    if (huff.Son[k] < TLZH::T && place < (1u << bits)) {
      open.push_back({huff.Son[k], place << 1});
      open.push_back({huff.Son[k] + 1, place << 1 | 1});
    }
  }
  for (int k = 0; k < TLZH::T; ++k) {
    if (huff.Place[k] != places[k]) {
      return testing::AssertionFailure() << "position " << k << " has place " << huff.Place[k]
                                         << ", its depth and path give " << places[k];
    }
    if (places[k] != TLZH::THuffman::UNPLACED && huff.NodeAt[places[k]] != k) {
      return testing::AssertionFailure() << "place " << places[k] << " names position "
                                         << huff.NodeAt[places[k]] << ", not " << k;
    }
  }
  return testing::AssertionSuccess();
}

TEST(Lzh, TreeUpdateAndDecoderViewFollowThePlainAlgorithmThroughRebuilds) {
  // A frequent set of symbols that moves every 20,000 updates: nodes trade places at every
  // depth, subtrees near the root move, and the root reaches MAX_FREQ several times. The
  // encoder's tree climbs by parents, the decoder's by places; both must count as the plain
  // algorithm does.
  for (const bool decoderView : {false, true}) {
    SCOPED_TRACE(decoderView ? "climbing by places" : "climbing by parents");
    auto huff = std::make_unique<TLZH::THuffman>();
    huff->StartHuff(decoderView);
    auto plain = std::make_unique<PlainTree>();
    plain->StartAs(*huff);
    std::mt19937 random(11);
    for (int n = 0; n < 100000; ++n) {
      const unsigned r = random();
      const int base = n / 20000 * 61;
      const int c =
          static_cast<int>(r % 5 == 0 ? r % TLZH::N_CHAR : (base + r % 37) % TLZH::N_CHAR);
      const int rebuilds = huff->Rebuilds;
      huff->Update(c);
      plain->Update(c);
      for (int i = 0; i < TLZH::T; ++i) {
        ASSERT_EQ(huff->Freq[i], plain->freq[i]) << "update " << n << ", position " << i;
        ASSERT_EQ(huff->Son[i], plain->son[i]) << "update " << n << ", position " << i;
      }
      for (int i = 0; i < TLZH::T + TLZH::N_CHAR; ++i) {
        ASSERT_EQ(huff->Parent[i], plain->parent[i]) << "update " << n << ", entry " << i;
      }
      if (decoderView && (n % 16 == 0 || huff->Rebuilds != rebuilds)) {
        ASSERT_TRUE(DecoderViewMatchesTheTree(*huff)) << "update " << n;
      }
    }
    EXPECT_GE(huff->Rebuilds, 3);
  }
}

TEST(Lzh, StreamCallbacksReadAndWriteTheGivenStreams) {
  const Bytes input = skincorpus::Corpus(20000);
  TMemoryStream source;
  source.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
  source.SetPosition(0);
  TMemoryStream bits;
  TLZH lzh;
  lzh.InStream = &source;
  lzh.OutStream = &bits;
  int32_t textSize = 0;
  lzh.LZHPack(textSize, lzh.StreamReader(), lzh.StreamWriter());
  EXPECT_EQ(textSize, static_cast<int32_t>(input.size()));
  EXPECT_EQ(Bytes(bits.Memory(), bits.Memory() + bits.Size()),
            lzh.PackBuffer(input.data(), input.size()));

  TMemoryStream output;
  bits.SetPosition(0);
  lzh.InStream = &bits;
  lzh.OutStream = &output;
  lzh.LZHUnpack(textSize, lzh.StreamReader(), lzh.StreamWriter());
  EXPECT_EQ(Bytes(output.Memory(), output.Memory() + output.Size()), input);
}

TEST(Lzh, WriteCallbackThatTakesNothingIsAnError) {
  TLZH lzh;
  const Bytes bits = {0xE6, 0x80};
  size_t next = 0;
  EXPECT_THROW(lzh.LZHUnpack(
                   1,
                   [&](void *buffer, uint16_t, uint16_t &actual) {
                     actual = next < bits.size() ? 1 : 0;
                     if (actual) {
                       *static_cast<uint8_t *>(buffer) = bits[next++];
                     }
                   },
                   [](const void *, uint16_t, uint16_t &actual) { actual = 0; }),
               ElzhException);
}

} // namespace
