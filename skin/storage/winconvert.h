// The LZH codec of skins: LZSS over a 4096-byte ring buffer, literals and match lengths coded
// with an adaptive Huffman code, match positions with a fixed prefix code. Existing skins must
// decode bit for bit, so every constant, order and tie-break here is part of the format.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TStream;

class ElzhException : public Exception {
public:
  using Exception::Exception;
};

// Byte callbacks: (buffer, count, actual). The codec always asks for one byte; a read that
// reports 0 bytes means end of input.
using TReadProc = std::function<void(void *buffer, uint16_t count, uint16_t &actual)>;
using TWriteProc = std::function<void(const void *buffer, uint16_t count, uint16_t &actual)>;

class TLZH : public TObject {
public:
  static constexpr int N = 4096;                     // ring buffer size
  static constexpr int F = 60;                       // look-ahead size and longest match
  static constexpr int THRESHOLD = 2;                // a match is longer than this
  static constexpr int NIL = N;                      // no node in the search trees
  static constexpr int N_CHAR = 256 - THRESHOLD + F; // literals 0-255, lengths 256-313
  static constexpr int T = 2 * N_CHAR - 1;           // nodes of the Huffman tree
  static constexpr int R = T - 1;                    // position of the root
  static constexpr unsigned MAX_FREQ = 0x8000;       // root frequency that forces a rebuild

  // The adaptive Huffman code of literals and match lengths (the Freq, Parent and Son tables).
  struct THuffman {
    static constexpr int LOOKAHEAD = 8;        // positions Update compares at once
    static constexpr int LOOKUP_BITS = 7;      // code bits the decoder's table resolves at once
    static constexpr uint16_t UNPLACED = 0;    // Place of a position deeper than LOOKUP_BITS
    static constexpr int IDLE = T + LOOKAHEAD; // a counter the climb may bump for nothing

    // Node frequencies; Freq[T] onwards are sentinels above every count, except Freq[IDLE].
    uint16_t Freq[T + LOOKAHEAD + 2];
    uint16_t Parent[T + N_CHAR]; // Parent[T + c]: leaf position of symbol c
    uint16_t Son[T];             // first of two children, or T + symbol for a leaf
    int Rebuilds = 0;

    // The decoder's view of the top of the tree, kept only when StartHuff was asked for it.
    // Lookup[b]: for the next LOOKUP_BITS bits b of the stream, the node where the walk from
    // the root ends after them (a leaf, or a node at depth LOOKUP_BITS) as depth << 10 |
    // position. A node at most LOOKUP_BITS deep has a place, 1 << depth | its path (the root
    // is 1): Place[k] is that of position k or UNPLACED, NodeAt[place] the position there, and
    // NodeAt[0] is IDLE. A node's ancestors are then found by halving its place.
    bool KeepLookup = false;
    uint16_t Lookup[1 << LOOKUP_BITS];
    uint16_t Place[T];
    uint16_t NodeAt[2 << LOOKUP_BITS];

    void StartHuff(bool keepLookup = false);
    // Counts one more c, rebuilding with halved counts first if the root is at MAX_FREQ.
    void Update(int c);
    // Writes the code of c into bits, root first, one bit per entry (room for T entries);
    // returns its length. Paths may be longer than 16 edges.
    int CodeOf(int c, uint8_t *bits) const;

  private:
    friend class TLZH; // the decoder inlines the update

    // Update, given the position of c's leaf: climbing by parents, or (with the lookup kept)
    // by places once the climb reaches the top of the tree.
    void Count(int c, int leaf);
    void CountByPlaces(int c, int leaf);
    bool PlacedStep(int &k, unsigned &place);
    void ClimbFrom(int k); // counts k and its ancestors
    void Reconst();
    int Trade(int k, uint16_t f);
    [[gnu::noinline]] int TradeByCall(int k, uint16_t f);
    // Whether a position with this place lies above the depth the lookup resolves (its
    // entries end at or below it).
    static bool Shallow(unsigned place) { return place - 1u < (1u << LOOKUP_BITS) - 1u; }
    void Reshape(int k, int l);
    void FillLookup(int k, unsigned place);
    void ForgetBelow(int k);
  };

