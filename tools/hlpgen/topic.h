// |TOPIC: the text of every topic as a chain of TOPICLINK records (a topic
// header, then one display-text record per paragraph) packed into LZ77
// compressed 4 KB topic blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"
#include "source.h"

namespace hlp {

const size_t kTopicBlockSize = 4096;
const size_t kTopicBlockHeaderSize = 12;
// Expanded size of a topic block, which a TOPICPOS counts in.
const uint32_t kDecompressSize = 0x4000;
const size_t kLinkHeaderSize = 21;
const size_t kTopicHeaderSize = 28;

// TOPICLINK record types.
const uint8_t kLinkTopicHeader = 0x02;
const uint8_t kLinkDisplayText = 0x20;

// Font numbers in |FONT.
const unsigned kFontBody = 0;
const unsigned kFontTitle = 1;
const unsigned kFontCode = 2;

// A record of at most this size fits in an empty topic block even when it
// does not compress at all.
const size_t kMaxLinkSize = 3600;

struct TopicFile {
    Bytes data;                          // the |TOPIC internal file
    std::vector<uint32_t> topicOffsets;  // TOPICOFFSET of each topic, in source order
};

// Size of the display-text record that a paragraph becomes.
size_t ParagraphLinkSize(const Paragraph& paragraph);

// Lays out every topic of a checked source.
TopicFile BuildTopicFile(const HelpSource& source);

}  // namespace hlp
