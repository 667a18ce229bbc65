// Test-side reader of the help file. Written from the format description,
// not from the generator: it shares only the byte helpers and the LZ77
// expansion. Every size and pointer is checked before use.
#include "hlpreader.h"

#include <cstring>
#include <stdexcept>

#include "lz77.h"

namespace hlptest {

namespace {

using hlp::GetLong;
using hlp::GetWord;

const uint32_t kNone = 0xFFFFFFFF;

[[noreturn]] void Fault(const std::string& what)
{
    throw std::runtime_error(what);
}

void Need(bool condition, const std::string& what)
{
    if (!condition) Fault(what);
}

struct Span {
    const uint8_t* data;
    size_t size;
};

Span InternalFile(const ReadHelp& help, const std::string& name)
{
    auto found = help.files.find(name);
    Need(found != help.files.end(), "no internal file " + name);
    uint32_t at = found->second;
    Need(at + 9 <= help.raw.size(), name + ": header outside the file");
    uint32_t reserved = GetLong(&help.raw[at]);
    uint32_t used = GetLong(&help.raw[at + 4]);
    Need(reserved >= used + 9, name + ": reserved space smaller than used space");
    Need(at + reserved <= help.raw.size(), name + ": runs past the end of the file");
    return Span{&help.raw[at + 9], used};
}

std::string StringAt(const uint8_t* at, const uint8_t* end)
{
    const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(at, 0, end - at));
    Need(zero != nullptr, "unterminated string");
    return std::string(reinterpret_cast<const char*>(at), zero - at);
}

// B+ trees: entry sizes depend on the tree; the callbacks measure them.
struct TreeKind {
    bool stringKey;     // else a 4-byte key
    size_t valueSize;   // 0 for a string value
};

size_t KeySize(const TreeKind& kind, const uint8_t* at, const uint8_t* end)
{
    return kind.stringKey ? StringAt(at, end).size() + 1 : 4;
}

size_t LeafEntrySize(const TreeKind& kind, const uint8_t* at, const uint8_t* end)
{
    size_t key = KeySize(kind, at, end);
    Need(at + key <= end, "leaf entry outside its page");
    return key + (kind.valueSize ? kind.valueSize : StringAt(at + key, end).size() + 1);
}

BTreeInfo TreeHeader(Span tree)
{
    Need(tree.size >= 38, "B+ tree header cut short");
    Need(GetWord(tree.data) == 0x293B, "bad B+ tree magic");
    BTreeInfo info;
    info.flags = GetWord(tree.data + 2);
    info.pageSize = GetWord(tree.data + 4);
    info.structure = StringAt(tree.data + 6, tree.data + 22);
    Need(GetWord(tree.data + 22) == 0, "B+ tree MustBeZero is not 0");
    Need(GetWord(tree.data + 28) == 0xFFFF, "B+ tree MustBeNegOne is not -1");
    info.pages = GetWord(tree.data + 30);
    info.levels = GetWord(tree.data + 32);
    info.entries = GetLong(tree.data + 34);
    Need(info.pageSize >= 64 && 38 + info.pages * info.pageSize == tree.size, "B+ tree size does not match its pages");
    return info;
}

const uint8_t* Page(Span tree, const BTreeInfo& info, unsigned number)
{
    Need(number < info.pages, "page number out of range");
    return tree.data + 38 + number * info.pageSize;
}

// Every leaf entry, following PreviousPage down and the leaf chain across.
std::vector<std::pair<const uint8_t*, size_t>> LeafEntries(Span tree, const TreeKind& kind, BTreeInfo& info)
{
    info = TreeHeader(tree);
    unsigned page = GetWord(tree.data + 26);
    for (unsigned level = 1; level < info.levels; ++level) page = GetWord(Page(tree, info, page) + 4);
    std::vector<std::pair<const uint8_t*, size_t>> entries;
    unsigned previous = 0xFFFF;
    for (unsigned visited = 0; page != 0xFFFF; ++visited) {
        Need(visited < info.pages, "leaf chain loops");
        const uint8_t* at = Page(tree, info, page);
        const uint8_t* end = at + info.pageSize;
        Need(GetWord(at + 4) == previous, "leaf PreviousPage does not point back");
        unsigned count = GetWord(at + 2);
        const uint8_t* entry = at + 8;
        for (unsigned i = 0; i < count; ++i) {
            size_t size = LeafEntrySize(kind, entry, end);
            entries.push_back({entry, size});
            entry += size;
        }
        Need(GetWord(at) == static_cast<unsigned>(end - entry), "leaf Unused does not match its entries");
        previous = page;
        page = GetWord(at + 6);
    }
    Need(entries.size() == info.entries, "B+ tree entry count differs from its leaves");
    return entries;
}

void ReadHeaderAndDirectory(ReadHelp& help)
{
    const Bytes& raw = help.raw;
    Need(raw.size() >= 16, "file shorter than its header");
    help.magic = GetLong(&raw[0]);
    help.directoryStart = GetLong(&raw[4]);
    help.freeList = GetLong(&raw[8]);
    help.fileSize = GetLong(&raw[12]);
    Need(help.magic == 0x00035F3F, "bad help file magic");
    Need(help.fileSize == raw.size(), "EntireFileSize differs from the file's size");
    help.files["/directory"] = help.directoryStart;
    Span tree = InternalFile(help, "/directory");
    help.files.clear();
    TreeKind kind{true, 4};
    for (auto& entry : LeafEntries(tree, kind, help.directory)) {
        std::string name = StringAt(entry.first, entry.first + entry.second);
        help.fileNames.push_back(name);
        help.files[name] = GetLong(entry.first + name.size() + 1);
    }
}

void ReadSystem(ReadHelp& help)
{
    Span system = InternalFile(help, "|SYSTEM");
    Need(system.size >= 12, "|SYSTEM header cut short");
    help.systemMagic = GetWord(system.data);
    help.minor = GetWord(system.data + 2);
    help.major = GetWord(system.data + 4);
    help.buildDate = GetLong(system.data + 6);
    help.systemFlags = GetWord(system.data + 10);
    const uint8_t* end = system.data + system.size;
    for (const uint8_t* at = system.data + 12; at < end;) {
        Need(at + 4 <= end, "|SYSTEM record header cut short");
        unsigned type = GetWord(at), size = GetWord(at + 2);
        const uint8_t* data = at + 4;
        Need(data + size <= end, "|SYSTEM record runs past the file");
        if (type == 1) help.title = StringAt(data, data + size);
        if (type == 2) help.copyright = StringAt(data, data + size);
        if (type == 3) {
            Need(size == 4, "CONTENTS record is not 4 bytes");
            help.contents = GetLong(data);
        }
        if (type == 4) help.macros.push_back(StringAt(data, data + size));
        at = data + size;
    }
}

void ReadTitles(ReadHelp& help)
{
    BTreeInfo info;
    TreeKind kind{false, 0};
    for (auto& entry : LeafEntries(InternalFile(help, "|TTLBTREE"), kind, info)) {
        help.titlesByOffset[GetLong(entry.first)] = StringAt(entry.first + 4, entry.first + entry.second);
    }
}

void ReadKeywords(ReadHelp& help)
{
    if (!help.files.count("|KWBTREE")) return;
    Span data = InternalFile(help, "|KWDATA");
    TreeKind kind{true, 6};
    for (auto& entry : LeafEntries(InternalFile(help, "|KWBTREE"), kind, help.keywordTree)) {
        std::string keyword = StringAt(entry.first, entry.first + entry.second);
        const uint8_t* value = entry.first + keyword.size() + 1;
        unsigned count = GetWord(value);
        uint32_t at = GetLong(value + 2);
        Need(count > 0 && at % 4 == 0 && at + 4 * count <= data.size, "keyword '" + keyword + "' points outside |KWDATA");
        std::vector<uint32_t>& offsets = help.keywords[keyword];
        for (unsigned i = 0; i < count; ++i) offsets.push_back(GetLong(data.data + at + 4 * i));
        help.keywordOrder.push_back(keyword);
    }
    Span map = InternalFile(help, "|KWMAP");
    Need(map.size % 6 == 0, "|KWMAP is not made of 6-byte entries");
    for (size_t at = 0; at < map.size; at += 6) {
        help.keywordMap.push_back({GetLong(map.data + at), GetWord(map.data + at + 4)});
    }
}

// Paragraph records: compressed numbers as the format describes them.
struct Cursor {
    const uint8_t* at;
    const uint8_t* end;

