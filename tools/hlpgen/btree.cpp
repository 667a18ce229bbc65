// Bottom-up B+ tree building: entries fill leaf pages in order; each level of
// index pages names the first key of every page below it but the first,
// which its PreviousPage field points to; the single page of the top level
// is the root.
#include "btree.h"

#include <cassert>
#include <utility>

namespace hlp {

namespace {

struct Page {
    Bytes body;       // entries after the page header
    int entries = 0;
    Bytes firstKey;   // smallest key below this page
    int firstChild = -1;
};

std::vector<Page> PackLeaves(const std::vector<BTreeEntry>& entries, unsigned pageSize)
{
    std::vector<Page> leaves(1);
    for (const BTreeEntry& entry : entries) {
        size_t size = entry.key.size() + entry.value.size();
        assert(kLeafHeaderSize + size <= pageSize);
        if (kLeafHeaderSize + leaves.back().body.size() + size > pageSize) leaves.emplace_back();
        Page& page = leaves.back();
        if (page.entries == 0) page.firstKey = entry.key;
        PutBytes(page.body, entry.key);
        PutBytes(page.body, entry.value);
        ++page.entries;
    }
    return leaves;
}

// One level of index pages over the pages numbered `children`.
std::vector<Page> PackIndex(const std::vector<Page>& all, const std::vector<int>& children,
                            unsigned pageSize)
{
    std::vector<Page> index;
    for (int child : children) {
        const Page& below = all[child];
        size_t size = below.firstKey.size() + 2;
        if (index.empty() || kIndexHeaderSize + index.back().body.size() + size > pageSize) {
            index.emplace_back();
            index.back().firstChild = child;
            index.back().firstKey = below.firstKey;
            continue;
        }
        Page& page = index.back();
        PutBytes(page.body, below.firstKey);
        PutWord(page.body, static_cast<unsigned>(child));
        ++page.entries;
    }
    return index;
}

void PutLeafPage(Bytes& out, const Page& page, int number, int leafCount, unsigned pageSize)
{
    PutWord(out, static_cast<unsigned>(pageSize - kLeafHeaderSize - page.body.size()));
    PutWord(out, static_cast<unsigned>(page.entries));
    PutWord(out, number == 0 ? 0xFFFF : static_cast<unsigned>(number - 1));
    PutWord(out, number + 1 == leafCount ? 0xFFFF : static_cast<unsigned>(number + 1));
    PutBytes(out, page.body);
    out.resize(out.size() + pageSize - kLeafHeaderSize - page.body.size(), 0);
}

void PutIndexPage(Bytes& out, const Page& page, unsigned pageSize)
{
    PutWord(out, static_cast<unsigned>(pageSize - kIndexHeaderSize - page.body.size()));
    PutWord(out, static_cast<unsigned>(page.entries));
    PutWord(out, static_cast<unsigned>(page.firstChild));
    PutBytes(out, page.body);
    out.resize(out.size() + pageSize - kIndexHeaderSize - page.body.size(), 0);
}

void PutHeader(Bytes& out, const BTreeLayout& layout, int rootPage, int totalPages, int levels,
               size_t totalEntries)
{
    assert(layout.structure.size() < 16);
    PutWord(out, kBTreeMagic);
    PutWord(out, layout.flags);
    PutWord(out, layout.pageSize);
    Bytes structure(16, 0);
    for (size_t i = 0; i < layout.structure.size(); ++i) structure[i] = static_cast<uint8_t>(layout.structure[i]);
    PutBytes(out, structure);
    PutWord(out, 0);       // must be zero
    PutWord(out, 0);       // page splits: built in one go, never split
    PutWord(out, static_cast<unsigned>(rootPage));
    PutWord(out, 0xFFFF);  // must be -1
    PutWord(out, static_cast<unsigned>(totalPages));
    PutWord(out, static_cast<unsigned>(levels));
    PutLong(out, static_cast<uint32_t>(totalEntries));
}

}  // namespace

Bytes BuildBTree(const std::vector<BTreeEntry>& sortedEntries, const BTreeLayout& layout,
                 std::vector<size_t>* firstEntryOfLeaf)
{
    std::vector<Page> pages = PackLeaves(sortedEntries, layout.pageSize);
    const int leafCount = static_cast<int>(pages.size());
    if (firstEntryOfLeaf) {
        firstEntryOfLeaf->clear();
        size_t first = 0;
        for (const Page& leaf : pages) {
            firstEntryOfLeaf->push_back(first);
            first += static_cast<size_t>(leaf.entries);
        }
    }
    std::vector<int> level;
    for (int i = 0; i < leafCount; ++i) level.push_back(i);
    int levels = 1;
    while (level.size() > 1) {
        std::vector<Page> index = PackIndex(pages, level, layout.pageSize);
        level.clear();
        for (Page& page : index) {
            level.push_back(static_cast<int>(pages.size()));
            pages.push_back(std::move(page));
        }
        ++levels;
    }

    Bytes out;
    PutHeader(out, layout, level.front(), static_cast<int>(pages.size()), levels, sortedEntries.size());
    for (int number = 0; number < static_cast<int>(pages.size()); ++number) {
        if (number < leafCount) {
            PutLeafPage(out, pages[number], number, leafCount, layout.pageSize);
        } else {
            PutIndexPage(out, pages[number], layout.pageSize);
        }
    }
    return out;
}

}  // namespace hlp
