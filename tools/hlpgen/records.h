// The TOPICLINK records of one topic: its header and its display-text
// records, whose format codes set fonts, paragraph ends and jump hotspots.
#pragma once

#include <string>

#include "bytes.h"
#include "source.h"

namespace hlp {

struct LinkRecord {
    uint8_t type = 0;
    Bytes data1;            // LinkData1: the part after the 21-byte link header
    Bytes data2;            // LinkData2: the NUL-separated text
    size_t characters = 0;  // what the record adds to a TOPICOFFSET count
};

// Format codes of display-text records.
const uint8_t kCodeFont = 0x80;
const uint8_t kCodeParagraphEnd = 0x82;
const uint8_t kCodeTab = 0x83;
const uint8_t kCodeHotspotEnd = 0x89;
const uint8_t kCodeTopicJump = 0xE3;
const uint8_t kCodeEnd = 0xFF;

// The topic's title as a paragraph in the title font.
LinkRecord EncodeTitle(const std::string& title);

// A paragraph of body text; list items get a bullet and a hanging indent.
LinkRecord EncodeParagraph(const Paragraph& paragraph);

// The whole TOPICLINK as stored in a topic block.
Bytes SerializeLink(const LinkRecord& record, uint32_t previous, uint32_t next);

}  // namespace hlp