    unsigned Byte()
    {
        Need(at < end, "paragraph data cut short");
        return *at++;
    }
    unsigned Word()
    {
        unsigned low = Byte();
        return low | (Byte() << 8);
    }
    unsigned CompressedUnsignedShort() { return (*at & 1) ? Word() / 2 : Byte() / 2; }
    int CompressedSignedShort() { return (*at & 1) ? static_cast<int>(Word() / 2) - 16384 : static_cast<int>(Byte() / 2) - 64; }
    long CompressedSignedLong()
    {
        if (!(*at & 1)) return static_cast<long>(Word() / 2) - 16384;
        uint32_t low = Word(), high = Word();
        return static_cast<long>(((high << 16) | low) / 2) - 0x40000000L;
    }
};

void ReadSettings(Cursor& codes, ReadParagraph& paragraph)
{
    codes.Byte();
    codes.Byte();
    codes.Word();
    paragraph.settings = codes.Word();
    if (paragraph.settings & 0x0001) codes.CompressedSignedLong();
    for (unsigned bit : {0x0002u, 0x0004u, 0x0008u, 0x0010u, 0x0020u, 0x0040u}) {
        if (paragraph.settings & bit) codes.CompressedSignedShort();
    }
    if (paragraph.settings & 0x0100) {
        codes.Byte();
        codes.Word();
    }
    if (paragraph.settings & 0x0200) {
        int stops = codes.CompressedSignedShort();
        for (int i = 0; i < stops; ++i) {
            if (codes.CompressedUnsignedShort() & 0x4000) codes.CompressedUnsignedShort();
        }
    }
}

// Alternates strings and codes until 0xFF, as the viewer draws them.
ReadParagraph ReadDisplayText(const uint8_t* link, size_t dataLen1, size_t dataLen2)
{
    ReadParagraph paragraph;
    Cursor codes{link + 21, link + dataLen1};
    Need(codes.CompressedSignedLong() == static_cast<long>(dataLen2), "TopicSize differs from the text size");
    Need(codes.CompressedUnsignedShort() == dataLen2, "TopicLength differs from the text size");
    ReadSettings(codes, paragraph);
    const uint8_t* text = link + dataLen1;
    const uint8_t* textEnd = text + dataLen2;
    bool inJump = false;
    for (;;) {
        std::string piece = StringAt(text, textEnd);
        text += piece.size() + 1;
        if (inJump) paragraph.jumps.back().text += piece;
        paragraph.text += piece == "\x95" ? "*" : piece;
        unsigned code = codes.Byte();
        if (code == 0xFF) break;
        if (code == 0x80) paragraph.fonts.push_back(codes.Word());
        else if (code == 0x83) paragraph.text += " ";
        else if (code == 0xE3) {
            uint32_t hash = codes.Word();
            hash |= codes.Word() << 16;
            paragraph.jumps.push_back({static_cast<int32_t>(hash), std::string()});
            inJump = true;
        } else if (code == 0x89) {
            Need(inJump, "hotspot end without a hotspot");
            inJump = false;
        } else if (code != 0x82) {
            Fault("unexpected format code " + std::to_string(code));
        }
    }
    Need(!inJump, "hotspot not closed");
    Need(codes.at == codes.end, "format codes after the end code");
    Need(text == textEnd, "text left over after the end code");
    return paragraph;
}

std::vector<Bytes> ExpandBlocks(const ReadHelp& help, Span topic, std::vector<uint32_t>& firstLinks)
{
    Need(topic.size % 4096 == 0, "|TOPIC is not made of whole 4 KB blocks");
    std::vector<Bytes> blocks;
    for (size_t at = 0; at < topic.size; at += 4096) {
        firstLinks.push_back(GetLong(topic.data + at + 4));
        Bytes expanded;
        Need(hlp::Lz77Expand(topic.data + at + 12, 4096 - 12, expanded), "topic block does not expand");
        Need(expanded.size() <= 0x4000 + 4096, "topic block expands too far");
        blocks.push_back(expanded);
    }
    (void)help;
    return blocks;
}

void ReadTopics(ReadHelp& help)
{
    std::vector<uint32_t> firstLinks;
    std::vector<Bytes> blocks = ExpandBlocks(help, InternalFile(help, "|TOPIC"), firstLinks);
    help.topicBlocks = blocks.size();
    uint32_t position = 12, previous = kNone;
    int block = -1;
    uint32_t characters = 0;
    for (size_t visited = 0; position != kNone; ++visited) {
        Need(visited < 1000000, "link chain loops");
        uint32_t number = (position - 12) >> 14, offset = (position - 12) & 0x3FFF;
        Need(number < blocks.size() && offset + 21 <= blocks[number].size(), "TOPICPOS outside the topic blocks");
        if (static_cast<int>(number) != block) {
            Need(firstLinks[number] == position, "FirstTopicLink is not the block's first link");
            block = static_cast<int>(number);
            characters = 0;
        }
        const uint8_t* link = &blocks[number][offset];
        uint32_t blockSize = GetLong(link), dataLen2 = GetLong(link + 4), dataLen1 = GetLong(link + 16);
        Need(offset + blockSize <= blocks[number].size(), "link runs past its block");
        Need(dataLen1 >= 21 && dataLen1 + dataLen2 == blockSize, "link sizes disagree");
        Need(GetLong(link + 8) == previous, "PrevBlock does not point back");
        if (link[20] == 0x02) {
            Need(dataLen1 == 21 + 28, "topic header is not 28 bytes");
            ReadTopic topic;
            topic.position = position;
            topic.offset = number * 0x8000 + characters;
            const uint8_t* header = link + 21;
            topic.browseBack = GetLong(header + 4);
            topic.browseForward = GetLong(header + 8);
            topic.number = GetLong(header + 12);
            topic.nonScroll = GetLong(header + 16);
            topic.scroll = GetLong(header + 20);
            topic.nextTopic = GetLong(header + 24);
            topic.title = StringAt(link + dataLen1, link + blockSize);
            help.topics.push_back(topic);
        } else if (link[20] == 0x20) {
            Need(!help.topics.empty(), "text before the first topic header");
            help.topics.back().paragraphs.push_back(ReadDisplayText(link, dataLen1, dataLen2));
            characters += dataLen2;
        } else {
            Fault("unexpected link type " + std::to_string(link[20]));
        }
        previous = position;
        position = GetLong(link + 12);
    }
}

}  // namespace