  TLZH();
  ~TLZH() override;
  TLZH(const TLZH &) = delete;
  TLZH &operator=(const TLZH &) = delete;

  // Streams used by GetBlockStream and PutBlockStream; borrowed, not owned.
  TStream *InStream = nullptr;
  TStream *OutStream = nullptr;

  void GetBlockStream(void *buffer, uint16_t count, uint16_t &actual);
  void PutBlockStream(const void *buffer, uint16_t count, uint16_t &actual);
  // The two methods above bound to this object, ready to pass to LZHPack and LZHUnpack.
  TReadProc StreamReader();
  TWriteProc StreamWriter();

  // Compresses everything read delivers into a bit stream (no size field) written through
  // write; textSize gets the number of bytes consumed.
  void LZHPack(int32_t &textSize, const TReadProc &read, const TWriteProc &write);
  // Decodes until textSize bytes have been produced (the last match is copied whole, so up to
  // F - 1 bytes more may be written). Missing input reads as zero bits.
  void LZHUnpack(int32_t textSize, const TReadProc &read, const TWriteProc &write);

  // The same two operations over whole buffers in memory, bit for bit identical to the
  // callback forms but without a call per byte. UnpackBuffer reserves the smaller of the
  // declared size and what the input can hold (6 bytes a bit) and grows only as bytes are
  // produced beyond that, so a huge declared size costs memory only as far as decoding goes.
  std::vector<uint8_t> PackBuffer(const uint8_t *data, size_t size);
  std::vector<uint8_t> UnpackBuffer(const uint8_t *data, size_t size, int32_t textSize);
  // Decodes as UnpackBuffer does but hands the output to write in pieces of up to 64 KB, in
  // order, holding no more than one piece and its history at a time.
  void UnpackTo(const uint8_t *data, size_t size, int32_t textSize,
                const std::function<void(const uint8_t *, size_t)> &write);

  // Figures of the last call, for tests and tuning: Huffman rebuilds, longest code emitted.
  int Rebuilds() const { return rebuilds_; }
  int LongestCode() const { return longestCode_; }

private:
  struct Tables;
  template <class Input> struct BitReader;
  struct CallbackBytes;
  struct MemoryBytes;
  struct FastBitReader;

  void InitLZH();
  void EndLZH();
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);
  template <class Sink> void Putcode(Sink &sink, int l, uint16_t c);
  template <class Sink> void EncodeChar(Sink &sink, int c);
  template <class Sink> void EncodePosition(Sink &sink, int p);
  template <class Sink> void EncodeEnd(Sink &sink);
  template <class Source, class Sink> int32_t Encode(Source &source, Sink &sink);
  template <class Bits> static int DecodeChar(THuffman &huff, Bits &bits);
  template <class Bits> static int DecodePosition(Bits &bits);
  // The callback form, as the format describes it, and the form over memory.
  void Decode(const TReadProc &read, const TWriteProc &write, int32_t textSize);
  void DecodeToChunks(const uint8_t *data, size_t size, int32_t textSize,
                      const std::function<void(const uint8_t *, size_t)> &write);

  // Codec state, in the order of the format description.
  uint16_t GetBuf = 0;
  uint8_t GetLen = 0;
  uint8_t PutLen = 0;
  uint16_t PutBuf = 0;
  int32_t TextSize = 0;
  int16_t MatchPosition = 0;
  int16_t MatchLength = 0;
  std::unique_ptr<Tables> tables_; // TextBuf, LeftSon, Dad, RightSon, Freq, Parent, Son

  int rebuilds_ = 0;
  int longestCode_ = 0;
};

// The compressed stream: 4-byte little-endian uncompressed size, then the bit stream.
// Both streams are positioned at 0 first; dest is written from its start.
void LZHCompressStream(TStream &source, TStream &dest);
// Raises ElzhException when the declared size exceeds maxSize, before decoding anything.
// A source too short for the size field, or a size of 0 or less, decodes to nothing.
void LZHDecompressStream(TStream &source, TStream &dest, int32_t maxSize);
