// Keyword index files. A keyword used by several topics becomes one entry
// whose count says how many topic offsets follow in |KWDATA, in source order.
#include "keywords.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "btree.h"

namespace hlp {

namespace {

struct KeywordTopics {
    std::string spelling;
    std::vector<uint32_t> offsets;
};

std::string Folded(const std::string& keyword)
{
    std::string folded = keyword;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

std::map<std::string, KeywordTopics> GroupKeywords(const HelpSource& source, const std::vector<uint32_t>& offsets)
{
    std::map<std::string, KeywordTopics> groups;
    for (size_t t = 0; t < source.topics.size(); ++t) {
        for (const std::string& keyword : source.topics[t].keywords) {
            KeywordTopics& group = groups[Folded(keyword)];
            if (group.spelling.empty()) group.spelling = keyword;
            if (std::find(group.offsets.begin(), group.offsets.end(), offsets[t]) == group.offsets.end()) {
                group.offsets.push_back(offsets[t]);
            }
        }
    }
    return groups;
}

}  // namespace

bool HasKeywords(const HelpSource& source)
{
    for (const Topic& topic : source.topics) {
        if (!topic.keywords.empty()) return true;
    }
    return false;
}

KeywordFiles BuildKeywordFiles(const HelpSource& source, const std::vector<uint32_t>& topicOffsets)
{
    KeywordFiles files;
    std::vector<BTreeEntry> entries;
    for (const auto& pair : GroupKeywords(source, topicOffsets)) {
        const KeywordTopics& group = pair.second;
        BTreeEntry entry;
        PutStringZ(entry.key, group.spelling);
        PutWord(entry.value, static_cast<unsigned>(group.offsets.size()));
        PutLong(entry.value, static_cast<uint32_t>(files.data.size()));
        for (uint32_t offset : group.offsets) PutLong(files.data, offset);
        entries.push_back(entry);
    }
    std::vector<size_t> firstEntryOfLeaf;
    files.tree = BuildBTree(entries, BTreeLayout{0x0002, 2048, "F24"}, &firstEntryOfLeaf);
    for (size_t page = 0; page < firstEntryOfLeaf.size(); ++page) {
        PutLong(files.map, static_cast<uint32_t>(firstEntryOfLeaf[page]));
        PutWord(files.map, static_cast<unsigned>(page));
    }
    return files;
}

}  // namespace hlp
