// Deterministic skin-like test data: 24-bit bitmaps with gradients, flat areas, magenta
// (transparent) regions and a little dither, and INI text in the skin vocabulary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace skincorpus {

// A complete 24-bit BMP file (bottom-up rows padded to 4 bytes); seed varies the picture.
std::vector<uint8_t> Bitmap(int width, int height, uint32_t seed);
// A skin INI naming the given bitmaps.
std::string IniText(const std::vector<std::string> &bitmaps);
// Bitmaps and INI text back to back, cut or padded with bitmaps to exactly size bytes.
std::vector<uint8_t> Corpus(size_t size);

// Hard data for the coder: 24-bit bitmaps of gradients with per-pixel noise, flat patches and
// text that mixes English words, GB2312 Chinese and numbers, exactly size bytes. It compresses
// to about 40 %: most symbols are literals with long, changing codes.
std::vector<uint8_t> NoisyBitmap(int width, int height, uint32_t seed);
std::vector<uint8_t> MixedText(size_t size, uint32_t seed);
std::vector<uint8_t> HardCorpus(size_t size);

} // namespace skincorpus
