// SZDD packing and unpacking. The expander mirrors the classic one byte for
// byte (a 4096-byte ring that starts as blanks, first write at 0xFF0, matches
// copied one byte at a time through the ring), because the packer exploits
// exactly those rules: matches into never-written blanks, matches that
// overlap the bytes they produce, and matches a full ring length back.
#include "szdd.h"

#include <algorithm>
#include <cstring>

const uint8_t kSzddMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

namespace {

constexpr size_t kRingSize = 4096;
constexpr size_t kRingMask = kRingSize - 1;
constexpr size_t kFirstRingPos = kRingSize - 16;  // 0xFF0
constexpr uint8_t kBlank = 0x20;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;

// Bits per item: each item costs its flag bit plus its bytes; the file's
// size is exactly ceil(total bits / 8) after the header.
constexpr uint64_t kLiteralBits = 9;
constexpr uint64_t kMatchBits = 17;

void WriteLe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void WriteHeader(std::vector<uint8_t>& out, uint8_t missingChar, uint32_t length)
{
    out.assign(kSzddMagic, kSzddMagic + sizeof kSzddMagic);
    out.push_back('A');
    out.push_back(missingChar);
    WriteLe32(out, length);
}

// ---- Match search -------------------------------------------------------
//
// The input is searched inside a buffer that starts with kRingSize blanks:
// buffer index X stands for output index X - kRingSize and ring position
// (kFirstRingPos + X) & kRingMask, so the blank prefix is exactly the ring's
// never-written contents. A match of distance 1..kRingSize back is valid,
// overlap included.

struct MatchTable {
    std::vector<uint8_t> length;     // longest match at each input position, 0 if < 3
    std::vector<uint16_t> ringPos;   // its ring position
};

constexpr int kHashBits = 16;

inline uint32_t Hash3(const uint8_t* p)
{
    uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
    return (key * 2654435761u) >> (32 - kHashBits);
}

std::vector<uint8_t> BlankPrefixed(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> buffer(kRingSize + size, kBlank);
    if (size > 0)
        memcpy(buffer.data() + kRingSize, data, size);
    return buffer;
}

// Each hash bucket holds a binary search tree of the window's positions,
// ordered by the (up to 18) bytes that start there, newest at the root and
// every node newer than the nodes below it. Inserting a position walks the
// path where it belongs, which passes both of its neighbours in that order,
// so the longest match comes out exact; a plain hash chain would have to
// visit every window position with the same three bytes (hundreds per byte
// in an executable's tables) for the same answer.
struct MatchTrees {
    std::vector<int32_t> root;
    std::vector<int32_t> smaller;  // per buffer index: subtree of smaller strings
    std::vector<int32_t> larger;   // and of larger ones
};

// Inserts buffer index at as the new root of its bucket's tree and returns
// the longest match found on the way (0 when shorter than 3), its start in
// *from. Nodes older than the window end the walk; their subtrees are older
// still and are cut off.
size_t InsertAndMatch(const std::vector<uint8_t>& buffer, MatchTrees& trees, size_t at,
                      size_t* from)
{
    const uint8_t* here = buffer.data() + at;
    const size_t limit = std::min(kMaxMatch, buffer.size() - at);
    const size_t oldest = at - std::min(at, kRingSize);
    int32_t& bucket = trees.root[Hash3(here)];
    int32_t node = bucket;
    bucket = static_cast<int32_t>(at);

    int32_t* smallerLink = &trees.smaller[at];  // where the next smaller node hangs
    int32_t* largerLink = &trees.larger[at];
    size_t smallerLen = 0, largerLen = 0;       // prefix shared with each side's bound
    size_t best = 0;
    while (node >= 0 && static_cast<size_t>(node) >= oldest) {
        const uint8_t* there = buffer.data() + node;
        size_t len = std::min(smallerLen, largerLen);
        while (len < limit && there[len] == here[len])
            len++;
        if (len > best) {
            best = len;
            *from = static_cast<size_t>(node);
        }
        if (len == limit) {
            // Same string as far as it counts: the new node replaces it.
            *smallerLink = trees.smaller[node];
            *largerLink = trees.larger[node];
            return best >= kMinMatch ? best : 0;
        }
        if (there[len] < here[len]) {
            *smallerLink = node;
            smallerLink = &trees.larger[node];
            node = *smallerLink;
            smallerLen = len;
        } else {
            *largerLink = node;
            largerLink = &trees.smaller[node];
            node = *largerLink;
            largerLen = len;
        }
    }
    *smallerLink = -1;
    *largerLink = -1;
    return best >= kMinMatch ? best : 0;
}

MatchTable FindMatches(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> buffer = BlankPrefixed(data, size);
    MatchTrees trees;
    trees.root.assign(size_t(1) << kHashBits, -1);
    trees.smaller.assign(buffer.size(), -1);
    trees.larger.assign(buffer.size(), -1);

    // Of the blank prefix only its last kMaxMatch positions matter: any
    // earlier blank start gives the same run of blanks as the first of them.
    size_t unused;
    for (size_t x = kRingSize - kMaxMatch; x < kRingSize && x + kMinMatch <= buffer.size(); x++)
        InsertAndMatch(buffer, trees, x, &unused);

    MatchTable table;
    table.length.assign(size, 0);
    table.ringPos.assign(size, 0);
    for (size_t i = 0; i < size; i++) {
        size_t at = kRingSize + i;
        if (at + kMinMatch > buffer.size())
            break;
        size_t from = 0;
        size_t len = InsertAndMatch(buffer, trees, at, &from);
        if (len > 0) {
            table.length[i] = static_cast<uint8_t>(len);
            table.ringPos[i] = static_cast<uint16_t>((kFirstRingPos + from) & kRingMask);
        }
    }
    return table;
}

// ---- Optimal parse ------------------------------------------------------
//
// Going backwards, the cheapest way to code the rest of the input from each
// position: a literal, or a match of any length from 3 up to the longest
// one found there (a prefix of a match is a match). With the exact bit costs
// this gives the smallest file the format allows for the matches found.

std::vector<uint8_t> ChooseItems(const MatchTable& matches, size_t size)
{
    std::vector<uint64_t> cost(size + 1, 0);
    std::vector<uint8_t> choice(size, 0);  // 0 literal, else match length
    for (size_t i = size; i-- > 0;) {
        cost[i] = kLiteralBits + cost[i + 1];
        for (size_t len = matches.length[i]; len >= kMinMatch; len--) {
            uint64_t c = kMatchBits + cost[i + len];
            if (c < cost[i]) {  // strict: among equals, the longest match wins
                cost[i] = c;
                choice[i] = static_cast<uint8_t>(len);
            }
        }
    }
    return choice;
}

void EmitItems(const uint8_t* data, size_t size, const MatchTable& matches,
               const std::vector<uint8_t>& choice, std::vector<uint8_t>& out)
{
    size_t flagAt = 0;
    int items = 8;
    for (size_t i = 0; i < size;) {
        if (items == 8) {
            flagAt = out.size();
            out.push_back(0);
            items = 0;
        }
        if (choice[i] == 0) {
            out[flagAt] |= static_cast<uint8_t>(1 << items);
            out.push_back(data[i]);
            i++;
        } else {
            uint16_t pos = matches.ringPos[i];
            out.push_back(static_cast<uint8_t>(pos & 0xFF));
            out.push_back(static_cast<uint8_t>(((pos >> 8) << 4) | (choice[i] - kMinMatch)));
            i += choice[i];
        }
        items++;
    }
}

// ---- Expansion ----------------------------------------------------------

struct Ring {
    uint8_t bytes[kRingSize];
    size_t pos;
};

inline void PutByte(Ring& ring, std::vector<uint8_t>& out, uint8_t byte)
{
    ring.bytes[ring.pos] = byte;
    ring.pos = (ring.pos + 1) & kRingMask;
    out.push_back(byte);
}

SzddStatus CheckHeader(const uint8_t* data, size_t size)
{
    // A short file is "not SZDD" only if what it has already differs.
    if (size > 0 && memcmp(data, kSzddMagic, std::min(size, sizeof kSzddMagic)) != 0)
        return SzddBadMagic;
    if (size < kSzddHeaderSize)
        return SzddShortHeader;
    if (data[8] != 'A')
        return SzddBadMethod;
    return SzddOk;
}

}  // namespace

