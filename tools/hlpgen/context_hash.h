// The hash by which WinHelp 3.1 names topics: jumps carry it, and the
// |CONTEXT tree maps it to the topic's position.
#pragma once

#include <cstdint>
#include <string>

namespace hlp {

// True for a context string WinHelp 3.1 accepts: 1 to 255 characters,
// each a letter, a digit, '_' or '.'.
bool IsValidContextString(const std::string& context);

// The hash of a valid context string; letters count without their case.
int32_t ContextHash(const std::string& context);

}  // namespace hlp
