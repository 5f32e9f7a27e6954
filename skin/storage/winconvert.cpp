#include "skin/storage/winconvert.h"

#include "framework/core/streams.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <string>

namespace {

// The prefix code of the upper six bits of a match position: canonical, with lengths 3 (u = 0),
// 4 (1-3), 5 (4-11), 6 (12-23), 7 (24-47) and 8 (48-63). Built here from that description
// instead of typed in, so that a slip in a 256-entry table cannot hide.
struct PositionCode {
  std::array<uint8_t, 64> p_len{};
  std::array<uint8_t, 64> p_code{};
  std::array<uint8_t, 256> d_code{};
  std::array<uint8_t, 256> d_len{};
};

constexpr int PositionCodeLength(int u) {
  return u < 1 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
}

constexpr PositionCode MakePositionCode() {
  PositionCode t;
  int code = 0;
  int len = PositionCodeLength(0);
  for (int u = 0; u < 64; ++u) {
    const int wanted = PositionCodeLength(u);
    if (u > 0) {
      ++code;
      while (len < wanted) {
        code <<= 1;
        ++len;
      }
    }
    t.p_len[u] = static_cast<uint8_t>(len);
    t.p_code[u] = static_cast<uint8_t>(code << (8 - len));
    for (int b = 0; b < (1 << (8 - len)); ++b) {
      t.d_code[t.p_code[u] + b] = static_cast<uint8_t>(u);
      t.d_len[t.p_code[u] + b] = static_cast<uint8_t>(len);
    }
  }
  return t;
}

constexpr PositionCode kPos = MakePositionCode();
static_assert(kPos.p_code[0] == 0x00 && kPos.p_code[1] == 0x20 && kPos.p_code[2] == 0x30 &&
              kPos.p_code[3] == 0x40 && kPos.p_code[4] == 0x50 && kPos.p_code[5] == 0x58);
static_assert(kPos.p_code[62] == 0xFE && kPos.p_code[63] == 0xFF);
static_assert(kPos.d_code[0xFF] == 63 && kPos.d_len[0x1F] == 3 && kPos.d_len[0x8F] == 5 &&
              kPos.p_code[12] == 0x90 && kPos.p_code[13] == 0x94);

constexpr const char *kNoMemory = "LZH : Cannot get memory for dictionary tables";

} // namespace

struct TLZH::Tables {
  uint8_t TextBuf[N + F - 1]; // bytes N.. mirror 0..F-2 so a comparison never wraps
  int16_t LeftSon[N + 1];
  int16_t Dad[N + 1];        // Dad[NIL] absorbs writes made for absent children
  int16_t RightSon[N + 257]; // N+1..N+256: the roots of the 256 trees
  THuffman Huff;
};

// ---------------------------------------------------------------------------------------------
// Byte sources and sinks

// One byte per call through the read callback: 0 once the input has ended.
struct TLZH::CallbackBytes {
  const TReadProc &read;
  bool Next(uint8_t &b) {
    uint16_t actual = 0;
    read(&b, 1, actual);
    return actual != 0;
  }
};

struct TLZH::MemoryBytes {
  const uint8_t *p;
  const uint8_t *end;
  bool Next(uint8_t &b) {
    if (p == end) {
      return false;
    }
    b = *p++;
    return true;
  }
};

namespace {

struct CallbackSink {
  const TWriteProc &write;
  void Put(uint8_t b) {
    uint16_t actual = 0;
    write(&b, 1, actual);
    if (actual != 1) {
      throw ElzhException("LZH : Cannot write the output");
    }
  }
};

struct VectorSink {
  std::vector<uint8_t> &out;
  void Put(uint8_t b) { out.push_back(b); }
};

} // namespace

// The bit input of the format: GetBuf holds up to 16 bits, refilled a byte at a time while
// 8 or fewer are left; missing bytes read as 0.
template <class Input> struct TLZH::BitReader {
  Input input;
  uint16_t &buf;
  uint8_t &len;
  void Fill() {
    while (len <= 8) {
      uint8_t b = 0;
      if (!input.Next(b)) {
        b = 0;
      }
      buf = static_cast<uint16_t>(buf | (b << (8 - len)));
      len = static_cast<uint8_t>(len + 8);
    }
  }
  int GetBit() {
    Fill();
    const int bit = buf >> 15;
    buf = static_cast<uint16_t>(buf << 1);
    --len;
    return bit;
  }
  int GetByte() {
    Fill();
    const int byte = buf >> 8;
    buf = static_cast<uint16_t>(buf << 8);
    len = static_cast<uint8_t>(len - 8);
    return byte;
  }
};

