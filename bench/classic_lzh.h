// A classic LZH coder kept as the yardstick of the codec benchmark: one bit at a time, every
// byte through getc and putc, written straight from the format description. Both functions
// work on the compressed file form (4-byte little-endian size, then the bit stream).
#pragma once

#include <cstdio>

// Compresses the whole of in (which must be seekable) into out.
void ClassicLZHEncode(std::FILE *in, std::FILE *out);
void ClassicLZHDecode(std::FILE *in, std::FILE *out);
