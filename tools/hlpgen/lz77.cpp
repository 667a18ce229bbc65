// Topic-block compression. A hash of the next three bytes leads to earlier
// places with the same start; the longest match within the 4 KB window wins,
// the nearest one on a tie, so the output depends only on the input.
#include "lz77.h"

#include <vector>

namespace hlp {

namespace {

const size_t kWindow = 4096;
const size_t kMinMatch = 3;
const size_t kMaxMatch = 18;
const int kChainLimit = 256;
const unsigned kHashSize = 1u << 12;

unsigned HashAt(const Bytes& data, size_t at)
{
    return ((data[at] << 8) ^ (data[at + 1] << 4) ^ data[at + 2]) & (kHashSize - 1);
}

struct Match {
    size_t length = 0;
    size_t distance = 0;
};

Match LongestMatch(const Bytes& data, size_t at, const std::vector<long>& head,
                   const std::vector<long>& previous)
{
    Match best;
    if (at + kMinMatch > data.size()) return best;
    size_t limit = data.size() - at < kMaxMatch ? data.size() - at : kMaxMatch;
    int chain = 0;
    for (long candidate = head[HashAt(data, at)]; candidate >= 0 && chain < kChainLimit;
         candidate = previous[candidate], ++chain) {
        size_t distance = at - static_cast<size_t>(candidate);
        if (distance > kWindow) break;
        size_t length = 0;
        while (length < limit && data[candidate + length] == data[at + length]) ++length;
        if (length > best.length) {
            best.length = length;
            best.distance = distance;
            if (length == limit) break;
        }
    }
    if (best.length < kMinMatch) best.length = 0;
    return best;
}

void Remember(const Bytes& data, size_t at, std::vector<long>& head, std::vector<long>& previous)
{
    if (at + kMinMatch > data.size()) return;
    unsigned hash = HashAt(data, at);
    previous[at] = head[hash];
    head[hash] = static_cast<long>(at);
}

}  // namespace

Bytes Lz77Compress(const Bytes& data)
{
    Bytes out;
    std::vector<long> head(kHashSize, -1);
    std::vector<long> previous(data.size(), -1);
    size_t flagAt = 0;
    int items = 8;
    size_t at = 0;
    while (at < data.size()) {
        if (items == 8) {
            flagAt = out.size();
            PutByte(out, 0);
            items = 0;
        }
        Match match = LongestMatch(data, at, head, previous);
        if (match.length) {
            out[flagAt] |= static_cast<uint8_t>(1u << items);
            PutWord(out, static_cast<unsigned>(((match.length - kMinMatch) << 12) | (match.distance - 1)));
            for (size_t i = 0; i < match.length; ++i) Remember(data, at + i, head, previous);
            at += match.length;
        } else {
            PutByte(out, data[at]);
            Remember(data, at, head, previous);
            ++at;
        }
        ++items;
    }
    return out;
}

bool Lz77Expand(const uint8_t* data, size_t size, Bytes& out)
{
    size_t at = 0;
    while (at < size) {
        unsigned flags = data[at++];
        for (int bit = 0; bit < 8 && at < size; ++bit) {
            if (!(flags & (1u << bit))) {
                out.push_back(data[at++]);
                continue;
            }
            if (at + 2 > size) return false;
            unsigned code = GetWord(data + at);
            at += 2;
            size_t distance = (code & 0xFFF) + 1;
            size_t length = (code >> 12) + kMinMatch;
            if (distance > out.size()) return false;
            for (size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
        }
    }
    return true;
}

}  // namespace hlp