// The same bit sequence from memory through a 64-bit window (bits left-aligned), refilled
// eight bytes at a time while eight remain. The bits of buf beyond len are already those of
// the following input, so ORing them in again leaves them as they are.
struct TLZH::FastBitReader {
  const uint8_t *p;
  const uint8_t *end;
  uint64_t buf = 0;
  int len = 0;
  // At least 57 bits in buf afterwards.
  void Refill() {
    if (end - p >= 8) {
      uint64_t v = 0;
      for (int i = 0; i < 8; ++i) {
        v = (v << 8) | p[i];
      }
      buf |= v >> len;
      p += (63 - len) >> 3;
      len |= 56;
      return;
    }
    while (len <= 56) {
      const uint64_t b = p < end ? *p++ : 0;
      buf |= b << (56 - len);
      len += 8;
    }
  }
  // The next n bits (n <= 32) without consuming them.
  unsigned Peek(int n) {
    if (len < n) {
      Refill();
    }
    return static_cast<unsigned>(buf >> (64 - n));
  }
  void Skip(int n) {
    buf <<= n;
    len -= n;
  }
  int GetBit() {
    const int bit = static_cast<int>(Peek(1));
    Skip(1);
    return bit;
  }
};

// ---------------------------------------------------------------------------------------------
// Tables and the adaptive Huffman tree

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::InitLZH() {
  tables_.reset(new (std::nothrow) Tables());
  if (!tables_) {
    throw ElzhException(kNoMemory);
  }
  GetBuf = 0;
  GetLen = 0;
  PutLen = 0;
  PutBuf = 0;
  TextSize = 0;
  MatchPosition = 0;
  MatchLength = 0;
  rebuilds_ = 0;
  longestCode_ = 0;
}

void TLZH::EndLZH() {
  if (tables_) {
    rebuilds_ = tables_->Huff.Rebuilds;
  }
  tables_.reset();
}

