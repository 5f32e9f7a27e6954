// Codec throughput on a deterministic 1 MB skin-like corpus, and the ratio of the buffer
// decoder to a plain bit-at-a-time decoder reading through the byte callbacks, measured in the
// same run (these machines are noisy, so each figure is the best of several rounds).
#include "bench/plain_lzh_decoder.h"
#include "skin/storage/winconvert.h"
#include "tests/native/storage/skin_corpus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

template <class Work> double BestSeconds(int rounds, Work work) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

} // namespace

int main(int argc, char **argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::vector<uint8_t> corpus = skincorpus::Corpus(1 << 20);
  const double megabytes = static_cast<double>(corpus.size()) / (1 << 20);
  const auto size = static_cast<int32_t>(corpus.size());
  TLZH lzh;

  std::vector<uint8_t> bits;
  const double encode =
      BestSeconds(rounds, [&] { bits = lzh.PackBuffer(corpus.data(), corpus.size()); });

  std::vector<uint8_t> fast;
  const double decode =
      BestSeconds(rounds, [&] { fast = lzh.UnpackBuffer(bits.data(), bits.size(), size); });

  std::vector<uint8_t> plain;
  const double reference = BestSeconds(rounds, [&] {
    plain.clear();
    plain.reserve(corpus.size());
    size_t next = 0;
    PlainLZHUnpack(
        size,
        [&](void *buffer, uint16_t, uint16_t &actual) {
          actual = next < bits.size() ? 1 : 0;
          if (actual) {
            *static_cast<uint8_t *>(buffer) = bits[next++];
          }
        },
        [&](const void *buffer, uint16_t count, uint16_t &actual) {
          const auto *p = static_cast<const uint8_t *>(buffer);
          plain.insert(plain.end(), p, p + count);
          actual = count;
        });
  });

  if (fast != corpus || plain != corpus) {
    std::fprintf(stderr, "lzh_bench: decoded data differs from the corpus\n");
    return 1;
  }
  std::printf("corpus %zu bytes, compressed %zu bytes (%.1f%%)\n", corpus.size(), bits.size(),
              100.0 * static_cast<double>(bits.size()) / static_cast<double>(corpus.size()));
  std::printf("encode          %8.1f MB/s\n", megabytes / encode);
  std::printf("decode          %8.1f MB/s\n", megabytes / decode);
  std::printf("plain decode    %8.1f MB/s\n", megabytes / reference);
  std::printf("decode / plain  %8.2f\n", reference / decode);
  return 0;
}