bool ReadHelpFile(const Bytes& bytes, ReadHelp& help, std::string& error)
{
    help = ReadHelp();
    help.raw = bytes;
    try {
        ReadHeaderAndDirectory(help);
        ReadSystem(help);
        TreeKind kind{false, 4};
        LeafEntries(InternalFile(help, "|CONTEXT"), kind, help.context);
        ReadTitles(help);
        ReadKeywords(help);
        ReadTopics(help);
    } catch (const std::exception& fault) {
        error = fault.what();
        return false;
    }
    return true;
}

bool LookupContext(const ReadHelp& help, int32_t hash, uint32_t& offset)
{
    Span tree = InternalFile(help, "|CONTEXT");
    BTreeInfo info = TreeHeader(tree);
    unsigned page = GetWord(tree.data + 26);
    for (unsigned level = 1; level < info.levels; ++level) {
        const uint8_t* at = Page(tree, info, page);
        unsigned count = GetWord(at + 2);
        page = GetWord(at + 4);
        for (unsigned i = 0; i < count; ++i) {
            const uint8_t* entry = at + 6 + i * 6;
            if (static_cast<int32_t>(GetLong(entry)) > hash) break;
            page = GetWord(entry + 4);
        }
    }
    const uint8_t* at = Page(tree, info, page);
    unsigned count = GetWord(at + 2);
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* entry = at + 8 + i * 8;
        if (static_cast<int32_t>(GetLong(entry)) == hash) {
            offset = GetLong(entry + 4);
            return true;
        }
    }
    return false;
}

const ReadTopic* TopicAt(const ReadHelp& help, uint32_t offset)
{
    for (const ReadTopic& topic : help.topics) {
        if (topic.offset == offset) return &topic;
    }
    return nullptr;
}

}  // namespace hlptest