void TLZH::THuffman::StartHuff(bool keepLookup) {
  THuffman &t = *this;
  Rebuilds = 0;
  for (int i = 0; i < N_CHAR; ++i) {
    t.Freq[i] = 1;
    t.Son[i] = static_cast<uint16_t>(i + T);
    t.Parent[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    t.Freq[j] = static_cast<uint16_t>(t.Freq[i] + t.Freq[i + 1]);
    t.Son[j] = static_cast<uint16_t>(i);
    t.Parent[i] = t.Parent[i + 1] = static_cast<uint16_t>(j);
  }
  std::fill(std::begin(t.Freq) + T, std::end(t.Freq), uint16_t{0xFFFF});
  t.Parent[R] = 0;
  KeepLookup = keepLookup;
  std::fill(std::begin(Place), std::end(Place), UNPLACED); // without the lookup, all stay so
  NodeAt[0] = IDLE;
  if (KeepLookup) {
    FillLookup(R, 1);
  }
}

void TLZH::THuffman::Reconst() {
  THuffman &t = *this;
  ++Rebuilds;
  // The leaves in their current order with halved counts.
  uint16_t leafFreq[N_CHAR];
  uint16_t leafSon[N_CHAR];
  int leaves = 0;
  for (int i = 0; i < T; ++i) {
    if (t.Son[i] >= T) {
      leafFreq[leaves] = static_cast<uint16_t>((t.Freq[i] + 1) / 2);
      leafSon[leaves] = t.Son[i];
      ++leaves;
    }
  }
  // Join pairs in order, each new node going after every count not above its own: the leaves
  // and the joined nodes are each in order, so the positions fill as a merge of the two, a
  // leaf first where counts are equal, and each pair is joined once its second node is placed.
  uint16_t joinedFreq[N_CHAR - 1];
  uint16_t joinedSon[N_CHAR - 1];
  int nextLeaf = 0;
  int nextJoined = 0;
  int joined = 0;
  for (int k = 0; k < T; ++k) {
    if (nextLeaf < N_CHAR &&
        (nextJoined == joined || leafFreq[nextLeaf] <= joinedFreq[nextJoined])) {
      t.Freq[k] = leafFreq[nextLeaf];
      t.Son[k] = leafSon[nextLeaf++];
    } else {
      t.Freq[k] = joinedFreq[nextJoined];
      t.Son[k] = joinedSon[nextJoined++];
    }
    if (k % 2 == 1) {
      joinedFreq[joined] = static_cast<uint16_t>(t.Freq[k - 1] + t.Freq[k]);
      joinedSon[joined++] = static_cast<uint16_t>(k - 1);
    }
  }
  for (int i = 0; i < T; ++i) {
    const int k = t.Son[i];
    if (k >= T) {
      t.Parent[k] = static_cast<uint16_t>(i);
    } else {
      t.Parent[k] = t.Parent[k + 1] = static_cast<uint16_t>(i);
    }
  }
  if (KeepLookup) {
    std::fill(std::begin(Place), std::end(Place), UNPLACED);
    FillLookup(R, 1);
  }
}

// Records the places of k and of the nodes below it down to LOOKUP_BITS, given k's own, and
// points the lookup entries that start with a path ending there at its node.
void TLZH::THuffman::FillLookup(int k, unsigned place) {
  Place[k] = static_cast<uint16_t>(place);
  NodeAt[place] = static_cast<uint16_t>(k);
  const int depth = std::bit_width(place) - 1;
  const int code = static_cast<int>(place) - (1 << depth);
  const int son = Son[k];
  if (son >= T || depth == LOOKUP_BITS) {
    const int spread = LOOKUP_BITS - depth;
    std::fill_n(Lookup + (code << spread), 1 << spread, static_cast<uint16_t>(depth << 10 | k));
    return;
  }
  FillLookup(son, place << 1);
  FillLookup(son + 1, place << 1 | 1);
}

// Clears the recorded places below k, before its subtree moves elsewhere.
void TLZH::THuffman::ForgetBelow(int k) {
  const int son = Son[k];
  if (son >= T) {
    return;
  }
  for (const int child : {son, son + 1}) {
    if (Place[child] != UNPLACED) {
      Place[child] = UNPLACED;
      ForgetBelow(child);
    }
  }
}

namespace {

// LastBelow where the counts from `from` on are below f: found by galloping and bisection.
[[gnu::noinline]] int LastBelowFar(const uint16_t *freq, int from, uint16_t f) {
  int lo = from; // freq[lo] < f
  int step = 1;
  int hi = lo + 1;
  while (freq[hi] < f) {
    lo = hi;
    hi = std::min(hi + step, TLZH::T);
    step *= 2;
  }
  // freq[lo] < f <= freq[hi]
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (freq[mid] < f) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

// The last position at or after first whose frequency is below f. Frequencies never decrease
// along the positions and the sentinels past T are above every count, so this equals a linear
// scan upward to the first frequency >= f. The usual answers lie a few steps away and are
// counted without a branch; long runs of equal counts (every unused symbol stays at 1) are
// crossed by galloping and bisection instead of one step at a time.
[[gnu::always_inline]] inline int LastBelow(const uint16_t *freq, int first, uint16_t f) {
  constexpr int near = TLZH::THuffman::LOOKAHEAD;
  int below = 0;
  for (int i = 1; i < near; ++i) {
    below += freq[first + i] < f;
  }
  if (below < near - 1) {
    return first + below;
  }
  return LastBelowFar(freq, first + near - 1, f);
}

} // namespace

// The node at k, just counted to f, has passed its right neighbour: it trades places with the
// last node of a smaller count. Returns the position that now holds the counted node. The two
// positions keep their paths; their subtrees swap.
[[gnu::always_inline]] inline int TLZH::THuffman::Trade(int k, uint16_t f) {
  uint16_t *const freq = Freq;
  uint16_t *const parent = Parent;
  uint16_t *const son = Son;
  const int l = LastBelow(freq, k + 1, f);
  freq[k] = freq[l];
  freq[l] = f;

  const int i = son[k];
  const int j = son[l];
  // Lookup entries change where a subtree with children moves to or from a position above
  // LOOKUP_BITS; two leaves trading places leave every entry as it is. One test, as it is
  // seldom true and its parts are not predictable.
  // (UNPLACED - 1 wraps to the largest value, so the smaller of the two is the shallower.)
  const bool shallow = Shallow(std::min(Place[k] - 1u, Place[l] - 1u) + 1u);
  if ((std::min(i, j) < T) & shallow) {
    Reshape(k, l);
    return l;
  }
  // Both children of an internal node point back; a leaf's own entry is written twice instead.
  parent[i] = parent[i + (i < T)] = static_cast<uint16_t>(l);
  parent[j] = parent[j + (j < T)] = static_cast<uint16_t>(k);
  son[l] = static_cast<uint16_t>(i);
  son[k] = static_cast<uint16_t>(j);
  return l;
}

// The swap of the subtrees at k and l, with the lookup entries below them written anew.
void TLZH::THuffman::Reshape(int k, int l) {
  ForgetBelow(k);
  ForgetBelow(l);
  const int i = Son[k];
  const int j = Son[l];
  Parent[i] = static_cast<uint16_t>(l);
  if (i < T) {
    Parent[i + 1] = static_cast<uint16_t>(l);
  }
  Son[l] = static_cast<uint16_t>(i);
  Parent[j] = static_cast<uint16_t>(k);
  if (j < T) {
    Parent[j + 1] = static_cast<uint16_t>(k);
  }
  Son[k] = static_cast<uint16_t>(j);
  for (const int at : {k, l}) {
    if (Shallow(Place[at])) {
      FillLookup(at, Place[at]);
    }
  }
}

// The placed steps trade seldom; eight inlined copies of the trade cost more than a call.
int TLZH::THuffman::TradeByCall(int k, uint16_t f) {
  return Trade(k, f);
}

void TLZH::THuffman::Count(int c, int leaf) {
  if (Freq[R] == MAX_FREQ) {
    Reconst();
    leaf = Parent[c + T];
  }
  ClimbFrom(leaf);
}

// The root has no neighbour to pass (and no node can pass it), so the climb stops below it.
void TLZH::THuffman::ClimbFrom(int k) {
  for (; k != R; k = Parent[k]) {
    const uint16_t f = ++Freq[k];
    if (f > Freq[k + 1]) {
      k = Trade(k, f);
    }
  }
  ++Freq[R];
}

// One step of the climb by places: counts k, then moves to the node at half its place (IDLE
// past the root). False when a trade took the counted node below the places, where the climb
// has been finished by parents.
[[gnu::always_inline]] inline bool TLZH::THuffman::PlacedStep(int &k, unsigned &place) {
  const uint16_t f = ++Freq[k];
  if (f > Freq[k + 1]) [[unlikely]] {
    k = TradeByCall(k, f);
    place = Place[k];
    if (place == UNPLACED) {
      ClimbFrom(Parent[k]);
      return false;
    }
  }
  place >>= 1;
  k = NodeAt[place];
  return true;
}

// Count for a tree whose places are kept, inlined into the decoder's loop (a call per symbol
// costs a measurable share of its time). Below the places the climb follows parents; from
// the first placed node up, each ancestor is read at half the place, so the loads of a climb
// no longer wait for each other. That part takes LOOKUP_BITS + 1 unrolled steps, as many as
// the deepest place needs (bumping IDLE past the root), so its end is known in advance. Should
// a trade take the count to a deeper place than the steps left can climb from (not seen in
// practice), parents finish it.
[[gnu::always_inline]] inline void TLZH::THuffman::CountByPlaces(int c, int leaf) {
  if (Freq[R] == MAX_FREQ) {
    Reconst();
    leaf = Parent[c + T];
  }
  int k = leaf;
  unsigned place;
  while ((place = Place[k]) == UNPLACED) {
    const uint16_t f = ++Freq[k];
    if (f > Freq[k + 1]) {
      k = Trade(k, f);
    }
    k = Parent[k];
  }
  static_assert(LOOKUP_BITS + 1 == 8, "the unroll count below");
#pragma GCC unroll 8
  for (int s = 0; s <= LOOKUP_BITS; ++s) {
    if (!PlacedStep(k, place)) {
      return;
    }
  }
  if (place != 0) {
    ClimbFrom(k);
  }
}

void TLZH::THuffman::Update(int c) {
  if (KeepLookup) {
    CountByPlaces(c, Parent[c + T]);
  } else {
    Count(c, Parent[c + T]);
  }
}

int TLZH::THuffman::CodeOf(int c, uint8_t *bits) const {
  // Walk from the leaf up to the root: odd positions are the second child (bit 1).
  int depth = 0;
  for (int k = Parent[c + T]; k != R; k = Parent[k]) {
    bits[depth++] = static_cast<uint8_t>(k & 1);
  }
  std::reverse(bits, bits + depth);
  return depth;
}

// ---------------------------------------------------------------------------------------------
// Search trees of the compressor

namespace {

// The number of equal leading bytes of two keys whose first bytes are known to be equal (1 to
// F), eight bytes at a time where the byte order allows it. Never reads beyond key[F - 1].
int CommonPrefix(const uint8_t *a, const uint8_t *b) {
  int i = 1;
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= TLZH::F; i += 8) {
      uint64_t x;
      uint64_t y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) {
        return i + std::countr_zero(x ^ y) / 8;
      }
    }
  }
  while (i < TLZH::F && a[i] == b[i]) {
    ++i;
  }
  return i;
}

} // namespace