const char* SzddStatusText(SzddStatus status)
{
    switch (status) {
    case SzddOk: return "success";
    case SzddTooLarge: return "file too large to pack (2 GB at most)";
    case SzddShortHeader: return "file shorter than the 14-byte SZDD header";
    case SzddBadMagic: return "not an SZDD file (wrong magic)";
    case SzddBadMethod: return "unknown SZDD compression method (not 'A')";
    case SzddTruncated: return "compressed data ends before the declared length";
    case SzddTooLong: return "compressed data expands past the declared length";
    }
    return "unknown error";
}

uint32_t SzddDeclaredLength(const uint8_t* data)
{
    return data[10] | (data[11] << 8) | (data[12] << 16) | (uint32_t(data[13]) << 24);
}

uint8_t SzddMissingCharOf(const char* path)
{
    size_t len = strlen(path);
    if (len == 0 || path[len - 1] == '/')
        return 0;
    return static_cast<uint8_t>(path[len - 1]);
}

SzddStatus SzddCompress(const uint8_t* data, size_t size, uint8_t missingChar,
                        std::vector<uint8_t>& out)
{
    // The format's limit is 4 GB; the match trees' 32-bit links stop at 2 GB.
    if (size > 0x7FFFFFFFu - kRingSize)
        return SzddTooLarge;
    WriteHeader(out, missingChar, static_cast<uint32_t>(size));
    if (size == 0)
        return SzddOk;
    MatchTable matches = FindMatches(data, size);
    std::vector<uint8_t> choice = ChooseItems(matches, size);
    out.reserve(kSzddHeaderSize + size + size / 8 + 1);
    EmitItems(data, size, matches, choice, out);
    return SzddOk;
}

SzddStatus SzddExpand(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    SzddStatus status = CheckHeader(data, size);
    if (status != SzddOk)
        return status;
    const size_t declared = SzddDeclaredLength(data);
    // A flag byte and eight matches (17 bytes) give at most 144 bytes; a
    // lying header must not make us reserve gigabytes.
    out.reserve(std::min(declared, (size - kSzddHeaderSize) * 9));

    Ring ring;
    memset(ring.bytes, kBlank, sizeof ring.bytes);
    ring.pos = kFirstRingPos;

    size_t in = kSzddHeaderSize;
    while (in < size) {
        uint8_t flags = data[in++];
        for (int bit = 0; bit < 8 && in < size; bit++) {
            if (out.size() >= declared)
                return SzddTooLong;
            if (flags & (1 << bit)) {
                PutByte(ring, out, data[in++]);
                continue;
            }
            if (in + 2 > size)
                return SzddTruncated;  // half a match
            size_t from = data[in] | ((data[in + 1] & 0xF0) << 4);
            size_t len = (data[in + 1] & 0x0F) + kMinMatch;
            in += 2;
            // Byte by byte: a match may read what it has just written.
            for (size_t k = 0; k < len; k++) {
                if (out.size() >= declared)
                    return SzddTooLong;
                PutByte(ring, out, ring.bytes[(from + k) & kRingMask]);
            }
        }
    }
    return out.size() == declared ? SzddOk : SzddTruncated;
}
