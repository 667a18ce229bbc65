// The LZ77 variant of WinHelp topic blocks: a flag byte announces eight
// items, least significant bit first; a clear bit is one literal byte, a set
// bit a 16-bit code that copies 3..18 bytes from 1..4096 bytes back.
#pragma once

#include "bytes.h"

namespace hlp {

// Greedy compression; never longer than the all-literal form
// (size + ceil(size / 8) bytes).
Bytes Lz77Compress(const Bytes& data);

// Expands a whole compressed stream. Fails on a copy reaching before the
// start of the output.
bool Lz77Expand(const uint8_t* data, size_t size, Bytes& out);

}  // namespace hlp