void TLZH::InitTree() {
  Tables &t = *tables_;
  for (int i = N + 1; i <= N + 256; ++i) {
    t.RightSon[i] = NIL;
  }
  for (int i = 0; i <= N; ++i) {
    t.Dad[i] = NIL;
  }
}

void TLZH::InsertNode(int r) {
  Tables &t = *tables_;
  const uint8_t *key = &t.TextBuf[r];
  int p = N + 1 + key[0];
  int cmp = 1;
  t.RightSon[r] = t.LeftSon[r] = NIL;
  MatchLength = 0;
  for (;;) {
    if (cmp >= 0) {
      if (t.RightSon[p] == NIL) {
        t.RightSon[p] = static_cast<int16_t>(r);
        t.Dad[r] = static_cast<int16_t>(p);
        return;
      }
      p = t.RightSon[p];
    } else {
      if (t.LeftSon[p] == NIL) {
        t.LeftSon[p] = static_cast<int16_t>(r);
        t.Dad[r] = static_cast<int16_t>(p);
        return;
      }
      p = t.LeftSon[p];
    }
    const int i = CommonPrefix(key, &t.TextBuf[p]);
    cmp = i < F ? key[i] - t.TextBuf[p + i] : 0;
    if (i > THRESHOLD) {
      const int d = ((r - p) & (N - 1)) - 1;
      if (i > MatchLength) {
        MatchPosition = static_cast<int16_t>(d);
        MatchLength = static_cast<int16_t>(i);
        if (MatchLength >= F) {
          break;
        }
      } else if (i == MatchLength && d < MatchPosition) {
        MatchPosition = static_cast<int16_t>(d); // between equally long matches the nearest wins
      }
    }
  }
  // A full-length match: r replaces p in its tree.
  t.Dad[r] = t.Dad[p];
  t.LeftSon[r] = t.LeftSon[p];
  t.RightSon[r] = t.RightSon[p];
  t.Dad[t.LeftSon[p]] = static_cast<int16_t>(r);
  t.Dad[t.RightSon[p]] = static_cast<int16_t>(r);
  if (t.RightSon[t.Dad[p]] == p) {
    t.RightSon[t.Dad[p]] = static_cast<int16_t>(r);
  } else {
    t.LeftSon[t.Dad[p]] = static_cast<int16_t>(r);
  }
  t.Dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
  Tables &t = *tables_;
  if (t.Dad[p] == NIL) {
    return;
  }
  int q;
  if (t.RightSon[p] == NIL) {
    q = t.LeftSon[p];
  } else if (t.LeftSon[p] == NIL) {
    q = t.RightSon[p];
  } else {
    q = t.LeftSon[p];
    if (t.RightSon[q] != NIL) {
      do {
        q = t.RightSon[q];
      } while (t.RightSon[q] != NIL);
      t.RightSon[t.Dad[q]] = t.LeftSon[q];
      t.Dad[t.LeftSon[q]] = t.Dad[q];
      t.LeftSon[q] = t.LeftSon[p];
      t.Dad[t.LeftSon[p]] = static_cast<int16_t>(q);
    }
    t.RightSon[q] = t.RightSon[p];
    t.Dad[t.RightSon[p]] = static_cast<int16_t>(q);
  }
  t.Dad[q] = t.Dad[p];
  if (t.RightSon[t.Dad[p]] == p) {
    t.RightSon[t.Dad[p]] = static_cast<int16_t>(q);
  } else {
    t.LeftSon[t.Dad[p]] = static_cast<int16_t>(q);
  }
  t.Dad[p] = NIL;
}

