// The B+ trees of the help file: the internal directory, |CONTEXT and
// |TTLBTREE all share one layout of a header and fixed-size pages (leaf pages
// hold the entries in key order, index pages lead to them).
#pragma once

#include <string>
#include <vector>

#include "bytes.h"

namespace hlp {

struct BTreeEntry {
    Bytes key;    // as stored in leaf and index pages
    Bytes value;  // follows the key in leaf pages only
};

struct BTreeLayout {
    unsigned flags;         // 0x0402 for the directory, 0x0002 for the others
    unsigned pageSize;      // 1024 for the directory, 2048 for the others
    std::string structure;  // format letters, at most 15
};

const unsigned kBTreeMagic = 0x293B;
const size_t kBTreeHeaderSize = 38;
const size_t kLeafHeaderSize = 8;
const size_t kIndexHeaderSize = 6;

// The whole tree (header and pages) for entries already in key order. Each
// entry must fit in a page. Leaf pages are pages 0, 1, ...; when asked,
// tells the number of the first entry on each of them.
Bytes BuildBTree(const std::vector<BTreeEntry>& sortedEntries, const BTreeLayout& layout,
                 std::vector<size_t>* firstEntryOfLeaf = nullptr);

}  // namespace hlp
