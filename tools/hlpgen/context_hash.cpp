// WinHelp's context-string hash: hash = hash * 43 + code(character), in
// 32-bit arithmetic, where the code of '1'..'9' is 1..9, of '0' is 10, of
// '.' 12, of '_' 13 and of a letter 17..42 whatever its case.
#include "context_hash.h"

namespace hlp {

namespace {

int CharacterCode(char c)
{
    if (c >= '1' && c <= '9') return c - '0';
    if (c == '0') return 10;
    if (c == '.') return 12;
    if (c == '_') return 13;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 17;
    if (c >= 'a' && c <= 'z') return c - 'a' + 17;
    return -1;
}

}  // namespace

bool IsValidContextString(const std::string& context)
{
    if (context.empty() || context.size() > 255) return false;
    for (char c : context) {
        if (CharacterCode(c) < 0) return false;
    }
    return true;
}

int32_t ContextHash(const std::string& context)
{
    uint32_t hash = 0;
    for (char c : context) {
        hash = hash * 43u + static_cast<uint32_t>(CharacterCode(c));
    }
    return static_cast<int32_t>(hash);
}

}  // namespace hlp