// ---------------------------------------------------------------------------------------------
// Compression

template <class Sink> void TLZH::Putcode(Sink &sink, int l, uint16_t c) {
  PutBuf = static_cast<uint16_t>(PutBuf | (c >> PutLen));
  PutLen = static_cast<uint8_t>(PutLen + l);
  if (PutLen >= 8) {
    sink.Put(static_cast<uint8_t>(PutBuf >> 8));
    PutLen = static_cast<uint8_t>(PutLen - 8);
    if (PutLen >= 8) {
      sink.Put(static_cast<uint8_t>(PutBuf));
      PutLen = static_cast<uint8_t>(PutLen - 8);
      PutBuf = static_cast<uint16_t>(c << (l - PutLen));
    } else {
      PutBuf = static_cast<uint16_t>(PutBuf << 8);
    }
  }
}

template <class Sink> void TLZH::EncodeChar(Sink &sink, int c) {
  THuffman &huff = tables_->Huff;
  // A path can exceed the 16 bits of one code word, so it is sent in pieces of at most 16 bits.
  uint8_t bits[T];
  const int depth = huff.CodeOf(c, bits);
  longestCode_ = std::max(longestCode_, depth);
  for (int done = 0; done < depth;) {
    const int piece = std::min(depth - done, 16);
    uint16_t code = 0;
    for (int i = 0; i < piece; ++i) {
      code = static_cast<uint16_t>(code | (bits[done + i] << (15 - i)));
    }
    Putcode(sink, piece, code);
    done += piece;
  }
  huff.Update(c);
}

