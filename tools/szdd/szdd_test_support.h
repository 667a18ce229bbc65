// Helpers shared by the packer's test files: hand-made SZDD streams that pin
// down the classic expander's rules, and a scoped temporary directory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "szdd.h"
#include "szdd_files.h"

// A complete SZDD file from a declared length and raw item bytes.
inline std::vector<uint8_t> SzddFile(uint32_t declared, const std::vector<uint8_t>& items,
                                     uint8_t method = 'A')
{
    std::vector<uint8_t> file(kSzddMagic, kSzddMagic + 8);
    file.push_back(method);
    file.push_back(0);
    for (int i = 0; i < 4; i++)
        file.push_back(static_cast<uint8_t>(declared >> (8 * i)));
    file.insert(file.end(), items.begin(), items.end());
    return file;
}

// The two bytes of a match item.
inline std::vector<uint8_t> MatchItem(unsigned ringPos, unsigned length)
{
    return {static_cast<uint8_t>(ringPos & 0xFF),
            static_cast<uint8_t>(((ringPos >> 8) << 4) | (length - 3))};
}

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const std::vector<uint8_t>& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

inline std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

struct HandMadeStream {
    const char* name;
    std::vector<uint8_t> file;
    std::vector<uint8_t> expected;
};

// 16 literals fill the ring from 0xFF0 to its end; the next write is at 0.
inline std::vector<uint8_t> SixteenLiterals()
{
    return Concat({{0xFF}, Bytes("ABCDEFGH"), {0xFF}, Bytes("IJKLMNOP")});
}

inline std::vector<HandMadeStream> HandMadeStreams()
{
    std::vector<HandMadeStream> rows;
    // A literal, then a match on the position being written: a run.
    rows.push_back({"overlapping run",
                    SzddFile(19, Concat({{0x01}, Bytes("a"), MatchItem(0xFF0, 18)})),
                    std::vector<uint8_t>(19, 'a')});
    // A match on never-written ring positions reads the initial blanks.
    rows.push_back({"initial blanks",
                    SzddFile(6, Concat({{0x02}, MatchItem(0x000, 5), Bytes("z")})),
                    Bytes("     z")});
    // Reading across the end of the ring and into bytes the match itself
    // has just written at positions 0 onwards.
    rows.push_back({"ring wrap",
                    SzddFile(26, Concat({SixteenLiterals(), {0x00}, MatchItem(0xFFA, 10)})),
                    Bytes("ABCDEFGHIJKLMNOPKLMNOPKLMN")});
    // A match a full ring back: each byte is read just before it is
    // overwritten, so the copy repeats the output of 4096 bytes earlier.
    {
        std::vector<uint8_t> items, expected;
        for (int group = 0; group < 512; group++) {
            items.push_back(0xFF);
            for (int k = 0; k < 8; k++) {
                uint8_t b = static_cast<uint8_t>((group * 8 + k) * 7 + group / 3);
                items.push_back(b);
                expected.push_back(b);
            }
        }
        items.push_back(0x00);
        std::vector<uint8_t> m = MatchItem(0xFF0, 18);
        items.insert(items.end(), m.begin(), m.end());
        expected.insert(expected.end(), expected.begin(), expected.begin() + 18);
        rows.push_back({"full ring back", SzddFile(4096 + 18, items), expected});
    }
    // A flag byte whose items all ended with the data: nothing more.
    rows.push_back({"trailing flag byte", SzddFile(16, Concat({SixteenLiterals(), {0x00}})),
                    Bytes("ABCDEFGHIJKLMNOP")});
    return rows;
}

// A private temporary directory, removed with its files on scope exit.
struct ScopedTempDir {
    std::string path = MakeTempDir("szdd-test");
    ScopedTempDir()
    {
        if (path.empty()) {  // never fall back to paths under "/"
            perror("szdd-test: cannot make a temporary directory");
            abort();
        }
    }
    ~ScopedTempDir() { RemoveTempDir(path); }
    std::string File(const std::string& name) const { return path + "/" + name; }
};
