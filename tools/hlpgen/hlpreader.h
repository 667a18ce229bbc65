// A small, independent reader of WinHelp 3.1 files for the tests: it walks
// the structures the way a viewer does (directory, |SYSTEM, |CONTEXT search,
// topic blocks and links) and reports the first inconsistency it meets.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bytes.h"

namespace hlptest {

using hlp::Bytes;

struct ReadJump {
    int32_t hash;
    std::string text;
};

struct ReadParagraph {
    std::string text;  // strings joined, a bullet shown as "*", tabs as " "
    std::vector<ReadJump> jumps;
    std::vector<unsigned> fonts;
    unsigned settings = 0;  // paragraph setting bits
};

struct ReadTopic {
    uint32_t position = 0;  // TOPICPOS of its header link
    uint32_t offset = 0;    // TOPICOFFSET, counted as a viewer counts it
    std::string title;      // from the topic header
    uint32_t browseBack = 0, browseForward = 0, number = 0;
    uint32_t nonScroll = 0, scroll = 0, nextTopic = 0;
    std::vector<ReadParagraph> paragraphs;  // the title paragraph first
};

struct BTreeInfo {
    unsigned flags = 0, pageSize = 0, levels = 0, pages = 0;
    std::string structure;
    uint32_t entries = 0;
};

struct ReadHelp {
    uint32_t magic = 0, directoryStart = 0, freeList = 0, fileSize = 0;
    std::vector<std::string> fileNames;  // directory order
    std::map<std::string, uint32_t> files;
    BTreeInfo directory;
    unsigned systemMagic = 0, minor = 0, major = 0, systemFlags = 0;
    uint32_t buildDate = 0;
    std::string title, copyright;
    uint32_t contents = 0xFFFFFFFF;
    std::vector<std::string> macros;
    BTreeInfo context;
    std::map<uint32_t, std::string> titlesByOffset;  // |TTLBTREE
    BTreeInfo keywordTree;
    std::vector<std::string> keywordOrder;                       // |KWBTREE leaf order
    std::map<std::string, std::vector<uint32_t>> keywords;       // with |KWDATA offsets
    std::vector<std::pair<uint32_t, unsigned>> keywordMap;       // |KWMAP: first keyword, page
    size_t topicBlocks = 0;
    std::vector<ReadTopic> topics;
    Bytes raw;
};

// Parses everything; false with a description of the first fault.
bool ReadHelpFile(const Bytes& bytes, ReadHelp& help, std::string& error);

// Looks a hash up in |CONTEXT by descending from the root page, as the
// viewer does. False when absent.
bool LookupContext(const ReadHelp& help, int32_t hash, uint32_t& offset);

// The topic a TOPICOFFSET opens, or null.
const ReadTopic* TopicAt(const ReadHelp& help, uint32_t offset);

}  // namespace hlptest
