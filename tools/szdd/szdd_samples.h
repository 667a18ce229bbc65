// Deterministic sample inputs that exercise the SZDD format's edges: the
// native tests round-trip them, and `szdd fixtures` writes them out so the
// Windows side can check that LZ32 expands our packing byte-exact.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SzddSample {
    std::string name;  // usable as a file name on Windows and Linux
    std::vector<uint8_t> bytes;
};

std::vector<SzddSample> SzddSamples();

// Payload-like English text: lines of words, version numbers, indented
// lists, blank lines. The same seed gives the same bytes.
std::vector<uint8_t> SzddGeneratedText(size_t size, uint32_t seed);

// Uniformly random bytes from a fixed generator.
std::vector<uint8_t> SzddRandomBytes(size_t size, uint32_t seed);

// Fixed-size binary records with small little-endian numbers and zeros,
// like the tables inside an executable.
std::vector<uint8_t> SzddRecordTable(size_t size, uint32_t seed);