template <class Sink> void TLZH::EncodePosition(Sink &sink, int p) {
  const int u = p >> 6;
  Putcode(sink, kPos.p_len[u], static_cast<uint16_t>(kPos.p_code[u] << 8));
  Putcode(sink, 6, static_cast<uint16_t>((p & 0x3F) << 10));
}

template <class Sink> void TLZH::EncodeEnd(Sink &sink) {
  if (PutLen > 0) {
    sink.Put(static_cast<uint8_t>(PutBuf >> 8));
  }
}

template <class Source, class Sink> int32_t TLZH::Encode(Source &source, Sink &sink) {
  Tables &t = *tables_;
  TextSize = 0;
  t.Huff.StartHuff();
  InitTree();
  int s = 0;
  int r = N - F;
  std::memset(t.TextBuf, ' ', static_cast<size_t>(r));
  int len = 0;
  for (uint8_t c = 0; len < F && source.Next(c); ++len) {
    t.TextBuf[r + len] = c;
  }
  TextSize = len;
  if (len == 0) {
    return 0; // an empty input has an empty bit stream
  }
  for (int i = 1; i <= F; ++i) {
    InsertNode(r - i);
  }
  InsertNode(r);
  do {
    if (MatchLength > len) {
      MatchLength = static_cast<int16_t>(len);
    }
    if (MatchLength <= THRESHOLD) {
      MatchLength = 1;
      EncodeChar(sink, t.TextBuf[r]);
    } else {
      EncodeChar(sink, 255 - THRESHOLD + MatchLength);
      EncodePosition(sink, MatchPosition);
    }
    const int last = MatchLength;
    int i = 0;
    uint8_t c = 0;
    for (; i < last && source.Next(c); ++i) {
      DeleteNode(s);
      t.TextBuf[s] = c;
      if (s < F - 1) {
        t.TextBuf[s + N] = c;
      }
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    TextSize += i;
    while (i++ < last) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len != 0) {
        InsertNode(r);
      }
    }
  } while (len > 0);
  EncodeEnd(sink);
  return TextSize;
}

void TLZH::LZHPack(int32_t &textSize, const TReadProc &read, const TWriteProc &write) {
  InitLZH();
  try {
    CallbackBytes source{read};
    CallbackSink sink{write};
    textSize = Encode(source, sink);
  } catch (...) {
    EndLZH();
    throw;
  }
  EndLZH();
}

std::vector<uint8_t> TLZH::PackBuffer(const uint8_t *data, size_t size) {
  std::vector<uint8_t> out;
  InitLZH();
  try {
    out.reserve(size / 4 + 16);
    MemoryBytes source{data, data + size};
    VectorSink sink{out};
    Encode(source, sink);
  } catch (const std::bad_alloc &) {
    EndLZH();
    throw ElzhException(kNoMemory);
  } catch (...) {
    EndLZH();
    throw;
  }
  EndLZH();
  return out;
}

// ---------------------------------------------------------------------------------------------
// Decompression

template <class Bits>
[[gnu::always_inline]] inline int TLZH::DecodeChar(THuffman &huff, Bits &bits) {
  const uint16_t *const son = huff.Son;
  int at = R;
  if constexpr (requires { bits.Peek(0); }) {
    // The table takes the walk down to a leaf or LOOKUP_BITS deep; longer codes go on bitwise.
    const unsigned entry = huff.Lookup[bits.Peek(THuffman::LOOKUP_BITS)];
    bits.Skip(static_cast<int>(entry >> 10));
    at = static_cast<int>(entry & 0x3FF);
  }
  int k = son[at];
  while (k < T) {
    at = k + bits.GetBit();
    k = son[at];
  }
  k -= T;
  // at: the leaf, which the counting starts from
  if constexpr (requires { bits.Peek(0); }) {
    huff.CountByPlaces(k, at);
  } else {
    huff.Count(k, at);
  }
  return k;
}

