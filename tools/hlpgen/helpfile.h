// The whole .hlp file: the file header, the internal files (|SYSTEM, |FONT,
// |CONTEXT, |TTLBTREE, the keyword index when there are keywords, |TOPIC)
// and the internal directory that finds them.
#pragma once

#include <cstdint>

#include "bytes.h"
#include "source.h"

namespace hlp {

const uint32_t kHelpFileMagic = 0x00035F3F;
const size_t kHelpHeaderSize = 16;
const size_t kFileHeaderSize = 9;  // ReservedSpace, UsedSpace, FileFlags

const unsigned kSystemMagic = 0x036C;
const unsigned kSystemMinorWin31 = 21;
const unsigned kSystemFlagsLz77Blocks4k = 4;

// |SYSTEM record types.
const unsigned kSystemTitle = 1;
const unsigned kSystemCopyright = 2;
const unsigned kSystemContents = 3;
const unsigned kSystemConfig = 4;

// The help file of a source that ParseHelpSource accepted. The same source
// always gives the same bytes.
Bytes BuildHelpFile(const HelpSource& source);

}  // namespace hlp
