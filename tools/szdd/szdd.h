// The SZDD codec of the packer: MS-DOS COMPRESS files as Windows' LZ32
// library expands them. Functions over byte buffers, so the command-line
// tool, the benchmarks and the tests share one implementation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Header: 8-byte magic, method 'A', missing last name character,
// little-endian expanded length.
constexpr size_t kSzddHeaderSize = 14;
extern const uint8_t kSzddMagic[8];

enum SzddStatus {
    SzddOk = 0,
    SzddTooLarge,        // compress: input of 2 GB or more
    SzddShortHeader,     // expand: fewer bytes than the 14-byte header
    SzddBadMagic,        // expand: not an SZDD file
    SzddBadMethod,       // expand: method byte other than 'A'
    SzddTruncated,       // expand: data ends before the declared length
    SzddTooLong,         // expand: data expands past the declared length
};

// A short English description of a status, for error messages.
const char* SzddStatusText(SzddStatus status);

// Packs data into a complete SZDD file (header included) in out.
// missingChar is recorded as the last character of the file's name.
// Same input, same output: the parse is chosen without any randomness.
SzddStatus SzddCompress(const uint8_t* data, size_t size, uint8_t missingChar,
                        std::vector<uint8_t>& out);

// Unpacks a complete SZDD file into out. On SzddTruncated and SzddTooLong,
// out holds what was expanded before the fault was seen (for the message).
SzddStatus SzddExpand(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

// The expanded length the header of a file of at least 14 bytes declares.
uint32_t SzddDeclaredLength(const uint8_t* data);

// The byte stored for the missing name character: the last character of
// the path's final component, 0 when that component is empty.
uint8_t SzddMissingCharOf(const char* path);

inline SzddStatus SzddCompress(const std::vector<uint8_t>& data, uint8_t missingChar,
                               std::vector<uint8_t>& out)
{
    return SzddCompress(data.data(), data.size(), missingChar, out);
}

inline SzddStatus SzddExpand(const std::vector<uint8_t>& data, std::vector<uint8_t>& out)
{
    return SzddExpand(data.data(), data.size(), out);
}
