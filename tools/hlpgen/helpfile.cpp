// Assembly of the help file. Internal files follow the 16-byte header in a
// fixed order, each behind its 9-byte FILEHEADER with no reserved slack; the
// directory comes last, since it records where the others start. Nothing
// time- or machine-dependent goes in: the build date field is 0.
#include "helpfile.h"

#include <algorithm>
#include <string>
#include <vector>

#include "btree.h"
#include "context_hash.h"
#include "keywords.h"
#include "topic.h"

namespace hlp {

namespace {

const unsigned kInternalFileFlags = 4;

struct InternalFile {
    std::string name;
    Bytes content;
};

void PutSystemRecord(Bytes& out, unsigned type, const Bytes& data)
{
    PutWord(out, type);
    PutWord(out, static_cast<unsigned>(data.size()));
    PutBytes(out, data);
}

void PutSystemText(Bytes& out, unsigned type, const std::string& text)
{
    Bytes data;
    PutStringZ(data, text);
    PutSystemRecord(out, type, data);
}

size_t TopicIndex(const HelpSource& source, const std::string& context)
{
    int32_t hash = ContextHash(context);
    for (size_t i = 0; i < source.topics.size(); ++i) {
        if (ContextHash(source.topics[i].context) == hash) return i;
    }
    return 0;
}

Bytes SystemFile(const HelpSource& source, const std::vector<uint32_t>& offsets)
{
    Bytes out;
    PutWord(out, kSystemMagic);
    PutWord(out, kSystemMinorWin31);
    PutWord(out, 1);  // major version
    PutLong(out, 0);  // build date: none, so that builds repeat exactly
    PutWord(out, kSystemFlagsLz77Blocks4k);
    PutSystemText(out, kSystemTitle, source.fileTitle);
    if (!source.copyright.empty()) PutSystemText(out, kSystemCopyright, source.copyright);
    Bytes contents;
    PutLong(contents, offsets[TopicIndex(source, source.contents)]);
    PutSystemRecord(out, kSystemContents, contents);
    for (const std::string& macro : source.macros) PutSystemText(out, kSystemConfig, macro);
    return out;
}

// Three fonts with the old 11-byte descriptors (sizes in half-points):
// body text, topic titles and fixed-pitch code. Face names take 32 bytes each.
Bytes FontFile()
{
    const size_t kFaceSize = 32;
    const char* faces[] = {"Arial", "Courier New"};
    struct Descriptor {
        unsigned attributes, halfPoints, family, face;
        uint8_t red, green, blue;
    };
    const Descriptor fonts[] = {
        {0, 20, 3, 0, 0, 0, 0},      // body: Arial 10, swiss
        {1, 28, 3, 0, 0, 0, 128},    // title: Arial 14 bold, navy
        {0, 20, 1, 1, 128, 0, 0},    // code: Courier New 10, modern, maroon
    };
    const size_t faceCount = sizeof faces / sizeof faces[0];
    const size_t fontCount = sizeof fonts / sizeof fonts[0];
    Bytes out;
    PutWord(out, faceCount);
    PutWord(out, fontCount);
    PutWord(out, 8);
    PutWord(out, 8 + faceCount * kFaceSize);
    for (const char* face : faces) {
        Bytes name(kFaceSize, 0);
        std::copy(face, face + std::char_traits<char>::length(face), name.begin());
        PutBytes(out, name);
    }
    for (const Descriptor& font : fonts) {
        PutByte(out, font.attributes);
        PutByte(out, font.halfPoints);
        PutByte(out, font.family);
        PutWord(out, font.face);
        PutBytes(out, Bytes{font.red, font.green, font.blue});
        PutBytes(out, Bytes{0xFF, 0xFF, 0xFF});  // background, unused
    }
    return out;
}

// Hashes compare as signed 32-bit numbers.
Bytes ContextFile(const HelpSource& source, const std::vector<uint32_t>& offsets)
{
    std::vector<std::pair<int32_t, uint32_t>> pairs;
    for (size_t i = 0; i < source.topics.size(); ++i) {
        pairs.push_back({ContextHash(source.topics[i].context), offsets[i]});
    }
    std::sort(pairs.begin(), pairs.end());
    std::vector<BTreeEntry> entries;
    for (const auto& pair : pairs) {
        BTreeEntry entry;
        PutLong(entry.key, static_cast<uint32_t>(pair.first));
        PutLong(entry.value, pair.second);
        entries.push_back(entry);
    }
    return BuildBTree(entries, BTreeLayout{0x0002, 2048, "L4"});
}

// Topic titles by topic offset, for the viewer's lists of topics.
Bytes TitleFile(const HelpSource& source, const std::vector<uint32_t>& offsets)
{
    std::vector<std::pair<uint32_t, std::string>> pairs;
    for (size_t i = 0; i < source.topics.size(); ++i) pairs.push_back({offsets[i], source.topics[i].title});
    std::sort(pairs.begin(), pairs.end());
    std::vector<BTreeEntry> entries;
    for (const auto& pair : pairs) {
        BTreeEntry entry;
        PutLong(entry.key, pair.first);
        PutStringZ(entry.value, pair.second);
        entries.push_back(entry);
    }
    return BuildBTree(entries, BTreeLayout{0x0002, 2048, "Lz"});
}

void PutInternalFile(Bytes& out, const Bytes& content)
{
    PutLong(out, static_cast<uint32_t>(content.size() + kFileHeaderSize));  // reserved, header included
    PutLong(out, static_cast<uint32_t>(content.size()));
    PutByte(out, kInternalFileFlags);
    PutBytes(out, content);
}

// Directory entries sort by the bytes of their names.
Bytes DirectoryFile(std::vector<std::pair<std::string, uint32_t>> places)
{
    std::sort(places.begin(), places.end());
    std::vector<BTreeEntry> entries;
    for (const auto& place : places) {
        BTreeEntry entry;
        PutStringZ(entry.key, place.first);
        PutLong(entry.value, place.second);
        entries.push_back(entry);
    }
    return BuildBTree(entries, BTreeLayout{0x0402, 1024, "z4"});
}

}  // namespace

Bytes BuildHelpFile(const HelpSource& source)
{
    TopicFile topics = BuildTopicFile(source);
    std::vector<InternalFile> files = {
        {"|SYSTEM", SystemFile(source, topics.topicOffsets)},
        {"|FONT", FontFile()},
        {"|CONTEXT", ContextFile(source, topics.topicOffsets)},
        {"|TTLBTREE", TitleFile(source, topics.topicOffsets)},
    };
    if (HasKeywords(source)) {
        KeywordFiles keywords = BuildKeywordFiles(source, topics.topicOffsets);
        files.push_back({"|KWBTREE", keywords.tree});
        files.push_back({"|KWDATA", keywords.data});
        files.push_back({"|KWMAP", keywords.map});
    }
    files.push_back({"|TOPIC", topics.data});
    Bytes body;
    std::vector<std::pair<std::string, uint32_t>> places;
    for (const InternalFile& file : files) {
        places.push_back({file.name, static_cast<uint32_t>(kHelpHeaderSize + body.size())});
        PutInternalFile(body, file.content);
    }
    uint32_t directoryStart = static_cast<uint32_t>(kHelpHeaderSize + body.size());
    PutInternalFile(body, DirectoryFile(places));

    Bytes out;
    PutLong(out, kHelpFileMagic);
    PutLong(out, directoryStart);
    PutLong(out, 0xFFFFFFFF);  // no free list
    PutLong(out, static_cast<uint32_t>(kHelpHeaderSize + body.size()));
    PutBytes(out, body);
    return out;
}

}  // namespace hlp