template <class Bits> int TLZH::DecodePosition(Bits &bits) {
  if constexpr (requires { bits.Peek(0); }) {
    // The code of the upper six bits, then the lower six: at most 14 bits.
    const unsigned next = bits.Peek(14);
    const int length = kPos.d_len[next >> 6];
    bits.Skip(length + 6);
    return kPos.d_code[next >> 6] << 6 | ((next >> (8 - length)) & 0x3F);
  } else {
    int i = bits.GetByte();
    const int high = kPos.d_code[i] << 6;
    for (int j = kPos.d_len[i] - 2; j > 0; --j) {
      i = (i << 1) + bits.GetBit();
    }
    return high | (i & 0x3F);
  }
}

namespace {

// The history a match can reach before the first output byte: the ring as the coder starts it,
// read in output order from the position 4096 bytes back. Its last N - F bytes are spaces; the
// first F are the still unwritten tail of the ring, zero.
struct StartHistory {
  uint8_t bytes[TLZH::N];
  constexpr StartHistory() : bytes() {
    for (int i = TLZH::F; i < TLZH::N; ++i) {
      bytes[i] = ' ';
    }
  }
};
constexpr StartHistory kStartHistory;

// Copies n bytes from back bytes before dst, which may overlap them; eight bytes a step where
// a step reads only what is already written. The first 16 are copied whatever n is, so most
// matches take no loop, and up to 15 bytes past dst + n are overwritten.
inline void CopyMatch(uint8_t *dst, ptrdiff_t back, int n) {
  if (back >= 8) {
    std::memcpy(dst, dst - back, 8);
    std::memcpy(dst + 8, dst + 8 - back, 8);
    for (int k = 16; k < n; k += 8) {
      std::memcpy(dst + k, dst + k - back, 8);
    }
  } else {
    for (int k = 0; k < n; ++k) {
      dst[k] = dst[k - back];
    }
  }
}

} // namespace

void TLZH::Decode(const TReadProc &read, const TWriteProc &write, int32_t textSize) {
  Tables &t = *tables_;
  THuffman &huff = t.Huff;
  huff.StartHuff();
  BitReader<CallbackBytes> bits{CallbackBytes{read}, GetBuf, GetLen};
  CallbackSink out{write};
  uint8_t *const ring = t.TextBuf;
  std::memset(ring, ' ', N - F);
  int r = N - F;
  for (int32_t count = 0; count < textSize;) {
    const int c = DecodeChar(huff, bits);
    if (c < 256) {
      out.Put(static_cast<uint8_t>(c));
      ring[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++count;
      continue;
    }
    // A match is copied whole, also past textSize; it may read what it has just written.
    const int n = c - 255 + THRESHOLD;
    const int from = r - DecodePosition(bits) - 1;
    for (int k = 0; k < n; ++k) {
      const uint8_t b = ring[(from + k) & (N - 1)];
      out.Put(b);
      ring[(r + k) & (N - 1)] = b;
    }
    r = (r + n) & (N - 1);
    count += n;
  }
}

// Output goes through a window that is its own history: the N bytes before the chunk being
// filled are the last N bytes produced (at the start, the ring as the coder starts it), so a
// match is one copy and no ring is kept beside the output. A full chunk goes to the writer and
// its last N bytes move to the front; the memory in use stays the same however long the output
// is. The cursor and the tree stay in locals: every byte stored could otherwise alias them.
void TLZH::DecodeToChunks(const uint8_t *data, size_t size, int32_t textSize,
                          const std::function<void(const uint8_t *, size_t)> &write) {
  constexpr ptrdiff_t kChunk = 64 * 1024;
  // Room for a symbol of F bytes after a chunk's last byte, and for CopyMatch's overrun.
  const std::unique_ptr<uint8_t[]> window(new uint8_t[N + kChunk + F + 15]);
  uint8_t *const start = window.get() + N;
  std::memcpy(window.get(), kStartHistory.bytes, N);
  THuffman &huff = tables_->Huff;
  huff.StartHuff(true);
  FastBitReader bits{data, data + size};
  uint8_t *out = start;
  for (int64_t left = textSize;;) {
    // Symbols start while the output is short of its size and the chunk has room for one.
    uint8_t *const from = out;
    uint8_t *const limit = out + std::min<int64_t>(left, start + kChunk - F + 1 - out);
    while (out < limit) {
      const int c = DecodeChar(huff, bits);
      if (c < 256) {
        *out++ = static_cast<uint8_t>(c);
        continue;
      }
      const int n = c - 255 + THRESHOLD;
      CopyMatch(out, DecodePosition(bits) + 1, n);
      out += n;
    }
    left -= out - from;
    if (left <= 0) {
      break;
    }
    write(start, static_cast<size_t>(out - start));
    std::memmove(window.get(), out - N, N);
    out = start;
  }
  write(start, static_cast<size_t>(out - start));
}

void TLZH::LZHUnpack(int32_t textSize, const TReadProc &read, const TWriteProc &write) {
  InitLZH();
  try {
    Decode(read, write, textSize);
  } catch (...) {
    EndLZH();
    throw;
  }
  EndLZH();
}

void TLZH::UnpackTo(const uint8_t *data, size_t size, int32_t textSize,
                    const std::function<void(const uint8_t *, size_t)> &write) {
  if (textSize <= 0) {
    return;
  }
  InitLZH();
  try {
    DecodeToChunks(data, size, textSize, write);
  } catch (const std::bad_alloc &) {
    EndLZH();
    throw ElzhException(kNoMemory);
  } catch (...) {
    EndLZH();
    throw;
  }
  EndLZH();
}

std::vector<uint8_t> TLZH::UnpackBuffer(const uint8_t *data, size_t size, int32_t textSize) {
  std::vector<uint8_t> out;
  if (textSize <= 0) {
    return out;
  }
  // The shortest match symbol takes 10 bits for at most F bytes, so a whole stream can hold no
  // more than 6 bytes a bit: reserve once by that when the declared size is larger, and let only
  // streams that run past their end (missing bits read as zeros) grow.
  constexpr size_t perByte = 8 * (F / 10);
  const size_t limit = static_cast<size_t>(textSize) + F;
  try {
    out.reserve(size < limit / perByte ? size * perByte : limit);
  } catch (const std::bad_alloc &) {
    throw ElzhException(kNoMemory);
  }
  UnpackTo(data, size, textSize,
           [&out](const uint8_t *bytes, size_t n) { out.insert(out.end(), bytes, bytes + n); });
  return out;
}

// ---------------------------------------------------------------------------------------------
// Stream callbacks and the compressed stream

void TLZH::GetBlockStream(void *buffer, uint16_t count, uint16_t &actual) {
  const int64_t left = InStream->Size() - InStream->Position();
  const auto n = static_cast<int32_t>(std::clamp<int64_t>(left, 0, count));
  actual = static_cast<uint16_t>(n > 0 ? InStream->Read(buffer, n) : 0);
}

void TLZH::PutBlockStream(const void *buffer, uint16_t count, uint16_t &actual) {
  OutStream->WriteBuffer(buffer, count);
  actual = count;
}

TReadProc TLZH::StreamReader() {
  return [this](void *buffer, uint16_t count, uint16_t &actual) {
    GetBlockStream(buffer, count, actual);
  };
}

TWriteProc TLZH::StreamWriter() {
  return [this](const void *buffer, uint16_t count, uint16_t &actual) {
    PutBlockStream(buffer, count, actual);
  };
}

namespace {

std::vector<uint8_t> ReadRest(TStream &source) {
  const int64_t left = source.Size() - source.Position();
  if (left > INT32_MAX) {
    throw ElzhException("LZH : Input too large");
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(left, 0)));
  if (!bytes.empty()) {
    source.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }
  return bytes;
}

} // namespace

