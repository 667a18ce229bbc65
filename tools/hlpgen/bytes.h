// Little-endian byte building for the help file: every structure of the
// format is a run of 8-, 16- and 32-bit little-endian fields and
// NUL-terminated strings, written into growable byte vectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hlp {

using Bytes = std::vector<uint8_t>;

inline void PutByte(Bytes& out, unsigned value)
{
    out.push_back(static_cast<uint8_t>(value));
}

inline void PutWord(Bytes& out, unsigned value)
{
    PutByte(out, value & 0xFF);
    PutByte(out, (value >> 8) & 0xFF);
}

inline void PutLong(Bytes& out, uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

inline void PutBytes(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// The string and its terminating NUL.
inline void PutStringZ(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

// Overwrites a 32-bit field written earlier (a placeholder).
inline void PatchLong(Bytes& out, size_t at, uint32_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
    out[at + 2] = static_cast<uint8_t>(value >> 16);
    out[at + 3] = static_cast<uint8_t>(value >> 24);
}

inline unsigned GetWord(const uint8_t* at)
{
    return at[0] | (at[1] << 8);
}

inline uint32_t GetLong(const uint8_t* at)
{
    return GetWord(at) | (static_cast<uint32_t>(GetWord(at + 2)) << 16);
}

// "Compressed" numbers of the paragraph records: one byte for small values,
// two bytes otherwise; the low bit tells which. The signed forms are biased.
void PutCompressedUnsignedShort(Bytes& out, unsigned value);
void PutCompressedSignedShort(Bytes& out, int value);
void PutCompressedSignedLong(Bytes& out, long value);

}  // namespace hlp
