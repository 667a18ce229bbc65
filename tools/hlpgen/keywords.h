// The keyword index (the viewer's Index list): |KWBTREE maps each keyword to
// a run of topic offsets in |KWDATA; |KWMAP tells which keyword starts each
// leaf page, for scrolling long lists.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"
#include "source.h"

namespace hlp {

struct KeywordFiles {
    Bytes tree;  // |KWBTREE
    Bytes data;  // |KWDATA
    Bytes map;   // |KWMAP
};

bool HasKeywords(const HelpSource& source);

// Keywords compare without case; the first spelling met names the entry.
KeywordFiles BuildKeywordFiles(const HelpSource& source, const std::vector<uint32_t>& topicOffsets);

}  // namespace hlp
