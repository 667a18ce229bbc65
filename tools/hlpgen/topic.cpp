// Topic block layout. Records are placed whole, in source order, into
// topic blocks; a block takes records while its contents still compress into
// the 4084 bytes after the block header (and expand to at most 16 KB), so no
// record straddles two blocks. Positions are TOPICPOS values:
// 12 + block * 0x4000 + offset in the expanded block. The fields that point
// at other records are filled in after placement, which changes the bytes a
// little: a block that then no longer fits makes the whole layout run again
// with more room to spare.
#include "topic.h"

#include "lz77.h"
#include "records.h"

namespace hlp {

namespace {

const uint32_t kNone = 0xFFFFFFFF;
const size_t kBlockRoom = kTopicBlockSize - kTopicBlockHeaderSize;

struct PlacedLink {
    LinkRecord record;
    int topic = 0;
    int block = 0;
    uint32_t position = 0;
};

struct TopicLinks {
    size_t header = 0;  // index of its header record
    size_t end = 0;     // one past its last record
};

LinkRecord TopicHeaderRecord(const std::string& title)
{
    LinkRecord record;
    record.type = kLinkTopicHeader;
    record.data1.assign(kTopicHeaderSize, 0);  // filled in after placement
    PutStringZ(record.data2, title);
    return record;
}

void CollectLinks(const HelpSource& source, std::vector<PlacedLink>& links, std::vector<TopicLinks>& topics)
{
    for (size_t t = 0; t < source.topics.size(); ++t) {
        const Topic& topic = source.topics[t];
        TopicLinks span;
        span.header = links.size();
        links.push_back({TopicHeaderRecord(topic.title), static_cast<int>(t)});
        links.push_back({EncodeTitle(topic.title), static_cast<int>(t)});
        for (const Paragraph& paragraph : topic.paragraphs) {
            links.push_back({EncodeParagraph(paragraph), static_cast<int>(t)});
        }
        span.end = links.size();
        topics.push_back(span);
    }
}

bool FitsCompressed(const Bytes& data, size_t room)
{
    if (data.size() + (data.size() + 7) / 8 <= room) return true;  // even as literals
    return Lz77Compress(data).size() <= room;
}

void PlaceLinks(std::vector<PlacedLink>& links, size_t spare)
{
    Bytes block;
    int number = 0;
    for (PlacedLink& link : links) {
        Bytes bytes = SerializeLink(link.record, 0, 0);
        if (!block.empty()) {
            Bytes candidate = block;
            PutBytes(candidate, bytes);
            size_t room = spare < kBlockRoom ? kBlockRoom - spare : 0;
            if (candidate.size() > kDecompressSize || !FitsCompressed(candidate, room)) {
                ++number;
                block.clear();
            }
        }
        link.block = number;
        link.position = static_cast<uint32_t>(kTopicBlockHeaderSize + number * kDecompressSize + block.size());
        PutBytes(block, bytes);
    }
}

// A TOPICOFFSET is block * 0x8000 plus the characters of the records in
// that block before the position.
std::vector<uint32_t> TopicOffsets(const std::vector<PlacedLink>& links, size_t topicCount)
{
    std::vector<uint32_t> offsets(topicCount, kNone);
    int block = -1;
    uint32_t characters = 0;
    for (const PlacedLink& link : links) {
        if (link.block != block) {
            block = link.block;
            characters = 0;
        }
        if (link.record.type == kLinkTopicHeader) offsets[link.topic] = block * 0x8000u + characters;
        characters += static_cast<uint32_t>(link.record.characters);
    }
    return offsets;
}

uint32_t TopicSize(const std::vector<PlacedLink>& links, const TopicLinks& span)
{
    size_t size = 0;
    for (size_t i = span.header; i < span.end; ++i) {
        size += kLinkHeaderSize + links[i].record.data1.size() + links[i].record.data2.size();
    }
    return static_cast<uint32_t>(size);
}

// Browse sequence in source order; the title forms the non-scrolling region.
void FillTopicHeaders(std::vector<PlacedLink>& links, const std::vector<TopicLinks>& topics,
                      const std::vector<uint32_t>& offsets)
{
    for (size_t t = 0; t < topics.size(); ++t) {
        const TopicLinks& span = topics[t];
        Bytes& header = links[span.header].record.data1;
        header.clear();
        PutLong(header, TopicSize(links, span));
        PutLong(header, t == 0 ? kNone : offsets[t - 1]);
        PutLong(header, t + 1 == topics.size() ? kNone : offsets[t + 1]);
        PutLong(header, static_cast<uint32_t>(t));
        PutLong(header, links[span.header + 1].position);
        PutLong(header, span.header + 2 < span.end ? links[span.header + 2].position : kNone);
        PutLong(header, t + 1 == topics.size() ? kNone : links[topics[t + 1].header].position);
    }
}

uint32_t LastHeaderBefore(const std::vector<PlacedLink>& links, size_t index)
{
    for (size_t i = index; i-- > 0;) {
        if (links[i].record.type == kLinkTopicHeader) return links[i].position;
    }
    return kNone;
}

// Writes the blocks; false when one of them outgrew its room.
bool SerializeBlocks(const std::vector<PlacedLink>& links, Bytes& out)
{
    out.clear();
    size_t i = 0;
    while (i < links.size()) {
        size_t first = i;
        Bytes expanded;
        for (; i < links.size() && links[i].block == links[first].block; ++i) {
            uint32_t previous = i == 0 ? kNone : links[i - 1].position;
            uint32_t next = i + 1 == links.size() ? kNone : links[i + 1].position;
            PutBytes(expanded, SerializeLink(links[i].record, previous, next));
        }
        Bytes packed = Lz77Compress(expanded);
        if (packed.size() > kBlockRoom) return false;
        PutLong(out, first == 0 ? kNone : links[first - 1].position);
        PutLong(out, links[first].position);
        PutLong(out, LastHeaderBefore(links, first));
        PutBytes(out, packed);
        out.resize(out.size() + kBlockRoom - packed.size(), 0);
    }
    return true;
}

}  // namespace

size_t ParagraphLinkSize(const Paragraph& paragraph)
{
    LinkRecord record = EncodeParagraph(paragraph);
    return kLinkHeaderSize + record.data1.size() + record.data2.size();
}

TopicFile BuildTopicFile(const HelpSource& source)
{
    std::vector<PlacedLink> links;
    std::vector<TopicLinks> topics;
    CollectLinks(source, links, topics);
    TopicFile file;
    for (size_t spare = 16;; spare *= 2) {
        PlaceLinks(links, spare);
        file.topicOffsets = TopicOffsets(links, topics.size());
        FillTopicHeaders(links, topics, file.topicOffsets);
        if (SerializeBlocks(links, file.data)) return file;
    }
}

}  // namespace hlp
