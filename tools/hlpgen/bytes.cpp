// The variable-length number encodings of WinHelp paragraph records.
#include "bytes.h"

#include <cassert>

namespace hlp {

void PutCompressedUnsignedShort(Bytes& out, unsigned value)
{
    assert(value < 0x8000);
    if (value < 0x80) {
        PutByte(out, value * 2);
    } else {
        PutWord(out, value * 2 + 1);
    }
}

// One byte holds -64..63 (stored as (value + 64) * 2); two bytes hold
// -16384..16383 (stored as (value + 16384) * 2 + 1). Negative two-byte values
// are decoded differently by different readers, so callers keep negative
// values within the one-byte range.
void PutCompressedSignedShort(Bytes& out, int value)
{
    if (value >= -64 && value < 64) {
        PutByte(out, (value + 64) * 2);
    } else {
        assert(value >= 0 && value < 16384);
        PutWord(out, (value + 16384) * 2 + 1);
    }
}

// Two bytes hold -16384..16383; larger values take four bytes.
void PutCompressedSignedLong(Bytes& out, long value)
{
    if (value >= -16384 && value < 16384) {
        PutWord(out, static_cast<unsigned>((value + 16384) * 2));
    } else {
        assert(value >= 0 && value < 0x40000000L);
        PutLong(out, static_cast<uint32_t>((value + 0x40000000L) * 2 + 1));
    }
}

}  // namespace hlp