void LZHCompressStream(TStream &source, TStream &dest) {
  source.SetPosition(0);
  dest.SetPosition(0);
  const std::vector<uint8_t> input = ReadRest(source);
  const auto size = static_cast<int32_t>(input.size());
  const uint8_t header[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
  dest.WriteBuffer(header, 4);
  TLZH lzh;
  const std::vector<uint8_t> bits = lzh.PackBuffer(input.data(), input.size());
  if (!bits.empty()) {
    dest.WriteBuffer(bits.data(), static_cast<int32_t>(bits.size()));
  }
}

void LZHDecompressStream(TStream &source, TStream &dest, int32_t maxSize) {
  source.SetPosition(0);
  dest.SetPosition(0);
  uint8_t header[4];
  if (source.Read(header, 4) != 4) {
    return;
  }
  const auto size = static_cast<int32_t>(
      static_cast<uint32_t>(header[0]) | (static_cast<uint32_t>(header[1]) << 8) |
      (static_cast<uint32_t>(header[2]) << 16) | (static_cast<uint32_t>(header[3]) << 24));
  if (size <= 0) {
    return;
  }
  if (size > maxSize) {
    throw ElzhException("LZH : Declared size of " + std::to_string(size) +
                        " bytes exceeds the limit of " + std::to_string(maxSize) + " bytes");
  }
  const std::vector<uint8_t> input = ReadRest(source);
  TLZH lzh;
  lzh.UnpackTo(input.data(), input.size(), size, [&dest](const uint8_t *bytes, size_t n) {
    if (n > 0) {
      dest.WriteBuffer(bytes, static_cast<int32_t>(n));
    }
  });
}
