// Codec speed against a classic bit-at-a-time coder that reads and writes through getc and
// putc, on a skin-like corpus (about 11 % compressed) and on hard data (noisy bitmaps and mixed
// text, about 40 %). Both sides run file to file, the codec reading its input whole as the
// program does; the rounds of the two sides alternate and each figure is the median of its
// rounds, because these machines are noisy. The compressed files of the two coders must be
// equal byte for byte and both decoders must give back the corpus.
#include "bench/bench_util.h"
#include "bench/classic_lzh.h"
#include "skin/storage/winconvert.h"
#include "tests/native/storage/skin_corpus.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

using bench::Median;

double Seconds(const std::function<void()> &work) {
  const double start = bench::Seconds();
  work();
  return bench::Seconds() - start;
}

std::FILE *FileWith(const Bytes &bytes) {
  std::FILE *f = std::tmpfile();
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
    std::perror("lzh_bench: temporary file");
    std::exit(1);
  }
  std::rewind(f);
  return f;
}

Bytes Contents(std::FILE *f) {
  std::fflush(f);
  std::fseek(f, 0, SEEK_END);
  Bytes bytes(static_cast<size_t>(std::ftell(f)));
  std::rewind(f);
  if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
    std::perror("lzh_bench: temporary file");
    std::exit(1);
  }
  return bytes;
}

// The codec as a program uses it on files: the whole input read at once; the compressed file
// written in one piece, the decoded one in the decoder's pieces.
void CodecFileToFile(std::FILE *in, std::FILE *out, bool pack) {
  const Bytes input = Contents(in);
  TLZH lzh;
  if (pack) {
    const auto size = static_cast<uint32_t>(input.size());
    Bytes output = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                    static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    const Bytes bits = lzh.PackBuffer(input.data(), input.size());
    output.insert(output.end(), bits.begin(), bits.end());
    std::fwrite(output.data(), 1, output.size(), out);
  } else if (input.size() >= 4) {
    // Only the declared size is written; the decoder may run up to a match past it.
    auto left = static_cast<size_t>(
        std::max<int32_t>(0, static_cast<int32_t>(input[0] | input[1] << 8 | input[2] << 16 |
                                                  static_cast<uint32_t>(input[3]) << 24)));
    lzh.UnpackTo(input.data() + 4, input.size() - 4, static_cast<int32_t>(left),
                 [&](const uint8_t *bytes, size_t n) {
                   n = std::min(n, left);
                   std::fwrite(bytes, 1, n, out);
                   left -= n;
                 });
  }
  std::fflush(out);
}

struct Side {
  std::vector<double> seconds;
  Bytes output;
};

// Runs both coders rounds times, alternating, each from a file holding input to a new file.
void RaceFileToFile(const Bytes &input, int rounds, Side &codec, Side &classic,
                    const std::function<void(std::FILE *, std::FILE *)> &codecWork,
                    const std::function<void(std::FILE *, std::FILE *)> &classicWork) {
  for (int i = 0; i < rounds; ++i) {
    for (Side *side : {&codec, &classic}) {
      std::FILE *in = FileWith(input);
      std::FILE *out = std::tmpfile();
      const auto &work = side == &codec ? codecWork : classicWork;
      side->seconds.push_back(Seconds([&] { work(in, out); }));
      side->output = Contents(out);
      std::fclose(in);
      std::fclose(out);
    }
  }
}

bool Report(const char *name, const Bytes &corpus, int rounds) {
  const double megabytes = static_cast<double>(corpus.size()) / (1 << 20);
  Side codecPack;
  Side classicPack;
  RaceFileToFile(
      corpus, rounds, codecPack, classicPack,
      [](std::FILE *in, std::FILE *out) { CodecFileToFile(in, out, true); }, ClassicLZHEncode);
  Side codecUnpack;
  Side classicUnpack;
  RaceFileToFile(
      classicPack.output, rounds, codecUnpack, classicUnpack,
      [](std::FILE *in, std::FILE *out) { CodecFileToFile(in, out, false); }, ClassicLZHDecode);

  // The codec alone, in memory.
  TLZH lzh;
  std::vector<double> pack;
  std::vector<double> unpack;
  const auto size = static_cast<int32_t>(corpus.size());
  Bytes bits;
  Bytes back;
  for (int i = 0; i < rounds; ++i) {
    pack.push_back(Seconds([&] { bits = lzh.PackBuffer(corpus.data(), corpus.size()); }));
    unpack.push_back(Seconds([&] { back = lzh.UnpackBuffer(bits.data(), bits.size(), size); }));
  }

  std::printf("%s corpus: %zu bytes, compressed %zu bytes (%.1f%%)\n", name, corpus.size(),
              classicPack.output.size(),
              100.0 * static_cast<double>(classicPack.output.size()) /
                  static_cast<double>(corpus.size()));
  if (codecPack.output != classicPack.output) {
    std::printf("  FAIL: the codec's compressed file differs from the classic coder's\n");
    return false;
  }
  if (codecUnpack.output != corpus || classicUnpack.output != corpus || back != corpus) {
    std::printf("  FAIL: a decoder did not give back the corpus\n");
    return false;
  }
  const double cp = Median(codecPack.seconds);
  const double kp = Median(classicPack.seconds);
  const double cu = Median(codecUnpack.seconds);
  const double ku = Median(classicUnpack.seconds);
  std::printf("  file to file   codec encode %7.1f MB/s  classic %7.1f MB/s  ratio %5.2f\n",
              megabytes / cp, megabytes / kp, kp / cp);
  std::printf("  file to file   codec decode %7.1f MB/s  classic %7.1f MB/s  ratio %5.2f\n",
              megabytes / cu, megabytes / ku, ku / cu);
  std::printf("  in memory      codec encode %7.1f MB/s  decode %7.1f MB/s\n",
              megabytes / Median(pack), megabytes / Median(unpack));
  return true;
}

} // namespace

int main(int argc, char **argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const size_t hardSize = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) << 20 : 4u << 20;
  std::printf("median of %d rounds, rounds of the codec and the classic coder alternating\n",
              rounds);
  const bool ok = Report("skin-like", skincorpus::Corpus(1 << 20), rounds) &&
                  Report("hard", skincorpus::HardCorpus(hardSize), rounds);
  return ok ? 0 : 1;
}
